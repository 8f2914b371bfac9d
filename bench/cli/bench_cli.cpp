#include "batch/batch.h"
#include "batch/figures_csv.h"
#include "evaluation/answers/answers_json.h"
#include "evaluation/document/report_rendering.h"
#include "evaluation/entry.h"
#include "tests/samples/built_in_edition.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <streambuf>
#include <string>

namespace {

// Discards what is written, so that the benchmark measures the evaluator, not a growing
// string.
class NullBuffer : public std::streambuf {
protected:
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
};

// Varied answer lines like an integration sends them: every class, sizes of every size
// class, apartments, features on and off, and now and then a refused line.
std::string AnswerLine(int i) {
    static const char* const kSizes[] = {"35", "45", "55", "75", "115", "130", "20000"};
    std::string line = "{\"YearClass\":" + std::to_string(i % 7 + 1);
    if (i % 7 == 3)
        line += ",\"Built1980Side\":" + std::to_string(i % 2 + 1);
    line += ",\"LivingArea\":\"" + std::string(kSizes[i % 7 == 0 ? (i / 7) % 7 : i % 5]) + "\"";
    line += ",\"CityArea\":" + std::to_string(i % 7 + 1);
    if (i % 3 == 0)
        line += ",\"GuestToilet\":true,\"FloorCovering\":2,\"HeatingKind\":3";
    if (i % 4 == 0)
        line += ",\"BalconyOrLoggia\":true,\"HeatingRenewed\":true,\"Insulation\":3";
    if (i % 5 == 0)
        line += ",\"NoiseImpairment\":true,\"BarrierFree\":1,\"TubAndShower\":false";
    if (i % 50 == 0)
        line += ",\"Unknown\":1";
    return line + "}\n";
}

std::string AnswerLines(int count) {
    std::string lines;
    for (int i = 0; i < count; ++i)
        lines += AnswerLine(i);
    return lines;
}

void RunBatchOfLines(benchmark::State& state, msr::batch::OutputFormat format) {
    const int lineCount = static_cast<int>(state.range(0));
    const std::string input = AnswerLines(lineCount);
    NullBuffer discard;
    std::ostream out(&discard);
    for (auto _ : state) {
        std::istringstream in(input);
        if (!msr::batch::RunBatch(in, out, {msr::test::BuiltInEditions(), msr::test::kSomeDay}, ",",
                                  format)
                 .finished())
            state.SkipWithError("the batch run failed");
    }
    state.counters["lines/s"] = benchmark::Counter(double(lineCount) * double(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}

void BM_BatchJsonLines(benchmark::State& state) {
    RunBatchOfLines(state, msr::batch::OutputFormat::Json);
}

// The figures alone: no paragraph is built.
void BM_BatchCsv(benchmark::State& state) {
    RunBatchOfLines(state, msr::batch::OutputFormat::Csv);
}

// The parts of one line, to see where the time of a line goes.
void BM_ReadAndEvaluateOneLine(benchmark::State& state) {
    const std::string line = AnswerLine(3);
    msr::ReportDocument document;
    for (auto _ : state)
        benchmark::DoNotOptimize(msr::EvaluateAnswers(msr::AdmitAnswers(line),
                                                      msr::test::BuiltInEditions(),
                                                      msr::test::kSomeDay, ",", &document));
}

void BM_ReadAndEvaluateFiguresOfOneLine(benchmark::State& state) {
    const std::string line = AnswerLine(3);
    for (auto _ : state)
        benchmark::DoNotOptimize(msr::EvaluateAnswers(
            msr::AdmitAnswers(line), msr::test::BuiltInEditions(), msr::test::kSomeDay, ","));
}

void BM_ReadAnswersOfOneLine(benchmark::State& state) {
    const std::string line = AnswerLine(3);
    for (auto _ : state)
        benchmark::DoNotOptimize(msr::ReadAnswers(line));
}

void BM_WriteCsvRowOfOneEvaluation(benchmark::State& state) {
    const msr::AnswersEvaluation evaluation = msr::EvaluateAnswers(
        msr::AdmitAnswers(AnswerLine(3)), msr::test::BuiltInEditions(), msr::test::kSomeDay, ",");
    std::string out;
    for (auto _ : state) {
        out.clear();
        const msr::FinalFigureTexts figures = msr::FormatFinalFigures(evaluation.result, ",");
        msr::batch::FiguresRow row;
        row.number = 3;
        row.figures = &figures;
        msr::batch::AppendCsvRow(row, false, out);
        benchmark::DoNotOptimize(out.data());
    }
}

void BM_WriteJsonOfOneEvaluation(benchmark::State& state) {
    msr::ReportDocument document;
    msr::EvaluateAnswers(msr::AdmitAnswers(AnswerLine(3)), msr::test::BuiltInEditions(),
                         msr::test::kSomeDay, ",", &document);
    std::string out;
    for (auto _ : state) {
        out.clear();
        msr::AppendReportJson(document, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(std::int64_t(out.size()) * state.iterations());
}

} // namespace

BENCHMARK(BM_BatchJsonLines)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BatchCsv)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAndEvaluateOneLine);
BENCHMARK(BM_ReadAndEvaluateFiguresOfOneLine);
BENCHMARK(BM_ReadAnswersOfOneLine);
BENCHMARK(BM_WriteCsvRowOfOneEvaluation);
BENCHMARK(BM_WriteJsonOfOneEvaluation);
BENCHMARK_MAIN();

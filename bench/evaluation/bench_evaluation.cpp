#include "evaluation/answers/living_area.h"
#include "evaluation/evaluate.h"
#include "tests/samples/built_in_edition.h"
#include "tests/samples/sample_answers.h"

#include <benchmark/benchmark.h>

namespace {

// One evaluation into a document that is cleared first, as the evaluation command does.
void EvaluateInto(benchmark::State& state, const msr::Answers& answers) {
    msr::ReportDocument document;
    for (auto _ : state) {
        document.clear();
        benchmark::DoNotOptimize(
            msr::Evaluate(answers, msr::test::BuiltInEdition(), document, ","));
        benchmark::ClobberMemory();
    }
}

void BM_EvaluateMandatoryOnly(benchmark::State& state) {
    EvaluateInto(state, msr::test::MandatoryAnswers());
}

void BM_EvaluateEverythingAnswered(benchmark::State& state) {
    EvaluateInto(state, msr::test::AllFeaturesAnswers());
}

// A new document for every evaluation: the allocations of all paragraphs included.
void BM_EvaluateIntoNewDocument(benchmark::State& state) {
    const msr::Answers answers = msr::test::AllFeaturesAnswers();
    for (auto _ : state) {
        msr::ReportDocument document;
        benchmark::DoNotOptimize(
            msr::Evaluate(answers, msr::test::BuiltInEdition(), document, ","));
        benchmark::ClobberMemory();
    }
}

// The built-in edition read and checked whole, as every front end does once at its start.
void BM_ReadBuiltInEdition(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(msr::RentIndexEditions::BuiltIn());
}
BENCHMARK(BM_ReadBuiltInEdition);

// The number format alone: the three figures, the living area and the three totals of
// one final calculation.
void BM_FormatFinalCalculationFigures(benchmark::State& state) {
    const msr::SpanFigures figures{4.73f, 6.38f, 5.41f};
    const float area = 75.0f;
    for (auto _ : state) {
        for (const float figure : {figures.low, figures.high, figures.mean, area})
            benchmark::DoNotOptimize(msr::FormatFigure(figure, ","));
        for (const float figure : {figures.low, figures.high, figures.mean})
            benchmark::DoNotOptimize(
                msr::FormatFigure(msr::Extended(figure) * msr::Extended(area), ","));
    }
}

void BM_ReadLivingArea(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(msr::ToLivingArea("75", ","));
        benchmark::DoNotOptimize(msr::ToLivingArea("55,5", ","));
    }
}

} // namespace

BENCHMARK(BM_FormatFinalCalculationFigures);
BENCHMARK(BM_ReadLivingArea);
BENCHMARK(BM_EvaluateMandatoryOnly);
BENCHMARK(BM_EvaluateEverythingAnswered);
BENCHMARK(BM_EvaluateIntoNewDocument);
BENCHMARK_MAIN();

#include "evaluation/evaluate.h"
#include "tests/samples/sample_answers.h"

#include <benchmark/benchmark.h>

namespace {

// One evaluation into a document that is cleared first, as the evaluation command does.
void EvaluateInto(benchmark::State& state, const msr::Answers& answers) {
    msr::ReportDocument document;
    for (auto _ : state) {
        document.clear();
        benchmark::DoNotOptimize(msr::Evaluate(answers, document, ","));
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
        benchmark::DoNotOptimize(msr::Evaluate(answers, document, ","));
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK(BM_EvaluateMandatoryOnly);
BENCHMARK(BM_EvaluateEverythingAnswered);
BENCHMARK(BM_EvaluateIntoNewDocument);
BENCHMARK_MAIN();

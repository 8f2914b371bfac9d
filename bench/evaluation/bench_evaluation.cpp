#include "evaluation/evaluate.h"

#include <benchmark/benchmark.h>

namespace {

msr::Answers MandatoryOnly() {
    msr::Answers answers;
    answers.YearClass = 1;
    answers.LivingArea = "75";
    answers.CityArea = 3;
    return answers;
}

// Every section with findings: the most paragraphs and adjustments an evaluation makes.
msr::Answers EverythingAnswered() {
    msr::Answers answers;
    answers.YearClass = 4;
    answers.Built1980Side = 1;
    answers.LivingArea = "45";
    answers.GuestToilet = true;
    answers.TubAndShower = true;
    answers.FloorCovering = 3;
    answers.HeatingKind = 3;
    answers.CaptiveRooms = true;
    answers.NoKitchenHotWater = true;
    answers.BalconyOrLoggia = true;
    answers.Terrace = true;
    answers.SoundproofWindows = true;
    answers.BarrierFree = 2;
    answers.HeatingRenewed = true;
    answers.BathRenewed = true;
    answers.Insulation = 1;
    answers.NoiseImpairment = true;
    answers.CityArea = 1;
    return answers;
}

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
    EvaluateInto(state, MandatoryOnly());
}

void BM_EvaluateEverythingAnswered(benchmark::State& state) {
    EvaluateInto(state, EverythingAnswered());
}

// A new document for every evaluation: the allocations of all paragraphs included.
void BM_EvaluateIntoNewDocument(benchmark::State& state) {
    const msr::Answers answers = EverythingAnswered();
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

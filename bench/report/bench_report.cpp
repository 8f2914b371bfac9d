// How long the user waits for the preview: building the evaluation, laying it out and
// preparing every page of a report of the mandatory answers; and writing its PDF.

#include "evaluation/evaluate.h"
#include "report/report_output.h"
#include "report/report_pages.h"
#include "tests/samples/built_in_edition.h"
#include "tests/samples/sample_answers.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QPicture>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

msr::ReportDocument BuildDocument() {
    msr::ReportDocument document;
    msr::Evaluate(msr::test::MandatoryAnswers(), msr::test::BuiltInEdition(), document, ",");
    return document;
}

// Prepares pages the way the preview keeps them: one recorded picture per page.
std::vector<QPicture> PreparePictures(const msr::report::ReportPages& pages) {
    std::vector<QPicture> pictures(static_cast<std::size_t>(pages.pageCount()));
    for (int i = 0; i < pages.pageCount(); ++i) {
        QPainter painter(&pictures[static_cast<std::size_t>(i)]);
        pages.paintPage(painter, i);
    }
    return pictures;
}

void BM_BuildDocument(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildDocument());
}
BENCHMARK(BM_BuildDocument)->Unit(benchmark::kMillisecond);

void BM_BuildAndLayOutPages(benchmark::State& state) {
    for (auto _ : state) {
        const msr::report::ReportPages pages(BuildDocument());
        benchmark::DoNotOptimize(pages.pageCount());
    }
}
BENCHMARK(BM_BuildAndLayOutPages)->Unit(benchmark::kMillisecond);

// The target: everything before the preview can show, under 50 ms.
void BM_PagesReady(benchmark::State& state) {
    int pageCount = 0;
    for (auto _ : state) {
        const msr::report::ReportPages pages(BuildDocument());
        benchmark::DoNotOptimize(PreparePictures(pages));
        pageCount = pages.pageCount();
    }
    state.counters["pages"] = pageCount;
}
BENCHMARK(BM_PagesReady)->Unit(benchmark::kMillisecond);

void BM_WritePdf(benchmark::State& state) {
    QTemporaryDir folder;
    const QString fileName = folder.filePath(QStringLiteral("auswertung.pdf"));
    const msr::report::ReportPages pages(BuildDocument());
    for (auto _ : state)
        msr::report::WriteReportPdf(pages, fileName);
    state.counters["bytes"] = static_cast<double>(QFileInfo(fileName).size());
}
BENCHMARK(BM_WritePdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv); // fonts need it
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

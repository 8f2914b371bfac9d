// Start-up of the program beside a bare Qt application that shows one empty window,
// offscreen: once as whole processes (what the user waits for), once within one process
// (the part that is the program's own: building the twelve windows and showing the first).

#include "app/startup.h"
#include "app/tform1.h"
#include "gui/forms.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <QWindow>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

// Runs the probe as a process until it ends, once per iteration.
void RunProbe(benchmark::State& state, const char* probe, const char* option = nullptr) {
    char* const arguments[] = {const_cast<char*>(probe), const_cast<char*>(option), nullptr};
    for (auto _ : state) {
        pid_t child = 0;
        if (posix_spawn(&child, probe, nullptr, nullptr, arguments, environ) != 0) {
            state.SkipWithError("the probe does not start");
            return;
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the probe failed");
            return;
        }
    }
}

void BM_ProcessProgramStartUp(benchmark::State& state) {
    RunProbe(state, MSR_START_UP_PROBE);
}
BENCHMARK(BM_ProcessProgramStartUp)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ProcessBareQtStartUp(benchmark::State& state) {
    RunProbe(state, MSR_BARE_PROBE);
}
BENCHMARK(BM_ProcessBareQtStartUp)->Unit(benchmark::kMillisecond)->UseRealTime();

// For comparison: the same with one captioned button, so fonts and style are loaded too.
void BM_ProcessBareQtWithCaptionStartUp(benchmark::State& state) {
    RunProbe(state, MSR_BARE_PROBE, "caption");
}
BENCHMARK(BM_ProcessBareQtWithCaptionStartUp)->Unit(benchmark::kMillisecond)->UseRealTime();

void WaitUntilShown(QWidget* window) {
    window->show();
    for (int round = 0; round < 1000 && !window->windowHandle()->isExposed(); ++round)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents();
}

void BM_InProcessTwelveWindows(benchmark::State& state) {
    for (auto _ : state) {
        msr::app::CreateWindows();
        WaitUntilShown(Form1);
        msr::app::DestroyWindows();
    }
}
BENCHMARK(BM_InProcessTwelveWindows)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_InProcessOneEmptyWindow(benchmark::State& state) {
    for (auto _ : state) {
        QWidget window;
        WaitUntilShown(&window);
    }
}
BENCHMARK(BM_InProcessOneEmptyWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    msr::app::PrepareApplication(application);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

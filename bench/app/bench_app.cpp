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

#include <algorithm>
#include <vector>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>

extern char** environ;

namespace {

// Start-up times on a shared machine only ever get longer by others' work; the shortest
// of several runs is the one to compare.
double Shortest(const std::vector<double>& times) {
    return *std::min_element(times.begin(), times.end());
}

double Milliseconds(const timeval& time) {
    return time.tv_sec * 1e3 + time.tv_usec / 1e3;
}

// Runs the probe as a process until it ends, once per iteration. Besides the time waited
// for it, counts the processor time the probe itself used ("probe_cpu_ms"), which other
// work on the machine hardly changes.
void RunProbe(benchmark::State& state, const char* probe, const char* option = nullptr) {
    char* const arguments[] = {const_cast<char*>(probe), const_cast<char*>(option), nullptr};
    double cpuMilliseconds = 0;
    for (auto _ : state) {
        pid_t child = 0;
        if (posix_spawn(&child, probe, nullptr, nullptr, arguments, environ) != 0) {
            state.SkipWithError("the probe does not start");
            return;
        }
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the probe failed");
            return;
        }
        cpuMilliseconds += Milliseconds(usage.ru_utime) + Milliseconds(usage.ru_stime);
    }
    state.counters["probe_cpu_ms"] =
        benchmark::Counter(cpuMilliseconds, benchmark::Counter::kAvgIterations);
}

void BM_ProcessProgramStartUp(benchmark::State& state) {
    RunProbe(state, MSR_START_UP_PROBE);
}
BENCHMARK(BM_ProcessProgramStartUp)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(7)
    ->ComputeStatistics("min", Shortest);

void BM_ProcessBareQtStartUp(benchmark::State& state) {
    RunProbe(state, MSR_BARE_PROBE);
}
BENCHMARK(BM_ProcessBareQtStartUp)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(7)
    ->ComputeStatistics("min", Shortest);

// For comparison: the same window holding one captioned button, painted by the style.
void BM_ProcessBareQtWithCaptionStartUp(benchmark::State& state) {
    RunProbe(state, MSR_BARE_PROBE, "caption");
}
BENCHMARK(BM_ProcessBareQtWithCaptionStartUp)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(7)
    ->ComputeStatistics("min", Shortest);

void WaitUntilShown(QWidget* window) {
    window->show();
    for (int round = 0; round < 1000 && !window->windowHandle()->isExposed(); ++round)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    // Painted now, not at the next frame, which a process that ends would never see.
    window->repaint();
}

void BM_InProcessTwelveWindows(benchmark::State& state) {
    for (auto _ : state) {
        msr::app::CreateWindows();
        WaitUntilShown(Form1);
        msr::app::DestroyWindows();
    }
}
BENCHMARK(BM_InProcessTwelveWindows)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(7)
    ->ComputeStatistics("min", Shortest);

void BM_InProcessOneEmptyWindow(benchmark::State& state) {
    for (auto _ : state) {
        QWidget window;
        WaitUntilShown(&window);
    }
}
BENCHMARK(BM_InProcessOneEmptyWindow)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(7)
    ->ComputeStatistics("min", Shortest);

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

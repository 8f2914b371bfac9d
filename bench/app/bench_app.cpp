// Start-up of the program beside a bare Qt application that shows one empty window,
// offscreen, in the same run: once as whole processes (what the user waits for), once within
// one process (the part that is the program's own: building the twelve windows and showing
// the first).

#include "first_frame.h"

#include "app/main_window.h"
#include "app/startup.h"
#include "gui/forms.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using msr::bench::FirstFrame;

// The descriptor on which a probe finds the pipe back to the benchmark.
constexpr int kProbeDescriptor = 3;

double MonotonicSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double Seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

// One start of a probe, in milliseconds: until its first frame was painted and until the
// process ended, each as time waited and as processor time the probe used.
struct ProbeRun {
    double firstFrame = 0;
    double firstFrameProcessor = 0;
    double process = 0;
    double processProcessor = 0;
};

bool ReadWhole(int fd, void* data, size_t size) {
    auto* bytes = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t got = read(fd, bytes, size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        bytes += got;
        size -= static_cast<size_t>(got);
    }
    return true;
}

// Starts the probe and waits for it to end; nothing if it does not start, fails or never
// reports its first frame.
std::optional<ProbeRun> RunProbe(const char* probe, const char* option) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return std::nullopt;
    if (ends[1] == kProbeDescriptor) {
        // Duplicated onto its own number, the write end would keep its close-on-exec.
        const int moved = fcntl(ends[1], F_DUPFD_CLOEXEC, kProbeDescriptor + 1);
        close(ends[1]);
        ends[1] = moved;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], kProbeDescriptor);
    // Qt's notes about the environment would only fill the benchmark's report.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* const arguments[] = {const_cast<char*>(probe), const_cast<char*>(option), nullptr};

    const double start = MonotonicSeconds();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, probe, &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    if (spawned != 0) {
        close(ends[0]);
        return std::nullopt;
    }
    FirstFrame frame;
    const bool reported = ReadWhole(ends[0], &frame, sizeof frame);
    close(ends[0]);
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    const double end = MonotonicSeconds();
    if (!reported || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;

    ProbeRun run;
    run.firstFrame = (frame.monotonicSeconds - start) * 1e3;
    run.firstFrameProcessor = frame.processorSeconds * 1e3;
    run.process = (end - start) * 1e3;
    run.processProcessor = (Seconds(usage.ru_utime) + Seconds(usage.ru_stime)) * 1e3;
    return run;
}

std::vector<double> Series(const std::vector<ProbeRun>& runs, double ProbeRun::*measure) {
    std::vector<double> values;
    for (const ProbeRun& run : runs)
        values.push_back(run.*measure);
    return values;
}

// Start-up times on a shared machine only ever get longer by others' work; the shortest
// of several runs is the one to compare.
double Shortest(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

double Median(std::vector<double> values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// Runs the program and the bare application by turns, so that both meet the machine in the
// same state, and each until its first frame is painted. The time reported is the
// program's; the counters compare the two, "ratio" being the program's shortest start-up
// over the bare application's:
//   program_ms, bare_ms   shortest time until the first frame
//   ratio                 program_ms / bare_ms
//   ratio_median          the same with the medians
//   cpu_ratio             processor time until the first frame, shortest over shortest
//   process_ratio         time until the process has ended, teardown included
void CompareStartUp(benchmark::State& state, const char* bareOption) {
    std::vector<ProbeRun> program;
    std::vector<ProbeRun> bare;
    bool programFirst = true;
    for (auto _ : state) {
        std::optional<ProbeRun> ours;
        std::optional<ProbeRun> theirs;
        if (programFirst) {
            ours = RunProbe(MSR_START_UP_PROBE, nullptr);
            theirs = RunProbe(MSR_BARE_PROBE, bareOption);
        } else {
            theirs = RunProbe(MSR_BARE_PROBE, bareOption);
            ours = RunProbe(MSR_START_UP_PROBE, nullptr);
        }
        programFirst = !programFirst;
        if (!ours || !theirs) {
            state.SkipWithError("a probe failed");
            break;
        }
        state.SetIterationTime(ours->firstFrame / 1e3);
        program.push_back(*ours);
        bare.push_back(*theirs);
    }
    if (program.empty())
        return;
    const double programFrame = Shortest(Series(program, &ProbeRun::firstFrame));
    const double bareFrame = Shortest(Series(bare, &ProbeRun::firstFrame));
    state.counters["program_ms"] = programFrame;
    state.counters["bare_ms"] = bareFrame;
    state.counters["ratio"] = programFrame / bareFrame;
    state.counters["ratio_median"] = Median(Series(program, &ProbeRun::firstFrame)) /
                                     Median(Series(bare, &ProbeRun::firstFrame));
    state.counters["cpu_ratio"] = Shortest(Series(program, &ProbeRun::firstFrameProcessor)) /
                                  Shortest(Series(bare, &ProbeRun::firstFrameProcessor));
    state.counters["process_ratio"] =
        Shortest(Series(program, &ProbeRun::process)) / Shortest(Series(bare, &ProbeRun::process));
}
BENCHMARK_CAPTURE(CompareStartUp, empty_window, static_cast<const char*>(nullptr))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(21);
// For comparison: the same window holding one captioned button, whose text needs the
// platform's fonts, as every window of the program does.
BENCHMARK_CAPTURE(CompareStartUp, captioned_window, "caption")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(21);

void BM_InProcessTwelveWindows(benchmark::State& state) {
    for (auto _ : state) {
        msr::app::CreateWindows();
        msr::bench::ShowUntilFirstFrame(Form1);
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
        msr::bench::ShowUntilFirstFrame(&window);
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
    // The probes started from here report their first frame on this descriptor.
    setenv(msr::bench::kFirstFrameDescriptor, std::to_string(kProbeDescriptor).c_str(), 1);
    QApplication application(argc, argv);
    msr::app::PrepareApplication(application);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#pragma once

// Where a start-up ends for the user: the window shown and its first frame painted. The
// probes and the in-process benchmarks all wait for that moment the same way.

class QWidget;

namespace msr::bench {

// Shows the window and returns once it is exposed and has been painted once; no frame more.
void ShowUntilFirstFrame(QWidget* window);

// What a probe tells the benchmark that runs it: the moment of its first frame on the
// monotonic clock, which all processes share, and the processor time used until then.
struct FirstFrame {
    double monotonicSeconds = 0;
    double processorSeconds = 0;
};

// The environment variable naming the descriptor a probe writes its FirstFrame to.
inline constexpr char kFirstFrameDescriptor[] = "MSR_FIRST_FRAME_FD";

// Writes the FirstFrame record when the probe runs under the benchmark; does nothing when
// it is started by hand.
void ReportFirstFrame();

} // namespace msr::bench

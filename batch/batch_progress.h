#pragma once

#include <cstdint>

namespace msr::batch {

// Hears of every line a batch run answers, so that a long run can show how far it has come.
class BatchProgress {
public:
    virtual ~BatchProgress() = default;
    // One more line answered; bytes counts it with its line feed.
    virtual void lineDone(std::uint64_t bytes) = 0;
    // The run is over, or stopped by a failure whose message follows.
    virtual void finish() = 0;
};

} // namespace msr::batch

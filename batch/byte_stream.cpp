#include "batch/byte_stream.h"

#include <cstring>

namespace msr::batch {

bool MemoryBytes::readAt(std::uint64_t at, char* buffer, std::size_t count) {
    if (at > bytes_.size() || count > bytes_.size() - at)
        return false;
    if (count > 0)
        std::memcpy(buffer, bytes_.data() + at, count);
    return true;
}

} // namespace msr::batch

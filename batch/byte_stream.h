#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace msr::batch {

// Bytes read in order, a piece at a time: a zip entry's compressed bytes, a part inflated
// from them.
class ByteStream {
public:
    virtual ~ByteStream() = default;
    // Up to capacity bytes into buffer: how many; 0 at the end, and on a failure.
    virtual std::size_t read(char* buffer, std::size_t capacity) = 0;
    // Whether the bytes ended in a failure (damaged, cut short, unreadable), not plainly.
    virtual bool failed() const = 0;
};

// Bytes that can be read at any place: a file, or a file the page holds in memory.
class RandomAccessBytes {
public:
    virtual ~RandomAccessBytes() = default;
    virtual std::uint64_t size() const = 0;
    // Exactly count bytes from at; false when they cannot be read (beyond the end, a read
    // error).
    virtual bool readAt(std::uint64_t at, char* buffer, std::size_t count) = 0;
};

class MemoryBytes : public RandomAccessBytes {
public:
    explicit MemoryBytes(std::string_view bytes) : bytes_(bytes) {}
    std::uint64_t size() const override { return bytes_.size(); }
    bool readAt(std::uint64_t at, char* buffer, std::size_t count) override;

private:
    std::string_view bytes_;
};

} // namespace msr::batch

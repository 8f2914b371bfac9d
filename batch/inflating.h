#pragma once

#include "batch/byte_stream.h"

#include <functional>
#include <memory>

namespace msr::batch {

// Makes the stream of the bytes a raw deflate stream (RFC 1951, as a zip entry holds it)
// inflates to, read from compressed as they are needed; the stream fails where the
// compressed bytes are no deflate stream or end before it does. compressed outlives it.
using Inflater = std::function<std::unique_ptr<ByteStream>(ByteStream& compressed)>;

// The inflater of every build, in plain C++: memory stays at its 32 KiB window and one
// block of input, whatever the stream inflates to.
std::unique_ptr<ByteStream> InflatePortably(ByteStream& compressed);

} // namespace msr::batch

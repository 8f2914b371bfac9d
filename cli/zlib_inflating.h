#pragma once

#include "batch/inflating.h"

namespace msr::cli {

// Inflates a workbook's deflated part with zlib, as a stream (the native build's inflater:
// faster than the portable one, and the same bytes).
std::unique_ptr<batch::ByteStream> InflateWithZlib(batch::ByteStream& compressed);

} // namespace msr::cli

#pragma once

#include "batch/zip_reading.h"

#include <optional>
#include <string>
#include <string_view>

namespace msr::cli {

// Inflates a workbook's deflated part with zlib (the native build's inflater).
std::optional<std::string> InflateWithZlib(const batch::ArchiveEntry& entry,
                                           std::string_view compressed);

} // namespace msr::cli

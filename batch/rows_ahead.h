#pragma once

#include "batch/sheet_rows.h"

#include <memory>

namespace msr::batch {

// Reads a workbook's rows on a thread of its own, a few thousand rows ahead, while the
// caller evaluates the ones before: inflating and scanning the XML take about as long as
// evaluating, and a computer has two cores. The rows come in their order; memory stays at
// a few chunks of rows. Where the build has no threads (WebAssembly), nullptr: the caller
// reads the rows itself.
std::unique_ptr<SheetRows> ReadAhead(SheetRows& source);

} // namespace msr::batch

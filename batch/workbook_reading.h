#pragma once

#include "batch/byte_stream.h"
#include "batch/inflating.h"
#include "batch/sheet_rows.h"

#include <memory>
#include <string>

namespace msr::batch {

// The first sheet of a workbook (.xlsx or .xlsm from Excel or LibreOffice, .ods), its rows
// streamed as the spreadsheet shows them: a cell gives the text it shows (an .ods holds
// it; an .xlsx number is shown as its number format says, a yes/no value "TRUE"). Told by
// the archive's content, not by a name. Memory stays within a fixed budget: one row, the
// workbook's shared texts (at most kLargestSharedTexts), and the parts' windows. nullptr
// and why (German, without full stop) where bytes hold no workbook that can be read.
std::unique_ptr<SheetRows> OpenWorkbook(RandomAccessBytes& bytes, const Inflater& inflate,
                                        std::string& why);

constexpr std::uint64_t kLargestSharedTexts = std::uint64_t{64} << 20;

} // namespace msr::batch

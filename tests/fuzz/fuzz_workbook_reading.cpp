// A workbook on any bytes (the archive, its directory, the XML of its parts, unpacked by
// zlib as the evaluator does): never a crash; either it is refused with a reason and no
// text, or its text is whole lines, each row ended.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "batch/workbook_reading.h"
#include "cli/zlib_inflating.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const msr::batch::WorkbookSheet sheet =
        msr::batch::ReadWorkbookSheet(bytes, msr::cli::InflateWithZlib);
    const bool refused = !sheet.failure.empty();
    if (refused && !sheet.text.empty())
        std::abort();
    if (!refused && !sheet.text.empty() && sheet.text.back() != '\n')
        std::abort();
    return 0;
}

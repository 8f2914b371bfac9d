// A workbook on any bytes (the archive, its directory, the XML of its parts, unpacked by
// zlib as the evaluator does): never a crash; either it is refused with a reason, or its
// rows come in order of reading, each within a spreadsheet's limits, and the bytes read of
// its sheet never exceed the sheet's size.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "batch/byte_stream.h"
#include "batch/workbook_reading.h"
#include "cli/zlib_inflating.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    msr::batch::MemoryBytes bytes(std::string_view(reinterpret_cast<const char*>(data), size));
    std::string why;
    const std::unique_ptr<msr::batch::SheetRows> rows =
        msr::batch::OpenWorkbook(bytes, msr::cli::InflateWithZlib, why);
    if (!rows) {
        if (why.empty())
            std::abort(); // refused without a reason
        return 0;
    }
    msr::batch::SheetRow row;
    std::uint64_t count = 0;
    while (rows->next(row)) {
        ++count;
        if (row.number == 0 || count > msr::batch::kMostRows * 2)
            std::abort();
        std::size_t bytesOfRow = 0;
        for (std::size_t i = 0; i < row.cells.size(); ++i) {
            bytesOfRow += row.cells[i].text.size();
            if (row.cells[i].text.empty() || row.cells[i].column >= msr::batch::kMostColumns ||
                (i > 0 && row.cells[i].column <= row.cells[i - 1].column))
                std::abort();
        }
        if (bytesOfRow > (std::size_t{1} << 20) || (!row.refusal.empty() && !row.cells.empty()))
            std::abort();
    }
    if (rows->bytesRead() > rows->bytes())
        std::abort();
    return 0;
}

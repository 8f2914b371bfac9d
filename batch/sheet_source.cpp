#include "batch/sheet_source.h"

#include "batch/workbook_reading.h"

#include <string_view>

namespace msr::batch {
namespace {

// A workbook is read whole; beyond this it is refused for its size.
constexpr std::uint64_t kLargestWorkbook = std::uint64_t{1} << 30;

// Excel's own format before 2007, and a workbook Excel protected with a password: both in
// Microsoft's compound file, which begins so.
constexpr std::string_view kCompoundFile = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

} // namespace

bool ReadUpTo(std::istream& in, std::uint64_t limit, std::string& bytes) {
    char chunk[1 << 16];
    bytes.clear();
    do {
        in.read(chunk, sizeof chunk);
        bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    } while (in && bytes.size() <= limit);
    return !in.bad();
}

SheetSource::SheetSource(std::istream& in, const Inflater& inflate) : in_(in) {
    const auto first = in.peek();
    if (first != 'P' && first != static_cast<unsigned char>(kCompoundFile[0]))
        return; // a text table, read as it comes
    std::string bytes;
    if (!ReadUpTo(in, kLargestWorkbook, bytes)) {
        unreadable_ = true;
        return;
    }
    if (bytes.size() > kLargestWorkbook) { // no table whose first cell begins so is a sheet
        failure_ = "Die Arbeitsmappe ist zu groß";
        return;
    }
    if (std::string_view(bytes).substr(0, kCompoundFile.size()) == kCompoundFile) {
        failure_ = "Die Datei ist eine Arbeitsmappe im alten Excel-Format (.xls) oder mit "
                   "einem Kennwort geschützt; bitte ohne Kennwort als .xlsx, .ods oder CSV "
                   "speichern";
        return;
    }
    if (!StartsAsZipArchive(bytes)) {
        text_.emplace(std::move(bytes)); // a text table after all
        return;
    }
    WorkbookSheet workbook = ReadWorkbookSheet(bytes, inflate);
    failure_ = std::move(workbook.failure);
    workbookTextBytes_ = workbook.text.size();
    text_.emplace(std::move(workbook.text));
}

} // namespace msr::batch

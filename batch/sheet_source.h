#pragma once

#include "batch/zip_reading.h"

#include <cstdint>
#include <istream>
#include <optional>
#include <sstream>
#include <string>

namespace msr::batch {

// Reads the stream to its end into `bytes`, or stops once they are longer than `limit`: the
// input is refused for its size all the same, and an endless one ends. False on a read
// error (the stream's bad state).
bool ReadUpTo(std::istream& in, std::uint64_t limit, std::string& bytes);

// What a user hands in as a sheet: a text table (CSV), or a workbook (.xlsx, .ods), whose
// first sheet is read as the text of a table. Told by the content, not by the name: only
// an input whose first byte may begin a workbook is read whole first.
class SheetSource {
public:
    SheetSource(std::istream& in, const Inflater& inflate);

    // The table's text to run the batch over: the input itself, or the workbook's sheet.
    std::istream& sheet() { return text_ ? *text_ : in_; }
    // Why the input cannot be read as a sheet (German, without full stop); empty if it can.
    const std::string& failure() const { return failure_; }
    // Whether the input could not be read at all (the stream failed).
    bool unreadable() const { return unreadable_; }
    // For a workbook the size of its sheet's text, which a progress counts; else nullopt.
    std::optional<std::uint64_t> workbookTextBytes() const { return workbookTextBytes_; }

private:
    std::istream& in_;
    std::optional<std::istringstream> text_;
    std::string failure_;
    bool unreadable_ = false;
    std::optional<std::uint64_t> workbookTextBytes_;
};

} // namespace msr::batch

#pragma once

#include "evaluation/answers/answers_sheet.h"

#include <cstdint>
#include <string>
#include <vector>

namespace msr::batch {

// A spreadsheet's own limits: a cell, a row or a column beyond them is none it shows.
constexpr std::uint64_t kMostRows = 1048576;
constexpr std::size_t kMostColumns = 16384;
constexpr std::size_t kLongestCell = 32767; // characters

// One row of a sheet that is not blank, as its cells, numbered as the spreadsheet numbers
// it (from 1).
struct SheetRow {
    std::uint64_t number = 0;
    std::vector<SheetCell> cells; // the cells that are not empty, by column
    std::string refusal;          // why the row is refused whole (beyond a limit), else empty
    // The row above stands again (a spreadsheet saves equal rows once, with a count): its
    // cells are not given again, however many the row has.
    bool repeatsAbove = false;
};

// The rows of a workbook's first sheet, streamed: one row in memory at a time.
class SheetRows {
public:
    virtual ~SheetRows() = default;
    // The next row that is not blank; false at the end of the sheet, and on a failure. The
    // row handed in may be any; a row that repeats the one above holds no cells.
    virtual bool next(SheetRow& row) = 0;
    // Why the sheet could not be read to its end (German, without full stop); empty at its
    // end.
    virtual const std::string& failure() const = 0;
    // The bytes of the sheet's part inflated so far, for the progress.
    virtual std::uint64_t bytesRead() const = 0;
    // The size of the sheet's part, for the progress.
    virtual std::uint64_t bytes() const = 0;
};

// "A", "Z", "AA", ... for a column from 0.
std::string ColumnLetters(std::size_t column);

} // namespace msr::batch

#pragma once

#include "batch/zip_writing.h"

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace msr::batch {

// How a cell or a whole column is shown: Excel's general format, bold, a number with two
// decimals ("0.00"), text ("@": what is typed into it stays text, 0815 too), or text broken
// into lines within the column's width, at the top of its row.
enum class CellStyle { General, Bold, TwoDecimals, Text, Wrapped };

// One cell of a row: empty, a number, or a text (written as an inline string: never a
// formula, whatever it starts with).
struct XlsxCell {
    enum class Kind { Empty, Number, Text };
    Kind kind = Kind::Empty;
    double number = 0;
    std::string_view text;
    CellStyle style = CellStyle::General;

    static XlsxCell Number(double value, CellStyle style = CellStyle::General) {
        return {Kind::Number, value, {}, style};
    }
    static XlsxCell Text(std::string_view value, CellStyle style = CellStyle::General) {
        return {Kind::Text, 0, value, style};
    }
};

struct XlsxColumn {
    double width = 0; // in characters; 0: the default width
    CellStyle style = CellStyle::General;
};

// A drop-down list over one column, from fromRow (counted from 1) to the sheet's last row.
// source is a range, such as RangeOfColumn()'s, so the list may be longer than the 255
// characters that Excel allows a list written out in the rule itself.
struct XlsxList {
    std::size_t column = 0; // counted from 0
    std::uint32_t fromRow = 2;
    std::string source;
};

struct XlsxSheetLayout {
    std::string name; // 1 to 31 characters, none of []:*?/ and backslash
    bool hidden = false;
    bool freezeFirstRow = false;
    std::vector<XlsxColumn> columns; // from the first column on
    std::vector<XlsxList> lists;
};

// An .xlsx workbook written to a seekable stream, sheet after sheet, each row appended in
// order: a row goes out at once, so memory stays flat over any number of rows. Writing
// stops at the first fault (a stream that fails, a sheet beyond 1,048,576 rows or 16,384
// columns, a name Excel refuses); every later call returns false. Characters that XML 1.0
// forbids (control characters other than Tab, LF and CR, bytes that are no UTF-8) are left
// out of a text.
class XlsxWriter {
public:
    explicit XlsxWriter(std::ostream& out);

    bool beginSheet(const XlsxSheetLayout& layout);
    // A row of cells from the first column on; height in points (0: as the cells need, which
    // not every spreadsheet works out for wrapped text).
    bool addRow(const std::vector<XlsxCell>& cells, double height = 0);
    bool endSheet();
    // The workbook's own parts; the file is complete when it returns true.
    bool finish();

    // The reference to the cells fromRow..toRow (from 1) of a column (from 0) of a sheet,
    // as a list's source: 'Erläuterungen'!$C$2:$C$8.
    static std::string RangeOfColumn(std::string_view sheet, std::size_t column,
                                     std::uint32_t fromRow, std::uint32_t toRow);
    // "A" of 0, "AB" of 27.
    static std::string ColumnName(std::size_t column);

private:
    struct Sheet {
        std::string name;
        bool hidden = false;
    };
    bool fail();

    ZipWriter zip_;
    std::vector<Sheet> sheets_;
    std::vector<XlsxList> lists_; // of the sheet being written
    std::uint32_t rows_ = 0;      // of the sheet being written
    bool inSheet_ = false;
    bool good_ = true;
    std::string buffer_;
    std::ostringstream digits_; // numbers as XML writes them
};

} // namespace msr::batch

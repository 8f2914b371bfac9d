#pragma once

#include "evaluation/answers/answers_reading.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A sheet of answers as a spreadsheet saves it: a CSV table with ';', ',' or a Tab between
// fields (found from the header), a header row that names the inputs (the keys of the JSON
// answers, in any order, and "Aktenzeichen"), then one row per flat. Cells are read as
// RFC 4180 and LibreOffice read them: a quote opens a quoted cell only at the start of a
// cell ("" in it for a quote; a line break in it belongs to the cell), inside an unquoted
// cell it is a quote like any other character. An empty cell is no answer; a yes/no cell
// takes ja/nein, x/empty, 1/0, wahr/falsch or true/false in any case; a choice cell the
// number; LivingArea and Aktenzeichen the text. The caller decodes the text to UTF-8 and
// hands it over line by line.
namespace msr {

// One row of a sheet: its text (the lines of a quoted cell joined by line feeds).
struct SheetRecord {
    std::string text;
    // Whether the row is only the first line of a quoted cell that never closed (before
    // the end of the input or before the row grew beyond kLargestAnswersText): reading it
    // refuses it, and the lines after it are read as rows of their own.
    bool unclosed = false;
};

// Gathers the lines of a sheet into rows as a spreadsheet shows them. Memory stays bounded:
// the lines of an open quoted cell are kept up to kLargestAnswersText bytes.
class SheetRecords {
public:
    explicit SheetRecords(char separator = ';') : separator_(separator) {}

    // Adds one line, without its line feed (a carriage return before it is dropped).
    void addLine(std::string_view line);
    // The end of the input: a quoted cell still open there gives up its row.
    void finish();

    // Takes the next completed row, in order; false when there is none (yet).
    bool next(SheetRecord& record);

    // Whether lines are kept for a quoted cell that is still open.
    bool isOpen() const { return !open_.empty(); }

private:
    void take(std::string_view line);
    // Gives the first kept line up as a row of its own; the others are to be read again.
    void giveUpFirstLine();
    void readAgain();

    char separator_;
    std::deque<std::string> open_; // the lines of a row whose quoted cell is open
    std::size_t openBytes_ = 0;
    std::deque<std::string> again_; // lines to read again, before any new one
    std::deque<SheetRecord> done_;
};

// A cell of a sheet that is not empty, by its column (from 0, A) and the text it shows.
struct SheetCell {
    std::size_t column = 0;
    std::string text;
};

// The header's names and then the rows of one sheet, as a CSV table's records or as a
// workbook's cells (non-empty ones, in the order of their columns).
class AnswersSheet {
public:
    // The separator of a sheet with this header line: of ';', ',' and Tab the one that
    // splits it into known names (';' when none does better).
    static char FindSeparator(std::string_view headerLine);

    // Reads the header row; the message for a header that is refused (a name that is no
    // input, a name twice, no CSV), or nothing. An unknown name is named with the known
    // name meant where one is close.
    std::optional<std::string> readHeader(std::string_view record, char separator = ';');
    std::optional<std::string> readHeader(const std::vector<SheetCell>& cells);
    // Whether the header was refused for a name that is no input.
    bool refusedUnknownColumn() const { return unknownColumn_; }

    // Reads one row as the JSON text of the same answers reads: the same answers, case
    // number, refusals and messages (the allowed values worded for a sheet). A row that is
    // no CSV is NotJson, its message naming the column.
    AnswersReading readRow(std::string_view record) const;
    AnswersReading readRow(const SheetRecord& record) const { return readRow(record.text); }
    AnswersReading readRow(const std::vector<SheetCell>& cells) const;

    // Whether the record holds nothing but separators and blanks (an empty line, ";;;");
    // without a separator, any of ';', ',' and Tab (before the header).
    static bool IsBlankRecord(std::string_view record, char separator = 0);

private:
    std::optional<std::string> readNames(const std::vector<std::string_view>& names);
    // The answers of cells whose size and UTF-8 are checked.
    AnswersReading answersOf(const std::vector<SheetCell>& cells) const;
    std::string columnName(std::size_t column) const;

    char separator_ = ';';
    std::vector<int> columns_; // per column: the place in Inputs(), or a kind of its own
    bool unknownColumn_ = false;
};

} // namespace msr

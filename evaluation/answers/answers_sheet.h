#pragma once

#include "evaluation/answers/answers_reading.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A sheet of answers as a spreadsheet saves it: a CSV table with ';' between fields, a
// header row that names the inputs (the keys of the JSON answers, in any order, and
// "Aktenzeichen"), then one row per flat. UTF-8 with or without a byte order mark, lines
// ending in CR LF or LF, fields in double quotes where they hold ';', '"' or a line break
// ("" for a quote). An empty cell is no answer; a yes/no cell takes ja/nein, x/empty, 1/0,
// wahr/falsch or true/false in any case; a choice cell the number; LivingArea and
// Aktenzeichen the text. The caller reads the text and hands it over line by line.
namespace msr {

// Gathers the lines of a sheet into records: a line break inside a quoted field belongs to
// the field. Memory stays bounded: a record keeps at most one byte more than
// kLargestAnswersText, which reading it refuses.
class SheetRecords {
public:
    // Adds one line, without its line feed (a carriage return before it is dropped); true
    // when the line completes a record, which record() then holds until the next line.
    bool addLine(std::string_view line);

    // The record completed last, or at the end of the input the lines of a record whose
    // quotes never closed (when isOpen()), which reading then refuses.
    const std::string& record() const { return record_; }

    // Whether the lines added since the last record leave a quoted field open.
    bool isOpen() const { return open_; }

private:
    std::string record_;
    bool open_ = false;
};

// The header's names and then the rows of one sheet.
class AnswersSheet {
public:
    // Reads the header row; the message for a header that is refused (a name that is no
    // input, a name twice, no CSV), or nothing.
    std::optional<std::string> readHeader(std::string_view record);
    // Whether the header was refused for a name that is no input.
    bool refusedUnknownColumn() const { return unknownColumn_; }

    // Reads one row as the JSON text of the same answers reads: the same answers, case
    // number, refusals and messages (the allowed values worded for a sheet). A row that is
    // no CSV is NotJson.
    AnswersReading readRow(std::string_view record) const;

    // Whether the record holds nothing but separators and blanks (an empty line, ";;;").
    static bool IsBlankRecord(std::string_view record);

private:
    std::vector<int> columns_; // per column: the place in Inputs(), or a kind of its own
    bool unknownColumn_ = false;
};

} // namespace msr

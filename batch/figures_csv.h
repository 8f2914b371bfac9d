#pragma once

#include "batch/figures_table.h"
#include "evaluation/figures_record.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace msr::batch {

// The figures as a table for spreadsheets: ';' between fields (as German spreadsheets
// expect), every field in double quotes (so that no separator a spreadsheet's import may
// tick, the comma of "4,24" above all, ever splits a cell), UTF-8 without byte-order mark,
// each row ended by a line feed.

// "Nr";"Aktenzeichen";"Untergrenze je m²";"Mittelwert je m²";"Obergrenze je m²";"Wohnfläche m²";
// "Untergrenze gesamt";"Mittelwert gesamt";"Obergrenze gesamt";"Fehler" (and ;"Mietspiegel")
// and the line feed.
void AppendCsvHeader(std::string& out, bool editionColumn = false);

// One row: the figures as the report prints them and "Fehler" empty, or empty figures and
// the message in "Fehler".
void AppendCsvRow(const FiguresRow& row, bool editionColumn, std::string& out);

// One field in double quotes, a quote inside doubled.
void AppendCsvField(std::string_view field, std::string& out);

// Whether a spreadsheet would take a text cell that starts so for a formula: '=', '+', '-',
// '@', a Tab or a carriage return (OWASP's list for CSV injection).
bool WouldBeFormula(std::string_view text);

// A text cell (a case number, a message): one that would be taken for a formula gets an
// apostrophe before it, as OWASP advises, so that it stays text and still reads the same.
// Figures are numbers and go through AppendCsvField.
void AppendCsvText(std::string_view text, std::string& out);

} // namespace msr::batch

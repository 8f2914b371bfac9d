#pragma once

#include <string>

namespace msr::batch {

// What a batch writes: the report's text (a single set of answers only), the report as
// JSON with its figures, or the table of figures, as CSV or as a workbook (FiguresTable).
enum class OutputFormat { Text, Json, Csv, Xlsx };
// JSON answers (one object, or JSON Lines in a batch), or a sheet of answers (CSV, or a
// workbook's first sheet).
enum class InputFormat { JsonLines, Sheet };

// Whether a file of this name is read as a sheet of answers when nothing else says: its
// name ends in ".csv", ".xlsx" or ".ods", in any case.
bool IsSheetFile(const std::string& file);

} // namespace msr::batch

#pragma once

#include "batch/zip_reading.h"

#include <string>
#include <string_view>

namespace msr::batch {

// The first sheet of a workbook (.xlsx from Excel or LibreOffice, .ods), as the text of a
// sheet of answers: a line per row as the spreadsheet shows it (a blank row a blank line),
// the cells between ';', quoted where a cell needs it. A cell gives the text a spreadsheet
// shows for it where the workbook holds that text (every cell of an .ods, a text cell of an
// .xlsx), else its value as the workbook holds it (an .xlsx number "52.5"; a yes/no value
// "TRUE"). The core turns the cells into answers, as it does those of a CSV table.
struct WorkbookSheet {
    std::string text;
    std::string failure; // why it cannot be read (German, without full stop); empty if read
};
WorkbookSheet ReadWorkbookSheet(std::string_view bytes, const Inflater& inflate);

} // namespace msr::batch

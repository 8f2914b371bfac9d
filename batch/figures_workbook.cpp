#include "batch/figures_workbook.h"

#include "batch/figures_csv.h"
#include "batch/xlsx_writing.h"

#include <algorithm>
#include <locale>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace msr::batch {
namespace {

// The names of the CSV table's columns, from its header line.
std::vector<std::string> ColumnNames() {
    std::string header;
    AppendCsvHeader(header);
    std::vector<std::string> names;
    std::string_view rest(header);
    while (!rest.empty() && rest.front() == '"') {
        const std::size_t end = rest.find('"', 1);
        names.emplace_back(rest.substr(1, end - 1));
        rest.remove_prefix(std::min(end + 2, rest.size())); // the quote and the separator
    }
    return names;
}

// A figure as the report prints it ("4,73", "2,147484E+9") as a number.
// Read in the classic locale, whatever the program's: the WebAssembly build has no
// from_chars for floating point.
bool FigureValue(std::string figure, double& value) {
    std::replace(figure.begin(), figure.end(), ',', '.');
    std::istringstream in(figure);
    in.imbue(std::locale::classic());
    in >> value;
    return !in.fail() && in.peek() == std::istringstream::traits_type::eof();
}

// Characters of a UTF-8 text, as a column's width counts them.
double Width(std::string_view text) {
    double width = 0;
    for (const char c : text)
        width += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return width;
}

} // namespace

struct FiguresWorkbook::Library {
    explicit Library(std::unique_ptr<std::ostream> to) : out(std::move(to)) {}
    std::unique_ptr<std::ostream> out;
    XlsxWriter writer{*out};
    std::vector<XlsxCell> cells;
    bool failed = false;
};

FiguresWorkbook::FiguresWorkbook(std::unique_ptr<Library> library) : library_(std::move(library)) {}

FiguresWorkbook::~FiguresWorkbook() = default;

std::unique_ptr<FiguresWorkbook> FiguresWorkbook::Open(std::unique_ptr<std::ostream> out) {
    if (!out || !*out)
        return nullptr;
    auto library = std::make_unique<Library>(std::move(out));
    const std::vector<std::string> names = ColumnNames();
    XlsxSheetLayout layout;
    layout.name = "Auswertung";
    layout.freezeFirstRow = true;
    std::vector<XlsxCell> header;
    for (std::size_t column = 0; column < names.size(); ++column) {
        XlsxColumn c;
        c.width = std::max(12.0, Width(names[column]) + 2);
        c.style = CellStyle::TwoDecimals;
        if (column == 0) {
            c.style = CellStyle::General;
        } else if (column == 1) {
            c.width = 24; // a case number
            c.style = CellStyle::Text;
        } else if (column + 1 == names.size()) {
            c.width = 80; // a message
            c.style = CellStyle::Text;
        }
        layout.columns.push_back(c);
        header.push_back(XlsxCell::Text(names[column], CellStyle::Bold));
    }
    if (!library->writer.beginSheet(layout) || !library->writer.addRow(header))
        return nullptr;
    return std::unique_ptr<FiguresWorkbook>(new FiguresWorkbook(std::move(library)));
}

bool FiguresWorkbook::add(const FiguresRow& row) {
    Library& l = *library_;
    l.cells.assign(1, XlsxCell::Number(static_cast<double>(row.number)));
    // Texts as text cells: never a formula, whatever they start with.
    l.cells.push_back(XlsxCell::Text(row.caseNumber, CellStyle::Text));
    std::string message;
    if (row.figures) {
        const FinalFigureTexts& f = *row.figures;
        for (const std::string* figure :
             {&f.lowPerSquareMetre, &f.meanPerSquareMetre, &f.highPerSquareMetre, &f.livingArea,
              &f.totalLow, &f.totalMean, &f.totalHigh}) {
            double value = 0;
            l.cells.push_back(FigureValue(*figure, value)
                                  ? XlsxCell::Number(value, CellStyle::TwoDecimals)
                                  : XlsxCell::Text(*figure, CellStyle::Text));
        }
    } else {
        l.cells.resize(9);
        l.cells.push_back(XlsxCell::Text(row.message, CellStyle::Text));
    }
    if (row.caseNumber.empty())
        l.cells[1] = XlsxCell();
    const bool written = l.writer.addRow(l.cells);
    l.failed = l.failed || !written;
    return written;
}

bool FiguresWorkbook::finish() {
    Library& l = *library_;
    const bool written = l.writer.endSheet() && l.writer.finish();
    l.out->flush();
    return written && !l.failed && l.out->good();
}

std::ostream& FiguresWorkbook::out() {
    return *library_->out;
}

} // namespace msr::batch

#include "cli/workbook.h"

#include "batch/figures_csv.h"
#include "batch/xlsx_writing.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace msr::cli {
namespace {

// The names of the CSV table's columns, from its header line.
std::vector<std::string> ColumnNames() {
    std::string header;
    batch::AppendCsvHeader(header);
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
bool FigureValue(std::string figure, double& value) {
    std::replace(figure.begin(), figure.end(), ',', '.');
    const auto [end, error] = std::from_chars(figure.data(), figure.data() + figure.size(), value);
    return error == std::errc() && end == figure.data() + figure.size();
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
    std::ofstream file;
    batch::XlsxWriter writer{file};
    std::vector<batch::XlsxCell> cells;
    bool failed = false;
};

FiguresWorkbook::FiguresWorkbook(std::unique_ptr<Library> library) : library_(std::move(library)) {}

FiguresWorkbook::~FiguresWorkbook() = default;

std::unique_ptr<FiguresWorkbook> FiguresWorkbook::Open(const std::string& file) {
    auto library = std::make_unique<Library>();
    library->file.open(file, std::ios::binary | std::ios::trunc);
    if (!library->file)
        return nullptr;
    const std::vector<std::string> names = ColumnNames();
    batch::XlsxSheetLayout layout;
    layout.name = "Auswertung";
    layout.freezeFirstRow = true;
    std::vector<batch::XlsxCell> header;
    for (std::size_t column = 0; column < names.size(); ++column) {
        batch::XlsxColumn c;
        c.width = std::max(12.0, Width(names[column]) + 2);
        c.style = batch::CellStyle::TwoDecimals;
        if (column == 0) {
            c.style = batch::CellStyle::General;
        } else if (column == 1) {
            c.width = 24; // a case number
            c.style = batch::CellStyle::Text;
        } else if (column + 1 == names.size()) {
            c.width = 80; // a message
            c.style = batch::CellStyle::Text;
        }
        layout.columns.push_back(c);
        header.push_back(batch::XlsxCell::Text(names[column], batch::CellStyle::Bold));
    }
    if (!library->writer.beginSheet(layout) || !library->writer.addRow(header))
        return nullptr;
    return std::unique_ptr<FiguresWorkbook>(new FiguresWorkbook(std::move(library)));
}

bool FiguresWorkbook::add(const batch::FiguresRow& row) {
    Library& l = *library_;
    using batch::CellStyle;
    using batch::XlsxCell;
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
    l.file.close();
    return written && !l.failed && !l.file.fail();
}

} // namespace msr::cli

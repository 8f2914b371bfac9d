#include "batch/figures_workbook.h"

#include "batch/figures_csv.h"
#include "batch/xlsx_writing.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace msr::batch {
namespace {

// Characters of a UTF-8 text, as a column's width counts them.
double Width(std::string_view text) {
    double width = 0;
    for (const char c : text)
        width += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return width;
}

// How a column of the table shows: its heading, width and the style of its cells.
XlsxColumn Column(std::string_view heading, double width, CellStyle style) {
    XlsxColumn column;
    column.width = std::max(width, Width(heading) + 2);
    column.style = style;
    return column;
}

} // namespace

struct FiguresWorkbook::Library {
    explicit Library(std::unique_ptr<std::ostream> to) : out(std::move(to)) {}
    std::unique_ptr<std::ostream> out;
    XlsxWriter writer{*out};
    std::vector<XlsxCell> cells;
    bool failed = false;
    bool editionColumn = false;
};

FiguresWorkbook::FiguresWorkbook(std::unique_ptr<Library> library) : library_(std::move(library)) {}

FiguresWorkbook::~FiguresWorkbook() = default;

std::unique_ptr<FiguresWorkbook> FiguresWorkbook::Open(std::unique_ptr<std::ostream> out,
                                                       bool editionColumn) {
    if (!out || !*out)
        return nullptr;
    auto library = std::make_unique<Library>(std::move(out));
    library->editionColumn = editionColumn;
    XlsxSheetLayout layout;
    layout.name = "Auswertung";
    layout.freezeFirstRow = true;
    std::vector<XlsxCell> header;
    const auto add = [&](const char* heading, double width, CellStyle style) {
        layout.columns.push_back(Column(heading, width, style));
        header.push_back(XlsxCell::Text(heading, CellStyle::Bold));
    };
    add(kNumberColumn, 12, CellStyle::General);
    add(kCaseNumberColumn, 24, CellStyle::Text);
    for (const FigureColumn& figure : kFigureColumns)
        add(figure.column, 12, CellStyle::TwoDecimals);
    add(kMessageColumn, 80, CellStyle::Text);
    if (editionColumn)
        add(kEditionColumn, 32, CellStyle::Text);
    if (!library->writer.beginSheet(layout) || !library->writer.addRow(header))
        return nullptr;
    return std::unique_ptr<FiguresWorkbook>(new FiguresWorkbook(std::move(library)));
}

bool FiguresWorkbook::add(const FiguresRow& row) {
    Library& l = *library_;
    l.cells.assign(1, XlsxCell::Number(static_cast<double>(row.number)));
    // Texts as text cells: never a formula, whatever they start with.
    l.cells.push_back(XlsxCell::Text(row.caseNumber, CellStyle::Text));
    for (const FigureColumn& figure : kFigureColumns) {
        if (!row.figures) {
            l.cells.emplace_back();
            continue;
        }
        // The number the sentence prints, as the core gives it, never read back from text.
        const double value = row.figures->values.*figure.value;
        l.cells.push_back(value == value
                              ? XlsxCell::Number(value, CellStyle::TwoDecimals)
                              : XlsxCell::Text(row.figures->*figure.text, CellStyle::Text));
    }
    l.cells.push_back(row.figures ? XlsxCell() : XlsxCell::Text(row.message, CellStyle::Text));
    if (l.editionColumn)
        l.cells.push_back(row.edition.empty() ? XlsxCell()
                                              : XlsxCell::Text(row.edition, CellStyle::Text));
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

#include "cli/workbook.h"

#include "batch/figures_csv.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <charconv>
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
    lxw_workbook* workbook = nullptr;
    lxw_worksheet* sheet = nullptr;
    lxw_format* header = nullptr;
    lxw_format* figure = nullptr;
    lxw_format* text = nullptr;
    lxw_row_t row = 0;
    bool failed = false;
};

FiguresWorkbook::FiguresWorkbook(std::unique_ptr<Library> library) : library_(std::move(library)) {}

FiguresWorkbook::~FiguresWorkbook() {
    if (library_->workbook)
        workbook_close(library_->workbook);
}

std::unique_ptr<FiguresWorkbook> FiguresWorkbook::Open(const std::string& file) {
    auto library = std::make_unique<Library>();
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE; // row by row: memory stays flat over any batch
    library->workbook = workbook_new_opt(file.c_str(), &options);
    if (!library->workbook)
        return nullptr;
    library->sheet = workbook_add_worksheet(library->workbook, "Auswertung");
    library->header = workbook_add_format(library->workbook);
    format_set_bold(library->header);
    library->figure = workbook_add_format(library->workbook);
    format_set_num_format(library->figure, "0.00");
    library->text = workbook_add_format(library->workbook);
    format_set_num_format(library->text, "@");
    const std::vector<std::string> names = ColumnNames();
    for (std::size_t column = 0; column < names.size(); ++column) {
        const double width =
            column + 1 == names.size() ? 80 : std::max(12.0, Width(names[column]) + 2);
        worksheet_set_column(library->sheet, static_cast<lxw_col_t>(column),
                             static_cast<lxw_col_t>(column), width, nullptr);
        worksheet_write_string(library->sheet, 0, static_cast<lxw_col_t>(column),
                               names[column].c_str(), library->header);
    }
    worksheet_set_column(library->sheet, 1, 1, 24, nullptr); // a case number
    worksheet_freeze_panes(library->sheet, 1, 0);
    return std::unique_ptr<FiguresWorkbook>(new FiguresWorkbook(std::move(library)));
}

bool FiguresWorkbook::add(const batch::FiguresRow& row) {
    Library& l = *library_;
    const lxw_row_t at = ++l.row;
    bool written = worksheet_write_number(l.sheet, at, 0, static_cast<double>(row.number),
                                          nullptr) == LXW_NO_ERROR;
    // Texts as text cells: never a formula, whatever they start with.
    if (!row.caseNumber.empty())
        written =
            written && worksheet_write_string(l.sheet, at, 1, std::string(row.caseNumber).c_str(),
                                              l.text) == LXW_NO_ERROR;
    if (row.figures) {
        const FinalFigureTexts& f = *row.figures;
        lxw_col_t column = 2;
        for (const std::string* figure :
             {&f.lowPerSquareMetre, &f.meanPerSquareMetre, &f.highPerSquareMetre, &f.livingArea,
              &f.totalLow, &f.totalMean, &f.totalHigh}) {
            double value = 0;
            written = written && (FigureValue(*figure, value)
                                      ? worksheet_write_number(l.sheet, at, column, value, l.figure)
                                      : worksheet_write_string(l.sheet, at, column, figure->c_str(),
                                                               l.text)) == LXW_NO_ERROR;
            ++column;
        }
    } else {
        written =
            written && worksheet_write_string(l.sheet, at, 9, std::string(row.message).c_str(),
                                              l.text) == LXW_NO_ERROR;
    }
    l.failed = l.failed || !written;
    return written;
}

bool FiguresWorkbook::finish() {
    lxw_workbook* workbook = library_->workbook;
    library_->workbook = nullptr;
    return workbook_close(workbook) == LXW_NO_ERROR && !library_->failed;
}

} // namespace msr::cli

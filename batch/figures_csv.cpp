#include "batch/figures_csv.h"

#include <iterator>

namespace msr::batch {
namespace {

constexpr char kSeparator = ';';

void AppendNumber(std::uint64_t number, std::string& out) {
    out += '"';
    char digits[24];
    char* end = digits + sizeof digits;
    char* p = end;
    do {
        *--p = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number != 0);
    out.append(p, static_cast<std::size_t>(end - p));
    out += '"';
}

} // namespace

void AppendCsvHeader(std::string& out, bool editionColumn) {
    AppendCsvField(kNumberColumn, out);
    out += kSeparator;
    AppendCsvField(kCaseNumberColumn, out);
    for (const FigureColumn& figure : kFigureColumns) {
        out += kSeparator;
        AppendCsvField(figure.column, out);
    }
    out += kSeparator;
    AppendCsvField(kMessageColumn, out);
    if (editionColumn) {
        out += kSeparator;
        AppendCsvField(kEditionColumn, out);
    }
    out += '\n';
}

void AppendCsvRow(const FiguresRow& row, bool editionColumn, std::string& out) {
    AppendNumber(row.number, out);
    out += kSeparator;
    AppendCsvText(row.caseNumber, out);
    for (const FigureColumn& figure : kFigureColumns) {
        out += kSeparator;
        if (row.figures)
            AppendCsvField(row.figures->*figure.text, out);
        else
            out += "\"\"";
    }
    if (row.figures)
        out += ";\"\""; // no error
    else {
        out += kSeparator;
        AppendCsvText(row.message, out);
    }
    if (editionColumn) {
        out += kSeparator;
        AppendCsvText(row.edition, out);
    }
    out += '\n';
}

bool WouldBeFormula(std::string_view text) {
    return !text.empty() && (text[0] == '=' || text[0] == '+' || text[0] == '-' || text[0] == '@' ||
                             text[0] == '\t' || text[0] == '\r');
}

void AppendCsvText(std::string_view text, std::string& out) {
    if (!WouldBeFormula(text)) {
        AppendCsvField(text, out);
        return;
    }
    std::string harmless = "'";
    harmless += text;
    AppendCsvField(harmless, out);
}

void AppendCsvField(std::string_view field, std::string& out) {
    out += '"';
    for (std::size_t quote; (quote = field.find('"')) != std::string_view::npos;) {
        out.append(field.data(), quote + 1);
        out += '"';
        field.remove_prefix(quote + 1);
    }
    out += field;
    out += '"';
}

} // namespace msr::batch

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

void AppendCsvHeader(std::string& out) {
    out += "\"Nr\";\"Aktenzeichen\"";
    for (const FigureColumn& figure : kFigureColumns) {
        out += kSeparator;
        AppendCsvField(figure.column, out);
    }
    out += ";\"Fehler\"\n";
}

void AppendCsvFigures(std::uint64_t lineNumber, std::string_view caseNumber,
                      const FinalFigureTexts& figures, std::string& out) {
    AppendNumber(lineNumber, out);
    out += kSeparator;
    AppendCsvText(caseNumber, out);
    for (const FigureColumn& figure : kFigureColumns) {
        out += kSeparator;
        AppendCsvField(figures.*figure.text, out);
    }
    out += ";\"\"\n"; // no error
}

void AppendCsvError(std::uint64_t lineNumber, std::string_view caseNumber, std::string_view message,
                    std::string& out) {
    AppendNumber(lineNumber, out);
    out += kSeparator;
    AppendCsvText(caseNumber, out);
    for (std::size_t i = 0; i < std::size(kFigureColumns); ++i)
        out += ";\"\"";
    out += kSeparator;
    AppendCsvText(message, out);
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

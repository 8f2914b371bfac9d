#include "evaluation/figures_record.h"

#include "evaluation/document/report_rendering.h"
#include "evaluation/number/extended_decimal.h"

#include <limits>
#include <string_view>

namespace msr {

void AppendJsonNumber(const std::string& printed, const std::string& separator, std::string& out) {
    if (printed.find_first_of("0123456789") == std::string::npos) {
        out += "null";
        return;
    }
    const std::size_t at = separator.empty() ? std::string::npos : printed.find(separator);
    if (at == std::string::npos) {
        out += printed;
        return;
    }
    out.append(printed, 0, at);
    out += '.';
    out.append(printed, at + separator.size(), std::string::npos);
}

double PrintedFigureValue(std::string_view printed, const std::string& decimalSeparator) {
    const double none = std::numeric_limits<double>::quiet_NaN();
    const bool negative = !printed.empty() && printed.front() == '-';
    printed.remove_prefix(negative ? 1 : 0);
    std::string digits;
    int exponent = 0;
    bool fraction = false;
    std::size_t at = 0;
    for (; at < printed.size(); ++at) {
        const char c = printed[at];
        if (c >= '0' && c <= '9') {
            digits += c;
            exponent -= fraction ? 1 : 0;
        } else if (!fraction && printed.substr(at, decimalSeparator.size()) == decimalSeparator &&
                   !decimalSeparator.empty()) {
            fraction = true;
            at += decimalSeparator.size() - 1;
        } else {
            break;
        }
    }
    if (digits.empty())
        return none;
    if (at < printed.size()) { // "E+9", "E-5"
        if (printed[at] != 'E')
            return none;
        const std::string_view power = printed.substr(at + 1);
        int value = 0;
        const bool below = !power.empty() && power.front() == '-';
        std::size_t i = !power.empty() && (power.front() == '+' || power.front() == '-') ? 1 : 0;
        if (i >= power.size())
            return none;
        for (; i < power.size(); ++i) {
            if (power[i] < '0' || power[i] > '9' || value > 1000)
                return none;
            value = value * 10 + (power[i] - '0');
        }
        exponent += below ? -value : value;
    }
    if (digits.find_first_not_of('0') == std::string::npos)
        return negative ? -0.0 : 0.0;
    return DoubleFromDecimal(negative, digits, exponent).value_or(none);
}

FinalFigureTexts FormatFinalFigures(const EvaluationResult& result,
                                    const std::string& decimalSeparator) {
    FinalFigureTexts texts;
    texts.lowPerSquareMetre = FormatFigure(result.figures.low, decimalSeparator);
    texts.meanPerSquareMetre = FormatFigure(result.figures.mean, decimalSeparator);
    texts.highPerSquareMetre = FormatFigure(result.figures.high, decimalSeparator);
    texts.livingArea = FormatFigure(result.livingArea, decimalSeparator);
    texts.totalLow = FormatFigure(result.totalLow, decimalSeparator);
    texts.totalMean = FormatFigure(result.totalMean, decimalSeparator);
    texts.totalHigh = FormatFigure(result.totalHigh, decimalSeparator);
    for (const FigureColumn& figure : kFigureColumns)
        texts.values.*figure.value = PrintedFigureValue(texts.*figure.text, decimalSeparator);
    return texts;
}

void AppendFiguresJson(const FinalFigureTexts& texts, const std::string& decimalSeparator,
                       std::string& out) {
    const char* group = "";
    out += '{';
    for (const FigureColumn& figure : kFigureColumns) {
        const bool sameGroup = std::string_view(group) == figure.jsonGroup;
        if (*group != '\0' && !sameGroup)
            out += '}';
        if (out.back() != '{')
            out += ',';
        if (*figure.jsonGroup != '\0' && !sameGroup) {
            out += '"';
            out += figure.jsonGroup;
            out += "\":{";
        }
        group = figure.jsonGroup;
        out += '"';
        out += figure.jsonKey;
        out += "\":";
        AppendJsonNumber(texts.*figure.text, decimalSeparator, out);
    }
    if (*group != '\0')
        out += '}';
    out += '}';
}

namespace {

// ,"edition":{"stand":"1. Januar 2015","termEnd":"2016-12-31","line":"Mietspiegel Stand …"}:
// for when the figures hold.
void AppendEditionMember(const EditionInForce& inForce, bool severalEditions, std::string& out) {
    const Edition& edition = *inForce.edition;
    out += ",\"edition\":{";
    if (severalEditions) {
        out += "\"name\":";
        AppendJsonString(edition.name, out);
        out += ',';
    }
    out += "\"stand\":";
    AppendJsonString(edition.stand, out);
    if (severalEditions) {
        out += ",\"inForceFrom\":";
        AppendJsonString(IsoDate(edition.inForceFrom), out);
    }
    out += ",\"termEnd\":";
    AppendJsonString(IsoDate(edition.termEnd), out);
    out += ",\"line\":";
    AppendJsonString(EditionLine(edition), out);
    if (severalEditions)
        out += inForce.outOfDate ? ",\"outOfDate\":true" : ",\"outOfDate\":false";
    out += '}';
}

} // namespace

void AppendReportJson(const ReportDocument& document, const FinalFigureTexts& figures,
                      const EditionInForce& edition, bool severalEditions,
                      const std::string& decimalSeparator, std::string& out) {
    out += '{';
    AppendParagraphsMember(document, out);
    out += ",\"figures\":";
    AppendFiguresJson(figures, decimalSeparator, out);
    AppendEditionMember(edition, severalEditions, out);
    out += '}';
}

std::string EditionCell(const EditionInForce& edition) {
    if (!edition)
        return {};
    return edition.edition->name + (edition.outOfDate ? " (veraltet)" : "");
}

} // namespace msr

#include "evaluation/figures_record.h"

#include "evaluation/document/report_rendering.h"

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

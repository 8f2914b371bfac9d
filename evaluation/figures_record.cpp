#include "evaluation/figures_record.h"

#include "evaluation/document/report_rendering.h"

namespace msr {
namespace {

// A printed figure as a JSON number: the same digits, '.' for the decimal separator.
// Only a value that is no number at all ("NAN", "INF") becomes null.
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

void AppendSpan(const char* name, const std::string& low, const std::string& mean,
                const std::string& high, const std::string& separator, std::string& out) {
    out += '"';
    out += name;
    out += "\":{\"low\":";
    AppendJsonNumber(low, separator, out);
    out += ",\"mean\":";
    AppendJsonNumber(mean, separator, out);
    out += ",\"high\":";
    AppendJsonNumber(high, separator, out);
    out += '}';
}

} // namespace

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
    out += '{';
    AppendSpan("perSquareMetre", texts.lowPerSquareMetre, texts.meanPerSquareMetre,
               texts.highPerSquareMetre, decimalSeparator, out);
    out += ",\"livingArea\":";
    AppendJsonNumber(texts.livingArea, decimalSeparator, out);
    out += ',';
    AppendSpan("total", texts.totalLow, texts.totalMean, texts.totalHigh, decimalSeparator, out);
    out += '}';
}

void AppendReportJson(const ReportDocument& document, const FinalFigureTexts& figures,
                      const std::string& decimalSeparator, std::string& out) {
    out += '{';
    AppendParagraphsMember(document, out);
    out += ",\"figures\":";
    AppendFiguresJson(figures, decimalSeparator, out);
    out += '}';
}

} // namespace msr

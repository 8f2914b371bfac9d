#pragma once

#include "evaluation/document/report_document.h"
#include "evaluation/evaluation_result.h"
#include "evaluation/rent_index/editions.h"

#include <string>

namespace msr {

// The seven numbers of the final calculation as the number a spreadsheet's cell holds: the
// double nearest to the printed text, so that a workbook's cell shows what the sentence
// prints; NaN for a text that is no number ("NAN", "INF").
struct FinalFigureValues {
    double lowPerSquareMetre = 0;
    double meanPerSquareMetre = 0;
    double highPerSquareMetre = 0;
    double livingArea = 0;
    double totalLow = 0;
    double totalMean = 0;
    double totalHigh = 0;
};

// The seven numbers of the final calculation, each exactly as its sentence prints it.
// The sentence is built from these texts, so a table of them never disagrees with it.
struct FinalFigureTexts {
    std::string lowPerSquareMetre;
    std::string meanPerSquareMetre;
    std::string highPerSquareMetre;
    std::string livingArea;
    std::string totalLow;
    std::string totalMean;
    std::string totalHigh;
    FinalFigureValues values; // the same as numbers
};

// The figures record, one row a figure, in the order of every output: its name (the
// page's key), where the JSON puts it (an object of the span, or the top), the column of
// the table of figures, the label of the page's row that shows it, and its text.
struct FigureColumn {
    const char* name;
    const char* jsonGroup; // "perSquareMetre", "total", or "" for a member of its own
    const char* jsonKey;
    const char* column; // the heading of its column in a sheet
    const char* label;  // the page's row: a bound of the span, per square metre and in total
    std::string FinalFigureTexts::*text;
    double FinalFigureValues::*value;
};

inline constexpr FigureColumn kFigureColumns[] = {
    {"lowPerSquareMetre", "perSquareMetre", "low", "Untergrenze je m²", "Untergrenze",
     &FinalFigureTexts::lowPerSquareMetre, &FinalFigureValues::lowPerSquareMetre},
    {"meanPerSquareMetre", "perSquareMetre", "mean", "Mittelwert je m²", "Mittelwert",
     &FinalFigureTexts::meanPerSquareMetre, &FinalFigureValues::meanPerSquareMetre},
    {"highPerSquareMetre", "perSquareMetre", "high", "Obergrenze je m²", "Obergrenze",
     &FinalFigureTexts::highPerSquareMetre, &FinalFigureValues::highPerSquareMetre},
    {"livingArea", "", "livingArea", "Wohnfläche m²", "Wohnfläche", &FinalFigureTexts::livingArea,
     &FinalFigureValues::livingArea},
    {"totalLow", "total", "low", "Untergrenze gesamt", "Untergrenze", &FinalFigureTexts::totalLow,
     &FinalFigureValues::totalLow},
    {"totalMean", "total", "mean", "Mittelwert gesamt", "Mittelwert", &FinalFigureTexts::totalMean,
     &FinalFigureValues::totalMean},
    {"totalHigh", "total", "high", "Obergrenze gesamt", "Obergrenze", &FinalFigureTexts::totalHigh,
     &FinalFigureValues::totalHigh},
};

// The value of a printed figure ("4,73", "2,147484E+9" with separator ","), exactly;
// NaN for a text that is no number.
double PrintedFigureValue(std::string_view printed, const std::string& decimalSeparator);

FinalFigureTexts FormatFinalFigures(const EvaluationResult& result,
                                    const std::string& decimalSeparator);

// {"perSquareMetre":{"low":4.73,"mean":5.41,"high":6.38},"livingArea":75.00,
// "total":{"low":354.75,"mean":405.75,"high":478.50}} on one line: each number is its
// printed text with the decimal separator written as JSON's '.', exponent form included.
void AppendFiguresJson(const FinalFigureTexts& texts, const std::string& decimalSeparator,
                       std::string& out);

// A printed figure as a JSON number: the same digits, '.' for the decimal separator, the
// exponent form kept; null for a value that is no number at all ("NAN", "INF").
void AppendJsonNumber(const std::string& printed, const std::string& separator, std::string& out);

// The report's paragraphs with the figures of the final calculation beside them and the
// rent index's edition: {"paragraphs":[...],"figures":{"perSquareMetre":{..},
// "livingArea":..,"total":{..}},"edition":{"stand":..,"termEnd":..,"line":..}}. Where
// several editions are loaded, the edition also names itself, the day it came into force
// and whether it was out of date on the day that chose it: "name", "inForceFrom",
// "outOfDate".
void AppendReportJson(const ReportDocument& document, const FinalFigureTexts& figures,
                      const EditionInForce& edition, bool severalEditions,
                      const std::string& decimalSeparator, std::string& out);

// The edition as a table of figures names it where several are loaded: its name, and
// " (veraltet)" where the day that chose it lies after its term.
std::string EditionCell(const EditionInForce& edition);

} // namespace msr

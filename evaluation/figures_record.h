#pragma once

#include "evaluation/document/report_document.h"
#include "evaluation/evaluation_result.h"

#include <string>

namespace msr {

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
};

FinalFigureTexts FormatFinalFigures(const EvaluationResult& result,
                                    const std::string& decimalSeparator);

// {"perSquareMetre":{"low":4.73,"mean":5.41,"high":6.38},"livingArea":75.00,
// "total":{"low":354.75,"mean":405.75,"high":478.50}} on one line: each number is its
// printed text with the decimal separator written as JSON's '.', exponent form included.
void AppendFiguresJson(const FinalFigureTexts& texts, const std::string& decimalSeparator,
                       std::string& out);

// The report's paragraphs with the figures of the final calculation beside them:
// {"paragraphs":[...],"figures":{"perSquareMetre":{..},"livingArea":..,"total":{..}}}.
void AppendReportJson(const ReportDocument& document, const FinalFigureTexts& figures,
                      const std::string& decimalSeparator, std::string& out);

} // namespace msr

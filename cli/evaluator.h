#pragma once

#include "evaluation/answers/answers_json.h"
#include "evaluation/document/report_document.h"
#include "evaluation/evaluate.h"

#include <optional>
#include <string>
#include <string_view>

namespace msr::cli {

// One set of answers (a JSON text, a row of a sheet) taken through the program's checks
// and the evaluation.
struct JsonEvaluation {
    enum class Status {
        Evaluated, // the document holds the whole evaluation
        NotJson,   // the text is no JSON object (the row no CSV); nothing was evaluated
        Refused,   // refused as the program or the key checks refuse; nothing was appended
    };
    Status status = Status::Evaluated;
    std::string message;     // for NotJson and Refused, with the error report's full stop
    EvaluationResult result; // for Evaluated: the figures of the final calculation
    std::optional<std::string> caseNumber; // "Aktenzeichen", when the answers give one
};

// Clears the document and evaluates the answers into it with the given decimal separator.
JsonEvaluation EvaluateJson(std::string_view json, ReportDocument& document,
                            const std::string& decimalSeparator);
JsonEvaluation EvaluateReading(const AnswersReading& reading, ReportDocument& document,
                               const std::string& decimalSeparator);

// The same checks and the same evaluation, for the figures alone: no paragraph is built.
JsonEvaluation EvaluateJsonFigures(std::string_view json, const std::string& decimalSeparator);
JsonEvaluation EvaluateReadingFigures(const AnswersReading& reading,
                                      const std::string& decimalSeparator);

} // namespace msr::cli

#include "cli/evaluator.h"

#include "cli/answers_json.h"
#include "evaluation/admission.h"
#include "evaluation/evaluate.h"
#include "evaluation/living_area.h"

#include <exception>

namespace msr::cli {
namespace {

JsonEvaluation Failed(JsonEvaluation::Status status, std::string message) {
    return {status, WithFullStop(std::move(message))};
}

} // namespace

JsonEvaluation EvaluateJson(std::string_view json, ReportDocument& document,
                            const std::string& decimalSeparator) {
    document.clear();
    const AnswersReading reading = ReadAnswers(json);
    if (reading.status == AnswersReading::Status::NotJson)
        return Failed(JsonEvaluation::Status::NotJson, reading.message);
    if (reading.status == AnswersReading::Status::Refused)
        return Failed(JsonEvaluation::Status::Refused, reading.message);
    if (auto refusal = AnswersRefusal(reading.answers))
        return Failed(JsonEvaluation::Status::Refused, *refusal);
    try {
        Evaluate(reading.answers, document, decimalSeparator);
    } catch (const ConversionError& error) {
        document.clear();
        return Failed(JsonEvaluation::Status::Refused, error.message());
    } catch (const std::exception& error) {
        // As in the program, an error of the evaluation (a living area the locale cannot
        // read) ends it and is reported with its message.
        document.clear();
        return Failed(JsonEvaluation::Status::Refused, error.what());
    }
    return {};
}

} // namespace msr::cli

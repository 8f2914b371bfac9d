#include "cli/evaluator.h"

#include "evaluation/admission.h"
#include "evaluation/answers_json.h"
#include "evaluation/evaluate.h"
#include "evaluation/living_area.h"

#include <exception>

namespace msr::cli {
namespace {

JsonEvaluation Failed(JsonEvaluation::Status status, std::string message) {
    JsonEvaluation failed;
    failed.status = status;
    failed.message = WithFullStop(std::move(message));
    return failed;
}

// Reads the answers, refuses them as the program would, and otherwise evaluates them.
template <typename Evaluation>
JsonEvaluation ReadAndEvaluate(std::string_view json, Evaluation evaluate) {
    const AnswersReading reading = ReadAnswers(json);
    if (reading.status == AnswersReading::Status::NotJson)
        return Failed(JsonEvaluation::Status::NotJson, reading.message);
    if (reading.status == AnswersReading::Status::Refused)
        return Failed(JsonEvaluation::Status::Refused, reading.message);
    if (auto refusal = AnswersRefusal(reading.answers))
        return Failed(JsonEvaluation::Status::Refused, *refusal);
    JsonEvaluation evaluated;
    try {
        evaluated.result = evaluate(reading.answers);
    } catch (const ConversionError& error) {
        return Failed(JsonEvaluation::Status::Refused, error.message());
    } catch (const std::exception& error) {
        // As in the program, an error of the evaluation (a living area the locale cannot
        // read) ends it and is reported with its message.
        return Failed(JsonEvaluation::Status::Refused, error.what());
    }
    return evaluated;
}

} // namespace

JsonEvaluation EvaluateJson(std::string_view json, ReportDocument& document,
                            const std::string& decimalSeparator) {
    document.clear();
    JsonEvaluation evaluation = ReadAndEvaluate(json, [&](const Answers& answers) {
        return Evaluate(answers, document, decimalSeparator);
    });
    if (evaluation.status != JsonEvaluation::Status::Evaluated)
        document.clear();
    return evaluation;
}

JsonEvaluation EvaluateJsonFigures(std::string_view json, const std::string& decimalSeparator) {
    return ReadAndEvaluate(
        json, [&](const Answers& answers) { return EvaluateFigures(answers, decimalSeparator); });
}

} // namespace msr::cli

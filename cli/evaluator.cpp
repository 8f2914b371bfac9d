#include "cli/evaluator.h"

#include "evaluation/answers/answers_json.h"
#include "evaluation/answers/living_area.h"
#include "evaluation/evaluate.h"
#include "evaluation/rent_index/admission.h"

#include <exception>

namespace msr::cli {
namespace {

JsonEvaluation Failed(const AnswersReading& reading, JsonEvaluation::Status status,
                      std::string message) {
    JsonEvaluation failed;
    failed.status = status;
    failed.message = WithFullStop(std::move(message));
    failed.caseNumber = reading.caseNumber;
    return failed;
}

// Refuses the answers read as the program would, and otherwise evaluates them.
template <typename Evaluation>
JsonEvaluation Evaluated(const AnswersReading& reading, Evaluation evaluate) {
    if (reading.status == AnswersReading::Status::NotJson)
        return Failed(reading, JsonEvaluation::Status::NotJson, reading.message);
    if (reading.status == AnswersReading::Status::Refused)
        return Failed(reading, JsonEvaluation::Status::Refused, reading.message);
    if (auto refusal = AnswersRefusal(reading.answers))
        return Failed(reading, JsonEvaluation::Status::Refused, *refusal);
    JsonEvaluation evaluated;
    evaluated.caseNumber = reading.caseNumber;
    try {
        evaluated.result = evaluate(reading.answers);
    } catch (const ConversionError& error) {
        return Failed(reading, JsonEvaluation::Status::Refused, error.message());
    } catch (const std::exception& error) {
        // As in the program, an error of the evaluation (a living area the locale cannot
        // read) ends it and is reported with its message.
        return Failed(reading, JsonEvaluation::Status::Refused, error.what());
    }
    return evaluated;
}

} // namespace

JsonEvaluation EvaluateReading(const AnswersReading& reading, ReportDocument& document,
                               const std::string& decimalSeparator) {
    document.clear();
    JsonEvaluation evaluation = Evaluated(reading, [&](const Answers& answers) {
        return Evaluate(answers, document, decimalSeparator);
    });
    if (evaluation.status != JsonEvaluation::Status::Evaluated)
        document.clear();
    return evaluation;
}

JsonEvaluation EvaluateJson(std::string_view json, ReportDocument& document,
                            const std::string& decimalSeparator) {
    return EvaluateReading(ReadAnswers(json), document, decimalSeparator);
}

JsonEvaluation EvaluateReadingFigures(const AnswersReading& reading,
                                      const std::string& decimalSeparator) {
    return Evaluated(reading, [&](const Answers& answers) {
        return EvaluateFigures(answers, decimalSeparator);
    });
}

JsonEvaluation EvaluateJsonFigures(std::string_view json, const std::string& decimalSeparator) {
    return EvaluateReadingFigures(ReadAnswers(json), decimalSeparator);
}

} // namespace msr::cli

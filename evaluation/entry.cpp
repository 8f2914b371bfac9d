#include "evaluation/entry.h"

#include "evaluation/answers/answers_json.h"
#include "evaluation/answers/living_area.h"
#include "evaluation/evaluate.h"
#include "evaluation/rent_index/admission.h"

#include <exception>
#include <new>
#include <utility>

namespace msr {
namespace {

AdmittedAnswers::Status ReadingStatus(AnswersReading::Status status) {
    return status == AnswersReading::Status::NotJson ? AdmittedAnswers::Status::NotJson
                                                     : AdmittedAnswers::Status::Unread;
}

// The dialogs' rules come in the questionnaire's order: the construction year's, then
// the size's.
const char* RefusedInput(const Answers& answers) {
    return answers.YearClass != kNone &&
                   ConstructionYearRefusal(answers.YearClass, answers.Built1980Side)
               ? "Built1980Side"
               : "LivingArea";
}

AnswersEvaluation Failed(const AdmittedAnswers& admitted, AnswersEvaluation::Status status,
                         std::string message) {
    AnswersEvaluation failed;
    failed.status = status;
    failed.message = std::move(message);
    failed.caseNumber = admitted.caseNumber;
    failed.unknownKey = admitted.unknownKey;
    return failed;
}

} // namespace

AdmittedAnswers AdmitReading(AnswersReading reading) {
    AdmittedAnswers admitted;
    admitted.caseNumber = std::move(reading.caseNumber);
    admitted.referenceDay = reading.referenceDay;
    admitted.unknownKey = reading.unknownKey;
    if (reading.status != AnswersReading::Status::Read) {
        admitted.status = ReadingStatus(reading.status);
        admitted.message = WithFullStop(std::move(reading.message));
        return admitted;
    }
    admitted.answers = std::move(reading.answers);
    const RequiredAnswers given = RequiredAnswersOf(admitted.answers);
    for (const RequiredAnswer& required : kRequiredAnswers)
        if (!(given.*required.given))
            admitted.missing.push_back(required.input);
    if (std::optional<std::string> refusal = AnswersRefusal(admitted.answers)) {
        const bool missing = *refusal == kRequiredAnswerMissingMessage;
        admitted.status =
            missing ? AdmittedAnswers::Status::Missing : AdmittedAnswers::Status::Refused;
        if (!missing)
            admitted.refusedInput = RefusedInput(admitted.answers);
        admitted.message = WithFullStop(std::move(*refusal));
    }
    return admitted;
}

AdmittedAnswers AdmitAnswers(std::string_view json) {
    return AdmitReading(ReadAnswers(json));
}

AnswersEvaluation EvaluateAnswers(const AdmittedAnswers& admitted,
                                  const RentIndexEditions& editions, const CalendarDate& day,
                                  const std::string& decimalSeparator, ReportDocument* document) {
    if (document)
        document->clear();
    if (admitted.status == AdmittedAnswers::Status::NotJson)
        return Failed(admitted, AnswersEvaluation::Status::NotJson, admitted.message);
    if (admitted.status != AdmittedAnswers::Status::Admitted)
        return Failed(admitted, AnswersEvaluation::Status::Refused, admitted.message);
    const CalendarDate& chosenDay = admitted.referenceDay.value_or(day);
    const EditionInForce edition = editions.inForceOn(chosenDay);
    if (!edition)
        return Failed(admitted, AnswersEvaluation::Status::Refused,
                      WithFullStop(editions.noneInForceMessage(chosenDay)));
    AnswersEvaluation evaluated;
    evaluated.caseNumber = admitted.caseNumber;
    evaluated.edition = edition;
    try {
        evaluated.result =
            document ? Evaluate(admitted.answers, *edition.edition, *document, decimalSeparator)
                     : EvaluateFigures(admitted.answers, *edition.edition, decimalSeparator);
        return evaluated;
    } catch (...) {
        // As in the program, an error of the evaluation ends it and is reported with its
        // message.
        evaluated = Failed(admitted, AnswersEvaluation::Status::Refused,
                           WithFullStop(FailureMessage(std::current_exception())));
    }
    if (document)
        document->clear();
    return evaluated;
}

std::string WithUnknownKeyHint(const std::string& message, bool unknownKey, std::string_view hint) {
    if (!unknownKey || hint.empty())
        return message;
    std::string hinted = message;
    if (!hinted.empty() && hinted.back() == '.')
        hinted.pop_back(); // the error report's full stop, which follows the hint instead
    hinted += hint;
    return WithFullStop(std::move(hinted));
}

std::string FailureMessage(std::exception_ptr error) {
    try {
        if (error)
            std::rethrow_exception(error);
    } catch (const ConversionError& conversion) {
        return conversion.message();
    } catch (const std::bad_alloc&) {
        return "Zu wenig Arbeitsspeicher";
    } catch (const std::exception& other) {
        return other.what();
    } catch (...) {
    }
    return "Unerwarteter Fehler";
}

} // namespace msr

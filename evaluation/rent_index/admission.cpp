#include "evaluation/rent_index/admission.h"

#include "evaluation/answers/living_area.h"
#include "evaluation/rent_index/priced_answers.h"

namespace msr {

bool NeedsBuilt1980Side(Choice yearClass) {
    return YearClassBefore1980(yearClass) == Before1980::BySide;
}

std::optional<std::string> ConstructionYearRefusal(Choice yearClass, Choice built1980Side) {
    if (NeedsBuilt1980Side(yearClass) && built1980Side == kNone)
        return kSideMissingMessage;
    return std::nullopt;
}

bool IsLivingAreaAnswered(const std::string& livingArea) {
    return livingArea != kLivingAreaPlaceholder;
}

namespace {

std::optional<std::string> SizeRefusal(int squareMetres, bool isApartment) {
    if (squareMetres < kSmallestFlat)
        return kFlatTooSmallMessage;
    if (isApartment && squareMetres > kLargestApartment)
        return kApartmentTooLargeMessage;
    return std::nullopt;
}

} // namespace

std::optional<std::string> FlatSizeRefusal(const std::string& livingArea, bool isApartment) {
    return SizeRefusal(ToWholeNumber(livingArea), isApartment);
}

// The dialogs mark these answers only when they hold a value.
RequiredAnswers RequiredAnswersOf(const Answers& answers) {
    return {answers.YearClass != kNone, IsLivingAreaAnswered(answers.LivingArea),
            answers.CityArea != kNone};
}

std::optional<std::string> EvaluationRefusal(const RequiredAnswers& answered) {
    for (const RequiredAnswer& required : kRequiredAnswers)
        if (!(answered.*required.given))
            return kRequiredAnswerMissingMessage;
    return std::nullopt;
}

std::optional<std::string> AnswersRefusal(const Answers& answers) {
    if (answers.YearClass != kNone)
        if (auto refusal = ConstructionYearRefusal(answers.YearClass, answers.Built1980Side))
            return refusal;
    if (IsLivingAreaAnswered(answers.LivingArea)) {
        // The dialog's check, without the throw that a batch of many lines would pay for.
        const std::optional<int> squareMetres = WholeNumberOf(answers.LivingArea);
        if (!squareMetres)
            return WholeNumberMessage(answers.LivingArea);
        if (auto refusal = SizeRefusal(*squareMetres, answers.IsApartment))
            return refusal;
    }
    return EvaluationRefusal(RequiredAnswersOf(answers));
}

std::string WithFullStop(std::string message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        message += '.';
    return message;
}

} // namespace msr

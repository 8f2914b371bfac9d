#include "cli/admission.h"

#include "evaluation/living_area.h"

namespace msr::cli {
namespace {

constexpr Choice kYearClass1978To1994 = 4;
constexpr int kLargestApartment = 50;

std::optional<std::string> ConstructionYearDialogRefusal(const Answers& answers) {
    if (answers.YearClass == kYearClass1978To1994 && answers.Built1980Side == kNone)
        return kSideMissingMessage;
    return std::nullopt;
}

std::optional<std::string> FlatSizeDialogRefusal(const Answers& answers) {
    // The placeholder closes the dialog without any test.
    if (answers.LivingArea == kLivingAreaPlaceholder)
        return std::nullopt;
    try {
        const int squareMetres = ToWholeNumber(answers.LivingArea);
        if (answers.IsApartment && squareMetres > kLargestApartment)
            return kApartmentTooLargeMessage;
    } catch (const ConversionError& error) {
        return error.message();
    }
    return std::nullopt;
}

// The evaluation command runs only with the construction year, the size and the area
// answered; the dialogs mark those answers only when they hold a value.
std::optional<std::string> EvaluationCommandRefusal(const Answers& answers) {
    if (answers.YearClass == kNone || answers.LivingArea == kLivingAreaPlaceholder ||
        answers.CityArea == kNone)
        return kMandatoryAnswerMissingMessage;
    return std::nullopt;
}

} // namespace

std::optional<std::string> ProgramRefusal(const Answers& answers) {
    if (auto refusal = ConstructionYearDialogRefusal(answers))
        return refusal;
    if (auto refusal = FlatSizeDialogRefusal(answers))
        return refusal;
    return EvaluationCommandRefusal(answers);
}

} // namespace msr::cli

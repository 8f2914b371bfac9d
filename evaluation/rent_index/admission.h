#pragma once

#include "evaluation/answers/answers.h"

#include <optional>
#include <string>

// The program's refusals: what it says when a dialog's OK or the evaluation command meets
// answers it does not take, each rule and each text once. The dialogs, the main window,
// the command-line evaluator and the web page all ask here; none words a refusal itself.
//
// Every function returns the refusal's message (without the error report's full stop), or
// nothing when the answers are taken.
namespace msr {

// The construction-year dialog's refusal of "1978 bis 1994" without a side.
inline constexpr const char* kSideMissingMessage =
    "Sie haben angegeben, dass das Baujahr Ihrer Wohnung zwischen 1978 und 1994 liegt. Bitte "
    "geben Sie zusätzlich noch an, ob die Wohnung vor oder nach 1980 errichtet wurde.";

// The flat-size dialog's refusal of an apartment above 50 square metres.
inline constexpr const char* kApartmentTooLargeMessage =
    "Ein Appartment darf eine maximale Größe von 50 Quadratmetern haben. Sie haben jedoch eine "
    "größere Quadratmeterzahl ausgewählt. Bitte korrigieren Sie Ihre Eingabe.";

// The flat-size dialog's refusal of a size below one square metre: a size of 0 or less
// would give totals of 0 or below and a lower bound above the upper one.
inline constexpr const char* kFlatTooSmallMessage =
    "Die Wohnfläche muss mindestens 1 Quadratmeter betragen. Sie haben jedoch eine kleinere "
    "Quadratmeterzahl eingegeben. Bitte korrigieren Sie Ihre Eingabe.";

// The evaluation command's refusal while one of its three answers is missing.
inline constexpr const char* kRequiredAnswerMissingMessage =
    "Sie müssen vor der Auswertung das Baujahr und die Wohnungsröße festlegen sowie das Gebiet "
    "angeben, in dem sich die Wohnung befindet. Mindestens eine dieser Angaben fehlt.";

// The largest living area of an apartment, in square metres (exactly 50 is taken).
inline constexpr int kLargestApartment = 50;

// The smallest living area of any flat, in square metres.
inline constexpr int kSmallestFlat = 1;

// Whether the class asks for the side of 1980 ("Baujahr vor/nach 1980"); a side is
// allowed only with such a class.
bool NeedsBuilt1980Side(Choice yearClass);

// The construction-year dialog's OK with a class chosen.
std::optional<std::string> ConstructionYearRefusal(Choice yearClass, Choice built1980Side);

// Whether the size field holds an answer; its placeholder closes the dialog unanswered.
bool IsLivingAreaAnswered(const std::string& livingArea);

// The flat-size dialog's OK with a size typed (not the placeholder). A size that is no
// whole number throws ConversionError "'%s' ist kein gültiger Integerwert" (shown by the
// standard error report); a size below kSmallestFlat is refused, and an apartment above
// kLargestApartment.
std::optional<std::string> FlatSizeRefusal(const std::string& livingArea, bool isApartment);

// The three answers the evaluation needs, each true once its dialog has taken it. The main
// window passes its buttons' flags; RequiredAnswersOf finds them in a set of answers.
struct RequiredAnswers {
    bool constructionYear = false; // "Baujahr"
    bool flatSize = false;         // "Wohnungsgröße und Räume"
    bool cityArea = false;         // "Gebietseinteilung"
};
RequiredAnswers RequiredAnswersOf(const Answers& answers);

// The required answers with the input that gives each, in the questionnaire's order: the
// one list every front end names them by.
struct RequiredAnswer {
    const char* input;
    bool RequiredAnswers::*given;
};
inline constexpr RequiredAnswer kRequiredAnswers[] = {
    {"YearClass", &RequiredAnswers::constructionYear},
    {"LivingArea", &RequiredAnswers::flatSize},
    {"CityArea", &RequiredAnswers::cityArea},
};

// The evaluation command ("Auswerten").
std::optional<std::string> EvaluationRefusal(const RequiredAnswers& answered);

// Everything the program would refuse on its way to evaluating these answers, in the
// order a user meets it: the construction-year dialog, the flat-size dialog (a size that
// is no whole number gives the conversion message), then the evaluation command. For
// front ends that get a whole set of answers at once (command line, web page).
std::optional<std::string> AnswersRefusal(const Answers& answers);

// The standard error report's rule: a full stop is added when the message is not empty
// and its last character lies above the full stop in the character table (in UTF-8 every
// byte of a non-ASCII character does).
std::string WithFullStop(std::string message);

} // namespace msr

#pragma once

#include "evaluation/answers.h"

#include <optional>
#include <string>

namespace msr::cli {

// The construction-year dialog's refusal of "1978 bis 1994" without a side.
inline constexpr const char* kSideMissingMessage =
    "Sie haben angegeben, dass das Baujahr Ihrer Wohnung zwischen 1978 und 1994 liegt. Bitte "
    "geben Sie zusätzlich noch an, ob die Wohnung vor oder nach 1980 errichtet wurde.";

// The flat-size dialog's refusal of an apartment above 50 square metres.
inline constexpr const char* kApartmentTooLargeMessage =
    "Ein Appartment darf eine maximale Größe von 50 Quadratmetern haben. Sie haben jedoch eine "
    "größere Quadratmeterzahl ausgewählt. Bitte korrigieren Sie Ihre Eingabe.";

// The evaluation command's refusal while a mandatory answer is missing.
inline constexpr const char* kMandatoryAnswerMissingMessage =
    "Sie müssen vor der Auswertung das Baujahr und die Wohnungsröße festlegen sowie das Gebiet "
    "angeben, in dem sich die Wohnung befindet. Mindestens eine dieser Angaben fehlt.";

// What the program would say before evaluating these answers, if anything: first the
// construction-year and flat-size dialogs' OK (a user cannot leave them otherwise), then
// the evaluation command's check of the three mandatory answers. The message is the one
// the program shows, before the error report's full stop.
std::optional<std::string> ProgramRefusal(const Answers& answers);

} // namespace msr::cli

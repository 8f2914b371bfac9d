#pragma once

#include "evaluation/answers/answers.h"

#include <cstddef>
#include <iterator>
#include <string_view>

// The program's rules about what an edition of the rent index prices: its questions are the
// questionnaire's, and the rules that decide which price counts are the program's. An
// edition gives the figures and words for them and nothing else.
namespace msr {

// Whether a year class counts as built before 1980, where modernisation of the insulation
// and the heating earns its surcharge; the class split at 1980 asks the side.
enum class Before1980 { Yes, No, BySide };

// One per choice of YearClass, in the order of the construction-year dialog.
inline constexpr Before1980 kYearClassBefore1980[] = {
    Before1980::Yes, Before1980::Yes, Before1980::Yes, Before1980::BySide,
    Before1980::No,  Before1980::No,  Before1980::No,
};

// The year class's rule, or No for a class the dialog does not offer.
Before1980 YearClassBefore1980(Choice yearClass);

// The report's feature sections 2 to 8, in their order: each prices the answers of one
// dialog (the dialog of inputs.h).
inline constexpr const char* kFeatureSectionDialogs[] = {
    "Bad-Ausstattung",          "Bodenbeläge", "Beheizungsart",     "Weitere Zu- und Abschläge",
    "Modernisierungsmaßnahmen", "Wohnumfeld",  "Gebietseinteilung",
};
inline constexpr std::size_t kFeatureSectionCount = std::size(kFeatureSectionDialogs);

// Modernisation that counts only in buildings from before 1980; elsewhere the edition's
// contradiction sentence stands in for the feature's.
struct OnlyBefore1980 {
    const char* input;
    int value;
};
inline constexpr OnlyBefore1980 kOnlyBefore1980[] = {
    {"Insulation", 1},
    {"Insulation", 2},
    {"Insulation", 3},
    {"HeatingRenewed", 1},
};

bool CountsOnlyBefore1980(std::string_view input, int value);

} // namespace msr

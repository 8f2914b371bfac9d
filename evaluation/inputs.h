#pragma once

#include "evaluation/answers.h"

#include <array>
#include <string>
#include <string_view>

namespace msr {

enum class InputKind {
    YesNo,  // a check box: true when ticked
    Choice, // a radio group: kNone or the number of the selected button, 1..choiceCount
    Text,   // the living area's field, as typed
};

// One input of the questionnaire: its name (the member of Answers, and the key of the JSON
// answers), its kind, and where it lives in Answers. Every front end that reads answers
// member by member (JSON, the web page's form) goes through these rows.
struct InputRow {
    const char* name;
    InputKind kind;
    int choiceCount;            // Choice only: the buttons of the group; 0 for the others
    bool Answers::*yesNo;       // YesNo only
    Choice Answers::*choice;    // Choice only
    std::string Answers::*text; // Text only
};

inline constexpr std::size_t kInputCount = 19;

// All inputs in the order of the questionnaire, so that a fault named first is the first a
// user would meet going through the dialogs. The number of choices comes from the
// rent-index tables wherever they list the choices.
const std::array<InputRow, kInputCount>& Inputs();

// The row of that name, or nullptr.
const InputRow* FindInput(std::string_view name);

// The number of sides of 1980 the construction-year dialog offers ("vor", "nach"); the
// rent-index tables ask only for the first.
inline constexpr int kBuilt1980Sides = 2;

} // namespace msr

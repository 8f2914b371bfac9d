#pragma once

#include "evaluation/answers/answers.h"
#include "evaluation/answers/choice_captions.h"

#include <cstddef>
#include <iterator>
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
// member by member (JSON, a sheet, the web page's form) goes through these rows.
struct InputRow {
    const char* name;
    InputKind kind;
    int choiceCount;            // Choice only: the buttons of the group; 0 for the others
    bool Answers::*yesNo;       // YesNo only
    Choice Answers::*choice;    // Choice only
    std::string Answers::*text; // Text only
};

namespace input_rows {

constexpr InputRow YesNo(const char* name, bool Answers::*member) {
    return {name, InputKind::YesNo, 0, member, nullptr, nullptr};
}

// A choice input has as many choices as its dialog shows captions.
constexpr InputRow ChoiceOf(const char* name, Choice Answers::*member) {
    return {name, InputKind::Choice, ChoiceCount(name), nullptr, member, nullptr};
}

constexpr InputRow Text(const char* name, std::string Answers::*member) {
    return {name, InputKind::Text, 0, nullptr, nullptr, member};
}

} // namespace input_rows

// All inputs in the order of the questionnaire, so that a fault named first is the first a
// user would meet going through the dialogs. A new input is a new row here (and its
// member in Answers, its dialog, and its captions if it is a choice).
inline constexpr InputRow kInputs[] = {
    input_rows::ChoiceOf("YearClass", &Answers::YearClass),
    input_rows::ChoiceOf("Built1980Side", &Answers::Built1980Side),
    input_rows::Text("LivingArea", &Answers::LivingArea),
    input_rows::YesNo("IsApartment", &Answers::IsApartment),
    input_rows::YesNo("GuestToilet", &Answers::GuestToilet),
    input_rows::YesNo("TubAndShower", &Answers::TubAndShower),
    input_rows::ChoiceOf("FloorCovering", &Answers::FloorCovering),
    input_rows::ChoiceOf("HeatingKind", &Answers::HeatingKind),
    input_rows::YesNo("CaptiveRooms", &Answers::CaptiveRooms),
    input_rows::YesNo("NoKitchenHotWater", &Answers::NoKitchenHotWater),
    input_rows::YesNo("BalconyOrLoggia", &Answers::BalconyOrLoggia),
    input_rows::YesNo("Terrace", &Answers::Terrace),
    input_rows::YesNo("SoundproofWindows", &Answers::SoundproofWindows),
    input_rows::ChoiceOf("BarrierFree", &Answers::BarrierFree),
    input_rows::YesNo("HeatingRenewed", &Answers::HeatingRenewed),
    input_rows::YesNo("BathRenewed", &Answers::BathRenewed),
    input_rows::ChoiceOf("Insulation", &Answers::Insulation),
    input_rows::YesNo("NoiseImpairment", &Answers::NoiseImpairment),
    input_rows::ChoiceOf("CityArea", &Answers::CityArea),
};

inline constexpr std::size_t kInputCount = std::size(kInputs);

constexpr const InputRow (&Inputs())[kInputCount] {
    return kInputs;
}

// The row of that name, or nullptr.
const InputRow* FindInput(std::string_view name);

// "1978 bis 1994": the one year class that the construction-year dialog splits at 1980,
// and so the only one that takes a side ("Baujahr vor/nach 1980").
inline constexpr Choice kYearClassSplitAt1980 = 4;

} // namespace msr

#pragma once

#include <string>

namespace msr {

// A choice input: 0 while no radio button of its group is selected, otherwise the
// number n of the selected RadioButtonN (counted within the group, from 1).
using Choice = int;
inline constexpr Choice kNone = 0;

// The side of 1980 that counts as built before 1980 ("Baujahr vor 1980").
inline constexpr Choice kBuilt1980SideBefore = 1;

// The text the flat-size dialog shows while no size has been entered.
inline constexpr const char* kLivingAreaPlaceholder = "Quadratmeter";

// Every answer of the questionnaire, as a plain value. The dialogs hold the answers;
// reading them into this value is all the evaluation needs.
struct Answers {
    Choice YearClass = kNone;     // 1..7: "bis 1929" .. "2006 bis 2011"
    Choice Built1980Side = kNone; // 1: "Baujahr vor 1980", 2: "Baujahr nach 1980"
    std::string LivingArea = kLivingAreaPlaceholder;
    bool IsApartment = false;
    bool GuestToilet = false;
    bool TubAndShower = false;
    Choice FloorCovering = kNone; // 1..4
    Choice HeatingKind = kNone;   // 1..4
    bool CaptiveRooms = false;
    bool NoKitchenHotWater = false;
    bool BalconyOrLoggia = false;
    bool Terrace = false;
    bool SoundproofWindows = false;
    Choice BarrierFree = kNone; // 1..2
    bool HeatingRenewed = false;
    bool BathRenewed = false;
    Choice Insulation = kNone; // 1..3
    bool NoiseImpairment = false;
    Choice CityArea = kNone; // 1..7
};

} // namespace msr

#pragma once

#include <array>
#include <cstddef>

#include "evaluation/answers.h"

namespace msr {

// The construction-year classes: the span of each in Euro per square metre and month.
struct YearClassRow {
    const char* caption;
    const char* periodPhrase; // the class's wording inside the report's sentence
    float low;
    float high;
    float mean;
};
extern const std::array<YearClassRow, 7> kYearClasses;

// The living-area classes of a flat that is not an apartment. A value equal to a bound
// belongs to the lower class.
struct SizeClassRow {
    float upTo; // infinity for the last class
    bool adjusts;
    double amount;
    const char* middlePiece; // follows the living area in the finding's sentence
};
extern const std::array<SizeClassRow, 6> kSizeClasses;

// An apartment gets this surcharge whatever its living area.
inline constexpr double kApartmentSurcharge = 1.27;

// The answers that the feature sections ask about.
enum class Input {
    GuestToilet,
    TubAndShower,
    FloorCovering,
    HeatingKind,
    CaptiveRooms,
    NoKitchenHotWater,
    BalconyOrLoggia,
    Terrace,
    SoundproofWindows,
    BarrierFree,
    Insulation,
    HeatingRenewed,
    BathRenewed,
    NoiseImpairment,
    CityArea,
};

// A yes/no answer reads 1 when set; a choice reads the number of its selected button.
int ValueOf(const Answers& answers, Input input);

// How a feature's sentence ends: the mean sentence goes on with the current mean.
enum class Sentence { Plain, WithMean };

struct FeatureRow {
    Input input;
    int value; // the feature applies when the input has this value
    bool adjusts;
    double amount; // negative for a deduction
    Sentence sentenceKind;
    const char* sentence;
    // Modernisation that only counts in buildings from before 1980; otherwise the
    // contradiction sentence stands in for the feature's sentence.
    const char* contradiction = nullptr;
};

struct FeatureSectionRow {
    const char* heading;
    const char* explanation;
    const char* noAnswer; // nullptr: the section has none
    const FeatureRow* features;
    std::size_t featureCount;
    // Only the further surcharges close with the mean and a remark, and only after at
    // least one of their features applied.
    const char* closingMeanSentence = nullptr;
    const char* closingRemark = nullptr;
};
// Sections 2 to 8, in the order the evaluation runs them.
extern const std::array<FeatureSectionRow, 7> kFeatureSections;

} // namespace msr

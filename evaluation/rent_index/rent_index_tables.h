#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "evaluation/answers/answers.h"

namespace msr {

// Whether a year class counts as built before 1980, where modernisation of the insulation
// and the heating earns its surcharge; the class split at 1980 asks the side.
enum class Before1980 { Yes, No, BySide };

// The construction-year classes: the span of each in Euro per square metre and month.
// Their captions are the construction-year dialog's (choice_captions.h).
struct YearClassRow {
    const char* periodPhrase; // the class's wording inside the report's sentence
    Before1980 before1980;
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
    // Names the living area, then (for a class that adjusts) the amount and the new mean.
    const char* sentence;
};
extern const std::array<SizeClassRow, 6> kSizeClasses;

// An apartment gets its surcharge whatever its living area; its sentence names the amount.
struct ApartmentRow {
    double amount;
    const char* sentence;
};
extern const ApartmentRow kApartment;

// The answer a feature asks about: a yes/no input reads 1 when set, a choice the number of
// its selected button.
class AskedInput {
public:
    constexpr AskedInput(bool Answers::*yesNo) : yesNo_(yesNo) {}
    constexpr AskedInput(Choice Answers::*choice) : choice_(choice) {}

    int valueIn(const Answers& answers) const {
        return yesNo_ ? int(answers.*yesNo_) : answers.*choice_;
    }
    bool is(Choice Answers::*choice) const { return choice_ == choice; }

private:
    bool Answers::*yesNo_ = nullptr;
    Choice Answers::*choice_ = nullptr;
};

struct FeatureRow {
    AskedInput input;
    int value; // the feature applies when the input has this value
    bool adjusts;
    double amount; // negative for a deduction
    // For a feature that adjusts, the first hole "{}" takes the amount and a second one the
    // mean after the adjustment; for one that does not, its hole takes the mean.
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
    // Only the further surcharges close with the mean ("{}") and a remark, and only after
    // at least one of their features applied.
    const char* closingMeanSentence = nullptr;
    const char* closingRemark = nullptr;
};
// Sections 2 to 8, in the order the evaluation runs them.
extern const std::array<FeatureSectionRow, 7> kFeatureSections;

// An amount as its sentence words it, whatever the user's decimal separator: "0,82" for
// 0.82 and for -0.82 alike (the sentence says whether it is a surcharge or a deduction).
std::string AmountInSentence(double amount);

// How many choices the feature tables give a choice input (the highest value they ask
// for); 0 for an input they do not ask about.
int FeatureChoiceCount(Choice Answers::*choice);

} // namespace msr

#pragma once

#include "evaluation/answers/answers.h"
#include "evaluation/answers/calendar_date.h"
#include "evaluation/document/report_document.h"
#include "evaluation/rent_index/sentence.h"

#include <optional>
#include <string>
#include <vector>

// One edition of the rent index, as its file gives it (edition_reading.h): its figures, its
// sentences, its fixed texts and its term. The questionnaire and the rules of evaluation are
// the program's; an edition only prices the answers the questionnaire asks.
namespace msr {

// A paragraph whose text does not depend on the answers.
struct FixedParagraph {
    ParagraphKind kind;
    std::string text;
};

// A construction-year class: its span in Euro per square metre and month.
struct YearClassRow {
    std::string period; // {Zeitraum}: the class's wording inside the report's sentence
    float low = 0;
    float high = 0;
    float mean = 0;
};

// A living-area class of a flat that is not an apartment. A value equal to a bound belongs
// to the lower class; the last class has no upper bound.
struct SizeClassRow {
    float upTo = 0; // infinity for the last class
    double amount = 0;
    Sentence sentence; // {Wohnfläche}, and {Betrag} and {Mittelwert} for a class that adjusts
    bool adjusts() const { return amount != 0; }
};

// An apartment gets its surcharge whatever its living area.
struct ApartmentRow {
    double amount = 0;
    Sentence sentence; // {Betrag}
};

// The answer a feature asks about: a yes/no input reads 1 when set, a choice the number of
// its selected button.
class AskedInput {
public:
    AskedInput() = default;
    explicit AskedInput(bool Answers::*yesNo) : yesNo_(yesNo) {}
    explicit AskedInput(Choice Answers::*choice) : choice_(choice) {}

    int valueIn(const Answers& answers) const {
        return yesNo_ ? int(answers.*yesNo_) : answers.*choice_;
    }

private:
    bool Answers::*yesNo_ = nullptr;
    Choice Answers::*choice_ = nullptr;
};

struct FeatureRow {
    AskedInput input;
    int value = 1;     // the feature applies when the input has this value
    double amount = 0; // negative for a deduction; 0: the figures stay as they are
    Sentence sentence; // {Betrag} where it adjusts, {Mittelwert} where it names the mean
    // Modernisation that only counts in buildings from before 1980: the sentence that stands
    // in for the feature's where the flat was built later.
    std::optional<std::string> contradiction;
    bool adjusts() const { return amount != 0; }
};

struct FeatureSectionRow {
    std::string heading;
    std::string explanation;
    std::optional<std::string> noAnswer; // when none of its features applies
    std::vector<FeatureRow> features;    // in the order the evaluation applies them
    // After at least one of its features applied: the mean ({Mittelwert}) and a remark.
    std::optional<Sentence> closingMeanSentence;
    std::optional<std::string> closingRemark;
};

struct InformationParagraph {
    std::string text; // with its holes filled
    bool bullet = false;
};

// Who publishes the rent index, and how a tenant reaches them.
struct Publisher {
    std::string association; // "KWL Hausgilde Varlstadt e. V."
    std::string kind;        // "- Mieterschutzverein -"
    std::string address;
    std::string telephone;
    std::string webAddress;
};

struct Edition {
    std::string file;  // the name its messages give it
    std::string name;  // "Mietspiegel Varlstadt 2015"
    std::string stand; // "1. Januar 2015", as the information text prints it
    CalendarDate inForceFrom;
    CalendarDate termEnd; // the last day the figures are in force
    Publisher publisher;

    std::vector<FixedParagraph> introduction;
    std::vector<FixedParagraph> yearClassOpening;
    Sentence yearClassSentence;            // {Zeitraum}, {Untergrenze}, {Obergrenze}, {Mittelwert}
    std::vector<YearClassRow> yearClasses; // one per choice of YearClass
    // Its last, empty paragraph also opens section 1.
    std::vector<FixedParagraph> adjustmentsIntroduction;
    std::string sizeHeading;
    std::string sizeExplanation;
    ApartmentRow apartment;
    std::vector<SizeClassRow> sizeClasses;
    std::vector<FeatureSectionRow> featureSections; // sections 2 to 8
    std::string finalCalculationHeading;
    // The mean, low and high per square metre, the living area, and the three totals.
    Sentence finalSentence;
    std::vector<FixedParagraph> closingLines;
    std::vector<InformationParagraph> information; // the information dialog's text
};

// An amount as its sentence words it, whatever the user's decimal separator: "0,82" for
// 0.82 and for -0.82 alike (the sentence says whether it is a surcharge or a deduction).
std::string AmountInSentence(double amount);

// "Mietspiegel Stand 1. Januar 2015, Laufzeit bis 31.12.2016": the line that stands with
// every result and on every printed page.
std::string EditionLine(const Edition& edition);

// Whether the edition's term has ended by the given day.
bool IsPastTerm(const Edition& edition, const CalendarDate& day);

// What a result says once the term has ended, and its first sentence alone.
std::string OutOfDateNotice(const Edition& edition);
std::string OutOfDateHeadline(const Edition& edition);

// The association's name, address and telephone as one line, for the contact beside a
// result.
std::string AssociationContactLine(const Edition& edition);

} // namespace msr

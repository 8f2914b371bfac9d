// The refusals as a user meets them, whichever front end asks: the construction-year
// dialog, the flat-size dialog, then the evaluation command.

#include "evaluation/answers/living_area.h"
#include "evaluation/rent_index/admission.h"
#include "tests/core_check/core_check.h"

#include <string>

namespace {

msr::Answers Mandatory() {
    msr::Answers answers;
    answers.YearClass = 1;
    answers.LivingArea = "75";
    answers.CityArea = 3;
    return answers;
}

struct RefusalRow {
    const char* name;
    void (*change)(msr::Answers&);
    std::string refusal; // empty: taken
};

const std::string kTaken;

const RefusalRow kRefusalRows[] = {
    {"the three answers", [](msr::Answers&) {}, kTaken},
    {"1978 bis 1994 without side", [](msr::Answers& a) { a.YearClass = 4; },
     msr::kSideMissingMessage},
    {"1978 bis 1994 after 1980",
     [](msr::Answers& a) {
         a.YearClass = 4;
         a.Built1980Side = 2;
     },
     kTaken},
    {"apartment of 50",
     [](msr::Answers& a) {
         a.LivingArea = "50";
         a.IsApartment = true;
     },
     kTaken},
    {"apartment of 51",
     [](msr::Answers& a) {
         a.LivingArea = "51";
         a.IsApartment = true;
     },
     msr::kApartmentTooLargeMessage},
    {"51 without apartment", [](msr::Answers& a) { a.LivingArea = "51"; }, kTaken},
    {"size of 1", [](msr::Answers& a) { a.LivingArea = "1"; }, kTaken},
    {"size of 0", [](msr::Answers& a) { a.LivingArea = "0"; }, msr::kFlatTooSmallMessage},
    {"size of -75", [](msr::Answers& a) { a.LivingArea = " -75"; }, msr::kFlatTooSmallMessage},
    {"apartment of -75",
     [](msr::Answers& a) {
         a.LivingArea = "-75";
         a.IsApartment = true;
     },
     msr::kFlatTooSmallMessage},
    {"size with a decimal comma", [](msr::Answers& a) { a.LivingArea = "55,5"; },
     "'55,5' ist kein gültiger Integerwert"},
    // Control characters of the input show in the message, none reaches a terminal.
    {"size with a line feed", [](msr::Answers& a) { a.LivingArea = "7\n5"; },
     "'7\\u000a5' ist kein gültiger Integerwert"},
    {"size with NUL, ESC, DEL and CSI",
     [](msr::Answers& a) { a.LivingArea = std::string("\0\x1b[31m\x7f\xc2\x9b", 9); },
     "'\\u0000\\u001b[31m\\u007f\\u009b' ist kein gültiger Integerwert"},
    {"no size", [](msr::Answers& a) { a.LivingArea = msr::kLivingAreaPlaceholder; },
     msr::kRequiredAnswerMissingMessage},
    {"no area", [](msr::Answers& a) { a.CityArea = msr::kNone; },
     msr::kRequiredAnswerMissingMessage},
    {"no construction year", [](msr::Answers& a) { a.YearClass = msr::kNone; },
     msr::kRequiredAnswerMissingMessage},
    // The dialogs come before the evaluation command.
    {"side missing and no area",
     [](msr::Answers& a) {
         a.YearClass = 4;
         a.CityArea = msr::kNone;
     },
     msr::kSideMissingMessage},
    {"apartment too large and no area",
     [](msr::Answers& a) {
         a.IsApartment = true;
         a.CityArea = msr::kNone;
     },
     msr::kApartmentTooLargeMessage},
    {"placeholder with apartment: no size, no apartment check",
     [](msr::Answers& a) {
         a.LivingArea = msr::kLivingAreaPlaceholder;
         a.IsApartment = true;
     },
     msr::kRequiredAnswerMissingMessage},
};

} // namespace

CHECK_TEST(refusesAsTheProgramRefuses) {
    for (const RefusalRow& row : kRefusalRows) {
        CHECK_ROW(row.name);
        msr::Answers answers = Mandatory();
        row.change(answers);
        CHECK_EQ(msr::AnswersRefusal(answers).value_or(kTaken), row.refusal);
    }
}

CHECK_TEST(evaluationNeedsAllThreeFlags) {
    CHECK(!msr::EvaluationRefusal({true, true, true}));
    CHECK(msr::EvaluationRefusal({false, true, true}));
    CHECK(msr::EvaluationRefusal({true, false, true}));
    CHECK(msr::EvaluationRefusal({true, true, false}));
}

CHECK_TEST(flatSizeThatIsNoWholeNumberRaisesTheConversionError) {
    CHECK_THROWS(msr::FlatSizeRefusal("", false), msr::ConversionError);
}

CHECK_TEST(fullStopFollowsTheErrorReportsRule) {
    CHECK_EQ(msr::WithFullStop(""), std::string(""));
    CHECK_EQ(msr::WithFullStop("fehlt"), std::string("fehlt."));
    CHECK_EQ(msr::WithFullStop("fehlt."), std::string("fehlt."));
    CHECK_EQ(msr::WithFullStop("fehlt!"), std::string("fehlt!"));
    CHECK_EQ(msr::WithFullStop("a-"), std::string("a-"));
    CHECK_EQ(msr::WithFullStop("a/"), std::string("a/."));
    CHECK_EQ(msr::WithFullStop("Größe"), std::string("Größe."));
    CHECK_EQ(msr::WithFullStop("groß"), std::string("groß."));
}

CHECK_MAIN()

// The sentences of the built-in edition against their own rows: a sentence that names
// another amount than its row adds, or calls a deduction a surcharge, tells the tenant
// something the figures do not do.

#include "evaluation/answers/inputs.h"
#include "evaluation/rent_index/figures.h"
#include "evaluation/rent_index/priced_answers.h"
#include "tests/core_check/core_check.h"
#include "tests/samples/built_in_edition.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

struct AdjustingRow {
    double amount;
    std::string sentence;
};

// Every row that moves the figures, with the sentence the report shows for it.
std::vector<AdjustingRow> AdjustingRows() {
    const msr::Edition& edition = msr::test::BuiltInEdition();
    std::vector<AdjustingRow> rows;
    for (const msr::SizeClassRow& row : edition.sizeClasses)
        if (row.adjusts())
            rows.push_back({row.amount, row.sentence.written()});
    rows.push_back({edition.apartment.amount, edition.apartment.sentence.written()});
    for (const msr::FeatureSectionRow& section : edition.featureSections)
        for (const msr::FeatureRow& feature : section.features)
            if (feature.adjusts())
                rows.push_back({feature.amount, feature.sentence.written()});
    return rows;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

CHECK_TEST(everyAdjustingRowIsChecked) {
    // 5 size classes, the apartment, 2 + 4 + 4 + 7 + 5 + 1 + 5 features.
    CHECK_EQ(AdjustingRows().size(), std::size_t{34});
}

// Each sentence names its amount in the words of the report's figures, and only through
// the hole that the evaluation fills with it.
CHECK_TEST(sentenceNamesItsOwnAmountAsTheReportFormatsIt) {
    for (const AdjustingRow& row : AdjustingRows()) {
        CHECK_ROW(row.sentence.substr(0, 90));
        CHECK_EQ(msr::AmountInSentence(row.amount), msr::FormatFigure(std::fabs(row.amount), ","));
        CHECK(Contains(row.sentence, "in Höhe von {Betrag} Euro"));
        CHECK(!Contains(row.sentence, msr::AmountInSentence(row.amount)));
    }
}

CHECK_TEST(sentenceCallsASurchargeZuschlagAndADeductionAbschlag) {
    for (const AdjustingRow& row : AdjustingRows()) {
        CHECK_ROW(row.sentence.substr(0, 90));
        CHECK(row.amount != 0);
        const bool surcharge = row.amount > 0;
        CHECK_EQ(Contains(row.sentence, "Zuschlag"), surcharge);
        CHECK_EQ(Contains(row.sentence, "Abschlag"), !surcharge);
    }
}

// The construction-year dialog asks the side of 1980 for the one class the rules split
// there, and the rules know a side for every class it offers.
CHECK_TEST(rulesSplitTheClassTheDialogAsksTheSideOf) {
    const int classes = msr::ChoiceCount("YearClass");
    CHECK_EQ(static_cast<int>(std::size(msr::kYearClassBefore1980)), classes);
    CHECK_EQ(static_cast<int>(msr::test::BuiltInEdition().yearClasses.size()), classes);
    for (int yearClass = 1; yearClass <= classes; ++yearClass) {
        CHECK_ROW(std::to_string(yearClass));
        CHECK_EQ(msr::YearClassBefore1980(yearClass) == msr::Before1980::BySide,
                 yearClass == msr::kYearClassSplitAt1980);
    }
}

CHECK_MAIN()

// The sentences of the rent-index tables against their own rows: a sentence that names
// another amount than its row adds, or calls a deduction a surcharge, tells the tenant
// something the figures do not do.

#include "evaluation/answers/inputs.h"
#include "evaluation/rent_index/figures.h"
#include "evaluation/rent_index/rent_index_tables.h"
#include "tests/core_check/core_check.h"

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
    std::vector<AdjustingRow> rows;
    for (const msr::SizeClassRow& row : msr::kSizeClasses)
        if (row.adjusts)
            rows.push_back({row.amount, row.sentence});
    rows.push_back({msr::kApartment.amount, msr::kApartment.sentence});
    for (const msr::FeatureSectionRow& section : msr::kFeatureSections)
        for (std::size_t i = 0; i < section.featureCount; ++i)
            if (section.features[i].adjusts)
                rows.push_back({section.features[i].amount, section.features[i].sentence});
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
        CHECK(Contains(row.sentence, "in Höhe von {} Euro"));
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

// The questionnaire offers as many choices as the rent index prices, and asks the side of
// 1980 for the class that the table splits there.
CHECK_TEST(tablesPriceEveryChoiceTheDialogsOffer) {
    for (const msr::InputRow& input : msr::Inputs()) {
        if (input.kind != msr::InputKind::Choice || input.choice == &msr::Answers::Built1980Side)
            continue;
        CHECK_ROW(input.name);
        const int priced = input.choice == &msr::Answers::YearClass
                               ? static_cast<int>(msr::kYearClasses.size())
                               : msr::FeatureChoiceCount(input.choice);
        CHECK_EQ(priced, input.choiceCount);
    }
    for (std::size_t i = 0; i < msr::kYearClasses.size(); ++i) {
        CHECK_ROW(msr::kYearClasses[i].periodPhrase);
        const bool split = msr::kYearClasses[i].before1980 == msr::Before1980::BySide;
        CHECK_EQ(split, static_cast<int>(i) + 1 == msr::kYearClassSplitAt1980);
    }
}

CHECK_MAIN()

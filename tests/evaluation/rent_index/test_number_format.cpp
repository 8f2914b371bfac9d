#include "tests/core_check/core_check.h"

#include "evaluation/rent_index/figures.h"

namespace {

struct FormatRow {
    const char* name;
    double value;
    const char* separator;
    const char* expected;
};

const FormatRow kFormatRows[] = {
    {"zero", 0.0, ",", "0,00"},
    {"negative zero has no sign", -0.0, ",", "0,00"},
    {"rounds to zero, no sign", -0.004, ",", "0,00"},
    {"two decimals for one", 4.4, ",", "4,40"},
    {"whole number", 75.0, ",", "75,00"},
    {"below one", 0.5, ",", "0,50"},
    {"exact half cent rounds up", 0.125, ",", "0,13"},
    {"exact half cent, negative, rounds away", -0.125, ",", "-0,13"},
    {"just below a half cent", 2.675, ",", "2,67"}, // the double is 2.67499..
    {"negative", -1.5, ",", "-1,50"},
    {"point as separator", 4.81, ".", "4.81"},
    {"five digits keep two decimals", 12345.678, ",", "12345,68"},
    {"six digits keep one decimal", 123456.789, ",", "123456,80"},
    {"six digits, whole", 130600.0, ",", "130600,00"},
    {"seven digits keep none", 1234567.5, ",", "1234568,00"},
    {"carry into a new digit", 99999.996, ",", "100000,00"},
    {"carry into a seventh digit", 999999.96, ",", "1000000,00"},
    {"largest seven-digit value", 9999999.49, ",", "9999999,00"},
    {"carry into an eighth digit leaves fixed point", 9999999.5, ",", "1E+7"},
    {"the same, negative", -9999999.5, ",", "-1E+7"},
    {"beyond seven digits", 12345678.9, ",", "1,234568E+7"},
    {"beyond seven digits, point", 12345678.9, ".", "1.234568E+7"},
    {"ten million", 10000000.0, ",", "1E+7"},
};

CHECK_TEST(formatsFigures) {
    for (const FormatRow& row : kFormatRows) {
        CHECK_ROW(row.name);
        CHECK_EQ(msr::FormatFigure(row.value, row.separator), std::string(row.expected));
    }
}

CHECK_TEST(formatsTheValuesThatAreNoNumbers) {
    CHECK_EQ(msr::FormatFigure(msr::Extended::NotANumber(), ","), std::string("NAN"));
    CHECK_EQ(msr::FormatFigure(msr::Extended::Infinity(false), ","), std::string("INF"));
    CHECK_EQ(msr::FormatFigure(msr::Extended::Infinity(true), ","), std::string("-INF"));
}

struct FigureRow {
    float figure;
    const char* expected;
};

// Figures are 32-bit: 4.58f lies below 4.58, 5.41f above 5.41; both print as decimals.
const FigureRow kFigureRows[] = {
    {4.58f, "4,58"}, {5.41f, "5,41"}, {3.58f, "3,58"}, {8.18f, "8,18"}, {0.01f, "0,01"},
};

CHECK_TEST(roundsTheThirtyTwoBitFiguresToTheirDecimal) {
    for (const FigureRow& row : kFigureRows) {
        CHECK_ROW(row.expected);
        CHECK_EQ(msr::FormatFigure(row.figure, ","), std::string(row.expected));
    }
}

CHECK_TEST(adjustsAllThreeFiguresAlike) {
    msr::SpanFigures figures{3.58f, 5.19f, 4.40f};
    msr::AdjustSpan(figures, 0.18);
    msr::AdjustSpan(figures, -0.44);
    CHECK_EQ(msr::FormatFigure(figures.low, ","), std::string("3,32"));
    CHECK_EQ(msr::FormatFigure(figures.high, ","), std::string("4,93"));
    CHECK_EQ(msr::FormatFigure(figures.mean, ","), std::string("4,14"));
}

CHECK_TEST(storesSumsBackAtThirtyTwoBits) {
    msr::SpanFigures figures{4.40f, 4.40f, 4.40f};
    msr::AdjustSpan(figures, 0.18);
    // The sum is stored as the 32-bit value nearest to 4.58, which lies below it.
    CHECK_EQ(figures.mean, 4.58f);
    CHECK(msr::Extended(figures.mean) < msr::Extended(4.58));
}

// Rounding works on the value's expansion to 18 significant digits: just below a half
// cent by less than that reaches, a value rounds up like the half cent itself.
CHECK_TEST(roundsTheEighteenDigitExpansion) {
    const msr::Extended belowHalfCent = msr::Extended::FromParts(false, ~std::uint64_t(0), -67);
    CHECK(belowHalfCent < msr::Extended(0.125));
    CHECK_EQ(msr::FormatFigure(belowHalfCent, ","), std::string("0,13"));
    CHECK_EQ(msr::FormatFigure(-belowHalfCent, ","), std::string("-0,13"));
}

// A total is the exact product of two floats, formatted without rounding to 32 bits.
CHECK_TEST(formatsTotalsAsTheExactProduct) {
    // 5.18 - 0.32 is stored slightly below 4.86: times 20000 the total falls a cent short.
    msr::SpanFigures figures{5.18f, 5.18f, 5.18f};
    msr::AdjustSpan(figures, -0.32);
    CHECK_EQ(msr::FormatFigure(figures.low, ","), std::string("4,86"));
    CHECK_EQ(msr::FormatFigure(msr::Extended(figures.low) * msr::Extended(20000.0f), ","),
             std::string("97199,99"));
    CHECK_EQ(msr::FormatFigure(msr::Extended(5.41f) * msr::Extended(75.0f), ","),
             std::string("405,75"));
    // The largest living area times the largest figure: far beyond seven digits.
    CHECK_EQ(msr::FormatFigure(msr::Extended(8.18f) * msr::Extended(3.4028235e38f), ","),
             std::string("2,78351E+39"));
}

} // namespace

CHECK_MAIN()

#include "tests/core_check/core_check.h"

#include "evaluation/answers/living_area.h"

namespace {

struct WholeNumberRow {
    const char* name;
    const char* text;
    int expected;
};

const WholeNumberRow kWholeNumbers[] = {
    {"plain", "75", 75},
    {"zero", "0", 0},
    {"plus sign", "+5", 5},
    {"negative", "-3", -3},
    {"leading zeros", "007", 7},
    {"blanks around", "  50 ", 50},
    {"largest", "2147483647", 2147483647},
    {"smallest", "-2147483648", int(-2147483647 - 1)},
};

CHECK_TEST(acceptsWholeNumbers) {
    for (const WholeNumberRow& row : kWholeNumbers) {
        CHECK_ROW(row.name);
        CHECK_EQ(msr::ToWholeNumber(row.text), row.expected);
    }
}

struct RefusedRow {
    const char* name;
    const char* text;
};

const RefusedRow kNoWholeNumbers[] = {
    {"decimal comma", "55,5"},
    {"empty", ""},
    {"blanks only", "   "},
    {"placeholder", "Quadratmeter"},
    {"sign only", "-"},
    {"two signs", "+-5"},
    {"blank after sign", "- 5"},
    {"exponent", "1e3"},
    {"hexadecimal", "0x10"},
    {"above 32 bits", "2147483648"},
    {"below 32 bits", "-2147483649"},
    {"huge", "99999999999999999999999"},
    {"arabic-indic digits", "٣٥"},
    {"letters after digits", "55qm"},
};

// The message the conversion throws, or "accepted".
template <typename Conversion> std::string RefusalOf(Conversion convert) {
    try {
        convert();
        return "accepted";
    } catch (const msr::ConversionError& e) {
        return e.what();
    }
}

CHECK_TEST(refusesOtherTextsAsWholeNumbers) {
    for (const RefusedRow& row : kNoWholeNumbers) {
        CHECK_ROW(row.name);
        CHECK_EQ(RefusalOf([&] { msr::ToWholeNumber(row.text); }),
                 "'" + std::string(row.text) + "' ist kein gültiger Integerwert");
    }
}

struct LivingAreaRow {
    const char* name;
    const char* text;
    const char* separator;
    float expected;
};

const LivingAreaRow kLivingAreas[] = {
    {"whole", "75", ",", 75.0f},
    {"signed", "+45", ",", 45.0f},
    {"negative", "-3", ",", -3.0f},
    {"comma", "55,5", ",", 55.5f},
    {"point", "55.5", ".", 55.5f},
    {"no digits after separator", "55,", ",", 55.0f},
    {"no digits before separator", ",5", ",", 0.5f},
    {"exponent", "1e3", ",", 1000.0f},
    {"blanks around", " 60 ", ",", 60.0f},
    {"largest whole number", "2147483647", ",", 2147483648.0f},
    {"rounded to 32 bits", "16777217", ",", 16777216.0f},
    {"fraction rounded to 32 bits", "0,1", ",", 0.1f},
    {"negative exponent", "755e-1", ",", 75.5f},
    {"many digits", "75,000000000000000000000000000000000000000000000000001", ",", 75.0f},
    {"below the 32-bit range", "1e-50", ",", 0.0f},
    {"zero with a huge exponent", "0e999999999999999999999", ",", 0.0f},
    {"largest 32-bit value", "340282346638528859811704183484516925440", ",",
     3.4028234663852886e38f},
    // Rounded twice, first to 64 bits: 2^24 + 1 + 2^-40 becomes the halfway point
    // 2^24 + 1, which rounds to even. Rounded once, it would be 2^24 + 2.
    {"rounded to 64 bits first", "16777217,0000000000009094947017729282379150390625", ",",
     16777216.0f},
};

CHECK_TEST(readsTheLivingArea) {
    for (const LivingAreaRow& row : kLivingAreas) {
        CHECK_ROW(row.name);
        CHECK_EQ(msr::ToLivingArea(row.text, row.separator), row.expected);
    }
}

const RefusedRow kNoLivingAreas[] = {
    {"placeholder", "Quadratmeter"},
    {"empty", ""},
    {"point where comma is the separator", "55.5"},
    {"separator only", ","},
    {"exponent without digits", "1e"},
    {"hexadecimal", "0x10"},
    {"infinity", "inf"},
    {"not a number", "nan"},
    {"beyond 32 bits", "1e39"},
    {"just beyond 32 bits", "3,4028236e38"},
    {"beyond extended", "1e99999"},
    {"below extended", "1e-99999"},
    {"huge exponent", "1e+999999999999999999999"},
    {"thousands separator", "1.000"},
};

CHECK_TEST(refusesOtherTextsAsLivingArea) {
    for (const RefusedRow& row : kNoLivingAreas) {
        CHECK_ROW(row.name);
        CHECK_EQ(RefusalOf([&] { msr::ToLivingArea(row.text, ","); }),
                 "'" + std::string(row.text) + "' ist kein gültiger Gleitkommawert");
    }
}

} // namespace

CHECK_MAIN()

// The extended type on known values, on every target. The expectations are what the
// x87 computes; on x86 test_extended_against_x87 holds the type against the hardware
// over millions of operands.
#include "tests/core_check/core_check.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "evaluation/number/extended_decimal.h"

using msr::Extended;

namespace {

// An exact result: sign, 64-bit significand and exponent, and its rounding to float.
struct Expected {
    bool negative;
    std::uint64_t significand;
    int exponent;
    std::uint32_t floatBits;
};

std::uint32_t BitsOf(float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

std::string Parts(const Extended& value) {
    char text[64];
    std::snprintf(text, sizeof text, "%s0x%016llx p%d", value.isNegative() ? "-" : "+",
                  static_cast<unsigned long long>(value.significand()), value.exponent());
    return text;
}

std::string Parts(const Expected& expected) {
    return Parts(Extended::FromParts(expected.negative, expected.significand, expected.exponent));
}

void CheckResult(const Extended& result, const Expected& expected) {
    CHECK_EQ(Parts(result), Parts(expected));
    CHECK_EQ(BitsOf(static_cast<float>(result)), expected.floatBits);
}

struct SumRow {
    const char* name;
    float figure;
    double amount;
    Expected expected;
};

const float kLargestFloat = std::numeric_limits<float>::max();
const float kSmallestFloat = std::numeric_limits<float>::denorm_min();

const SumRow kSums[] = {
    {"4.40 + 0.18", 4.40f, 0.18, {false, 0x928f5c5c28f5c280u, -61, 0x40928f5cu}},
    {"5.18 - 0.32", 5.18f, -0.32, {false, 0x9b851e5c28f5c280u, -61, 0x409b851eu}},
    {"3.58 - 0.44", 3.58f, -0.44, {false, 0xc8f5c23d70a3d700u, -62, 0x4048f5c2u}},
    {"1 + 2^-64: a tie, to even",
     1.0f,
     std::ldexp(1.0, -64),
     {false, 0x8000000000000000u, -63, 0x3f800000u}},
    {"1 + 3 * 2^-64: a tie, to even upwards",
     1.0f,
     3 * std::ldexp(1.0, -64),
     {false, 0x8000000000000002u, -63, 0x3f800000u}},
    {"1 + 2^-64 + 2^-100: beyond the tie",
     1.0f,
     std::ldexp(1.0, -64) + std::ldexp(1.0, -100),
     {false, 0x8000000000000001u, -63, 0x3f800000u}},
    {"1 - 2^-65: a tie below a power of two",
     1.0f,
     -std::ldexp(1.0, -65),
     {false, 0x8000000000000000u, -63, 0x3f800000u}},
    {"cancellation", 1.0f, -0.99999994039535522, {false, 0x8000000000000000u, -87, 0x33800000u}},
    {"largest float + a tiny double",
     kLargestFloat,
     1e-300,
     {false, 0xffffff0000000000u, 64, 0x7f7fffffu}},
    {"largest float - a tiny double",
     kLargestFloat,
     -1e-300,
     {false, 0xffffff0000000000u, 64, 0x7f7fffffu}},
    {"largest float + largest double",
     kLargestFloat,
     std::numeric_limits<double>::max(),
     {false, 0xfffffffffffff800u, 960, 0x7f800000u}},
    {"smallest float + smallest double",
     kSmallestFloat,
     std::numeric_limits<double>::denorm_min(),
     {false, 0x8000000000000000u, -212, 0x00000001u}},
    {"x - x is +0", 0.5f, -0.5, {false, 0, 0, 0x00000000u}},
};

CHECK_TEST(sumsOfAFloatAndADouble) {
    for (const SumRow& row : kSums) {
        CHECK_ROW(row.name);
        CheckResult(Extended(row.figure) + Extended(row.amount), row.expected);
    }
}

struct ProductRow {
    const char* name;
    float a;
    float b;
    Expected expected;
};

const ProductRow kProducts[] = {
    {"4.73 * 75", 4.73f, 75.0f, {false, 0xb160000c00000000u, -55, 0x43b16000u}},
    {"4.86 * 20000", 4.86f, 20000.0f, {false, 0xbdd8005780000000u, -47, 0x47bdd800u}},
    {"largest * largest",
     kLargestFloat,
     kLargestFloat,
     {false, 0xfffffe0000010000u, 192, 0x7f800000u}},
    {"smallest * smallest",
     kSmallestFloat,
     kSmallestFloat,
     {false, 0x8000000000000000u, -361, 0x00000000u}},
    {"8.18 * largest", 8.18f, kLargestFloat, {false, 0x82e1477d1eb80000u, 68, 0x7f800000u}},
    {"-0.1 * 3", -0.1f, 3.0f, {true, 0x999999c000000000u, -65, 0xbe99999au}},
};

CHECK_TEST(productsOfTwoFloats) {
    for (const ProductRow& row : kProducts) {
        CHECK_ROW(row.name);
        CheckResult(Extended(row.a) * Extended(row.b), row.expected);
    }
}

struct ToFloatRow {
    const char* name;
    std::uint64_t significand;
    int exponent;
    std::uint32_t floatBits;
};

const ToFloatRow kToFloat[] = {
    {"1 + 2^-24: a tie, to even", 0x8000008000000000u, -63, 0x3f800000u},
    {"1 + 3 * 2^-24: a tie, to even upwards", 0x8000018000000000u, -63, 0x3f800002u},
    {"just above a tie", 0x8000008000000001u, -63, 0x3f800001u},
    {"largest float and a half ulp: infinity", 0xffffff8000000000u, 64, 0x7f800000u},
    {"largest float and less than a half ulp", 0xffffff7fffffffffu, 64, 0x7f7fffffu},
    {"2^-150: a tie with zero", 0x8000000000000000u, -213, 0x00000000u},
    {"3 * 2^-150: a tie, to even upwards", 0xc000000000000000u, -212, 0x00000002u},
    {"2^-150 and a little", 0x8000000000000001u, -213, 0x00000001u},
    {"just below the smallest normal float", 0xffffffffffffffffu, -190, 0x00800000u},
};

CHECK_TEST(roundsToFloat) {
    for (const ToFloatRow& row : kToFloat) {
        CHECK_ROW(row.name);
        const Extended value = Extended::FromParts(false, row.significand, row.exponent);
        CHECK_EQ(BitsOf(static_cast<float>(value)), row.floatBits);
        CHECK_EQ(BitsOf(static_cast<float>(-value)), row.floatBits | 0x80000000u);
    }
}

CHECK_TEST(widensExactly) {
    CHECK_EQ(static_cast<float>(Extended(4.73f)), 4.73f);
    CHECK_EQ(static_cast<double>(Extended(0.82)), 0.82);
    CHECK_EQ(static_cast<double>(Extended(std::numeric_limits<double>::denorm_min())),
             std::numeric_limits<double>::denorm_min());
    CHECK_EQ(static_cast<float>(Extended(-2147483647 - 1)), -2147483648.0f);
    CHECK(std::isnan(static_cast<float>(Extended(std::nanf("")))));
    CHECK(Extended(std::numeric_limits<float>::infinity()).isInfinite());
    CHECK(Extended(-0.0f).isZero() && Extended(-0.0f).isNegative());
}

CHECK_TEST(comparesLikeNumbers) {
    CHECK(Extended(4.58f) < Extended(4.58));
    CHECK(Extended(-1.0) < Extended(0.0f));
    CHECK(Extended(0.0f) == Extended(-0.0f));
    CHECK(!(Extended(-0.0f) < Extended(0.0f)));
    CHECK(Extended(-2.0) < Extended(-1.0));
    CHECK(Extended(1e300) < Extended::Infinity(false));
    CHECK(!(Extended::NotANumber() == Extended::NotANumber()));
}

struct DigitsRow {
    const char* name;
    std::uint64_t significand;
    int exponent;
    const char* printed; // as "%.17Le" prints the x87 value
};

const DigitsRow kDigits[] = {
    {"4.73f", 0x975c290000000000u, -61, "4.73000001907348633e+00"},
    {"0.1", 0xccccccccccccd000u, -67, "1.00000000000000006e-01"},
    {"4.73f * 75", 0xb160000c00000000u, -55, "3.54750001430511475e+02"},
    {"19 digits, a tie: to even downwards", 0xde0b6b3a76400050u, -4, "1.00000000000000000e+18"},
    {"19 digits, a tie: to even upwards", 0xde0b6b3a764000f0u, -4, "1.00000000000000002e+18"},
    {"19 digits, beyond the tie", 0xde0b6b3a76400060u, -4, "1.00000000000000001e+18"},
    {"all nines carry", 0x8ac7230489e7ffffu, 0, "1.00000000000000000e+19"},
    {"smallest double", 0x8000000000000000u, -1137, "4.94065645841246544e-324"},
    {"largest extended", 0xffffffffffffffffu, 16320, "1.18973149535723177e+4932"},
    {"smallest extended", 0x8000000000000000u, -16445, "3.36210314311209351e-4932"},
};

CHECK_TEST(expandsToEighteenDigits) {
    for (const DigitsRow& row : kDigits) {
        CHECK_ROW(row.name);
        const msr::EighteenDigits digits =
            msr::ToEighteenDigits(Extended::FromParts(false, row.significand, row.exponent));
        char text[64];
        std::snprintf(text, sizeof text, "%c.%.17se%+03d", digits.digits[0], digits.digits + 1,
                      digits.exponent);
        CHECK_EQ(std::string(text), std::string(row.printed));
    }
}

struct ReadingRow {
    const char* digits;
    long long exponent;
    std::uint64_t significand;
    int binaryExponent;
};

const ReadingRow kReadings[] = {
    {"1", 0, 0x8000000000000000u, -63},
    {"1", -1, 0xcccccccccccccccdu, -67},
    {"755", -1, 0x9700000000000000u, -57},
    {"18446744073709551617", 0, 0x8000000000000000u, 1}, // a tie, to even
    {"18446744073709551619", 0, 0x8000000000000002u, 1}, // a tie, to even upwards
    {"184467440737095516170000000000000000001", -19, 0x8000000000000001u, 1},
    {"33621031431120935063", -4951, 0x8000000000000000u, -16445},
    {"1", -4931, 0xbe5b66ecbce0b7b1u, -16444},
    {"11897314953572317650", 4913, 0xffffffffffffffffu, 16320},
};

CHECK_TEST(readsDecimalNumbers) {
    for (const ReadingRow& row : kReadings) {
        CHECK_ROW(std::string(row.digits) + "e" + std::to_string(row.exponent));
        const std::optional<Extended> value =
            msr::ExtendedFromDecimal(false, row.digits, row.exponent);
        CHECK(value.has_value());
        CHECK_EQ(Parts(*value),
                 Parts(Extended::FromParts(false, row.significand, row.binaryExponent)));
    }
    CHECK(!msr::ExtendedFromDecimal(false, "1", -4933));
    CHECK(!msr::ExtendedFromDecimal(false, "1", 4933));
    CHECK(!msr::ExtendedFromDecimal(false, "11897314953572317651", 4913));
    CHECK(msr::ExtendedFromDecimal(true, "000", 99999)->isZero());
}

} // namespace

CHECK_MAIN()

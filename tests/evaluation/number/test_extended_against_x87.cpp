// The extended type against the x87 hardware it copies: millions of random operands of
// the operations the evaluation uses (float + double, float × float, rounding to float),
// the decimal expansion and the decimal reading, and the reachable extremes. Built and
// run only where long double is the x87 format.
#include "tests/core_check/core_check.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "evaluation/number/extended_decimal.h"
#include "tests/evaluation/number/native_extended.h"

using msr::Extended;
using msr::test::FromNative;
using msr::test::Identical;
using msr::test::ToNative;

namespace msr {
std::ostream& operator<<(std::ostream& out, const Extended& value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.21Lg", test::ToNative(value));
    return out << text;
}
} // namespace msr

namespace {

// Under AddressSanitizer (an unoptimised build) a tenth of the operands: it looks for
// faults other than rounding.
#ifdef __SANITIZE_ADDRESS__
constexpr int kRuns = 100000;
#else
constexpr int kRuns = 1000000;
#endif
constexpr int kDecimalRuns = kRuns / 10;

std::mt19937_64 random(20260);

std::uint64_t Bits(int n) {
    return n >= 64 ? random() : random() & ((std::uint64_t(1) << n) - 1);
}

int Between(int low, int high) {
    return low + int(random() % std::uint64_t(high - low + 1));
}

float FloatOf(std::uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

double DoubleOf(std::uint64_t bits) {
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

std::uint32_t BitsOf(float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

std::uint64_t BitsOf(double d) {
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    return bits;
}

// Floats of every kind: any bit pattern, figures of the report, and values spread over
// the exponents.
float RandomFloat() {
    switch (random() % 4) {
    case 0:
        return FloatOf(std::uint32_t(random()));
    case 1:
        return float(Between(0, 2000)) / 100.0f;
    case 2:
        return std::ldexp(float(Bits(24)), Between(-170, 110)) * (random() % 2 ? 1 : -1);
    default:
        return float(Between(-100000, 100000));
    }
}

// Doubles: any bit pattern, amounts of the rent index, and values near a given float
// (cancellation, and every alignment of the two significands).
double RandomDouble(float near) {
    switch (random() % 4) {
    case 0:
        return DoubleOf(random());
    case 1:
        return double(Between(-200, 200)) / 100.0;
    case 2:
        return -double(near) + std::ldexp(double(Bits(53)), Between(-1100, 60));
    default:
        return std::ldexp(double(Bits(53)), Between(-80, 20)) * (random() % 2 ? 1 : -1);
    }
}

// Extended values with a random 64-bit significand and an exponent in the given range.
Extended RandomExtended(int lowExponent, int highExponent) {
    return Extended::FromParts(random() % 2, random() | (std::uint64_t(1) << 63),
                               Between(lowExponent, highExponent));
}

void ExpectSameFloat(float ours, float theirs) {
    if (std::isnan(theirs))
        CHECK(std::isnan(ours));
    else
        CHECK_EQ(BitsOf(ours), BitsOf(theirs));
}

void ExpectSameDouble(double ours, double theirs) {
    if (std::isnan(theirs))
        CHECK(std::isnan(ours));
    else
        CHECK_EQ(BitsOf(ours), BitsOf(theirs));
}

void ExpectIdentical(const Extended& ours, long double theirs) {
    if (!Identical(ours, FromNative(theirs)))
        CHECK_EQ(ours, FromNative(theirs));
}

void CheckSum(float f, double d) {
    const long double native = static_cast<long double>(f) + static_cast<long double>(d);
    const Extended ours = Extended(f) + Extended(d);
    ExpectIdentical(ours, native);
    ExpectSameFloat(static_cast<float>(ours), static_cast<float>(native));
}

void CheckProduct(float f, float g) {
    const long double native = static_cast<long double>(f) * static_cast<long double>(g);
    const Extended ours = Extended(f) * Extended(g);
    ExpectIdentical(ours, native);
    ExpectSameFloat(static_cast<float>(ours), static_cast<float>(native));
}

CHECK_TEST(sumsOfAFloatAndADouble) {
    for (int i = 0; i < kRuns; ++i) {
        const float f = RandomFloat();
        CheckSum(f, RandomDouble(f));
    }
}

CHECK_TEST(productsOfTwoFloats) {
    for (int i = 0; i < kRuns; ++i)
        CheckProduct(RandomFloat(), RandomFloat());
}

// The general operations, beyond what the evaluation needs: any 64-bit significands.
CHECK_TEST(sumsAndProductsOfExtendedValues) {
    for (int i = 0; i < kRuns; ++i) {
        const Extended a = RandomExtended(-200, 200);
        const Extended b = i % 2 ? RandomExtended(-200, 200)
                                 : Extended::FromParts(!a.isNegative(), random() | (1ull << 63),
                                                       a.exponent() - Between(-2, 130));
        ExpectIdentical(a + b, ToNative(a) + ToNative(b));
        ExpectIdentical(a * b, ToNative(a) * ToNative(b));
    }
}

CHECK_TEST(roundsToFloatAndDouble) {
    for (int i = 0; i < kRuns; ++i) {
        const Extended nearFloats = RandomExtended(-240, 70);
        ExpectSameFloat(static_cast<float>(nearFloats), static_cast<float>(ToNative(nearFloats)));
        const Extended nearDoubles = RandomExtended(-1140, 970);
        ExpectSameDouble(static_cast<double>(nearDoubles),
                         static_cast<double>(ToNative(nearDoubles)));
        // Exactly halfway, and one bit beside it.
        const std::uint64_t half = (std::uint64_t(1) << 63) | (Bits(23) << 40) | (1ull << 39);
        for (const std::uint64_t significand : {half, half + 1, half - 1}) {
            const Extended tie = Extended::FromParts(random() % 2, significand, Between(-215, 70));
            ExpectSameFloat(static_cast<float>(tie), static_cast<float>(ToNative(tie)));
        }
    }
}

// The expansion to 18 significant digits that the C library prints for "%.17Le".
void CheckEighteenDigits(const Extended& value) {
    char printed[64];
    std::snprintf(printed, sizeof printed, "%.17Le", ToNative(value));
    const msr::EighteenDigits ours = msr::ToEighteenDigits(value);
    char text[64];
    std::snprintf(text, sizeof text, "%s%c.%.17se%+03d", ours.negative ? "-" : "", ours.digits[0],
                  ours.digits + 1, ours.exponent);
    CHECK_EQ(std::string(text), std::string(printed));
}

CHECK_TEST(expandsToEighteenDigits) {
    for (int i = 0; i < kDecimalRuns; ++i) {
        const float figure = RandomFloat();
        if (std::isfinite(figure) && figure != 0)
            CheckEighteenDigits(figure);
        const Extended total = Extended(RandomFloat()) * Extended(RandomFloat());
        if (!total.isZero() && !total.isInfinite() && !total.isNotANumber())
            CheckEighteenDigits(total);
        CheckEighteenDigits(RandomExtended(-300, 300));
        if (i % 200 == 0)
            CheckEighteenDigits(RandomExtended(Extended::kMinExponent, Extended::kMaxExponent));
    }
}

// Whole numbers whose 19th digit is a 5 followed by zeros: ties at the 18th digit.
CHECK_TEST(expandsTiesToEven) {
    for (int i = 0; i < kDecimalRuns; ++i) {
        const std::uint64_t eighteen = 100000000000000000ull + random() % 900000000000000000ull;
        const std::uint64_t tie = eighteen * 10 + 5; // below 2^64
        CheckEighteenDigits(Extended::FromParts(false, tie, 0));
        CheckEighteenDigits(Extended::FromParts(false, tie + 1, 0));
        CheckEighteenDigits(Extended::FromParts(false, tie - 1, 0));
    }
}

std::string RandomDigits(int count) {
    std::string digits;
    for (int i = 0; i < count; ++i)
        digits.push_back(char('0' + random() % 10));
    return digits;
}

// The decimal text of a whole number below 2^128.
std::string DecimalOf(unsigned __int128 number) {
    std::string digits;
    do {
        digits.insert(digits.begin(), char('0' + int(number % 10)));
        number /= 10;
    } while (number != 0);
    return digits;
}

void CheckReading(bool negative, const std::string& digits, int exponent) {
    const std::string text = (negative ? "-" : "") + digits + "e" + std::to_string(exponent);
    CHECK_ROW(text);
    errno = 0;
    const long double native = std::strtold(text.c_str(), nullptr);
    const bool outOfRange = errno == ERANGE;
    const std::optional<Extended> ours = msr::ExtendedFromDecimal(negative, digits, exponent);
    CHECK_EQ(ours.has_value(), !outOfRange);
    if (ours)
        ExpectIdentical(*ours, native);
}

CHECK_TEST(readsDecimalNumbers) {
    for (int i = 0; i < kDecimalRuns; ++i) {
        CheckReading(random() % 2, RandomDigits(Between(1, 40)), Between(-70, 45));
        if (i % 40 == 0)
            CheckReading(false, RandomDigits(Between(1, 900)), Between(-1000, 100));
        if (i % 200 == 0)
            CheckReading(false, RandomDigits(Between(1, 30)), Between(-4920, 4920));
        // Exactly halfway between two 64-bit values (an odd 65-bit number times a power of
        // two), and just beside it.
        const unsigned __int128 odd = (unsigned __int128)(random() | (1ull << 63)) << 1 | 1;
        const int k = Between(0, 20);
        unsigned __int128 scaled = odd;
        for (int j = 0; j < k; ++j)
            scaled *= 5; // odd × 2^-k = odd × 5^k × 10^-k
        const std::string halfway = DecimalOf(scaled);
        CheckReading(false, halfway, -k);
        CheckReading(false, halfway + "000000000000000000000000000001", -k - 30);
        CheckReading(false, DecimalOf(scaled - 1) + "999999999999999999999999999999", -k - 30);
    }
}

CHECK_TEST(reachableExtremes) {
    const float floats[] = {std::numeric_limits<float>::max(),
                            -std::numeric_limits<float>::max(),
                            std::numeric_limits<float>::min(),
                            std::numeric_limits<float>::denorm_min(),
                            -std::numeric_limits<float>::denorm_min(),
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN(),
                            0.0f,
                            -0.0f,
                            1.0f,
                            16777215.0f,
                            16777216.0f};
    const double doubles[] = {std::numeric_limits<double>::max(),
                              -std::numeric_limits<double>::max(),
                              std::numeric_limits<double>::min(),
                              std::numeric_limits<double>::denorm_min(),
                              -std::numeric_limits<double>::denorm_min(),
                              std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity(),
                              std::numeric_limits<double>::quiet_NaN(),
                              0.0,
                              -0.0,
                              -1.0,
                              0.82,
                              -0.32,
                              std::ldexp(1.0, -64),
                              std::ldexp(1.0, -65),
                              std::ldexp(3.0, -65)};
    for (const float f : floats) {
        for (const double d : doubles)
            CheckSum(f, d);
        for (const float g : floats)
            CheckProduct(f, g);
        if (std::isfinite(f) && f != 0)
            CheckEighteenDigits(f);
    }
    const Extended largest = Extended::FromParts(false, ~0ull, Extended::kMaxExponent);
    const Extended smallest = Extended::FromParts(false, 1ull << 63, Extended::kMinExponent);
    CheckEighteenDigits(largest);
    CheckEighteenDigits(smallest);
    ExpectIdentical(largest + largest, ToNative(largest) + ToNative(largest));
    ExpectIdentical(largest * Extended(2), ToNative(largest) * 2);
    ExpectSameFloat(static_cast<float>(largest), static_cast<float>(ToNative(largest)));
    ExpectSameDouble(static_cast<double>(smallest), static_cast<double>(ToNative(smallest)));
    CheckReading(false, "1", 4932);
    CheckReading(false, "11897314953572317650", 4913);
    CheckReading(false, "11897314953572317651", 4913);
    CheckReading(false, "1", -4931);
    CheckReading(false, "1", -4933);
}

} // namespace

CHECK_MAIN()

#include "evaluation/number/extended_decimal.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "evaluation/number/big_unsigned.h"

namespace msr {
namespace {

// The leading decimal digits of a whole number: at least 19 of them where it has that
// many, whether any digit after them is nonzero, and how many digits it has in all.
struct LeadingDigits {
    char digits[27] = {};
    int count = 0;
    bool tailNonZero = false;
    int total = 0;
};

LeadingDigits LeadingDigitsOf(BigUnsigned& number) {
    // Nine digits at a time, least significant first.
    constexpr std::size_t kMaxChunks = BigUnsigned::kCapacity * 32 / 29 + 1;
    std::uint32_t chunks[kMaxChunks];
    std::size_t n = 0;
    while (!number.isZero())
        chunks[n++] = number.divide(1000000000);

    LeadingDigits leading;
    char top[9];
    int topCount = 0;
    for (std::uint32_t chunk = chunks[n - 1]; chunk != 0; chunk /= 10)
        top[topCount++] = char('0' + chunk % 10);
    while (topCount > 0)
        leading.digits[leading.count++] = top[--topCount];
    leading.total = leading.count + 9 * int(n - 1);
    int next = int(n) - 2; // the chunk below the top one
    for (; leading.count < 19 && next >= 0; --next) {
        std::uint32_t chunk = chunks[next];
        for (int i = 8; i >= 0; --i) {
            leading.digits[leading.count + i] = char('0' + chunk % 10);
            chunk /= 10;
        }
        leading.count += 9;
    }
    for (; next >= 0; --next)
        leading.tailNonZero = leading.tailNonZero || chunks[next] != 0;
    return leading;
}

// Rounds to 18 digits, ties to even; returns true when a carry added a digit in front.
bool RoundToEighteen(const LeadingDigits& leading, char (&digits)[18]) {
    const int given = std::min(leading.count, 18);
    std::copy(leading.digits, leading.digits + given, digits);
    std::fill(digits + given, digits + 18, '0');
    if (leading.count <= 18)
        return false;
    const char first = leading.digits[18];
    bool restNonZero = leading.tailNonZero;
    for (int i = 19; i < leading.count; ++i)
        restNonZero = restNonZero || leading.digits[i] != '0';
    const bool up = first > '5' || (first == '5' && (restNonZero || (digits[17] - '0') % 2 == 1));
    if (!up)
        return false;
    int i = 17;
    while (i >= 0 && digits[i] == '9')
        digits[i--] = '0';
    if (i >= 0) {
        ++digits[i];
        return false;
    }
    digits[0] = '1'; // 999… became 1000…: the dropped last digit was a zero
    return true;
}

// More significant digits than any halfway point of the range that reaches a float
// has; digits beyond them only count as a nonzero tail.
constexpr std::size_t kSignificantDigits = 800;

BigUnsigned WholeNumberOf(std::string_view digits) {
    BigUnsigned number;
    for (char d : digits)
        number.multiplyAdd(10, std::uint32_t(d - '0'));
    return number;
}

// ±number × 2^exponent, the lowest bit standing for a nonzero tail if sticky.
Extended RoundedFrom(bool negative, const BigUnsigned& number, bool sticky, int exponent) {
    const int bits = number.bitLength();
    if (bits <= 128) {
        const std::uint64_t high = bits > 64 ? number.bitsFrom(64) : 0;
        const std::uint64_t low = number.bitsFrom(0) | (sticky ? 1 : 0);
        return Extended::Rounded(negative, high, low, exponent);
    }
    const int from = bits - 128;
    const std::uint64_t tail = number.anyBitBelow(from) || sticky ? 1 : 0;
    return Extended::Rounded(negative, number.bitsFrom(from + 64), number.bitsFrom(from) | tail,
                             exponent + from);
}

// quotient = dividend / divisor (whole), returning whether a remainder is left. One step
// per quotient bit: the quotients taken here have about 70 bits.
bool Divide(const BigUnsigned& dividend, const BigUnsigned& divisor, BigUnsigned& quotient) {
    if (divisor.size() == 1) { // up to 5^13: one limb at a time
        quotient = dividend;
        return quotient.divide(divisor.limb(0)) != 0;
    }
    const int quotientBits = std::max(0, dividend.bitLength() - divisor.bitLength() + 1);
    BigUnsigned remainder = dividend.shiftedRight(quotientBits);
    for (int i = quotientBits - 1; i >= 0; --i) {
        remainder.shiftInBit(dividend.bit(i));
        const bool fits = Compare(remainder, divisor) >= 0;
        if (fits)
            remainder.subtract(divisor);
        quotient.shiftInBit(fits);
    }
    return !remainder.isZero();
}

// The decimal digits of a whole number below 2^127, most significant first, as
// LeadingDigitsOf gives them.
#ifdef MSR_HAS_WIDE_UNSIGNED
LeadingDigits LeadingDigitsOfWide(number::WideUnsigned number) {
    // Two halves of at most 19 digits each: one wide division, then 64-bit ones.
    constexpr std::uint64_t kTenToNineteen = 10000000000000000000ULL;
    const auto high = static_cast<std::uint64_t>(number / kTenToNineteen);
    auto low = static_cast<std::uint64_t>(number % kTenToNineteen);
    char all[40];
    int count = 0;
    if (high != 0) {
        // Two digits per division.
        static constexpr char kPairs[] = "00010203040506070809101112131415161718192021222324"
                                         "25262728293031323334353637383940414243444546474849"
                                         "50515253545556575859606162636465666768697071727374"
                                         "75767778798081828384858687888990919293949596979899";
        char lowDigits[20];
        for (int i = 18; i > 0; i -= 2) {
            const auto pair = static_cast<std::size_t>(low % 100) * 2;
            lowDigits[i - 1] = kPairs[pair];
            lowDigits[i] = kPairs[pair + 1];
            low /= 100;
        }
        lowDigits[0] = char('0' + low);
        char highDigits[20];
        int highCount = 0;
        for (std::uint64_t rest = high; rest != 0; rest /= 10)
            highDigits[highCount++] = char('0' + rest % 10);
        while (highCount > 0)
            all[count++] = highDigits[--highCount];
        for (int i = 0; i < 19; ++i)
            all[count++] = lowDigits[i];
    } else {
        char lowDigits[20];
        int lowCount = 0;
        for (; low != 0; low /= 10)
            lowDigits[lowCount++] = char('0' + low % 10);
        while (lowCount > 0)
            all[count++] = lowDigits[--lowCount];
    }
    LeadingDigits leading;
    leading.total = count;
    leading.count = std::min(count, 27);
    std::copy(all, all + leading.count, leading.digits);
    for (int i = leading.count; i < count; ++i)
        leading.tailNonZero = leading.tailNonZero || all[i] != '0';
    return leading;
}

// 5^0 .. 5^27, the powers of five below 2^63.
constexpr std::uint64_t FivePower(int k) {
    std::uint64_t power = 1;
    for (int i = 0; i < k; ++i)
        power *= 5;
    return power;
}
constexpr int kWidestFivePower = 27;
#endif

// The eighteen digits of leading × 10^power, rounded.
EighteenDigits Rounded(const LeadingDigits& leading, int power, bool negative) {
    EighteenDigits result;
    result.negative = negative;
    result.exponent = power + leading.total - 1;
    if (RoundToEighteen(leading, result.digits))
        ++result.exponent;
    return result;
}

} // namespace

EighteenDigits ToEighteenDigits(const Extended& value) {
    std::uint64_t significand = value.significand();
    int exponent = value.exponent();
    const int trailing = number::TrailingZeros(significand);
    significand >>= trailing;
    exponent += trailing;

#ifdef MSR_HAS_WIDE_UNSIGNED
    // Most figures (a few whole digits, cents) have an exact expansion of at most 127
    // bits: read at once, without the long arithmetic.
    if ((exponent >= 0 && exponent <= 63) || (exponent < 0 && -exponent <= kWidestFivePower)) {
        static constexpr std::array<std::uint64_t, kWidestFivePower + 1> kFivePowers = [] {
            std::array<std::uint64_t, kWidestFivePower + 1> powers{};
            for (int k = 0; k <= kWidestFivePower; ++k)
                powers[k] = FivePower(k);
            return powers;
        }();
        const auto wide = static_cast<number::WideUnsigned>(significand);
        const int power = exponent >= 0 ? 0 : exponent;
        const LeadingDigits leading =
            LeadingDigitsOfWide(exponent >= 0 ? wide << exponent : wide * kFivePowers[-exponent]);
        return Rounded(leading, power, value.isNegative());
    }
#endif

    // value = number × 10^power exactly
    BigUnsigned number(significand);
    int power = 0;
    if (exponent >= 0) {
        number.shiftLeft(exponent);
    } else {
        number.multiplyByPowerOfFive(-exponent);
        power = exponent;
    }
    return Rounded(LeadingDigitsOf(number), power, value.isNegative());
}

std::optional<Extended> ExtendedFromDecimal(bool negative, std::string_view digits,
                                            long long exponent) {
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string_view::npos)
        return Extended::FromParts(negative, 0, 0);
    digits.remove_prefix(first);
    const std::size_t last = digits.find_last_not_of('0');
    exponent += static_cast<long long>(digits.size() - 1 - last);
    digits = digits.substr(0, last + 1);

    // The power of ten of the first digit decides the range: the extended numbers lie
    // between 3.36e-4932 and 1.19e4932.
    const long long leading = exponent + static_cast<long long>(digits.size()) - 1;
    if (leading > 4932 || leading < -4932)
        return std::nullopt;

    // Whole numbers of up to 19 digits, the living areas of every day, fit 64 bits.
    if (exponent >= 0 && static_cast<long long>(digits.size()) + exponent <= 19) {
        std::uint64_t whole = 0;
        for (char d : digits)
            whole = whole * 10 + std::uint64_t(d - '0');
        for (long long i = 0; i < exponent; ++i)
            whole *= 10;
        return Extended::FromParts(negative, whole, 0);
    }

    std::string kept(digits.substr(0, kSignificantDigits));
    if (digits.size() > kSignificantDigits) {
        exponent += static_cast<long long>(digits.size() - kSignificantDigits);
        kept.push_back('1'); // the nonzero tail (the last digit is not zero)
        --exponent;
    }
    BigUnsigned whole = WholeNumberOf(kept);

    Extended result;
    if (exponent >= 0) {
        whole.multiplyByPowerOfTen(int(exponent));
        result = RoundedFrom(negative, whole, false, 0);
    } else {
        // whole / 10^m = (whole × 2^shift / 5^m) × 2^(-shift-m), the quotient taken to at
        // least 66 bits so that its remainder only decides the tail.
        const int m = int(-exponent);
        BigUnsigned fivePower(1);
        fivePower.multiplyByPowerOfFive(m);
        const int shift = std::max(0, 66 + fivePower.bitLength() - whole.bitLength());
        whole.shiftLeft(shift);
        BigUnsigned quotient;
        const bool remainder = Divide(whole, fivePower, quotient);
        result = RoundedFrom(negative, quotient, remainder, -shift - m);
    }
    if (result.isInfinite() || result.isZero())
        return std::nullopt;
    return result;
}

namespace {

// ±significand × 2^exponent with a significand of at most `precision` bits: a value of a
// binary type before it is assembled.
struct BinaryParts {
    std::uint64_t significand = 0;
    int exponent = 0;
};

// number × 2^exponent rounded to `precision` bits, nearest, ties to even; sticky stands for
// nonzero bits below the number.
BinaryParts RoundToBits(const BigUnsigned& number, bool sticky, int exponent, int precision) {
    const int bits = number.bitLength();
    if (bits <= precision && !sticky)
        return {number.bitsFrom(0), exponent};
    const int drop = std::max(0, bits - precision);
    std::uint64_t kept = number.bitsFrom(drop) & ((std::uint64_t{1} << precision) - 1);
    const bool half = drop > 0 && number.bit(drop - 1);
    const bool below = sticky || (drop > 1 && number.anyBitBelow(drop - 1));
    if (half && (below || (kept & 1) != 0))
        ++kept;
    int shifted = drop;
    if (kept >> precision != 0) { // 11…1 rounded up to 100…0
        kept >>= 1;
        ++shifted;
    }
    return {kept, exponent + shifted};
}

constexpr std::size_t kMostDecimalDigits = 40;
constexpr int kWidestPowerOfTen = 40;

std::optional<BinaryParts> NearestBinary(std::string_view digits, int exponent, int precision) {
    if (digits.size() > kMostDecimalDigits || exponent > kWidestPowerOfTen ||
        exponent < -kWidestPowerOfTen)
        return std::nullopt;
    for (const char d : digits)
        if (d < '0' || d > '9')
            return std::nullopt;
    BigUnsigned whole = WholeNumberOf(digits);
    if (whole.isZero())
        return BinaryParts{};
    if (exponent >= 0) {
        whole.multiplyByPowerOfTen(exponent);
        return RoundToBits(whole, false, 0, precision);
    }
    // whole / 10^m = (whole × 2^shift / 5^m) × 2^(-shift-m), the quotient taken to at
    // least two bits more than the precision, so that its remainder only decides the tail.
    const int m = -exponent;
    BigUnsigned fivePower(1);
    fivePower.multiplyByPowerOfFive(m);
    const int shift = std::max(0, precision + 2 + fivePower.bitLength() - whole.bitLength());
    whole.shiftLeft(shift);
    BigUnsigned quotient;
    const bool remainder = Divide(whole, fivePower, quotient);
    return RoundToBits(quotient, remainder, -shift - m, precision);
}

// The parts as a value of the type, where they lie in its normal range (or are zero).
template <typename Binary>
std::optional<Binary> Assembled(bool negative, const std::optional<BinaryParts>& parts) {
    if (!parts)
        return std::nullopt;
    if (parts->significand == 0)
        return negative ? -Binary(0) : Binary(0);
    // The significand has at most the type's digits, so both steps are exact.
    const Binary value =
        static_cast<Binary>(std::ldexp(static_cast<double>(parts->significand), parts->exponent));
    if (std::isinf(value) || value < std::numeric_limits<Binary>::min())
        return std::nullopt;
    return negative ? -value : value;
}

} // namespace

std::optional<float> FloatFromDecimal(bool negative, std::string_view digits, int exponent) {
    return Assembled<float>(negative,
                            NearestBinary(digits, exponent, std::numeric_limits<float>::digits));
}

std::optional<double> DoubleFromDecimal(bool negative, std::string_view digits, int exponent) {
    return Assembled<double>(negative,
                             NearestBinary(digits, exponent, std::numeric_limits<double>::digits));
}

} // namespace msr

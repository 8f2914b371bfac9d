#include "evaluation/number/extended.h"

#include "evaluation/number/builtins.h"

#include <cstring>
#include <limits>

namespace msr {
namespace {

constexpr std::uint64_t kTopBit = std::uint64_t(1) << 63;

using number::LeadingZeros;
using number::MultiplyWide;

// significand / 2^shift rounded to nearest, ties to even; the significand's top bit is set.
std::uint64_t ShiftRightRounded(std::uint64_t significand, int shift) {
    if (shift > 64)
        return 0;
    if (shift == 64)
        return significand > kTopBit ? 1 : 0;
    std::uint64_t kept = significand >> shift;
    const std::uint64_t rest = significand & ((std::uint64_t(1) << shift) - 1);
    const std::uint64_t half = std::uint64_t(1) << (shift - 1);
    if (rest > half || (rest == half && (kept & 1)))
        ++kept;
    return kept;
}

// An IEEE binary format with the given significand precision and normal exponent range.
struct BinaryFormat {
    int precision;
    int minExponent;
    int maxExponent;
    int width;
};
constexpr BinaryFormat kFloat{24, -126, 127, 32};
constexpr BinaryFormat kDouble{53, -1022, 1023, 64};

std::uint64_t SignBit(const BinaryFormat& format, bool negative) {
    return negative ? std::uint64_t(1) << (format.width - 1) : 0;
}

std::uint64_t InfinityBits(const BinaryFormat& format, bool negative) {
    const int exponentBits = format.width - format.precision;
    return SignBit(format, negative) |
           (((std::uint64_t(1) << exponentBits) - 1) << (format.precision - 1));
}

// The bits of ±significand × 2^exponent in the format, rounded to nearest, ties to even.
std::uint64_t RoundToFormat(const BinaryFormat& format, bool negative, std::uint64_t significand,
                            int exponent) {
    const std::uint64_t sign = SignBit(format, negative);
    if (significand == 0)
        return sign;
    int leading = exponent + 63; // power of two of the top bit
    const int subnormalShift = leading < format.minExponent ? format.minExponent - leading : 0;
    std::uint64_t kept = ShiftRightRounded(significand, 64 - format.precision + subnormalShift);
    const std::uint64_t hidden = std::uint64_t(1) << (format.precision - 1);
    if (subnormalShift > 0)
        return sign | kept; // a carry into the hidden bit makes the smallest normal number
    if (kept == hidden << 1) {
        kept = hidden;
        ++leading;
    }
    if (leading > format.maxExponent)
        return InfinityBits(format, negative);
    const int bias = format.maxExponent;
    return sign | (std::uint64_t(leading + bias) << (format.precision - 1)) | (kept - hidden);
}

// Reads an IEEE value's bits into sign, significand and exponent of the lowest bit.
struct Unpacked {
    bool negative;
    bool special; // infinity or NaN
    bool nan;
    std::uint64_t significand;
    int exponent;
};

Unpacked Unpack(const BinaryFormat& format, std::uint64_t bits) {
    const int fractionBits = format.precision - 1;
    const int exponentBits = format.width - format.precision;
    const std::uint64_t fraction = bits & ((std::uint64_t(1) << fractionBits) - 1);
    const int field = int((bits >> fractionBits) & ((std::uint64_t(1) << exponentBits) - 1));
    Unpacked u{(bits >> (format.width - 1)) != 0, false, false, fraction, 0};
    if (field == (1 << exponentBits) - 1) {
        u.special = true;
        u.nan = fraction != 0;
    } else if (field == 0) {
        u.exponent = format.minExponent - fractionBits;
    } else {
        u.significand |= std::uint64_t(1) << fractionBits;
        u.exponent = field - format.maxExponent - fractionBits;
    }
    return u;
}

Extended FromUnpacked(const Unpacked& u) {
    if (u.special)
        return u.nan ? Extended::NotANumber() : Extended::Infinity(u.negative);
    return Extended::FromParts(u.negative, u.significand, u.exponent);
}

} // namespace

Extended::Extended(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    *this = FromUnpacked(Unpack(kFloat, bits));
}

Extended::Extended(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    *this = FromUnpacked(Unpack(kDouble, bits));
}

Extended::Extended(int value) {
    const bool negative = value < 0;
    const std::uint64_t magnitude =
        negative ? std::uint64_t(0) - std::uint64_t(std::int64_t(value)) : std::uint64_t(value);
    *this = FromParts(negative, magnitude, 0);
}

Extended Extended::FromParts(bool negative, std::uint64_t significand, int exponent) {
    return Rounded(negative, 0, significand, exponent);
}

Extended Extended::Infinity(bool negative) {
    Extended e;
    e.kind_ = Kind::Infinite;
    e.negative_ = negative;
    return e;
}

Extended Extended::NotANumber() {
    Extended e;
    e.kind_ = Kind::NotANumber;
    return e;
}

Extended Extended::Rounded(bool negative, std::uint64_t high, std::uint64_t low, int exponent) {
    Extended e;
    e.negative_ = negative;
    if (high == 0 && low == 0)
        return e;
    if (high == 0) {
        high = low;
        low = 0;
        exponent -= 64;
    }
    const int shift = LeadingZeros(high);
    if (shift > 0) {
        high = (high << shift) | (low >> (64 - shift));
        low <<= shift;
        exponent -= shift;
    }
    if (low > kTopBit || (low == kTopBit && (high & 1))) {
        if (++high == 0) {
            high = kTopBit;
            ++exponent;
        }
    }
    exponent += 64;
    if (exponent > kMaxExponent)
        return Infinity(negative);
    if (exponent < kMinExponent)
        return e; // below the normal range: zero of the same sign
    e.significand_ = high;
    e.exponent_ = exponent;
    return e;
}

Extended::operator float() const {
    if (kind_ == Kind::NotANumber)
        return std::numeric_limits<float>::quiet_NaN();
    const std::uint32_t bits = std::uint32_t(
        kind_ == Kind::Infinite ? InfinityBits(kFloat, negative_)
                                : RoundToFormat(kFloat, negative_, significand_, exponent_));
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

Extended::operator double() const {
    if (kind_ == Kind::NotANumber)
        return std::numeric_limits<double>::quiet_NaN();
    const std::uint64_t bits = kind_ == Kind::Infinite
                                   ? InfinityBits(kDouble, negative_)
                                   : RoundToFormat(kDouble, negative_, significand_, exponent_);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

Extended operator-(const Extended& a) {
    Extended negated = a;
    negated.negative_ = !a.negative_;
    return negated;
}

Extended operator+(const Extended& a, const Extended& b) {
    using Kind = Extended::Kind;
    if (a.kind_ == Kind::NotANumber || b.kind_ == Kind::NotANumber)
        return Extended::NotANumber();
    if (a.kind_ == Kind::Infinite || b.kind_ == Kind::Infinite) {
        if (a.kind_ == b.kind_ && a.negative_ != b.negative_)
            return Extended::NotANumber();
        return a.kind_ == Kind::Infinite ? a : b;
    }
    if (a.isZero() && b.isZero())
        return Extended::FromParts(a.negative_ && b.negative_, 0, 0);
    if (a.isZero())
        return b;
    if (b.isZero())
        return a;

    // The larger magnitude first; the smaller one is aligned to it over 128 bits, its
    // bits beyond them folded into the lowest bit (enough to round correctly).
    const bool aLarger =
        a.exponent_ != b.exponent_ ? a.exponent_ > b.exponent_ : a.significand_ >= b.significand_;
    const Extended& large = aLarger ? a : b;
    const Extended& small = aLarger ? b : a;
    const int distance = large.exponent_ - small.exponent_;
    const std::uint64_t s = small.significand_;
    std::uint64_t smallHigh = 0;
    std::uint64_t smallLow = 0;
    if (distance == 0) {
        smallHigh = s;
    } else if (distance < 64) {
        smallHigh = s >> distance;
        smallLow = s << (64 - distance);
    } else if (distance == 64) {
        smallLow = s;
    } else if (distance < 128) {
        smallLow = (s >> (distance - 64)) | ((s << (128 - distance)) != 0 ? 1 : 0);
    } else {
        smallLow = 1;
    }

    std::uint64_t high = 0;
    std::uint64_t low = 0;
    int exponent = large.exponent_ - 64;
    if (a.negative_ == b.negative_) {
        low = smallLow;
        high = large.significand_ + smallHigh;
        if (high < smallHigh) { // carry out of the top: one bit to the right
            const std::uint64_t sticky = low & 1;
            low = (low >> 1) | (high << 63) | sticky;
            high = (high >> 1) | kTopBit;
            ++exponent;
        }
    } else {
        low = std::uint64_t(0) - smallLow;
        high = large.significand_ - smallHigh - (smallLow != 0 ? 1 : 0);
        if (high == 0 && low == 0)
            return Extended(); // exact cancellation gives +0
    }
    return Extended::Rounded(large.negative_, high, low, exponent);
}

Extended operator-(const Extended& a, const Extended& b) {
    return a + -b;
}

Extended operator*(const Extended& a, const Extended& b) {
    using Kind = Extended::Kind;
    const bool negative = a.negative_ != b.negative_;
    if (a.kind_ == Kind::NotANumber || b.kind_ == Kind::NotANumber)
        return Extended::NotANumber();
    if (a.kind_ == Kind::Infinite || b.kind_ == Kind::Infinite) {
        if (a.isZero() || b.isZero())
            return Extended::NotANumber();
        return Extended::Infinity(negative);
    }
    if (a.isZero() || b.isZero())
        return Extended::FromParts(negative, 0, 0);
    std::uint64_t high = 0;
    std::uint64_t low = 0;
    MultiplyWide(a.significand_, b.significand_, high, low);
    return Extended::Rounded(negative, high, low, a.exponent_ + b.exponent_);
}

bool operator==(const Extended& a, const Extended& b) {
    using Kind = Extended::Kind;
    if (a.kind_ == Kind::NotANumber || b.kind_ == Kind::NotANumber)
        return false;
    if (a.isZero() && b.isZero())
        return true;
    return a.kind_ == b.kind_ && a.negative_ == b.negative_ && a.significand_ == b.significand_ &&
           a.exponent_ == b.exponent_;
}

namespace {

// |a| < |b| for values that are not NaN.
bool MagnitudeLess(const Extended& a, const Extended& b) {
    if (a.isInfinite() || b.isZero())
        return false;
    if (b.isInfinite() || a.isZero())
        return true;
    if (a.exponent() != b.exponent())
        return a.exponent() < b.exponent();
    return a.significand() < b.significand();
}

} // namespace

bool operator<(const Extended& a, const Extended& b) {
    if (a.isNotANumber() || b.isNotANumber())
        return false;
    const bool aNegative = a.isNegative() && !a.isZero();
    const bool bNegative = b.isNegative() && !b.isZero();
    if (aNegative != bNegative)
        return aNegative;
    return aNegative ? MagnitudeLess(b, a) : MagnitudeLess(a, b);
}

} // namespace msr

#pragma once

#include <cstdint>

namespace msr {

// The evaluation's intermediate precision, the x87 80-bit extended format, in software:
// a sign, a 64-bit significand and a binary exponent. Sums and products round to nearest
// with ties to even at 64 bits, as the x87 does, and conversions to float round the same
// way, so every target (x86-64, arm64, armhf, WebAssembly) prints the same figures.
//
// The range is the x87's normal range (2^-16382 up to below 2^16384): a result above it
// becomes an infinity, a result below it zero. The evaluation's values (floats, the
// amounts, their sums and the products of two floats) lie far inside it.
class Extended {
public:
    constexpr Extended() = default;
    // Exact widenings, as C++ widens in arithmetic.
    Extended(float value);
    Extended(double value);
    Extended(int value);

    // ±significand × 2^exponent, exact.
    static Extended FromParts(bool negative, std::uint64_t significand, int exponent);
    // ±(high × 2^64 + low) × 2^exponent rounded to 64 bits, nearest, ties to even; the
    // lowest bit of low may stand for any nonzero bits below it.
    static Extended Rounded(bool negative, std::uint64_t high, std::uint64_t low, int exponent);
    static Extended Infinity(bool negative);
    static Extended NotANumber();

    bool isNegative() const { return negative_; }
    bool isZero() const { return kind_ == Kind::Finite && significand_ == 0; }
    bool isInfinite() const { return kind_ == Kind::Infinite; }
    bool isNotANumber() const { return kind_ == Kind::NotANumber; }
    // A finite nonzero value is significand() × 2^exponent() with the significand's top
    // bit set.
    std::uint64_t significand() const { return significand_; }
    int exponent() const { return exponent_; }

    // Rounded to nearest, ties to even, with the target's subnormals and infinities.
    explicit operator float() const;
    explicit operator double() const;

    friend Extended operator+(const Extended& a, const Extended& b);
    friend Extended operator-(const Extended& a, const Extended& b);
    friend Extended operator*(const Extended& a, const Extended& b);
    friend Extended operator-(const Extended& a);

    friend bool operator==(const Extended& a, const Extended& b);
    friend bool operator<(const Extended& a, const Extended& b);
    friend bool operator!=(const Extended& a, const Extended& b) { return !(a == b); }
    friend bool operator>(const Extended& a, const Extended& b) { return b < a; }
    friend bool operator<=(const Extended& a, const Extended& b) { return a < b || a == b; }
    friend bool operator>=(const Extended& a, const Extended& b) { return b <= a; }

    // The lowest and highest exponents of a normalised significand within the range.
    static constexpr int kMinExponent = -16382 - 63;
    static constexpr int kMaxExponent = 16383 - 63;

private:
    enum class Kind : std::uint8_t { Finite, Infinite, NotANumber };

    std::uint64_t significand_ = 0;
    int exponent_ = 0;
    bool negative_ = false;
    Kind kind_ = Kind::Finite;
};

} // namespace msr

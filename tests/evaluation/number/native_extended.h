#pragma once

// The extended type and the hardware's: on x86 `long double` is the x87 80-bit format,
// which the extended type copies. Converts exactly between the two.

#include <cfloat>
#include <cstdint>
#include <cstring>

#include "evaluation/number/extended.h"

#if !(defined(__x86_64__) || defined(__i386__)) || LDBL_MANT_DIG != 64
#error "the x87 80-bit long double is needed here"
#endif

namespace msr::test {

// The ten bytes of an x87 value: significand, then sign and biased exponent.
struct X87Bits {
    std::uint64_t significand;
    std::uint16_t signAndExponent;
};

inline X87Bits BitsOf(long double value) {
    X87Bits bits;
    unsigned char bytes[sizeof(long double)];
    std::memcpy(bytes, &value, sizeof value);
    std::memcpy(&bits.significand, bytes, 8);
    std::memcpy(&bits.signAndExponent, bytes + 8, 2);
    return bits;
}

inline Extended FromNative(long double value) {
    const X87Bits bits = BitsOf(value);
    const bool negative = (bits.signAndExponent & 0x8000) != 0;
    const int field = bits.signAndExponent & 0x7fff;
    if (field == 0x7fff)
        return (bits.significand << 1) != 0 ? Extended::NotANumber() : Extended::Infinity(negative);
    // Denormals (field 0) have the exponent of field 1.
    const int exponent = (field == 0 ? 1 : field) - 16383 - 63;
    return Extended::FromParts(negative, bits.significand, exponent);
}

inline long double ToNative(const Extended& value) {
    std::uint64_t significand = 0;
    std::uint16_t signAndExponent = value.isNegative() ? 0x8000 : 0;
    if (value.isNotANumber()) {
        significand = 0xC000000000000000u;
        signAndExponent |= 0x7fff;
    } else if (value.isInfinite()) {
        significand = 0x8000000000000000u;
        signAndExponent |= 0x7fff;
    } else if (!value.isZero()) {
        significand = value.significand();
        signAndExponent |= std::uint16_t(value.exponent() + 63 + 16383);
    }
    unsigned char bytes[sizeof(long double)] = {};
    std::memcpy(bytes, &significand, 8);
    std::memcpy(bytes + 8, &signAndExponent, 2);
    long double result;
    std::memcpy(&result, bytes, sizeof result);
    return result;
}

// The same value, sign of zero and kind included.
inline bool Identical(const Extended& a, const Extended& b) {
    if (a.isNotANumber() || b.isNotANumber())
        return a.isNotANumber() && b.isNotANumber();
    return a.isNegative() == b.isNegative() && a.isInfinite() == b.isInfinite() &&
           a.significand() == b.significand() && a.exponent() == b.exponent();
}

} // namespace msr::test

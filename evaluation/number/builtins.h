#pragma once

#include <cstdint>

// The compiler's builtins that the number engine uses, wrapped here once. Where a compiler
// lacks them, or MSR_PORTABLE_NUMBERS asks for it (the tests build the engine both ways on
// every target), the same results come from plain C++.
namespace msr::number {

#if defined(__SIZEOF_INT128__) && !defined(MSR_PORTABLE_NUMBERS)
#define MSR_HAS_WIDE_UNSIGNED 1
// A whole number of 128 bits, for the short ways of the decimal expansion.
using WideUnsigned = unsigned __int128;
#endif

#if (defined(__GNUC__) || defined(__clang__)) && !defined(MSR_PORTABLE_NUMBERS)
#define MSR_HAS_BIT_BUILTINS 1
#endif

// The zero bits above the highest set bit; x must not be 0.
inline int LeadingZeros(std::uint64_t x) {
#ifdef MSR_HAS_BIT_BUILTINS
    return __builtin_clzll(x);
#else
    int count = 0;
    for (std::uint64_t bit = std::uint64_t(1) << 63; (x & bit) == 0; bit >>= 1)
        ++count;
    return count;
#endif
}

inline int LeadingZeros(std::uint32_t x) {
#ifdef MSR_HAS_BIT_BUILTINS
    return __builtin_clz(x);
#else
    return LeadingZeros(std::uint64_t(x)) - 32;
#endif
}

// The zero bits below the lowest set bit; x must not be 0.
inline int TrailingZeros(std::uint64_t x) {
#ifdef MSR_HAS_BIT_BUILTINS
    return __builtin_ctzll(x);
#else
    int count = 0;
    for (; (x & 1) == 0; x >>= 1)
        ++count;
    return count;
#endif
}

// The full 128-bit product of two 64-bit numbers.
inline void MultiplyWide(std::uint64_t a, std::uint64_t b, std::uint64_t& high,
                         std::uint64_t& low) {
#ifdef MSR_HAS_WIDE_UNSIGNED
    const WideUnsigned product = static_cast<WideUnsigned>(a) * b;
    high = static_cast<std::uint64_t>(product >> 64);
    low = static_cast<std::uint64_t>(product);
#else
    const std::uint64_t a0 = a & 0xffffffffu, a1 = a >> 32;
    const std::uint64_t b0 = b & 0xffffffffu, b1 = b >> 32;
    const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    const std::uint64_t middle = (p00 >> 32) + (p01 & 0xffffffffu) + (p10 & 0xffffffffu);
    low = (middle << 32) | (p00 & 0xffffffffu);
    high = p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32);
#endif
}

} // namespace msr::number

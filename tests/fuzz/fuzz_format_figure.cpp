// FormatFigure against an independent route: the C library prints the value to 18
// significant digits, and whole-number arithmetic rounds that to cents.
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "evaluation/rent_index/figures.h"
#include "tests/evaluation/number/native_extended.h"

namespace {

std::string Independent(long double value) {
    char printed[64];
    std::snprintf(printed, sizeof printed, "%.17Le", value);
    const bool negative = printed[0] == '-';
    const char* p = printed + (negative ? 1 : 0);
    std::uint64_t mantissa = 0;
    for (; *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            mantissa = mantissa * 10 + std::uint64_t(*p - '0');
    const int exponent = std::atoi(p + 1);
    const int integerDigits = exponent + 1;
    const int decimals = integerDigits <= 5 ? 2 : 7 - integerDigits;
    // value = mantissa * 10^(exponent - 17); keep units of 10^-decimals.
    int shift = 17 - exponent - decimals; // digits to drop
    std::uint64_t units = mantissa;
    if (shift > 19) {
        units = 0;
    } else if (shift > 0) {
        std::uint64_t divisor = 1;
        for (int i = 0; i < shift; ++i)
            divisor *= 10;
        units = mantissa / divisor + (mantissa % divisor >= divisor / 2 ? 1 : 0);
    }
    for (int i = decimals; i < 2; ++i)
        units *= 10;
    char text[64];
    std::snprintf(text, sizeof text, "%s%" PRIu64 ",%02" PRIu64, negative && units != 0 ? "-" : "",
                  units / 100, units % 100);
    return text;
}

void Check(long double value) {
    if (!(value == value) || value > 9.9e6L || value < -9.9e6L)
        return; // beyond seven digits the form is an exponent form of its own
    const std::string ours = msr::FormatFigure(msr::test::FromNative(value), ",");
    const std::string theirs = Independent(value);
    if (ours != theirs) {
        std::fprintf(stderr, "%.25Lg: FormatFigure %s, independent %s\n", value, ours.c_str(),
                     theirs.c_str());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::uint32_t bits[2] = {0, 0};
    std::memcpy(bits, data, size < sizeof bits ? size : sizeof bits);
    float figure, area;
    std::memcpy(&figure, &bits[0], sizeof figure);
    std::memcpy(&area, &bits[1], sizeof area);
    Check(figure);
    const long double product = static_cast<long double>(figure) * static_cast<long double>(area);
    if (!msr::test::Identical(msr::Extended(figure) * msr::Extended(area),
                              msr::test::FromNative(product)))
        std::abort();
    Check(product);
    // Figures in the report's range, as whole cents plus the 32-bit error.
    const float cents = static_cast<float>(static_cast<std::int32_t>(bits[0]) % 2000000) / 100.0f;
    Check(cents);
    Check(static_cast<long double>(cents) * static_cast<long double>(bits[1] % 100000u));
    return 0;
}

#pragma once
// Interim, until the core formats and reads its extended numbers without the C++
// library's floating-point <charconv>, which Emscripten 3.1.6 lacks: the two calls the
// core makes, through the C library. The build script force-includes this file only while
// the core needs it.

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

namespace std {

inline to_chars_result to_chars(char* first, char* last, long double value, chars_format,
                                int precision) {
    const int written =
        std::snprintf(first, static_cast<size_t>(last - first), "%.*Le", precision, value);
    if (written < 0 || written >= last - first)
        return {last, errc::value_too_large};
    return {first + written, errc()};
}

inline to_chars_result to_chars(char* first, char* last, double value, chars_format format,
                                int precision) {
    return to_chars(first, last, static_cast<long double>(value), format, precision);
}

inline from_chars_result from_chars(const char* first, const char* last, long double& value) {
    const std::string text(first, last);
    char* end = nullptr;
    errno = 0;
    const long double read = std::strtold(text.c_str(), &end);
    if (end == text.c_str())
        return {first, errc::invalid_argument};
    if (errno == ERANGE)
        return {first + (end - text.c_str()), errc::result_out_of_range};
    value = read;
    return {first + (end - text.c_str()), errc()};
}

} // namespace std

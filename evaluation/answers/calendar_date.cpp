#include "evaluation/answers/calendar_date.h"

#include <tuple>

namespace msr {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string Digits(int number, int count) {
    std::string text(static_cast<std::size_t>(count), '0');
    for (int at = count - 1; at >= 0 && number > 0; --at, number /= 10)
        text[static_cast<std::size_t>(at)] = static_cast<char>('0' + number % 10);
    return text;
}

// The whole number of 1 to `most` digits, or nothing.
std::optional<int> Number(std::string_view text, std::size_t most) {
    if (text.empty() || text.size() > most)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (!IsDigit(c))
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<CalendarDate> Checked(std::optional<int> year, std::optional<int> month,
                                    std::optional<int> day) {
    if (!year || !month || !day || *year < 1 || *month < 1 || *month > 12 || *day < 1 ||
        *day > DaysInMonth(*year, *month))
        return std::nullopt;
    return CalendarDate{*year, *month, *day};
}

} // namespace

bool operator==(const CalendarDate& left, const CalendarDate& right) {
    return std::tie(left.year, left.month, left.day) ==
           std::tie(right.year, right.month, right.day);
}

bool operator!=(const CalendarDate& left, const CalendarDate& right) {
    return !(left == right);
}

bool operator<(const CalendarDate& left, const CalendarDate& right) {
    return std::tie(left.year, left.month, left.day) < std::tie(right.year, right.month, right.day);
}

bool operator<=(const CalendarDate& left, const CalendarDate& right) {
    return !(right < left);
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

CalendarDate DayBefore(const CalendarDate& date) {
    if (date.day > 1)
        return {date.year, date.month, date.day - 1};
    if (date.month > 1)
        return {date.year, date.month - 1, DaysInMonth(date.year, date.month - 1)};
    return {date.year - 1, 12, 31};
}

std::optional<CalendarDate> ParseIsoDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    return Checked(Number(text.substr(0, 4), 4), Number(text.substr(5, 2), 2),
                   Number(text.substr(8, 2), 2));
}

std::optional<CalendarDate> ParseDate(std::string_view text) {
    if (std::optional<CalendarDate> iso = ParseIsoDate(text))
        return iso;
    const std::size_t first = text.find('.');
    const std::size_t second = first == std::string_view::npos ? first : text.find('.', first + 1);
    if (second == std::string_view::npos || text.size() - second - 1 != 4)
        return std::nullopt;
    return Checked(Number(text.substr(second + 1), 4),
                   Number(text.substr(first + 1, second - first - 1), 2),
                   Number(text.substr(0, first), 2));
}

std::string GermanDate(const CalendarDate& date) {
    return Digits(date.day, 2) + "." + Digits(date.month, 2) + "." + Digits(date.year, 4);
}

std::string IsoDate(const CalendarDate& date) {
    return Digits(date.year, 4) + "-" + Digits(date.month, 2) + "-" + Digits(date.day, 2);
}

} // namespace msr

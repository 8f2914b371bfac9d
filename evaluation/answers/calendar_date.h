#pragma once

#include <optional>
#include <string>
#include <string_view>

// A day of the calendar, as the rent index's term, a letter's day of receipt and a sheet's
// "Stichtag" name it. The core has no clock: a front end passes today in.
namespace msr {

struct CalendarDate {
    int year = 0;
    int month = 0; // 1 to 12
    int day = 0;   // 1 to the month's last day
};

bool operator==(const CalendarDate& left, const CalendarDate& right);
bool operator!=(const CalendarDate& left, const CalendarDate& right);
bool operator<(const CalendarDate& left, const CalendarDate& right);
bool operator<=(const CalendarDate& left, const CalendarDate& right);

// A date as a browser's date field and JSON give it ("2026-12-10"); nothing for anything
// else, a day the calendar lacks included.
std::optional<CalendarDate> ParseIsoDate(std::string_view text);

// A date as a German writes it ("10.12.2026", also "1.3.2026"), or as ParseIsoDate reads
// it; nothing for anything else.
std::optional<CalendarDate> ParseDate(std::string_view text);

// The number of days in the month, leap years counted.
int DaysInMonth(int year, int month);

// The day before.
CalendarDate DayBefore(const CalendarDate& date);

// "10.12.2026", the year with four digits always ("01.01.0001").
std::string GermanDate(const CalendarDate& date);

// "2026-12-10", as JSON and a browser's date field write a day.
std::string IsoDate(const CalendarDate& date);

} // namespace msr

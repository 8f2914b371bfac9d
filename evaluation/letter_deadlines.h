#pragma once

#include "evaluation/answers/calendar_date.h"

#include <optional>
#include <string>
#include <string_view>

// The days a rent increase letter sets running (§ 558b BGB) and the days the last increase
// sets (§ 558 Abs. 1 BGB), and the two days a tenant types to compute them from.
namespace msr {

// The first day this system's rules apply to a letter: the reform of the law of tenancy.
inline constexpr CalendarDate kEarliestLetter{2001, 1, 1};

// The last day to consider a letter received on that day, and the first day the new rent
// is owed: the end of the second calendar month after receipt, the start of the third.
CalendarDate ConsiderationEnds(const CalendarDate& received);
CalendarDate NewRentOwedFrom(const CalendarDate& received);
// The last day the landlord may sue for consent: three months after the consideration.
CalendarDate SuingEnds(const CalendarDate& received);

// The day so many months after the day: the day of the same number, or where that month
// is shorter the first day of the next, as a period of months ends (§ 188 Abs. 3 BGB).
CalendarDate MonthsAfter(const CalendarDate& day, int months);

// After an increase that took effect on that day: the first day a new letter may come (a
// year later) and the first day a new rent may be owed (15 months later).
CalendarDate EarliestLetterAfter(const CalendarDate& lastIncrease);
CalendarDate EarliestRiseAfter(const CalendarDate& lastIncrease);

// A day of receipt as typed ("10.12.2026", or as a date field gives it): a day of the
// calendar, not after today, not before the rules of this check apply; else why not.
std::optional<CalendarDate> ReadReceipt(std::string_view typed, const CalendarDate& today,
                                        std::string& why);

// The day the last increase took effect, as typed: a day of the calendar, not after today.
std::optional<CalendarDate> ReadLastIncrease(std::string_view typed, const CalendarDate& today,
                                             std::string& why);

} // namespace msr

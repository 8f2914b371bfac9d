#include "evaluation/letter_deadlines.h"

#include "evaluation/rent_index/fill.h"

namespace msr {
namespace {

// The last day of the calendar month so many months after the day's.
CalendarDate EndOfMonthAfter(const CalendarDate& day, int months) {
    const int counted = day.year * 12 + (day.month - 1) + months;
    const int year = counted / 12;
    const int month = counted % 12 + 1;
    return {year, month, DaysInMonth(year, month)};
}

// "31.02.2027" or "2027-02-31": the form of a date, whatever the calendar says of it.
bool LooksLikeADate(std::string_view text) {
    int parts = 1;
    for (const char c : text) {
        if (c == '.' || c == '-')
            ++parts;
        else if (c < '0' || c > '9')
            return false;
    }
    return parts == 3;
}

// What a field of a day says when the typed day is none: one the calendar lacks ({} the
// typed text), not a date at all, after today ({} the day and today).
struct DayFieldTexts {
    const char* lacking;
    const char* request;
    const char* afterToday;
};

constexpr DayFieldTexts kReceiptTexts{
    "Den {} gibt es im Kalender nicht; bitte prüfen Sie den Tag, an dem das Erhöhungsschreiben "
    "bei Ihnen eingegangen ist.",
    "Bitte geben Sie den Tag an, an dem das Erhöhungsschreiben bei Ihnen eingegangen ist, zum "
    "Beispiel 01.12.2026.",
    "Der {} liegt nach dem heutigen Tag ({}); bitte geben Sie den Tag an, an dem das Schreiben "
    "eingegangen ist."};

constexpr DayFieldTexts kLastIncreaseTexts{
    "Den {} gibt es im Kalender nicht; bitte prüfen Sie den Tag, seit dem Ihre jetzige Miete "
    "gilt.",
    "Bitte geben Sie den Tag an, seit dem Ihre jetzige Miete gilt, zum Beispiel 01.03.2025, "
    "oder lassen Sie das Feld leer.",
    "Der {} liegt nach dem heutigen Tag ({}); bitte geben Sie den Tag an, seit dem Ihre jetzige "
    "Miete gilt."};

// A typed day of the calendar up to today, or why not in the field's words.
std::optional<CalendarDate> ReadPastDay(std::string_view typed, const CalendarDate& today,
                                        const DayFieldTexts& texts, std::string& why) {
    const std::optional<CalendarDate> day = ParseDate(typed);
    if (!day) {
        why = LooksLikeADate(typed) ? Fill(texts.lacking, {std::string(typed)}) : texts.request;
        return std::nullopt;
    }
    if (today < *day) {
        why = Fill(texts.afterToday, {GermanDate(*day), GermanDate(today)});
        return std::nullopt;
    }
    return day;
}

} // namespace

CalendarDate ConsiderationEnds(const CalendarDate& received) {
    return EndOfMonthAfter(received, 2);
}

CalendarDate SuingEnds(const CalendarDate& received) {
    return EndOfMonthAfter(received, 5);
}

CalendarDate NewRentOwedFrom(const CalendarDate& received) {
    CalendarDate first = EndOfMonthAfter(received, 3);
    first.day = 1;
    return first;
}

CalendarDate MonthsAfter(const CalendarDate& day, int months) {
    const CalendarDate end = EndOfMonthAfter(day, months);
    if (day.day <= end.day)
        return {end.year, end.month, day.day};
    CalendarDate first = EndOfMonthAfter(day, months + 1);
    first.day = 1;
    return first;
}

CalendarDate EarliestLetterAfter(const CalendarDate& lastIncrease) {
    return MonthsAfter(lastIncrease, 12);
}

CalendarDate EarliestRiseAfter(const CalendarDate& lastIncrease) {
    return MonthsAfter(lastIncrease, 15);
}

std::optional<CalendarDate> ReadReceipt(std::string_view typed, const CalendarDate& today,
                                        std::string& why) {
    const std::optional<CalendarDate> day = ReadPastDay(typed, today, kReceiptTexts, why);
    if (day && *day < kEarliestLetter) {
        why = Fill("Der {} liegt vor 2001; für so alte Schreiben gelten diese Regeln (seit der "
                   "Mietrechtsreform 2001) nicht in dieser Form.",
                   {GermanDate(*day)});
        return std::nullopt;
    }
    return day;
}

std::optional<CalendarDate> ReadLastIncrease(std::string_view typed, const CalendarDate& today,
                                             std::string& why) {
    return ReadPastDay(typed, today, kLastIncreaseTexts, why);
}

} // namespace msr

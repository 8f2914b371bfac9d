#pragma once

#include <optional>
#include <string>
#include <string_view>

// The rent index's edition: when its figures were taken ("Stand"), until when it is in
// force ("Laufzeit"), and the association that publishes it, with the address and the
// telephone number a tenant asks. The information text, the page's result box and its
// printed pages all read them from here.
namespace msr {

// A day of the calendar. The core has no clock: the front end passes today in.
struct CalendarDate {
    int year = 0;
    int month = 0; // 1 to 12
    int day = 0;   // 1 to the month's last day
};

bool operator==(const CalendarDate& left, const CalendarDate& right);
bool operator<(const CalendarDate& left, const CalendarDate& right);

struct Edition {
    const char* stand;           // "1. Januar 2015", as the information text prints it
    CalendarDate termEnd;        // the last day the figures are in force
    const char* association;     // "KWL Hausgilde Varlstadt e. V."
    const char* associationKind; // "- Mieterschutzverein -"
    const char* address;
    const char* telephone;
};

// The one edition this program evaluates.
const Edition& RentIndexEdition();

// "Mietspiegel Stand 1. Januar 2015, Laufzeit bis 31.12.2016": the line that stands with
// every result and on every printed page.
std::string EditionLine();

// Whether the rent index's term has ended by the given day.
bool IsPastTerm(const CalendarDate& today);

// What the result box says once the term has ended.
std::string OutOfDateNotice();

// The association's name, address and telephone as one line, for the contact beside a
// result.
std::string AssociationContactLine();

// A date as a browser's date field gives it ("2026-12-10"); nothing for anything else,
// a day the calendar lacks included.
std::optional<CalendarDate> ParseIsoDate(std::string_view text);

// The number of days in the month, leap years counted.
int DaysInMonth(int year, int month);

// "10.12.2026".
std::string GermanDate(const CalendarDate& date);

// "2026-12-10", as JSON and a browser's date field write a day.
std::string IsoDate(const CalendarDate& date);

} // namespace msr

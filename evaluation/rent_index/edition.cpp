#include "evaluation/rent_index/edition.h"

#include "evaluation/rent_index/fill.h"

#include <tuple>

namespace msr {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string TwoDigits(int number) {
    return std::string{static_cast<char>('0' + number / 10 % 10),
                       static_cast<char>('0' + number % 10)};
}

} // namespace

const Edition& RentIndexEdition() {
    static const Edition edition{
        "1. Januar 2015",                 // Stand
        {2016, 12, 31},                   // Laufzeit bis: the term's last day
        "KWL Hausgilde Varlstadt e. V.",  // the association
        "- Mieterschutzverein -",         // what it is
        "Lindengasse 7, 38100 Varlstadt", // its address
        "0 53 21 / 4 72 81-0",            // its telephone
    };
    return edition;
}

std::string EditionLine() {
    const Edition& edition = RentIndexEdition();
    return Fill("Mietspiegel Stand {}, Laufzeit bis {}",
                {edition.stand, GermanDate(edition.termEnd)});
}

bool operator==(const CalendarDate& left, const CalendarDate& right) {
    return std::tie(left.year, left.month, left.day) ==
           std::tie(right.year, right.month, right.day);
}

bool operator<(const CalendarDate& left, const CalendarDate& right) {
    return std::tie(left.year, left.month, left.day) < std::tie(right.year, right.month, right.day);
}

bool IsPastTerm(const CalendarDate& today) {
    return RentIndexEdition().termEnd < today;
}

std::string OutOfDateNotice() {
    const Edition& edition = RentIndexEdition();
    return Fill("Dieser Mietspiegel ist veraltet: Seine Laufzeit endete am {}. Seine Zahlen "
                "gelten möglicherweise nicht mehr. Fragen Sie bei der {} nach dem Mietspiegel, "
                "der heute gilt.",
                {GermanDate(edition.termEnd), edition.association});
}

std::string AssociationContactLine() {
    const Edition& edition = RentIndexEdition();
    return Fill("{} {}, {}, Tel.: {}",
                {edition.association, edition.associationKind, edition.address, edition.telephone});
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

std::optional<CalendarDate> ParseIsoDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const auto number = [&](std::size_t from, std::size_t count) -> std::optional<int> {
        int value = 0;
        for (std::size_t at = from; at < from + count; ++at) {
            if (!IsDigit(text[at]))
                return std::nullopt;
            value = value * 10 + (text[at] - '0');
        }
        return value;
    };
    const auto year = number(0, 4);
    const auto month = number(5, 2);
    const auto day = number(8, 2);
    if (!year || !month || !day || *year < 1 || *month < 1 || *month > 12 || *day < 1 ||
        *day > DaysInMonth(*year, *month))
        return std::nullopt;
    return CalendarDate{*year, *month, *day};
}

std::string GermanDate(const CalendarDate& date) {
    return TwoDigits(date.day) + "." + TwoDigits(date.month) + "." + std::to_string(date.year);
}

std::string IsoDate(const CalendarDate& date) {
    return std::to_string(date.year) + "-" + TwoDigits(date.month) + "-" + TwoDigits(date.day);
}

} // namespace msr

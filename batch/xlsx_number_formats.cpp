#include "batch/xlsx_number_formats.h"

#include "evaluation/answers/calendar_date.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>

namespace msr::batch {
namespace {

using Kind = NumberFormat::Kind;

// A spreadsheet computes with 15 significant digits, and shows no more.
constexpr int kSignificantDigits = 15;

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A decimal number as its digits without leading zeros and the place of its point:
// 0.d1d2d3... times ten to the power of point.
struct Decimal {
    bool negative = false;
    std::string digits;
    int point = 0;
};

std::optional<Decimal> ParseDecimal(std::string_view text) {
    Decimal number;
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        number.negative = text[at++] == '-';
    bool anyDigit = false;
    bool inFraction = false;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '.' && !inFraction) {
            inFraction = true;
        } else if (c >= '0' && c <= '9') {
            anyDigit = true;
            if (number.digits.empty() && c == '0') {
                number.point -= inFraction ? 1 : 0; // a leading zero
                continue;
            }
            number.digits += c;
            number.point += inFraction ? 0 : 1;
        } else {
            break;
        }
    }
    if (!anyDigit || number.digits.size() > 400)
        return std::nullopt;
    if (at < text.size()) {
        if (Lower(text[at]) != 'e')
            return std::nullopt;
        ++at;
        bool negativeExponent = false;
        if (at < text.size() && (text[at] == '-' || text[at] == '+'))
            negativeExponent = text[at++] == '-';
        int exponent = 0;
        const std::size_t exponentStart = at;
        for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
            if (exponent < 10000)
                exponent = exponent * 10 + (text[at] - '0');
        if (at != text.size() || at == exponentStart)
            return std::nullopt;
        number.point += negativeExponent ? -exponent : exponent;
    }
    while (!number.digits.empty() && number.digits.back() == '0')
        number.digits.pop_back(); // 3.0 is 3
    if (number.digits.empty()) {  // zero
        number.point = 0;
        number.negative = false;
    }
    return number;
}

// Keeps the first `kept` digits, rounded half away from zero.
void RoundTo(Decimal& number, int kept) {
    if (kept >= static_cast<int>(number.digits.size()))
        return;
    if (kept < 0) {
        number.digits.clear();
        return;
    }
    const bool up = number.digits[static_cast<std::size_t>(kept)] >= '5';
    number.digits.resize(static_cast<std::size_t>(kept));
    if (up) {
        std::size_t at = number.digits.size();
        while (at > 0 && number.digits[at - 1] == '9')
            number.digits[--at] = '0';
        if (at == 0) {
            number.digits.insert(number.digits.begin(), '1');
            ++number.point;
        } else {
            ++number.digits[at - 1];
        }
    }
    while (!number.digits.empty() && number.digits.back() == '0')
        number.digits.pop_back();
    if (number.digits.empty())
        number.negative = false;
}

// The number written out, with at least `decimals` places after the point.
std::string Written(const Decimal& number, int decimals) {
    std::string text = number.negative ? "-" : "";
    const int size = static_cast<int>(number.digits.size());
    if (size == 0) {
        text = "0";
    } else if (number.point <= 0) {
        text += "0";
    } else {
        for (int i = 0; i < number.point; ++i)
            text += i < size ? number.digits[static_cast<std::size_t>(i)] : '0';
    }
    std::string fraction;
    for (int i = number.point < 0 ? number.point : 0; i < 0; ++i)
        fraction += '0';
    for (int i = number.point > 0 ? number.point : 0; i < size; ++i)
        fraction += number.digits[static_cast<std::size_t>(i)];
    if (size == 0)
        fraction.clear();
    while (static_cast<int>(fraction.size()) < decimals)
        fraction += '0';
    if (!fraction.empty())
        text += "." + fraction;
    return text;
}

std::string General(Decimal number) {
    RoundTo(number, kSignificantDigits);
    if (!number.digits.empty() && (number.point > kSignificantDigits || number.point < -9)) {
        Decimal mantissa = number; // as a spreadsheet writes a number too long for its column
        mantissa.point = 1;
        const int exponent = number.point - 1;
        return Written(mantissa, 0) + (exponent < 0 ? "E-" : "E+") +
               (std::abs(exponent) < 10 ? "0" : "") + std::to_string(std::abs(exponent));
    }
    return Written(number, 0);
}

std::string Fixed(Decimal number, int decimals) {
    RoundTo(number, std::min(number.point + decimals, kSignificantDigits));
    return Written(number, decimals);
}

// Days from 1970-01-01 to a day of the Gregorian calendar, and back.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

void CivilFromDays(std::int64_t days, std::int64_t& year, unsigned& month, unsigned& day) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shifted = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * shifted + 2) / 5 + 1;
    month = shifted < 10 ? shifted + 3 : shifted - 9;
    year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
}

std::string TwoDigits(std::int64_t value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

// A serial day number as the day and time it counts to, as LibreOffice counts it (its day 0
// is 30.12.1899, or 01.01.1904); nullopt outside the years 1 to 9999.
std::optional<std::string> DateAndTime(const Decimal& number, Kind kind, bool date1904) {
    if (number.negative || number.point > 7)
        return std::nullopt;
    const int size = static_cast<int>(number.digits.size());
    const auto digit = [&](int i) {
        return i < size ? number.digits[static_cast<std::size_t>(i)] - '0' : 0;
    };
    std::int64_t days = 0;
    for (int i = 0; i < number.point; ++i)
        days = days * 10 + digit(i);
    double fraction = 0;
    double place = 1;
    for (int i = number.point; i < 0; ++i)
        place /= 10; // 0.000d...
    for (int i = number.point > 0 ? number.point : 0; i < size && i - number.point < 15; ++i) {
        place /= 10;
        fraction += digit(i) * place;
    }
    auto seconds = static_cast<std::int64_t>(fraction * 86400 + 0.5);
    if (seconds >= 86400) {
        ++days;
        seconds -= 86400;
    }
    std::int64_t year = 0;
    unsigned month = 0;
    unsigned day = 0;
    CivilFromDays(days + (date1904 ? DaysFromCivil(1904, 1, 1) : DaysFromCivil(1899, 12, 30)), year,
                  month, day);
    if (year < 1 || year > 9999)
        return std::nullopt;
    const std::string date =
        GermanDate({static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)});
    const std::string time = TwoDigits(seconds / 3600) + ":" + TwoDigits(seconds / 60 % 60) + ":" +
                             TwoDigits(seconds % 60);
    switch (kind) {
    case Kind::Date:
        return date;
    case Kind::Time:
        return time;
    default:
        return date + " " + time;
    }
}

} // namespace

NumberFormat FormatOfCode(std::string_view code) {
    std::string lowered;
    for (const char c : code)
        lowered += Lower(c);
    if (lowered == "general" || lowered.empty())
        return {};
    bool date = false;
    bool time = false;
    bool percent = false;
    bool scientific = false;
    bool digits = false;
    bool inFraction = false;
    int decimals = 0;
    bool text = false;
    for (std::size_t i = 0; i < lowered.size(); ++i) {
        const char c = lowered[i];
        if (c == ';')
            break; // the first section shows a positive number
        if (c == '"') {
            const std::size_t close = lowered.find('"', i + 1);
            i = close == std::string::npos ? lowered.size() : close;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i; // a character shown as it is, a space as wide as it, a fill
        } else if (c == '[') {
            const std::size_t close = lowered.find(']', i + 1);
            const std::string_view inside = std::string_view(lowered).substr(
                i + 1, close == std::string::npos ? 0 : close - i - 1);
            if (!inside.empty() && inside.find_first_not_of("hms") == std::string_view::npos)
                time = true; // elapsed hours, minutes, seconds
            i = close == std::string::npos ? lowered.size() : close;
        } else if (c == 'y' || c == 'd') {
            date = true;
        } else if (c == 'h' || c == 's') {
            time = true;
        } else if (c == 'm') {
            date = date || !time; // with hours or seconds a minute, else a month
        } else if (c == 'e' && i > 0) {
            scientific = true;
        } else if (c == '%') {
            percent = true;
        } else if (c == '@') {
            text = true;
        } else if (c == '.') {
            inFraction = true;
        } else if (c == '0' || c == '#' || c == '?') {
            digits = true;
            decimals += inFraction ? 1 : 0;
        }
    }
    if (date || time)
        return {date && time ? Kind::DateTime : date ? Kind::Date : Kind::Time, 0};
    if (text)
        return {Kind::Text, 0};
    if (scientific || !digits)
        return {};
    return {percent ? Kind::Percent : Kind::Fixed, decimals};
}

NumberFormat BuiltInFormat(std::uint32_t id) {
    switch (id) {
    case 1:
    case 3:
    case 37:
    case 38:
        return {Kind::Fixed, 0};
    case 2:
    case 4:
    case 39:
    case 40:
        return {Kind::Fixed, 2};
    case 9:
        return {Kind::Percent, 0};
    case 10:
        return {Kind::Percent, 2};
    case 18:
    case 19:
    case 20:
    case 21:
    case 45:
    case 46:
    case 47:
        return {Kind::Time, 0};
    case 22:
        return {Kind::DateTime, 0};
    case 49:
        return {Kind::Text, 0};
    default:
        break;
    }
    if ((id >= 14 && id <= 17) || (id >= 27 && id <= 36) || (id >= 50 && id <= 58))
        return {Kind::Date, 0};
    return {};
}

std::string ShownNumber(std::string_view stored, NumberFormat format, bool date1904) {
    const std::optional<Decimal> number = ParseDecimal(stored);
    if (!number)
        return std::string(stored);
    switch (format.kind) {
    case Kind::Fixed:
        return Fixed(*number, format.decimals);
    case Kind::Percent: {
        Decimal hundredfold = *number;
        hundredfold.point += hundredfold.digits.empty() ? 0 : 2;
        return Fixed(hundredfold, format.decimals) + "%";
    }
    case Kind::Date:
    case Kind::Time:
    case Kind::DateTime:
        if (const std::optional<std::string> shown = DateAndTime(*number, format.kind, date1904))
            return *shown;
        break;
    case Kind::General:
    case Kind::Text:
        break;
    }
    return General(*number);
}

} // namespace msr::batch

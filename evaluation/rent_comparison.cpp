#include "evaluation/rent_comparison.h"

#include "evaluation/answers/blanks.h"
#include "evaluation/rent_index/fill.h"

#include <cstdint>
#include <cstdlib>

namespace msr {
namespace {

constexpr const char* kRentRefusal =
    "Bitte geben Sie Ihre Nettokaltmiete in Euro an, zum Beispiel 450 oder 450,50";

// Up to a billion Euro: far above any rent, and far inside 64 bits of cents.
constexpr int kMostEuroDigits = 9;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The share of the mean in per cent with one decimal, rounded half away from zero.
std::string PercentText(std::int64_t distance, std::int64_t mean, const std::string& separator) {
    const std::int64_t tenths = (distance * 2000 + mean) / (2 * mean);
    return std::to_string(tenths / 10) + separator + static_cast<char>('0' + tenths % 10);
}

// What the position means for a tenant: below the span an increase up to it may be
// justified; within it and above it this rent index justifies none beyond the upper bound.
std::string Meaning(RentComparison::Position position, const std::string& high) {
    switch (position) {
    case RentComparison::Position::Below:
        return "Für Sie heißt das: Ihre Miete liegt unter der ortsüblichen Vergleichsmiete. "
               "Eine Mieterhöhung bis in die Spanne kann berechtigt sein.";
    case RentComparison::Position::Within:
        return Fill("Für Sie heißt das: Ihre Miete entspricht der ortsüblichen Vergleichsmiete. "
                    "Eine Erhöhung über die Obergrenze von {} Euro hinaus lässt sich mit diesem "
                    "Mietspiegel nicht begründen.",
                    {high});
    case RentComparison::Position::Above:
        return "Für Sie heißt das: Ihre Miete liegt über der ortsüblichen Vergleichsmiete. Eine "
               "weitere Erhöhung lässt sich mit diesem Mietspiegel nicht begründen; lassen Sie "
               "sich beraten, wenn Sie eine erhalten.";
    }
    return "";
}

} // namespace

std::optional<std::int64_t> RentCents(std::string_view text) {
    text = TrimBlanks(text);
    constexpr std::string_view kEuroSign = "\u20ac";
    if (text.size() >= kEuroSign.size() && text.substr(text.size() - kEuroSign.size()) == kEuroSign)
        text = TrimBlanks(text.substr(0, text.size() - kEuroSign.size()));
    std::int64_t euros = 0;
    int digits = 0;
    std::size_t at = 0;
    std::size_t groupStart = 0;
    bool grouped = false;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (IsDigit(c)) {
            euros = euros * 10 + (c - '0');
            if (++digits > kMostEuroDigits)
                return std::nullopt;
            continue;
        }
        // A point before exactly three digits groups thousands; otherwise it is decimal.
        const bool groupsThousands = c == '.' && text.size() - at >= 4 && IsDigit(text[at + 1]) &&
                                     IsDigit(text[at + 2]) && IsDigit(text[at + 3]) &&
                                     (text.size() - at == 4 || !IsDigit(text[at + 4]));
        if (!groupsThousands)
            break;
        const std::size_t groupDigits = at - groupStart;
        if (digits == 0 || (grouped ? groupDigits != 3 : groupDigits > 3))
            return std::nullopt;
        grouped = true;
        groupStart = at + 1;
    }
    if (digits == 0 || (grouped && at - groupStart != 3))
        return std::nullopt;
    std::int64_t cents = euros * 100;
    if (at < text.size()) {
        // Cents after a comma only: "1.50" may mean 1,50 or 1.500 Euro.
        if (text[at] != ',')
            return std::nullopt;
        const std::string_view decimals = text.substr(at + 1);
        if (decimals.empty() || decimals.size() > 2 || !IsDigit(decimals[0]) ||
            (decimals.size() == 2 && !IsDigit(decimals[1])))
            return std::nullopt;
        cents += (decimals[0] - '0') * 10 + (decimals.size() == 2 ? decimals[1] - '0' : 0);
    }
    return cents;
}

std::optional<std::int64_t> PrintedCents(const std::string& printed, const std::string& separator) {
    const std::size_t at = printed.find(separator);
    if (at == std::string::npos || printed.size() - at - separator.size() != 2)
        return std::nullopt;
    const bool negative = !printed.empty() && printed[0] == '-';
    std::int64_t cents = 0;
    for (std::size_t i = negative ? 1 : 0; i < printed.size(); ++i) {
        if (i >= at && i < at + separator.size())
            continue;
        if (!IsDigit(printed[i]))
            return std::nullopt;
        cents = cents * 10 + (printed[i] - '0');
    }
    return negative ? -cents : cents;
}

std::string EuroText(std::int64_t cents, const std::string& separator) {
    const std::string digits = std::to_string(cents / 100);
    const int rest = static_cast<int>(cents % 100);
    return digits + separator + static_cast<char>('0' + rest / 10) +
           static_cast<char>('0' + rest % 10);
}

std::string GroupedEuroText(std::int64_t cents, const std::string& separator) {
    const std::string plain = EuroText(cents, separator);
    const std::string group = separator == "," ? "." : ",";
    const std::size_t whole = plain.size() - separator.size() - 2;
    std::string grouped;
    for (std::size_t at = 0; at < whole; ++at) {
        if (at > 0 && (whole - at) % 3 == 0 && plain[at - 1] != '-')
            grouped += group;
        grouped += plain[at];
    }
    return grouped + plain.substr(whole);
}

std::string GroupedFigure(const std::string& printed, const std::string& separator) {
    const std::optional<std::int64_t> cents = PrintedCents(printed, separator);
    return cents ? GroupedEuroText(*cents, separator) : printed;
}

std::int64_t PerSquareMetre(std::int64_t cents, std::int64_t areaHundredths) {
    return (cents * 200 + areaHundredths) / (2 * areaHundredths);
}

// Below 1 Euro or above 50 Euro a square metre no flat in Varlstadt is let: a figure out of
// place (a cent for a Euro, a yearly rent) rather than a rent to judge.
bool PlausiblePerSquareMetre(std::int64_t cents, std::int64_t areaHundredths) {
    const std::int64_t perSquareMetre = PerSquareMetre(cents, areaHundredths);
    return perSquareMetre >= 100 && perSquareMetre <= 5000;
}

std::string AmbiguousAmount(std::string_view text) {
    return Fill("„{}“ ist nicht eindeutig: Bitte schreiben Sie Cent mit Komma (1,50) und "
                "Tausender mit Punkt oder ohne (1.500 oder 1500)",
                {std::string(TrimBlanks(text))});
}

bool HasAmbiguousPoint(std::string_view text) {
    text = TrimBlanks(text);
    const std::size_t point = text.rfind('.');
    if (point == std::string_view::npos || text.find(',') != std::string_view::npos)
        return false;
    const std::size_t after = text.size() - point - 1;
    return after >= 1 && after <= 2;
}

const char* PositionWord(RentComparison::Position position) {
    switch (position) {
    case RentComparison::Position::Below:
        return "unterhalb";
    case RentComparison::Position::Within:
        return "innerhalb";
    case RentComparison::Position::Above:
        return "oberhalb";
    }
    return "";
}

RentComparisonResult CompareRent(std::string_view rentText, const FinalFigureTexts& printed,
                                 const std::string& decimalSeparator) {
    RentComparisonResult result;
    const std::optional<std::int64_t> rent = RentCents(rentText);
    if (!rent || *rent <= 0) {
        result.refusal = HasAmbiguousPoint(rentText) ? AmbiguousAmount(rentText) : kRentRefusal;
        return result;
    }
    const auto area = PrintedCents(printed.livingArea, decimalSeparator);
    if (area && *area > 0 && !PlausiblePerSquareMetre(*rent, *area)) {
        result.refusal = Fill("Das wären {} Euro je Quadratmeter; bitte prüfen Sie den Betrag",
                              {GroupedEuroText(PerSquareMetre(*rent, *area), decimalSeparator)});
        return result;
    }
    const auto low = PrintedCents(printed.totalLow, decimalSeparator);
    const auto mean = PrintedCents(printed.totalMean, decimalSeparator);
    const auto high = PrintedCents(printed.totalHigh, decimalSeparator);
    if (!low || !mean || !high || *mean <= 0) {
        result.refusal = "Für diese Spanne ist kein Vergleich möglich";
        return result;
    }
    RentComparison comparison;
    comparison.position = *rent < *low    ? RentComparison::Position::Below
                          : *rent > *high ? RentComparison::Position::Above
                                          : RentComparison::Position::Within;
    comparison.rent = GroupedEuroText(*rent, decimalSeparator);
    comparison.cents = *rent;
    const std::string start =
        Fill("Ihre Nettokaltmiete von {} Euro liegt {} der Spanne von {} bis {} Euro",
             {comparison.rent, PositionWord(comparison.position),
              GroupedEuroText(*low, decimalSeparator), GroupedEuroText(*high, decimalSeparator)});
    const std::int64_t distance = std::llabs(*rent - *mean);
    if (distance == 0) {
        comparison.sentence = start + ", genau auf dem Mittelwert.";
    } else {
        comparison.sentence = start + Fill(", {} Euro ({} %) {} dem Mittelwert von {} Euro.",
                                           {GroupedEuroText(distance, decimalSeparator),
                                            PercentText(distance, *mean, decimalSeparator),
                                            *rent > *mean ? "über" : "unter",
                                            GroupedEuroText(*mean, decimalSeparator)});
    }
    if (area && *area > 0) {
        const std::int64_t perSquareMetre = PerSquareMetre(*rent, *area);
        comparison.sentence += Fill(" Das sind {} Euro je Quadratmeter, bei einer Spanne von {} "
                                    "bis {} Euro je Quadratmeter.",
                                    {EuroText(perSquareMetre, decimalSeparator),
                                     printed.lowPerSquareMetre, printed.highPerSquareMetre});
    }
    comparison.meaning = Meaning(comparison.position, GroupedEuroText(*high, decimalSeparator));
    result.comparison = std::move(comparison);
    return result;
}

} // namespace msr

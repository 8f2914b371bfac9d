#pragma once

#include "evaluation/figures_record.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace msr {

// Where a tenant's own monthly base rent lies against the span of the flat.
struct RentComparison {
    enum class Position { Below, Within, Above };
    Position position = Position::Within;
    std::string rent; // the rent as a German writes an amount ("1.450,00")
    std::int64_t cents = 0;
    std::string sentence; // the whole finding in German, per square metre too
    std::string meaning;  // what the position means for the tenant, in plain words
};

// Either the comparison, or why the rent was not taken (German, without a full stop).
struct RentComparisonResult {
    std::optional<RentComparison> comparison;
    std::string refusal;
};

// A rent as typed in cents (see CompareRent), or nothing when it is no amount in Euro.
std::optional<std::int64_t> RentCents(std::string_view text);

// A printed figure ("405,75") back in cents; nothing for the exponent form.
std::optional<std::int64_t> PrintedCents(const std::string& printed, const std::string& separator);

// Cents as the report prints figures: "405,75".
std::string EuroText(std::int64_t cents, const std::string& separator);

// Cents as a German writes an amount, thousands grouped: "1.234,56" (with the point as
// decimal separator "1,234.56").
std::string GroupedEuroText(std::int64_t cents, const std::string& separator);
// A printed figure with two decimals so grouped ("1456,50" as "1.456,50"); others as printed.
std::string GroupedFigure(const std::string& printed, const std::string& separator);

// Whether an amount as typed has a point before one or two last digits ("1.50"), which may
// mean cents or thousands.
bool HasAmbiguousPoint(std::string_view text);
// The refusal of such an amount (German, without full stop).
std::string AmbiguousAmount(std::string_view text);

// A rent in cents per square metre of a living area in hundredths of a square metre,
// rounded half up; and whether it lies where rents lie (1 to 50 Euro a square metre).
std::int64_t PerSquareMetre(std::int64_t cents, std::int64_t areaHundredths);
bool PlausiblePerSquareMetre(std::int64_t cents, std::int64_t areaHundredths);

// The position word of the finding: "unterhalb", "innerhalb", "oberhalb".
const char* PositionWord(RentComparison::Position position);

// Compares the rent as typed (Euro, up to two decimals after a comma, thousands grouped by
// points allowed: "450", "450,5", "1.250,00", "1.250") with the monthly totals exactly
// as they print, so the finding never disagrees with the figures beside it. The distance
// is from the mean, in Euro and in per cent of the mean (one decimal, half away from zero).
RentComparisonResult CompareRent(std::string_view rentText, const FinalFigureTexts& printed,
                                 const std::string& decimalSeparator);

} // namespace msr

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
    std::string rent;     // the rent as the report prints figures ("450,00")
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

// The position word of the finding: "unterhalb", "innerhalb", "oberhalb".
const char* PositionWord(RentComparison::Position position);

// Compares the rent as typed (Euro, up to two decimals after a comma or point, thousands
// grouped by points allowed: "450", "450,5", "1.250,00") with the monthly totals exactly
// as they print, so the finding never disagrees with the figures beside it. The distance
// is from the mean, in Euro and in per cent of the mean (one decimal, half away from zero).
RentComparisonResult CompareRent(std::string_view rentText, const FinalFigureTexts& printed,
                                 const std::string& decimalSeparator);

} // namespace msr

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace msr::batch {

// How a number cell of an .xlsx shows its value, as its number format says: a workbook
// stores 45296 for a date and 3.0 or 5.2E1 for a number, and a spreadsheet shows
// 05.01.2024, 3 and 52.
struct NumberFormat {
    enum class Kind { General, Fixed, Percent, Date, Time, DateTime, Text };
    Kind kind = Kind::General;
    int decimals = 0; // Fixed, Percent
};

// The format of a format code ("DD.MM.YYYY", "0.00", "General", "@").
NumberFormat FormatOfCode(std::string_view code);
// The format of one of the numbers every .xlsx knows without a code (14 a date, 2 "0.00").
NumberFormat BuiltInFormat(std::uint32_t id);

// The text a cell of that stored value shows ("45296" as a date "05.01.2024"); the stored
// text where it is no number. date1904: the workbook counts its days from 1904.
std::string ShownNumber(std::string_view stored, NumberFormat format, bool date1904);

} // namespace msr::batch

#include "evaluation/rent_index/priced_answers.h"

namespace msr {

Before1980 YearClassBefore1980(Choice yearClass) {
    if (yearClass < 1 || yearClass > static_cast<int>(std::size(kYearClassBefore1980)))
        return Before1980::No;
    return kYearClassBefore1980[static_cast<std::size_t>(yearClass - 1)];
}

bool CountsOnlyBefore1980(std::string_view input, int value) {
    for (const OnlyBefore1980& row : kOnlyBefore1980)
        if (input == row.input && value == row.value)
            return true;
    return false;
}

} // namespace msr

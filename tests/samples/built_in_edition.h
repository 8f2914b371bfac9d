#pragma once

#include "evaluation/answers/calendar_date.h"
#include "evaluation/rent_index/editions.h"

// The edition built into the program, read once for all the tests of a process, and a day
// on which it counts (long after its term, as today).
namespace msr::test {

inline const RentIndexEditions& BuiltInEditions() {
    static const RentIndexEditions editions = RentIndexEditions::BuiltIn();
    return editions;
}

inline const Edition& BuiltInEdition() {
    return BuiltInEditions().newest();
}

inline constexpr CalendarDate kSomeDay{2026, 12, 9};

} // namespace msr::test

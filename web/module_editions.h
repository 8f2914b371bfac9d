#pragma once

#include "evaluation/answers/calendar_date.h"
#include "evaluation/rent_index/editions.h"

#include <cstddef>
#include <string>

// The editions of the rent index a page's module evaluates by: the built-in one and those
// its release ships (web/release.cmake writes them into the page; the page hands each one
// in). Nothing is ever loaded from an address.
namespace msr::web {

const RentIndexEditions& Editions();

// Reads and checks one edition of the release; "" when taken, else why not (German, with
// the error report's full stop), naming the file, its line and the key.
std::string AddEdition(const char* bytes, std::size_t length, const char* file);

// Today as the browser's clock gives it ("2026-12-10"); an unreadable one is the day the
// built-in edition came into force, which every front end would say is long past.
CalendarDate Day(const char* iso);

} // namespace msr::web

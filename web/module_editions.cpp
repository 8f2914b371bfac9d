#include "web/module_editions.h"

#include "evaluation/rent_index/admission.h"
#include "evaluation/rent_index/edition_reading.h"

#include <string_view>

namespace msr::web {
namespace {

RentIndexEditions& Loaded() {
    static RentIndexEditions editions = RentIndexEditions::BuiltIn();
    return editions;
}

} // namespace

const RentIndexEditions& Editions() {
    return Loaded();
}

std::string AddEdition(const char* bytes, std::size_t length, const char* file) {
    EditionReading reading = ReadEdition(std::string_view(bytes, length), file);
    if (!reading.edition)
        return WithFullStop(reading.message());
    if (std::optional<std::string> clash =
            Loaded().add(std::move(*reading.edition), EditionSource::Given))
        return WithFullStop(*clash);
    return {};
}

CalendarDate Day(const char* iso) {
    return ParseIsoDate(iso).value_or(Loaded().all().front()->inForceFrom);
}

} // namespace msr::web

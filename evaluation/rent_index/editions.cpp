#include "evaluation/rent_index/editions.h"

#include "evaluation/rent_index/edition_reading.h"

#include <algorithm>
#include <stdexcept>

namespace msr {

RentIndexEditions RentIndexEditions::BuiltIn() {
    EditionReading reading = ReadEdition(BuiltInEditionText(), kBuiltInEditionFile);
    if (!reading.edition) // the build checks the file; only a broken build gets here
        throw std::logic_error(reading.message());
    RentIndexEditions editions;
    editions.add(std::move(*reading.edition), EditionSource::BuiltIn);
    return editions;
}

std::optional<std::string> RentIndexEditions::add(Edition edition, EditionSource source) {
    const auto later = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& entry) {
        return !(entry.edition.inForceFrom < edition.inForceFrom);
    });
    if (later != entries_.end() && later->edition.inForceFrom == edition.inForceFrom) {
        if (later->source == source)
            return "\"" + edition.file + "\" und \"" + later->edition.file +
                   "\" gelten beide ab dem " + GermanDate(edition.inForceFrom) +
                   "; es kann nur eine Ausgabe ab einem Tag gelten";
        later->edition = std::move(edition);
        later->source = source;
        return std::nullopt;
    }
    entries_.insert(later, Entry{std::move(edition), source});
    return std::nullopt;
}

EditionInForce RentIndexEditions::inForceOn(const CalendarDate& day) const {
    if (entries_.size() == 1) // the usual case: the built-in one alone
        return entries_.front().edition.inForceFrom <= day
                   ? EditionInForce{&entries_.front().edition,
                                    IsPastTerm(entries_.front().edition, day)}
                   : EditionInForce{};
    for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry)
        if (entry->edition.inForceFrom <= day)
            return {&entry->edition, IsPastTerm(entry->edition, day)};
    return {};
}

std::string RentIndexEditions::noneInForceMessage(const CalendarDate& day) const {
    if (entries_.empty())
        return "Es ist kein Mietspiegel geladen";
    return "Am " + GermanDate(day) + " galt noch keiner der geladenen Mietspiegel; der älteste, " +
           entries_.front().edition.name + ", gilt ab dem " +
           GermanDate(entries_.front().edition.inForceFrom);
}

std::vector<const Edition*> RentIndexEditions::all() const {
    std::vector<const Edition*> editions;
    for (const Entry& entry : entries_)
        editions.push_back(&entry.edition);
    return editions;
}

} // namespace msr

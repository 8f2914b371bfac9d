#pragma once

#include "evaluation/answers/calendar_date.h"
#include "evaluation/rent_index/edition.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The editions of the rent index a front end has loaded, and the one that counts on a day:
// the newest that came into force by then. After its term it still counts, marked out of
// date, until a newer one comes into force; before the oldest, none does.
namespace msr {

// Where an edition came from: a later source's edition of the same day replaces an earlier
// one's.
enum class EditionSource { BuiltIn, Installed, Given };

// The edition chosen for a day, or none.
struct EditionInForce {
    const Edition* edition = nullptr;
    bool outOfDate = false; // the day lies after the edition's term
    explicit operator bool() const { return edition != nullptr; }
};

class RentIndexEditions {
public:
    // The editions built into the program: the one this release was made with.
    static RentIndexEditions BuiltIn();

    // Adds an edition. One that comes into force on the same day as an edition added
    // before replaces it (a corrected edition replaces the built-in one) unless both came
    // from the same source: then the message why both cannot count, without full stop.
    std::optional<std::string> add(Edition edition, EditionSource source);

    // The edition in force on that day.
    EditionInForce inForceOn(const CalendarDate& day) const;

    // Why no edition counts on that day (before the oldest), without full stop.
    std::string noneInForceMessage(const CalendarDate& day) const;

    // The newest edition, by the day it came into force.
    const Edition& newest() const { return entries_.back().edition; }

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    // Oldest first.
    std::vector<const Edition*> all() const;

private:
    struct Entry {
        Edition edition;
        EditionSource source;
    };
    std::vector<Entry> entries_; // by the day they came into force
};

// The text of the edition built into the program, and the name its messages give it.
std::string_view BuiltInEditionText();
inline constexpr const char* kBuiltInEditionFile = "mietspiegel-varlstadt-2015.json";

} // namespace msr

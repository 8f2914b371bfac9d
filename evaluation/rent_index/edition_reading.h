#pragma once

#include "evaluation/rent_index/edition.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The one reader of an edition's file: JSON read by the core's strict reader, then checked
// whole before anything of it is used. A file with one fault is refused whole, never half
// applied. Its cost is bounded: the file's size, and the values it may hold.
namespace msr {

// "format" and "formatVersion" of the files this program reads.
inline constexpr const char* kEditionFormat =
    "Mietspiegelrechner Varlstadt: Ausgabe des Mietspiegels";
inline constexpr int kEditionFormatVersion = 1;

// Far larger than any edition (the first has 25 KB), and a bound on its reading.
inline constexpr std::size_t kLargestEditionFile = std::size_t{1} << 20;

struct EditionReading {
    std::optional<Edition> edition;
    // Why it was refused: each fault a German line that names the file, the line and the
    // key's path ("\"neu.json\", Zeile 42, yearClasses[3].low: ..."), without full stop; the
    // first faults only, where there are many.
    std::vector<std::string> faults;

    // The faults as one message, a line each.
    std::string message() const;
};

// Reads the text of the file named `file` (the name its messages give).
EditionReading ReadEdition(std::string_view text, std::string_view file);

// What a check of a good edition tells: its name, "Stand", term and what it prices.
std::string EditionSummary(const Edition& edition);

} // namespace msr

#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace msr {

// A hole of an edition's sentence, named as the association writes it: "{Mittelwert}".
enum class Hole {
    Period,     // {Zeitraum}: the year class's wording
    Low,        // {Untergrenze}
    High,       // {Obergrenze}
    Mean,       // {Mittelwert}
    LivingArea, // {Wohnfläche}
    Amount,     // {Betrag}: a surcharge's or deduction's amount, as the sentence words it
    TotalLow,   // {UntergrenzeGesamt}
    TotalMean,  // {MittelwertGesamt}
    TotalHigh,  // {ObergrenzeGesamt}
    Stand,      // {Stand}: the edition's "Stand"
    TermEnd,    // {Laufzeitende}: the last day of its term
};

// "Mittelwert" for Hole::Mean.
const char* HoleName(Hole hole);

// A sentence of an edition with its holes, read once, filled for every evaluation.
class Sentence {
public:
    Sentence() = default;

    // The sentence of that text, whose holes must be among `allowed`; nothing, and why
    // (German, without full stop), for a brace that opens no known hole.
    static std::optional<Sentence> Read(std::string_view text, std::initializer_list<Hole> allowed,
                                        std::string& why);

    bool has(Hole hole) const;
    const std::vector<Hole>& holes() const { return holes_; }

    // The text with every hole filled by its value; a hole without one stays as written.
    std::string filled(std::initializer_list<std::pair<Hole, std::string_view>> values) const;

    // The text as written, holes and all.
    std::string written() const;

private:
    std::vector<std::string> texts_; // one more than holes_: the text around them
    std::vector<Hole> holes_;
};

} // namespace msr

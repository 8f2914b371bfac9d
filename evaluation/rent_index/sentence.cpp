#include "evaluation/rent_index/sentence.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace msr {
namespace {

struct HoleRow {
    Hole hole;
    const char* name;
};

constexpr HoleRow kHoles[] = {
    {Hole::Period, "Zeitraum"},
    {Hole::Low, "Untergrenze"},
    {Hole::High, "Obergrenze"},
    {Hole::Mean, "Mittelwert"},
    {Hole::LivingArea, "Wohnfläche"},
    {Hole::Amount, "Betrag"},
    {Hole::TotalLow, "UntergrenzeGesamt"},
    {Hole::TotalMean, "MittelwertGesamt"},
    {Hole::TotalHigh, "ObergrenzeGesamt"},
    {Hole::Stand, "Stand"},
    {Hole::TermEnd, "Laufzeitende"},
};

std::string AllowedList(std::initializer_list<Hole> allowed) {
    if (allowed.size() == 0)
        return "Dieser Satz hat keine Lücken";
    std::string list = allowed.size() == 1 ? "Erlaubt ist hier " : "Erlaubt sind hier ";
    std::size_t index = 0;
    for (const Hole hole : allowed) {
        if (index > 0)
            list += index + 1 == allowed.size() ? " und " : ", ";
        list += std::string("{") + HoleName(hole) + "}";
        ++index;
    }
    return list;
}

} // namespace

const char* HoleName(Hole hole) {
    for (const HoleRow& row : kHoles)
        if (row.hole == hole)
            return row.name;
    return "";
}

std::optional<Sentence> Sentence::Read(std::string_view text, std::initializer_list<Hole> allowed,
                                       std::string& why) {
    Sentence sentence;
    std::string piece;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '}') {
            why = "Eine schließende Klammer } ohne öffnende; " + AllowedList(allowed);
            return std::nullopt;
        }
        if (text[at] != '{') {
            piece += text[at];
            continue;
        }
        const std::size_t end = text.find('}', at);
        const std::string_view name = text.substr(
            at + 1, end == std::string_view::npos ? std::string_view::npos : end - at - 1);
        const auto known = std::find_if(std::begin(kHoles), std::end(kHoles),
                                        [&](const HoleRow& row) { return name == row.name; });
        const bool isAllowed =
            known != std::end(kHoles) &&
            std::find(allowed.begin(), allowed.end(), known->hole) != allowed.end();
        if (end == std::string_view::npos || !isAllowed) {
            why = end == std::string_view::npos
                      ? "Eine Klammer { ohne schließende; " + AllowedList(allowed)
                      : "Die Lücke {" + std::string(name) + "} gibt es hier nicht; " +
                            AllowedList(allowed);
            return std::nullopt;
        }
        sentence.texts_.push_back(std::move(piece));
        piece.clear();
        sentence.holes_.push_back(known->hole);
        at = end;
    }
    sentence.texts_.push_back(std::move(piece));
    return sentence;
}

bool Sentence::has(Hole hole) const {
    return std::find(holes_.begin(), holes_.end(), hole) != holes_.end();
}

std::string
Sentence::filled(std::initializer_list<std::pair<Hole, std::string_view>> values) const {
    std::string text = texts_.empty() ? std::string() : texts_.front();
    for (std::size_t i = 0; i < holes_.size(); ++i) {
        const auto value = std::find_if(values.begin(), values.end(),
                                        [&](const auto& pair) { return pair.first == holes_[i]; });
        if (value != values.end())
            text += value->second;
        else
            text += std::string("{") + HoleName(holes_[i]) + "}";
        text += texts_[i + 1];
    }
    return text;
}

std::string Sentence::written() const {
    return filled({});
}

} // namespace msr

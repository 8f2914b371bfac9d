#pragma once

#include "evaluation/answers/answers.h"

#include <cstddef>
#include <iterator>
#include <string_view>

namespace msr {

// One choice of a choice input: the number the answers give it and the caption its dialog
// shows for it (the option's own text and the lines beneath that continue it).
struct ChoiceCaption {
    const char* input; // the input's name, the key of the JSON answers
    Choice choice;     // 1 .. the number of choices
    const char* caption;
};

// Every choice of every choice input, in the order of the questionnaire and of the buttons,
// so that a user who reads "CityArea 7" can tell that it is Lindmoor. An input has as many
// choices as it has rows here.
inline constexpr ChoiceCaption kChoiceCaptions[] = {
    {"YearClass", 1, "bis 1929"},
    {"YearClass", 2, "1930 bis 1969"},
    {"YearClass", 3, "1970 bis 1977"},
    {"YearClass", 4, "1978 bis 1994"},
    {"YearClass", 5, "1995 bis 2001"},
    {"YearClass", 6, "2002 bis 2005"},
    {"YearClass", 7, "2006 bis 2011"},
    {"Built1980Side", 1, "Baujahr vor 1980"},
    {"Built1980Side", 2, "Baujahr nach 1980"},
    {"FloorCovering", 1, "ohne Oberböden vermietet"},
    {"FloorCovering", 2, "einfache PVC-Bodenbeläge"},
    {"FloorCovering", 3, "Parkett, Keramikboden, aufgearbeitete Hobeldielen oder Naturstein"},
    {"FloorCovering", 4,
     "Nachträglicher Einbau einer Trittschalldämmung (nach 1980) bei Parkett, Keramikböden, "
     "aufgearbeiteten Hobeldielen oder Naturstein als überwiegend verwendetem Bodenbelag in den "
     "Wohn- und Schlafräumen."},
    {"HeatingKind", 1, "Fernheizung (Wohnungen, die mit Fernwärme beheizt werden)"},
    {"HeatingKind", 2, "Nachtstromspeicher"},
    {"HeatingKind", 3, "Einzelöfen (Gas, Kohle, Öl)"},
    {"HeatingKind", 4,
     "Wohnung (Aufenthaltsräume wie Wohn- und Schlafräume) nur teilweise beheizt oder keine "
     "Heizung vom Vermieter gestellt"},
    {"BarrierFree", 1,
     "Barrierefreie Erreichbarkeit der Wohnung (Die Wohnung ist barrierefrei, d. h. ohne "
     "Schwellen und Stufen erreichbar)."},
    {"BarrierFree", 2,
     "Barrierefrei erstellte oder modernisierte Wohnung (Die Wohnung wurde insgesamt gem. DIN "
     "18040 Teil 2 barrierefrei erstellt oder modernsiert - dazu gehören u. a. eine bodengleiche "
     "Dusche und ein schwellenfreier Zugang zu Balkonen/Terrassen)."},
    {"Insulation", 1,
     "nachträgliche Dämmung der Außenwände und des Daches in den Jahren 1980 bis 1994 (bei "
     "Gebäuden mit Baujahr vor 1980)."},
    {"Insulation", 2,
     "Nachträgliche Dämmung der Außenwände und des Daches in den Jahren 1995 bis 2001 (bei "
     "Gebäuden mit Baujahr vor 1980)."},
    {"Insulation", 3,
     "Nachträgliche Dämmung der Außenwände und des Daches in den Jahren seit 2002 (bei "
     "Gebäuden mit Baujahr vor 1980)."},
    {"CityArea", 1, "Innenstadt-Mitte"},
    {"CityArea", 2, "Innenstadt-Nord"},
    {"CityArea", 3, "Varlstadt-West"},
    {"CityArea", 4, "Varlstadt-Nord"},
    {"CityArea", 5, "Varlstadt-Ost"},
    {"CityArea", 6, "Varlstadt-Süd"},
    {"CityArea", 7, "Lindmoor"},
};

inline constexpr std::size_t kChoiceCaptionCount = std::size(kChoiceCaptions);

constexpr const ChoiceCaption (&ChoiceCaptions())[kChoiceCaptionCount] {
    return kChoiceCaptions;
}

// The number of choices of the input of that name: its rows above.
constexpr int ChoiceCount(std::string_view input) {
    int count = 0;
    for (const ChoiceCaption& row : kChoiceCaptions)
        count += input == row.input ? 1 : 0;
    return count;
}

// The caption of that choice, or nullptr for no such input or choice.
const char* CaptionOf(std::string_view input, Choice choice);

} // namespace msr

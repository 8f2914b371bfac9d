#include "evaluation/choice_captions.h"

namespace msr {
namespace {

constexpr std::array<ChoiceCaption, kChoiceCaptionCount> kCaptions{{
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
}};

} // namespace

const std::array<ChoiceCaption, kChoiceCaptionCount>& ChoiceCaptions() {
    return kCaptions;
}

const char* CaptionOf(std::string_view input, Choice choice) {
    for (const ChoiceCaption& row : kCaptions)
        if (row.choice == choice && input == row.input)
            return row.caption;
    return nullptr;
}

} // namespace msr

#pragma once

#include "evaluation/answers/answers.h"
#include "evaluation/answers/choice_captions.h"

#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

namespace msr {

enum class InputKind {
    YesNo,  // a check box: true when ticked
    Choice, // a radio group: kNone or the number of the selected button, 1..choiceCount
    Text,   // the living area's field, as typed
};

// One input of the questionnaire: its name (the member of Answers, and the key of the JSON
// answers), the dialog that asks for it, its kind, where it lives in Answers, and for a check box
// the caption its dialog shows beside it (the box's own text and the lines beneath that continue
// it). Every front end that reads answers member by member (JSON, a sheet, the web page's form)
// goes through these rows.
struct InputRow {
    const char* name;
    const char* dialog; // the title of the dialog that asks for it
    InputKind kind;
    int choiceCount;            // Choice only: the buttons of the group; 0 for the others
    bool Answers::*yesNo;       // YesNo only
    Choice Answers::*choice;    // Choice only
    std::string Answers::*text; // Text only
    const char* caption;        // YesNo only; nullptr for the others (choices: ChoiceCaptions())
};

namespace input_rows {

constexpr InputRow YesNo(const char* name, const char* dialog, bool Answers::*member,
                         const char* caption) {
    return {name, dialog, InputKind::YesNo, 0, member, nullptr, nullptr, caption};
}

// A choice input has as many choices as its dialog shows captions.
constexpr InputRow ChoiceOf(const char* name, const char* dialog, Choice Answers::*member) {
    return {name, dialog, InputKind::Choice, ChoiceCount(name), nullptr, member, nullptr, nullptr};
}

constexpr InputRow Text(const char* name, const char* dialog, std::string Answers::*member) {
    return {name, dialog, InputKind::Text, 0, nullptr, nullptr, member, nullptr};
}

} // namespace input_rows

// All inputs in the order of the questionnaire, so that a fault named first is the first a
// user would meet going through the dialogs. A new input is a new row here (and its
// member in Answers, its dialog, and its captions if it is a choice).
inline constexpr InputRow kInputs[] = {
    input_rows::ChoiceOf("YearClass", "Baujahr", &Answers::YearClass),
    input_rows::ChoiceOf("Built1980Side", "Baujahr", &Answers::Built1980Side),
    input_rows::Text("LivingArea", "Wohnungsgröße", &Answers::LivingArea),
    input_rows::YesNo("IsApartment", "Wohnungsgröße", &Answers::IsApartment,
                      "Appartement vorhanden"),
    input_rows::YesNo("GuestToilet", "Bad-Ausstattung", &Answers::GuestToilet, "Gäste-WC"),
    input_rows::YesNo("TubAndShower", "Bad-Ausstattung", &Answers::TubAndShower,
                      "Badezimmer mit Badewanne und separater Dusche"),
    input_rows::ChoiceOf("FloorCovering", "Bodenbeläge", &Answers::FloorCovering),
    input_rows::ChoiceOf("HeatingKind", "Beheizungsart", &Answers::HeatingKind),
    input_rows::YesNo("CaptiveRooms", "Weitere Zu- und Abschläge", &Answers::CaptiveRooms,
                      "Einen oder mehrere gefangene Räume (Räume, die nur direkt über vorgelagerte "
                      "Wohnräume zu erreichen sind)"),
    input_rows::YesNo(
        "NoKitchenHotWater", "Weitere Zu- und Abschläge", &Answers::NoKitchenHotWater,
        "Kein fließend Warmwasser in der Küche (Es befindet sich in der Küche kein "
        "fließendes warmes Wasser, wenn bei sogenannten Handventil-Boilern bzw. fest "
        "installierten Wasserkochern zunächst eine gewisse Menge Wasser (beispielsweise "
        "5 l oder mehr) vorgekocht werden muss, um das Wasser nach dem Erwärmen zu "
        "entnehmen. Befindet sich in der Küche dagegen ein sog. Durchlauferhitzer, so "
        "ist fließendes warmes Wasser vorhanden.)"),
    input_rows::YesNo("BalconyOrLoggia", "Weitere Zu- und Abschläge", &Answers::BalconyOrLoggia,
                      "Balkon oder Loggia"),
    input_rows::YesNo("Terrace", "Weitere Zu- und Abschläge", &Answers::Terrace,
                      "Terrasse oder Dachterrasse"),
    input_rows::YesNo(
        "SoundproofWindows", "Weitere Zu- und Abschläge", &Answers::SoundproofWindows,
        "Schallschutzfenster, die das zur Schallreduktion vorgeschriebene bzw. zur "
        "Lärmreduktion erforderliche Maß erfüllen (mindestens Schallschutzklasse 4 der "
        "VDI-Richtlinie 2719)."),
    input_rows::ChoiceOf("BarrierFree", "Weitere Zu- und Abschläge", &Answers::BarrierFree),
    input_rows::YesNo("HeatingRenewed", "Modernisierungsmaßnahmen", &Answers::HeatingRenewed,
                      "Erstmaliger/nachträglicher Einbau einer Heizungsanlage oder Erneuerung/ "
                      "Austausch der gesamten Heizungsanlage (Heizungskessel, Rohrleitungen und "
                      "Heizkörper) 1995 oder später in Gebäuden mit Baujahr vor 1980."),
    input_rows::YesNo("BathRenewed", "Modernisierungsmaßnahmen", &Answers::BathRenewed,
                      "Erstmaliger Dusch- oder Badeinbau oder Baderneuerung/-modernisierung "
                      "(Neuverfliesung und Erneuerung aller Sanitärteile) seit 2000."),
    input_rows::ChoiceOf("Insulation", "Modernisierungsmaßnahmen", &Answers::Insulation),
    input_rows::YesNo("NoiseImpairment", "Wohnumfeld", &Answers::NoiseImpairment,
                      "Beeinträchtigung des Gebäudes durch Lärm bei Lage an einer viel befahrenen "
                      "Straße (Durchgangsverkehr, Einfallstraße, Verbindungsstraße zwischen "
                      "Stadtteilen) und/oder an einer viel befahrenen Eisenbahnlinie mit einer "
                      "durchschnittlichen Lärmbelastung von mehr als 65 dB(A)."),
    input_rows::ChoiceOf("CityArea", "Gebietseinteilung", &Answers::CityArea),
};

inline constexpr std::size_t kInputCount = std::size(kInputs);

constexpr const InputRow (&Inputs())[kInputCount] {
    return kInputs;
}

// The row of that name, or nullptr.
const InputRow* FindInput(std::string_view name);

// "1978 bis 1994": the one year class that the construction-year dialog splits at 1980,
// and so the only one that takes a side ("Baujahr vor/nach 1980").
inline constexpr Choice kYearClassSplitAt1980 = 4;

} // namespace msr

#include "evaluation/rent_index/fixed_texts.h"

namespace msr {

namespace {
constexpr ParagraphKind B = ParagraphKind::Body;
constexpr ParagraphKind H = ParagraphKind::Heading;
} // namespace

// clang-format off
const std::array<FixedParagraph, 11> kIntroduction = {{
    {H, "KWL Hausgilde Varlstadt e. V."},
    {H, "Mieterschutzverein"},
    {B, ""},
    {B, ""},
    {H, "M I E T S P I E G E L R E C H N E R"},
    {B, "Berechnung der ortsüblichen Grundmiete (ohne Betriebskosten)"},
    {B, "Dieser Mietspiegel wurde nach anerkannten wissenschaftlichen Grundsätzen erstellt und von Interessenverbänden anerkannt. Er genügt damit den Anforderungen, die an einen qualifizierten Mietspiegel (§ 558d Abs. 1 BGB) gestellt werden."},
    {B, ""},
    {B, "Die Angaben des Mietspiegels entsprechen dem Stand Mai 2014. Der Mietspiegel ist eine Orientierungshilfe, die es ermöglichen soll, die Miethöhe einer Wohnung unter Berücksichtigung von Art, Größe, Ausstattung, Beschaffenheit und Lage einschließlich der energetischen Aussattung und Beschaffenheit festzustellen."},
    {B, ""},
    {B, "Die Mietspiegeltabelle enthält Mietspannen je Quadratmeter Wohnfläche monatlich für die Nettokaltmiete (Miete ohne Heiz- und Betriebskosten), getrennt nach Baualtersklassen. Die angegebenen Werte stellen Schwerpunkte des Wohnungsmarktes für Wohnungen von 60,01 bis 110,00 Quadratmetern Wohnfläche in Wohngebäuden mit 3 oder mehr Wohnungen dar."},
}};

const std::array<FixedParagraph, 3> kYearClassOpening = {{
    {B, ""},
    {H, "Baualtersklasse"},
    {B, "Das Alter einer Wohnung bestimmt maßgeblich ihre Beschaffenheit und damit die Miethöhe. Zur Einordnung ist das Jahr der Fertigstellung der Wohnung maßgeblich. Auch bei modernisierten Wohnungen richtet sich die Zuordnung nach dem ursprünglichen Baujahr und nicht nach dem Jahr der Modernisierung."},
}};

// Its last, empty paragraph also opens section 1.
const std::array<FixedParagraph, 4> kAdjustmentsIntroduction = {{
    {B, ""},
    {H, "Zu- und Abschläge"},
    {B, "Im Folgenden werden Zu- und Abschläge für die entsprechenden Merkmale zu den Minimum-, Mittelwert- und Maximum-Werten der Baualtersklassen hinzugerechnet bzw. abgezogen. Bei den Zu- und Abschlägen handelt es sich um Durchschnittswerte. Ausstattungsmerkmale sind nur zu berücksichtigen, wenn sie vom Vermieter durchgeführt wurden."},
    {B, ""},
}};

const std::array<FixedParagraph, 6> kClosingLines = {{
    {B, ""},
    {B, ""},
    {H, "KWL Hausgilde Varlstadt e. V."},
    {H, "- Mieterschutzverein -"},
    {H, "Varlstadt"},
    {H, kAssociationWebAddress},
}};
// clang-format on

} // namespace msr

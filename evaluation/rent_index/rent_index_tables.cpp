#include "evaluation/rent_index/rent_index_tables.h"

#include <cmath>
#include <limits>

namespace msr {

// clang-format off
const std::array<YearClassRow, 7> kYearClasses = {{
    {"bis 1929",               Before1980::Yes,    3.58f, 5.19f, 4.40f},
    {"zwischen 1930 und 1969", Before1980::Yes,    3.83f, 5.30f, 4.60f},
    {"zwischen 1970 und 1977", Before1980::Yes,    4.14f, 5.43f, 4.70f},
    {"zwischen 1978 und 1994", Before1980::BySide, 4.73f, 6.38f, 5.41f},
    {"zwischen 1995 und 2001", Before1980::No,     5.18f, 6.85f, 5.97f},
    {"zwischen 2002 und 2005", Before1980::No,     5.47f, 7.33f, 6.36f},
    {"zwischen 2006 und 2011", Before1980::No,     6.07f, 8.18f, 6.72f},
}};

const std::array<SizeClassRow, 6> kSizeClasses = {{
    {40.0f,  true,  0.82, "Aufgrund Ihrer Wohnungsgröße ({} Quadratmeter) wird ein Zuschlag in Höhe von {} Euro je Quadratmeter Wohnfläche vorgenommen. Der neue Mittelwert beträgt {} Euro je Quadratmeter Wohnfläche."},
    {50.0f,  true,  0.41, "Aufgrund Ihrer Wohnungsgröße ({} Quadratmeter) wird ein Zuschlag in Höhe von {} Euro je Quadratmeter Wohnfläche vorgenommen. Der neue Mittelwert beträgt {} Euro je Quadratmeter Wohnfläche."},
    {60.0f,  true,  0.21, "Aufgrund Ihrer Wohnungsgröße ({} Quadratmeter) wird ein Zuschlag in Höhe von {} Euro je Quadratmeter Wohnfläche vorgenommen. Der neue Mittelwert beträgt {} Euro je Quadratmeter Wohnfläche."},
    {110.0f, false, 0.0,  "Aufgrund Ihrer Wohnungsgröße ({} Quadratmeter) werden weder Zu- noch Abschläge erhoben."},
    {120.0f, true,  -0.21, "Aufgrund Ihrer Wohnungsgröße ({} Quadratmeter) wird ein Abschlag in Höhe von {} Euro je Quadratmeter Wohnfläche vorgenommen. Der neue Mittelwert beträgt {} Euro je Quadratmeter Wohnfläche."},
    {std::numeric_limits<float>::infinity(), true, -0.32, "Aufgrund Ihrer Wohnungsgröße ({} Quadratmeter) wird ein Abschlag in Höhe von {} Euro je Quadratmeter Wohnfläche vorgenommen. Der neue Mittelwert beträgt {} Euro je Quadratmeter Wohnfläche."},
}};

const ApartmentRow kApartment = {1.27, "Sie haben angegeben, dass es sich bei Ihrer Wohnung um ein Appartement handelt. Ein Appartement ist eine abgschlossene Einzimmerwohnung mit einer ausgestatteten Kochnische, Bad oder Dusche sowie WC mit einer maximalen Wohnfläche von 50,00 Quadratmetern. Daher wird für Ihre Wohnung (Appartement) ein Zuschlag in Höhe von {} Euro je Quadratmeter Wohnfläche vorgenommen."};

namespace {

constexpr const char* kInsulationContradiction = "Sie haben angegeben, dass nachträglich die Außenwände und das Dach Ihrer Wohnung gedämmt wurden. Dies gilt nur für Gebäude mit Baujahr vor 1980. Sie haben gleichzeitig angegeben, dass Ihre Wohnung nach 1980 gebaut wurde. Dies ist ein Widerspruch. Daher wird die Dämmung nicht berücksichtigt.";
constexpr const char* kHeatingContradiction = "Sie haben angegeben, dass ein erstmaliger/nachträglicher Einbau einer Heizungsanlage oder eine Erneuerung/Austausch der gesamten Heizungsanlage in Gebäuden mit Baujahr vor 1980 durchgeführt wurde. Sie haben gleichzeitig angegeben, dass Ihre Wohnung nach 1980 gebaut wurde. Dies ist ein Widerspruch. Daher wird die Modernisierung der Heizungsanlage nicht berücksichtigt.";

const FeatureRow kBathroom[] = {
    {&Answers::GuestToilet,  1, true, 0.18, "Ihre Wohnung verfügt über ein Gäste-WC. Dadurch ergibt sich ein Zuschlag je Quadratmeter Wohnfläche in Höhe von {} Euro. Der neue Mittelwert beträgt {} Euro je Quadratmeter Wohnfläche."},
    {&Answers::TubAndShower, 1, true, 0.26, "Ihre Wohnung verfügt über ein Badzimmer mit Badewanne und separater Dusche. Dadurch ergibt sich ein Zuschlag je Quadratmeter Wohnfläche in Höhe von {} Euro. Der neue Mittelwert beträgt {} Euro je Quadratmeter Wohnfläche."},
};

const FeatureRow kFlooring[] = {
    {&Answers::FloorCovering, 1, true, -0.35, "Ihre Wohnung ist ohne Oberböden vermietet. Dadurch ergibt sich ein Abschlag in Höhe von {} Euro je Quadratmeter Wohnfläche. Der neue Mittelwert beträgt {} Euro je Quadratmeter Wohnfläche."},
    {&Answers::FloorCovering, 2, true, -0.14, "Ihre Wohnung weist als Bodenbelag nur einfache PVC-Beläge auf. Dadurch ergibt sich ein Abschlag in Höhe von {} Euro je Quadratmeter Wohnfläche. Der neue Mittelwert beträgt {} Euro je Quadratmeter Wohnfläche."},
    {&Answers::FloorCovering, 3, true, 0.24,  "Ihre Wohnung ist mit Parkett, Keramikboden, aufgearbeiteten Holzdielen oder Naturstein ausgestattet. Dadurch ergibt sich ein Zuschlag in Höhe von {} Euro je Quadratmeter Wohnfläche. Der neue Mittelwert beträgt {} Euro je Quadratmeter Wohnfläche."},
    {&Answers::FloorCovering, 4, true, 0.34,  "In Ihre Wohnung wurde nachträglich eine Trittschalldämmung (nach 1980) bei Parkett, Keramikböden, aufgearbeitete Holzdielen oder Naturstein als überwiegend verwendetem Bodenbelag in den Woh- und Schlafräumen eingebaut. Dadurch ergibt sich ein Zuschlag in Höhe von {} Euro je Quadratmeter Wohnfläche. Der neue Mittelwert beträgt {} Euro je Quadratmeter Wohnfläche."},
};

const FeatureRow kHeating[] = {
    {&Answers::HeatingKind, 1, true, -0.05, "Ihre Wohnung verfügt über eine Fernheizung (Wohnungen, die mit Fernwärme beheizt werden). Dies führt zu einem Abschlag in Höhe von {} Euro je Quadratmeter Wohnfläche. Der neue Mittelwert beträgt {} Euro je Quadratmeter Wohnfläche."},
    {&Answers::HeatingKind, 2, true, -0.07, "Ihre Wohnung verfügt über eine Nachtspeicherheizung. Dies führt zu einem Abschlag in Höhe von {} Euro je Quadratmeter Wohnfläche. Der neue Mittelwert beträgt {} Euro je Quadratmeter Wohnfläche."},
    {&Answers::HeatingKind, 3, true, -0.44, "Ihre Wohnung verfügt über Einzelöfen (Gas, Kohle, Öl). Dies führt zu einem Abschlag in Höhe von {} Euro je Quadratmeter Wohnfläche. Der neue Mittelwert beträgt {} Euro je Quadratmeter Wohnfläche."},
    {&Answers::HeatingKind, 4, true, -0.54, "Ihre Wohnung ist nur teilweise beheizt (Aufenthaltsräume wie Wohn- und Schlafräume) oder es wurde gar keine Heizung vom Vermieter gestellt. Dies führt zu einem Abschlag in Höhe von {} Euro je Quadratmeter Wohnfläche. Der neue Mittelwert beträgt {} Euro je Quadratmeter Wohnfläche."},
};

const FeatureRow kFurther[] = {
    {&Answers::CaptiveRooms,      1, true, -0.06, "Ihre Wohnung hat einen oder mehrere gefangene Räume (Räume, die nur direkt über vorgelagerte Wohnräume zu erreichen sind). Dies führt zu einem Abschlag in Höhe von {} Euro je Quadratmeter Wohnfläche."},
    {&Answers::NoKitchenHotWater, 1, true, -0.12, "Ihre Wohnung verfügt über kein fließend Warmwasser in der Küche. Dies führt zu einem Abschlag in Höhe von {} Euro je Quadratmeter Wohnfläche."},
    {&Answers::BalconyOrLoggia,   1, true, 0.08,  "Ihre Wohnung hat einen Balkon bzw. eine Loggia. Dies führt zu einem Zuschlag in Höhe von {} Euro je Quadratmeter Wohnfläche."},
    {&Answers::Terrace,           1, true, 0.23,  "Ihre Wohnung hat eine Terrasse bzw. Dachterrasse. Dies führt zu einem Zuschlag in Höhe von {} Euro je Quadratmeter Wohnfläche."},
    {&Answers::SoundproofWindows, 1, true, 0.21,  "Ihre Wohnung hat Schallschutzfenster, die das zur Schallreduktion vorgeschriebene bzw. zur Lärmreduktion erforderliche Maß erfüllen. Dies führt zu einem Zuschlag in Höhe von {} Euro je Quadratmeter Wohnfläche."},
    {&Answers::BarrierFree,       1, true, 0.07,  "Ihre Wohnung ist barrierefrei erreichbar, d. h. sie ist ohne Schwellen und Stufen erreichbar. Dies führt zu einem Zuschlag in Höhe von {} Euro je Quadratmeter Wohnfläche."},
    {&Answers::BarrierFree,       2, true, 0.30,  "Bei Ihrer Wohnung handelt es sich um eine barrierefrei erstellt oder modernisierte Wohnung. Dazu gehören u. a. eine bodengleiche Dusche und ein schwellenfreier Zugang zu Balkonen/Terrassen. Dies führt zu einem Zuschlag in Höhe von {} Euro je Quadratmeter Wohnfläche."},
};

const FeatureRow kModernisation[] = {
    {&Answers::Insulation,     1, true, 0.29, "An Ihrer Wohnung wurden nachträglich die Außenwände und das Dach in den Jahren 1980 bis 1994 gedämmt. Dies führt zu einem Zuschlag in Höhe von {} Euro je Quadratmeter Wohnfläche. Der Mittelwert Ihrer Wohnung beträgt {} Euro je Quadratmeter Wohnfläche.", kInsulationContradiction},
    {&Answers::Insulation,     2, true, 0.37, "An Ihrer Wohnung wurden nachträglich die Außenwände und das Dach in den Jahren 1995 bis 2001 gedämmt. Dies führt zu einem Zuschlag in Höhe von {} Euro je Quadratmeter Wohnfläche. Der Mittelwert Ihrer Wohnung beträgt {} Euro je Quadratmeter Wohnfläche.", kInsulationContradiction},
    {&Answers::Insulation,     3, true, 0.45, "An Ihrer Wohnung wurden nachträglich die Außenwände und das Dach in den Jahren seit 2002 gedämmt. Dies führt zu einem Zuschlag in Höhe von {} Euro je Quadratmeter Wohnfläche. Der Mittelwert Ihrer Wohnung beträgt {} Euro je Quadratmeter Wohnfläche.", kInsulationContradiction},
    {&Answers::HeatingRenewed, 1, true, 0.08, "Ihre Wohnung wurde heiztechnisch modernisiert: Erstmaliger/nachträglicher Einbau einer Heizungsanlage oder Erneuerung/Austausch der gesamten Heizungsanlage (Heizungskessel, Rohrleitungen und Heizkörper) 1995 oder später in Gebäuden mit Baujahr vor 1980. Dies führt zu einem Zuschlag in Höhe von {} Euro je Quadratmeter Wohnfläche. Der Mittelwert Ihrer Wohnung beträgt {} Euro je Quadratmeter Wohnfläche.", kHeatingContradiction},
    {&Answers::BathRenewed,    1, true, 0.07, "Ein erstmaliger Dusch- oder Badeinbau oder eine Baderneuerung-/-modernisierung (Neuverfliesung und Erneuerung aller Sanitärteile) Ihrer Wohnung fand seit 2000 statt. Dies führt zu einem Zuschlag in Höhe von {} Euro je Quadratmeter Wohnfläche. Der Mittelwert Ihrer Wohnung beträgt {} Euro je Quadratmeter Wohnfläche."},
};

const FeatureRow kEnvironment[] = {
    {&Answers::NoiseImpairment, 1, true, -0.09, "Sie haben angegeben, dass Ihre Wohnung durch Lärm aufgrund der Lage an einer viel befahrenen Straße (Durchgangsverkehr, Einfallstraße, Verbindungsstraße zwischen Stadtteilen) und/oder an einer viel befahrenen Eisenbahnlinie liegt. Dies führt zu einem Abschlag in Höhe von {} Euro je Quadratmeter Wohnfläche. Der Mittelwert Ihrer Wohnung beträgt {} Euro je Quadratmeter Wohnfläche."},
};

const FeatureRow kArea[] = {
    {&Answers::CityArea, 1, true,  0.56,  "Sie haben angegeben, dass Ihre Wohnung im Bereich Innenstadt-Mitte liegt. Dies führt zu einem Zuschlag in Höhe von {} Euro je Quadratmeter Wohnfläche. Der Mittelwert Ihrer Wohnung beträgt {} Euro je Quadratmeter Wohnfläche."},
    {&Answers::CityArea, 2, true,  -0.19, "Sie haben angegeben, dass Ihre Wohnung im Bereich Innenstadt-Nord liegt. Dies führt zu einem Abschlag in Höhe von {} Euro je Quadratmeter Wohnfläche. Der Mittelwert Ihrer Wohnung beträgt {} Euro je Quadratmeter Wohnfläche."},
    {&Answers::CityArea, 3, false, 0.0,   "Sie haben angegeben, dass Ihre Wohnung im Bereich Varlstadt-West liegt. Dies führt weder zu einem Zu- noch zu einem Abschlag. Der Mittelwert Ihrer Wohnung liegt daher weiterhin bei {} Euro je Quadratmeter Wohnfläche."},
    {&Answers::CityArea, 4, false, 0.0,   "Sie haben angegeben, dass Ihre Wohnung im Bereich Varlstadt-Nord liegt. Dies führt weder zu einem Zu- noch zu einem Abschlag. Der Mittelwert Ihrer Wohnung liegt daher weiterhin bei {} Euro je Quadratmeter Wohnfläche."},
    {&Answers::CityArea, 5, true,  0.13,  "Sie haben angegeben, dass Ihre Wohnung im Bereich Varlstadt-Ost liegt. Dies führt zu einem Zuschlag in Höhe von {} Euro je Quadratmeter Wohnfläche. Der Mittelwert Ihrer Wohnung beträgt {} Euro je Quadratmeter Wohnfläche."},
    {&Answers::CityArea, 6, true,  0.48,  "Sie haben angegeben, dass Ihre Wohnung im Bereich Varlstadt-Süd liegt. Dies führt zu einem Zuschlag in Höhe von {} Euro je Quadratmeter Wohnfläche. Der Mittelwert Ihrer Wohnung beträgt {} Euro je Quadratmeter Wohnfläche."},
    {&Answers::CityArea, 7, true,  0.21,  "Sie haben angegeben, dass Ihre Wohnung im Bereich Lindmoor liegt. Dies führt zu einem Zuschlag in Höhe von {} Euro je Quadratmeter Wohnfläche. Der Mittelwert Ihrer Wohnung beträgt {} Euro je Quadratmeter Wohnfläche."},
};

template <class T, std::size_t N> constexpr std::size_t CountOf(const T (&)[N]) {
    return N;
}

} // namespace

const std::array<FeatureSectionRow, 7> kFeatureSections = {{
    {"2. Bad-Ausstattung",
     "Standardmäßig sind die Wohnungen innerhalb des Geltungsbereiches des Mietspiegels mit einem Badezimmer und WC ausgestattet. Für eine gehobenere Bad-Ausstattung ergeben sich Zuschläge.",
     "Da Sie keine Angaben zu einer gehobeneren Bad-Ausstattung gemacht haben, erfolgt kein Zuschlag.",
     kBathroom, CountOf(kBathroom)},
    {"3. Bodenbeläge",
     "Standardmäßig verfügen die Wohnungen als überwiegend verwendetem Bodenbelag innerhalb der Wohn- und Schlafräume über Teppich, Laminat oder Kunststoffbeläge. Ausgenommen sind einfache PVC-Bodenbeläge. Für andere überwiegend verwendete Bodenbeläge ergeben sich Zu- bzw. Abschläge.",
     "Da Sie keine Angaben zu einem weiteren Bodenbelag gemacht haben, erfolgen weder Zu- noch Abschläge.",
     kFlooring, CountOf(kFlooring)},
    {"4. Beheizungsart",
     "Hinsichtlich der Beheizungsart sind die Wohnungen dieses Mietspiegels standardmäßig mit einer Zentral- oder Etagenheizung ausgestattet. Andere überwiegend vorhandene Beheizungsarten führen zu Abschlägen.",
     "Da Sie keine Angaben zu einer weiteren Beheizungsart gemacht haben, erfolgen weder Zu- noch Abschläge.",
     kHeating, CountOf(kHeating)},
    {"5. Weitere Zu- und Abschläge",
     "Hinsichtlich der Verglasung sämtlicher Fenster und Außentüren liegt den Wohnungen des Geltungsbereiches dieses Mietspiegels folgender Standard zugrunde: Isolierverglasung oder Wärmeschutzverglasung. Weitere Merkmale können zu Zu- und Abschlägen führen.",
     "Da Sie keine Angaben zu weiteren Zu- oder Abschlägen gemacht haben, erfolgt keine Änderung in der Höhe des Mietzinses.",
     kFurther, CountOf(kFurther),
     "Der Mittelwert Ihrer Wohnung beträgt {} Euro je Quadratmeter Wohnfläche.",
     "Bei folgenden Merkmalen, die im Rahmen der Mietspiegel-Erhebung abgefragt wurden, konnte kein Einfluss auf die Höhe der Miete statistisch belegt werden: Rolläden an allen Fenstern, Grünfläche zur allgemeinen oder alleinigen Nutzung, Gegengsprechanlage, Keller- oder Mansardenraum vorhanden, Anzahl der Wohneinheiten im Gebäude, Anzahl der Geschosse."},
    {"6. Modernisierungsmaßnahmen",
     "Für Modernisierungsmaßnahmen, die nach 1980 durchgeführt wurden, können sich Zuschläge ergeben. Modernisierungen sind nur zu berücksichtigen, wenn sie vom Vermieter durchgeführt wurden.",
     "Da Sie keine Angaben zu Modernisierungsmaßnahmen gemacht haben, werden keine Zuschläge vorgenommen.",
     kModernisation, CountOf(kModernisation)},
    {"7. Wohnumfeld",
     "Für die Qualität des Wohnumfeldes können sich Abschläge ergeben.",
     "Sie haben keine Angaben zum Wohnumfeld vorgenommen, daher wird kein Abschlag vorgenommen.",
     kEnvironment, CountOf(kEnvironment)},
    {"8. Gebietseinteilung",
     "Für die geografische Zugehörigkeit von Wohnungen zu einem Stadtgebiet können Zu- oder Abschläge zum Ansatz gebracht werden.",
     nullptr,
     kArea, CountOf(kArea)},
}};
// clang-format on

std::string AmountInSentence(double amount) {
    const long cents = std::lround(std::fabs(amount) * 100);
    std::string text = std::to_string(cents / 100) + ",";
    text += static_cast<char>('0' + cents % 100 / 10);
    text += static_cast<char>('0' + cents % 10);
    return text;
}

int FeatureChoiceCount(Choice Answers::*choice) {
    int count = 0;
    for (const FeatureSectionRow& section : kFeatureSections)
        for (std::size_t i = 0; i < section.featureCount; ++i)
            if (section.features[i].input.is(choice) && section.features[i].value > count)
                count = section.features[i].value;
    return count;
}

} // namespace msr

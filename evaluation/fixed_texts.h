#pragma once

#include <array>

#include "evaluation/report_document.h"

namespace msr {

// The association's web address, named in the report's last line and in the
// information dialog.
inline constexpr const char* kAssociationWebAddress = "www.kwl-hausgilde-varlstadt.de";

// A paragraph whose text does not depend on the answers.
struct FixedParagraph {
    ParagraphKind kind;
    const char* text;
};

extern const std::array<FixedParagraph, 11> kIntroduction;
extern const std::array<FixedParagraph, 3> kYearClassOpening;
extern const std::array<FixedParagraph, 4> kAdjustmentsIntroduction;
extern const std::array<FixedParagraph, 6> kClosingLines;

// The pieces of the year-class finding, around its period phrase and three figures.
struct YearClassSentence {
    static constexpr const char* kBeforePeriod = "Sie haben angegeben, dass Ihre Wohnung ";
    static constexpr const char* kBeforeLow =
        " errichtet wurde. Ihre Miete bewegt sich aufgrund des Baujahres innerhalb einer "
        "Spanne von ";
    static constexpr const char* kBeforeHigh = " bis ";
    static constexpr const char* kBeforeMean =
        " Euro je Quadratmeter Wohnfläche. Der Mittelwert beträgt ";
    static constexpr const char* kEnd = " Euro je Quadratmeter Wohnfläche.";
};

// Section 1: the flat's size.
struct SizeSectionTexts {
    static constexpr const char* kHeading = "1. Wohnungsgröße";
    static constexpr const char* kExplanation =
        "Die in diesem Mietspiegel ausgewiesenen Mietspannen beziehen sich auf Wohnungen mit "
        "einer Wohnfläche von 60,01 bis 110,00 Quadratmetern. Für kleinere Wohnungen und "
        "Appartements erfolgt in der Regel ein Zuschlag, für größere Wohnunen ein Abschlag.";
    static constexpr const char* kApartment =
        "Sie haben angegeben, dass es sich bei Ihrer Wohnung um ein Appartement handelt. Ein "
        "Appartement ist eine abgschlossene Einzimmerwohnung mit einer ausgestatteten "
        "Kochnische, Bad oder Dusche sowie WC mit einer maximalen Wohnfläche von 50,00 "
        "Quadratmetern. Daher wird für Ihre Wohnung (Appartement) ein Zuschlag in Höhe von 1,27 "
        "Euro je Quadratmeter Wohnfläche vorgenommen.";
    static constexpr const char* kBeforeLivingArea = "Aufgrund Ihrer Wohnungsgröße (";
};

// Every mean sentence ends with the mean and this.
inline constexpr const char* kMeanSuffix = " Euro je Quadratmeter Wohnfläche.";

// The final calculation's heading and the fixed pieces of its sentence, which take
// mean, low, high, living area and the three totals in this order.
inline constexpr const char* kFinalCalculationHeading = "Schlussberechnung";
extern const std::array<const char*, 8> kFinalSentencePieces;

} // namespace msr

#pragma once

#include <array>

#include "evaluation/document/report_document.h"

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

// The year-class finding: period phrase, low, high and mean.
inline constexpr const char* kYearClassSentence =
    "Sie haben angegeben, dass Ihre Wohnung {} errichtet wurde. Ihre Miete bewegt sich "
    "aufgrund des Baujahres innerhalb einer Spanne von {} bis {} Euro je Quadratmeter "
    "Wohnfläche. Der Mittelwert beträgt {} Euro je Quadratmeter Wohnfläche.";

// Section 1: the flat's size.
struct SizeSectionTexts {
    static constexpr const char* kHeading = "1. Wohnungsgröße";
    static constexpr const char* kExplanation =
        "Die in diesem Mietspiegel ausgewiesenen Mietspannen beziehen sich auf Wohnungen mit "
        "einer Wohnfläche von 60,01 bis 110,00 Quadratmetern. Für kleinere Wohnungen und "
        "Appartements erfolgt in der Regel ein Zuschlag, für größere Wohnunen ein Abschlag.";
};

// The final calculation's heading and its sentence, which names mean, low, high, the
// living area and the three totals (low, high, mean).
inline constexpr const char* kFinalCalculationHeading = "Schlussberechnung";
inline constexpr const char* kFinalSentence =
    "Ihre Angaben führen zu einem Miet-Mittelwert in Höhe von {} Euro je Quadratmeter "
    "Wohnfläche. Die Untergrenze beträgt {} Euro je Quadratmeter Wohnfläche, die Obergrenze {} "
    "Euro je Quadratmeter Wohnfläche. Bezogen auf die Größe Ihrer Wohnung in Höhe von {} "
    "Quadratmetern heißt dies, dass sich Ihre Miete in einem Bereich von {} Euro "
    "(Untergrenze) und {} Euro (Obergrenze) bewegt. Der Mittelwert der Gesamtmiete beträgt {} "
    "Euro.";

} // namespace msr

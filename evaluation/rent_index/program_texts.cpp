#include "evaluation/rent_index/program_texts.h"

#include "evaluation/rent_index/edition.h"
#include "evaluation/rent_index/fixed_texts.h"

#include <array>
#include <stdexcept>

namespace msr {
namespace {

const std::string kIndent = "     ";

// The edition's dates and the association's name, address and telephone come from the
// edition table, which the result box and the printed pages read too.
std::array<std::string, kInfoParagraphCount> MakeParagraphs() {
    const Edition& edition = RentIndexEdition();
    const std::string association = edition.association;
    const std::string address = edition.address;
    return {
        /*  1 */ "M i e t s p i e g e l",
        /*  2 */ "für nicht preisgebundene Wohnungen in Varlstadt",
        /*  3 */ "",
        /*  4 */ "Alle Rechte bei " + association + " " + edition.associationKind,
        /*  5 */ "",
        /*  6 */ std::string("Stand: ") + edition.stand,
        /*  7 */ "Laufzeit: bis " + GermanDate(edition.termEnd),
        /*  8 */ "",
        /*  9 */ "Der Mietspiegel wurde erstellt unter Mitwirkung der Interessenverbände:",
        /* 10 */
        "Tessmark Varlstadt e. V. - Haus-, Wohnungs- und Grundeigentümerverband, "
        "Kaiserwall 14, 38102 Varlstadt",
        /* 11 */ association + " " + edition.associationKind + ", " + address,
        /* 12 */ "Mieterverein Varlstadt und Umgebung e. V., Brückenstraße 23, 38100 Varlstadt",
        /* 13 */
        "Arbeitsgemeinschaft Varlstädter Wohnungsunternehmen, Am Hafenbecken 2, 38106 Varlstadt",
        /* 14 */
        "Der Gutachterausschuss für Grundstückswerte in der Stadt Varlstadt, "
        "Rathausplatz 1, 38100 Varlstadt",
        /* 15 */ "Stadt Varlstadt, Amt für Wohnungswesen, Rathausplatz 3, 38100 Varlstadt",
        /* 16 */ "",
        /* 17 */ "",
        /* 18 */ "Kontakt:",
        /* 19 */ kIndent + association,
        /* 20 */ kIndent + edition.associationKind,
        /* 21 */ kIndent + address,
        /* 22 */ kIndent + "Tel.: " + edition.telephone,
        /* 23 */ kIndent + "Internet: " + kAssociationWebAddress,
    };
}

} // namespace

std::string InfoParagraph(int number) {
    static const std::array<std::string, kInfoParagraphCount> paragraphs = MakeParagraphs();
    if (number < 1 || number > kInfoParagraphCount)
        throw std::out_of_range("no such paragraph of the information text");
    return paragraphs[static_cast<std::size_t>(number - 1)];
}

} // namespace msr

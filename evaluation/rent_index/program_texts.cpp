#include "evaluation/rent_index/program_texts.h"

#include "evaluation/rent_index/fixed_texts.h"

#include <array>
#include <stdexcept>

namespace msr {
namespace {

// The association's own address and telephone, shared by the list of bodies and the
// contact lines.
const std::string kAssociationAddress = "Lindengasse 7, 38100 Varlstadt";
const std::string kAssociationTelephone = "0 53 21 / 4 72 81-0";
const std::string kIndent = "     ";

std::array<std::string, kInfoParagraphCount> MakeParagraphs() {
    return {
        /*  1 */ "M i e t s p i e g e l",
        /*  2 */ "für nicht preisgebundene Wohnungen in Varlstadt",
        /*  3 */ "",
        /*  4 */ "Alle Rechte bei KWL Hausgilde Varlstadt e. V. - Mieterschutzverein -",
        /*  5 */ "",
        /*  6 */ "Stand: 1. Januar 2015",
        /*  7 */ "Laufzeit: bis 31.12.2016",
        /*  8 */ "",
        /*  9 */ "Der Mietspiegel wurde erstellt unter Mitwirkung der Interessenverbände:",
        /* 10 */
        "Tessmark Varlstadt e. V. - Haus-, Wohnungs- und Grundeigentümerverband, "
        "Kaiserwall 14, 38102 Varlstadt",
        /* 11 */ "KWL Hausgilde Varlstadt e. V. - Mieterschutzverein -, " + kAssociationAddress,
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
        /* 19 */ kIndent + "KWL Hausgilde Varlstadt e. V.",
        /* 20 */ kIndent + "- Mieterschutzverein -",
        /* 21 */ kIndent + kAssociationAddress,
        /* 22 */ kIndent + "Tel.: " + kAssociationTelephone,
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

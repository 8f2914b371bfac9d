#include "evaluation/rent_index/edition.h"

#include "evaluation/rent_index/fill.h"

#include <cmath>

namespace msr {

std::string AmountInSentence(double amount) {
    const long cents = std::lround(std::fabs(amount) * 100);
    std::string text = std::to_string(cents / 100) + ",";
    text += static_cast<char>('0' + cents % 100 / 10);
    text += static_cast<char>('0' + cents % 10);
    return text;
}

std::string EditionLine(const Edition& edition) {
    return Fill("Mietspiegel Stand {}, Laufzeit bis {}",
                {edition.stand, GermanDate(edition.termEnd)});
}

bool IsPastTerm(const Edition& edition, const CalendarDate& day) {
    return edition.termEnd < day;
}

std::string OutOfDateHeadline(const Edition& edition) {
    return Fill("Dieser Mietspiegel ist veraltet: Seine Laufzeit endete am {}.",
                {GermanDate(edition.termEnd)});
}

std::string OutOfDateNotice(const Edition& edition) {
    return OutOfDateHeadline(edition) +
           Fill(" Seine Zahlen gelten möglicherweise nicht mehr. Fragen Sie bei der {} nach dem "
                "Mietspiegel, der heute gilt.",
                {edition.publisher.association});
}

std::string AssociationContactLine(const Edition& edition) {
    const Publisher& publisher = edition.publisher;
    return Fill("{} {}, {}, Tel.: {}",
                {publisher.association, publisher.kind, publisher.address, publisher.telephone});
}

} // namespace msr

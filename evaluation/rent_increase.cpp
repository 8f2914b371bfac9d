#include "evaluation/rent_increase.h"

#include "evaluation/answers/blanks.h"
#include "evaluation/rent_comparison.h"
#include "evaluation/rent_index/fill.h"

#include <cstdint>

namespace msr {
namespace {

RentIncreaseCheck Refused(RentIncreaseField field, std::string message) {
    RentIncreaseCheck check;
    check.refusedField = field;
    check.refusal = std::move(message);
    return check;
}

// A rent as typed: nothing when empty, a refusal when it is no amount in Euro.
struct TypedRent {
    bool given = false;
    std::int64_t cents = 0;
};

std::optional<TypedRent> ReadRent(std::string_view text) {
    if (TrimBlanks(text).empty())
        return TypedRent{};
    const std::optional<std::int64_t> cents = RentCents(text);
    if (!cents || *cents <= 0)
        return std::nullopt;
    return TypedRent{true, *cents};
}

// "Obergrenze (§ 558 BGB) nach Mietspiegel Varlstadt 2015 (Stand …), gültig am 01.03.2016":
// the comparison names the edition it was made with.
std::string SpanHead(const SpanBasis& span) {
    const Edition& edition = *span.edition.edition;
    if (span.edition.outOfDate)
        return Fill(
            "Obergrenze (§ 558 BGB) nach {} (Stand {}), der neuesten Ausgabe am {}, deren "
            "Laufzeit schon am {} endete; fragen Sie nach dem Mietspiegel, der an diesem "
            "Tag galt",
            {edition.name, edition.stand, GermanDate(span.day), GermanDate(edition.termEnd)});
    return Fill("Obergrenze (§ 558 BGB) nach {} (Stand {}), gültig am {}",
                {edition.name, edition.stand, GermanDate(span.day)});
}

std::string SpanSentence(std::int64_t asked, const SpanBasis& span, const std::string& separator) {
    if (!span.edition)
        return Fill("Obergrenze (§ 558 BGB): Am {} galt keiner der Mietspiegel dieses Rechners. "
                    "Ob die verlangte Miete über der ortsüblichen Vergleichsmiete liegt, lässt "
                    "sich mit ihm nicht beurteilen. Kappungsgrenze und Fristen gelten unabhängig "
                    "davon.",
                    {GermanDate(span.day)});
    const std::optional<FinalFigureTexts>& printed = span.printed;
    const auto low = printed ? PrintedCents(printed->totalLow, separator) : std::nullopt;
    const auto high = printed ? PrintedCents(printed->totalHigh, separator) : std::nullopt;
    if (!low || !high)
        return SpanHead(span) + ": Für den Vergleich mit der Spanne fehlen noch Angaben zu Ihrer "
                                "Wohnung.";
    const std::string start =
        SpanHead(span) + Fill(": Die verlangten {} Euro liegen {} der Spanne von {} bis {} Euro.",
                              {EuroText(asked, separator),
                               asked < *low    ? "unterhalb"
                               : asked > *high ? "oberhalb"
                                               : "innerhalb",
                               printed->totalLow, printed->totalHigh});
    if (asked > *high)
        return start + Fill(" Über die Obergrenze von {} Euro hinaus lässt sich die Erhöhung mit "
                            "diesem Mietspiegel nicht begründen.",
                            {printed->totalHigh});
    return start + " Bis zur Obergrenze kann die Erhöhung mit diesem Mietspiegel begründet sein, "
                   "wenn Ihre Angaben zur Wohnung zutreffen.";
}

} // namespace

const char* RentIncreaseFieldName(RentIncreaseField field) {
    switch (field) {
    case RentIncreaseField::None:
        return "";
    case RentIncreaseField::CurrentRent:
        return "currentRent";
    case RentIncreaseField::AskedRent:
        return "askedRent";
    case RentIncreaseField::RentBefore:
        return "rentBefore";
    case RentIncreaseField::Received:
        return "received";
    case RentIncreaseField::Cap:
        return "cap";
    }
    return "";
}

CalendarDate ConsiderationEnds(const CalendarDate& received) {
    const int months = received.year * 12 + (received.month - 1) + 2;
    const int year = months / 12;
    const int month = months % 12 + 1;
    return {year, month, DaysInMonth(year, month)};
}

CalendarDate NewRentOwedFrom(const CalendarDate& received) {
    const int months = received.year * 12 + (received.month - 1) + 3;
    return {months / 12, months % 12 + 1, 1};
}

SpanBasis SpanForLetter(const RentIncreaseQuestion& question, const AdmittedAnswers& flat,
                        const RentIndexEditions& editions, const CalendarDate& today,
                        const std::string& separator) {
    SpanBasis span;
    span.day = ParseIsoDate(TrimBlanks(question.received)).value_or(today);
    span.edition = editions.inForceOn(span.day);
    if (!span.edition)
        return span;
    const AnswersEvaluation evaluation = EvaluateAnswers(flat, editions, span.day, separator);
    if (evaluation.status == AnswersEvaluation::Status::Evaluated)
        span.printed = FormatFinalFigures(evaluation.result, separator);
    return span;
}

RentIncreaseCheck CheckRentIncrease(const RentIncreaseQuestion& question, const SpanBasis& span,
                                    const std::string& separator) {
    const auto asked = ReadRent(question.askedRent);
    if (!asked)
        return Refused(RentIncreaseField::AskedRent,
                       "Bitte geben Sie die verlangte Nettokaltmiete in Euro an, zum Beispiel 480 "
                       "oder 480,50.");
    const auto current = ReadRent(question.currentRent);
    if (!current)
        return Refused(RentIncreaseField::CurrentRent,
                       "Bitte geben Sie Ihre jetzige Nettokaltmiete in Euro an, zum Beispiel 450 "
                       "oder 450,50.");
    const auto before = ReadRent(question.rentBefore);
    if (!before)
        return Refused(RentIncreaseField::RentBefore,
                       "Bitte geben Sie die Nettokaltmiete vor drei Jahren in Euro an, zum "
                       "Beispiel 400 oder 400,50, oder lassen Sie das Feld leer.");
    std::optional<CalendarDate> received;
    if (!TrimBlanks(question.received).empty()) {
        received = ParseIsoDate(TrimBlanks(question.received));
        if (!received)
            return Refused(RentIncreaseField::Received,
                           "Bitte geben Sie den Tag an, an dem das Erhöhungsschreiben bei Ihnen "
                           "eingegangen ist.");
    }
    if (question.capPercent != kGeneralCapPercent && question.capPercent != kLoweredCapPercent)
        return Refused(RentIncreaseField::Cap, "Die Kappungsgrenze beträgt 20 % oder 15 %.");
    if (!asked->given) {
        RentIncreaseCheck check;
        check.waiting = true;
        return check;
    }
    const TypedRent base = before->given ? *before : *current;
    if (!base.given)
        return Refused(RentIncreaseField::CurrentRent,
                       "Für die Kappungsgrenze geben Sie bitte Ihre jetzige Nettokaltmiete oder "
                       "die Nettokaltmiete vor drei Jahren an.");

    RentIncreaseCheck check;
    // The cap on the exact amount; shown rounded down to the cent, so that a rent at the
    // shown limit never exceeds it.
    const std::int64_t hundredfold = base.cents * (100 + question.capPercent);
    check.exceedsCap = asked->cents * 100 > hundredfold;
    check.capLimit = EuroText(hundredfold / 100, separator);
    check.capSentence = Fill(
        "Kappungsgrenze (§ 558 Abs. 3 BGB): Innerhalb von drei Jahren darf die Miete um "
        "höchstens {} % steigen, von {} Euro auf höchstens {} Euro. Die verlangten {} Euro "
        "liegen {}. Erhöhungen wegen Modernisierung oder Betriebskosten zählen dabei nicht "
        "mit.",
        {std::to_string(question.capPercent), EuroText(base.cents, separator), check.capLimit,
         EuroText(asked->cents, separator),
         check.exceedsCap ? "darüber: So weit ist die Erhöhung nicht zulässig" : "nicht darüber"});
    check.spanSentence = SpanSentence(asked->cents, span, separator);
    if (received) {
        check.considerUntil = GermanDate(ConsiderationEnds(*received));
        check.owedFrom = GermanDate(NewRentOwedFrom(*received));
        check.deadlineSentence =
            Fill("Fristen (§ 558b BGB): Ist das Schreiben am {} bei Ihnen eingegangen, können "
                 "Sie bis zum {} überlegen, ob Sie zustimmen. Die neue Miete schulden Sie "
                 "frühestens ab dem {}.",
                 {GermanDate(*received), check.considerUntil, check.owedFrom});
    }
    return check;
}

} // namespace msr

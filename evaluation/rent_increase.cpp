#include "evaluation/rent_increase.h"

#include "evaluation/answers/blanks.h"
#include "evaluation/rent_comparison.h"
#include "evaluation/rent_index/fill.h"

#include <algorithm>
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

std::string SpanSentence(std::int64_t asked, bool exceedsCap, const SpanBasis& span,
                         const std::string& separator) {
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
        SpanHead(span) +
        Fill(": Die verlangten {} Euro liegen {} der Spanne von {} bis {} Euro.",
             {GroupedEuroText(asked, separator),
              asked < *low    ? "unterhalb"
              : asked > *high ? "oberhalb"
                              : "innerhalb",
              GroupedEuroText(*low, separator), GroupedEuroText(*high, separator)});
    if (asked > *high)
        return start + Fill(" Über die Obergrenze von {} Euro hinaus lässt sich die Erhöhung mit "
                            "diesem Mietspiegel nicht begründen.",
                            {GroupedEuroText(*high, separator)});
    if (exceedsCap)
        return start + " Mit diesem Mietspiegel ließe sie sich begründen, die Kappungsgrenze "
                       "lässt sie aber nicht in voller Höhe zu.";
    return start + " Bis zur Obergrenze kann die Erhöhung mit diesem Mietspiegel begründet sein, "
                   "wenn Ihre Angaben zur Wohnung zutreffen.";
}

// The refusal of an amount: a point before cents named as such, else the field's own.
std::string AmountRefusal(std::string_view typed, const char* refusal) {
    return HasAmbiguousPoint(typed) ? AmbiguousAmount(typed) + "." : refusal;
}

// The one sentence that leads the check: the most the tenant would owe under these rules.
std::string Conclusion(std::int64_t asked, std::int64_t cap, std::optional<std::int64_t> high,
                       const std::string& separator) {
    const std::int64_t most = std::min(cap, high.value_or(cap));
    if (asked <= most)
        return Fill("Ergebnis: Nach diesen Regeln können Sie die verlangten {} Euro im Monat "
                    "schulden, wenn Ihre Angaben zutreffen{}.",
                    {GroupedEuroText(asked, separator),
                     high ? ""
                          : "; ob sie die ortsübliche Vergleichsmiete übersteigen, "
                            "lässt sich hier nicht beurteilen"});
    const char* limit = !high || cap < *high ? "durch die Kappungsgrenze"
                        : *high < cap        ? "durch die Obergrenze der Spanne"
                                             : "durch die Kappungsgrenze und die Obergrenze";
    return Fill("Ergebnis: Nach diesen Regeln schulden Sie höchstens {} Euro im Monat, nicht "
                "die verlangten {} Euro: Die Erhöhung ist {} begrenzt. Einer Erhöhung bis {} "
                "Euro können Sie zustimmen, dem Rest nicht.",
                {GroupedEuroText(most, separator), GroupedEuroText(asked, separator), limit,
                 GroupedEuroText(most, separator)});
}

// The deadlines a letter received on that day sets running, or, once the consideration is
// over, what follows from it.
std::string DeadlineSentence(const RentIncreaseCheck& check, const CalendarDate& received) {
    if (check.considerationOver)
        return Fill("Fristen (§ 558b BGB): Ist das Schreiben am {} bei Ihnen eingegangen, "
                    "endete Ihre Überlegungsfrist am {}. Schweigen gilt nicht als Zustimmung: "
                    "Haben Sie nicht zugestimmt, kann der Vermieter bis zum {} auf Zustimmung "
                    "klagen (§ 558b Abs. 2 BGB). Lassen Sie sich jetzt beraten.",
                    {GermanDate(received), check.considerUntil, check.sueUntil});
    return Fill("Fristen (§ 558b BGB): Ist das Schreiben am {} bei Ihnen eingegangen, können "
                "Sie bis zum {} überlegen, ob Sie zustimmen, auch nur einem Teil der Erhöhung. "
                "Die neue Miete schulden Sie frühestens ab dem {}. Schweigen gilt nicht als "
                "Zustimmung; stimmen Sie nicht zu, kann der Vermieter bis zum {} auf Zustimmung "
                "klagen (§ 558b Abs. 2 BGB).",
                {GermanDate(received), check.considerUntil, check.owedFrom, check.sueUntil});
}

// The year before a new letter and the 15 months before a new rent, counted from the day
// the last increase took effect; increases for modernisation or running costs reset neither.
std::string WaitingSentence(const CalendarDate& lastIncrease,
                            const std::optional<CalendarDate>& received) {
    const std::string head = Fill(
        "Sperrfristen (§ 558 Abs. 1 BGB): Gilt Ihre jetzige Miete seit dem {}, darf der "
        "Vermieter eine Erhöhung frühestens am {} verlangen, und die neue Miete gilt frühestens "
        "ab dem {}, wenn die Miete dann 15 Monate unverändert war.",
        {GermanDate(lastIncrease), GermanDate(EarliestLetterAfter(lastIncrease)),
         GermanDate(EarliestRiseAfter(lastIncrease))});
    std::string tail;
    if (received && *received < EarliestLetterAfter(lastIncrease))
        tail = Fill(" Ihr Schreiben ging schon am {} ein: So früh ist es unwirksam, und Sie "
                    "müssen ihm nicht zustimmen.",
                    {GermanDate(*received)});
    else if (received)
        tail = Fill(" Ihr Schreiben, eingegangen am {}, hält diese Frist ein.",
                    {GermanDate(*received)});
    return head + tail +
           " Erhöhungen wegen Modernisierung oder Betriebskosten zählen dabei nicht mit.";
}

// A letter within a year of the last increase asks nothing the tenant must agree to.
std::string TooEarlyConclusion(const TypedRent& current, const std::string& separator) {
    return Fill("Ergebnis: Das Schreiben kam früher als ein Jahr nach der letzten Mieterhöhung "
                "und ist deshalb unwirksam (§ 558 Abs. 1 BGB): Sie müssen ihm nicht zustimmen "
                "und schulden weiter Ihre jetzige Miete{}.",
                {current.given ? " von " + GroupedEuroText(current.cents, separator) + " Euro"
                               : std::string()});
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
    case RentIncreaseField::LastIncrease:
        return "lastIncrease";
    }
    return "";
}

SpanBasis SpanForLetter(const RentIncreaseQuestion& question, const AdmittedAnswers& flat,
                        const RentIndexEditions& editions, const CalendarDate& today,
                        const std::string& separator) {
    SpanBasis span;
    span.day = ParseDate(TrimBlanks(question.received)).value_or(today);
    span.edition = editions.inForceOn(span.day);
    if (!span.edition)
        return span;
    const AnswersEvaluation evaluation = EvaluateAnswers(flat, editions, span.day, separator);
    if (evaluation.status == AnswersEvaluation::Status::Evaluated)
        span.printed = FormatFinalFigures(evaluation.result, separator);
    return span;
}

RentIncreaseCheck CheckRentIncrease(const RentIncreaseQuestion& question, const SpanBasis& span,
                                    const CalendarDate& today, const std::string& separator) {
    const auto asked = ReadRent(question.askedRent);
    if (!asked)
        return Refused(RentIncreaseField::AskedRent,
                       AmountRefusal(question.askedRent,
                                     "Bitte geben Sie die verlangte Nettokaltmiete in Euro an, "
                                     "zum Beispiel 480 oder 480,50."));
    const auto current = ReadRent(question.currentRent);
    if (!current)
        return Refused(RentIncreaseField::CurrentRent,
                       AmountRefusal(question.currentRent,
                                     "Bitte geben Sie Ihre jetzige Nettokaltmiete in Euro an, "
                                     "zum Beispiel 450 oder 450,50."));
    const auto before = ReadRent(question.rentBefore);
    if (!before)
        return Refused(RentIncreaseField::RentBefore,
                       AmountRefusal(question.rentBefore,
                                     "Bitte geben Sie die Nettokaltmiete vor drei Jahren in Euro "
                                     "an, zum Beispiel 400 oder 400,50, oder lassen Sie das Feld "
                                     "leer."));
    std::optional<CalendarDate> received;
    if (!TrimBlanks(question.received).empty()) {
        std::string why;
        received = ReadReceipt(TrimBlanks(question.received), today, why);
        if (!received)
            return Refused(RentIncreaseField::Received, why);
    }
    std::optional<CalendarDate> lastIncrease;
    if (!TrimBlanks(question.lastIncrease).empty()) {
        std::string why;
        lastIncrease = ReadLastIncrease(TrimBlanks(question.lastIncrease), today, why);
        if (!lastIncrease)
            return Refused(RentIncreaseField::LastIncrease, why);
    }
    if (question.capPercent != kGeneralCapPercent && question.capPercent != kLoweredCapPercent)
        return Refused(RentIncreaseField::Cap, "Die Kappungsgrenze beträgt 20 % oder 15 %.");
    if (!asked->given) {
        RentIncreaseCheck check;
        check.waiting = true;
        return check;
    }
    if (const auto area =
            span.printed ? PrintedCents(span.printed->livingArea, separator) : std::nullopt;
        area && *area > 0 && !PlausiblePerSquareMetre(asked->cents, *area))
        return Refused(RentIncreaseField::AskedRent,
                       Fill("Die verlangten {} Euro wären {} Euro je Quadratmeter; bitte prüfen "
                            "Sie den Betrag.",
                            {GroupedEuroText(asked->cents, separator),
                             GroupedEuroText(PerSquareMetre(asked->cents, *area), separator)}));
    if (current->given && asked->cents <= current->cents) {
        RentIncreaseCheck check;
        check.noIncrease = true;
        check.conclusion = Fill(
            "Die verlangten {} Euro sind nicht mehr als Ihre jetzige "
            "Nettokaltmiete von {} Euro: Das ist keine Mieterhöhung, und "
            "Sie müssen ihr nicht zustimmen.",
            {GroupedEuroText(asked->cents, separator), GroupedEuroText(current->cents, separator)});
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
    const std::int64_t capCents = hundredfold / 100;
    check.exceedsCap = asked->cents * 100 > hundredfold;
    check.capLimit = EuroText(capCents, separator);
    const std::string capText = GroupedEuroText(capCents, separator);
    const std::string askedText = GroupedEuroText(asked->cents, separator);
    check.capSentence = Fill(
        "Kappungsgrenze (§ 558 Abs. 3 BGB): Innerhalb von drei Jahren darf die Miete um "
        "höchstens {} % steigen, von {} Euro auf höchstens {} Euro. Die verlangten {} Euro "
        "liegen {}. Erhöhungen wegen Modernisierung oder Betriebskosten zählen dabei nicht "
        "mit.",
        {std::to_string(question.capPercent), GroupedEuroText(base.cents, separator), capText,
         askedText,
         check.exceedsCap ? "darüber: So weit ist die Erhöhung nicht zulässig" : "nicht darüber"});
    const std::optional<std::int64_t> high = span.edition && span.printed
                                                 ? PrintedCents(span.printed->totalHigh, separator)
                                                 : std::nullopt;
    check.exceedsSpan = high && asked->cents > *high;
    check.spanSentence = SpanSentence(asked->cents, check.exceedsCap, span, separator);
    if (lastIncrease) {
        check.tooEarly = received && *received < EarliestLetterAfter(*lastIncrease);
        check.waitingSentence = WaitingSentence(*lastIncrease, received);
    }
    if (check.tooEarly) {
        check.breach = "Zu früh verlangt";
        check.conclusion = TooEarlyConclusion(*current, separator);
        if (current->given)
            check.mostOwed = EuroText(current->cents, separator);
        return check;
    }
    if (check.exceedsCap || check.exceedsSpan)
        check.breach = "Zu hoch verlangt";
    check.conclusion = Conclusion(asked->cents, capCents, high, separator);
    check.mostOwed =
        EuroText(std::min({asked->cents, capCents, high.value_or(capCents)}), separator);
    if (received) {
        CalendarDate owedFrom = NewRentOwedFrom(*received);
        if (lastIncrease && owedFrom < EarliestRiseAfter(*lastIncrease))
            owedFrom = EarliestRiseAfter(*lastIncrease);
        check.considerUntil = GermanDate(ConsiderationEnds(*received));
        check.owedFrom = GermanDate(owedFrom);
        check.sueUntil = GermanDate(SuingEnds(*received));
        check.considerationOver = ConsiderationEnds(*received) < today;
        check.deadlineSentence = DeadlineSentence(check, *received);
    }
    return check;
}

} // namespace msr

#pragma once

#include "evaluation/entry.h"
#include "evaluation/figures_record.h"
#include "evaluation/letter_deadlines.h"
#include "evaluation/rent_index/editions.h"

#include <optional>
#include <string>
#include <string_view>

// A landlord's request to raise the rent to the local comparative rent, checked against
// the cap of § 558 Abs. 3 BGB, the span of the flat, the waiting periods of § 558 Abs. 1
// BGB and the deadlines of § 558b BGB. The
// answers stay with the tenant: they are no part of the evaluation's answers.
namespace msr {

inline constexpr const char* kRentIncreaseDisclaimer = "Hinweise ohne Gewähr, keine Rechtsberatung";

// The cap in force: 20 % in general, 15 % where a state ordinance lowers it.
inline constexpr int kGeneralCapPercent = 20;
inline constexpr int kLoweredCapPercent = 15;

struct RentIncreaseQuestion {
    std::string_view currentRent; // "Jetzige Nettokaltmiete (Euro im Monat)"
    std::string_view askedRent;   // "Verlangte Nettokaltmiete (Euro im Monat)"
    std::string_view rentBefore;  // three years ago; empty: the current rent
    std::string_view received;    // the letter's day of receipt, "10.12.2026" or "2026-12-10"
    int capPercent = kGeneralCapPercent;
    std::string_view lastIncrease; // "Letzte Mieterhöhung wirksam seit"; empty: not known
};

// The answer a refusal belongs to, for the page to mark it.
enum class RentIncreaseField {
    None,
    CurrentRent,
    AskedRent,
    RentBefore,
    Received,
    Cap,
    LastIncrease
};

struct RentIncreaseCheck {
    bool waiting = false; // no asked rent yet: nothing to check
    RentIncreaseField refusedField = RentIncreaseField::None;
    std::string refusal; // German, with its full stop

    // The finding that comes first: the most the tenant would owe under these rules, the
    // lower of the cap and the span's upper bound, or that the letter asks no increase.
    std::string conclusion;
    std::string mostOwed;     // "480,00"; empty where no increase is asked
    bool noIncrease = false;  // the asked rent is not above the current one
    bool tooEarly = false;    // the letter came within a year of the last increase
    std::string breach;       // the word that marks a letter asking too much or too early
    std::string capLimit;     // the rent three years ago plus the cap, "480,00"
    bool exceedsCap = false;  // the asked rent lies above it
    bool exceedsSpan = false; // the asked rent lies above the span's upper bound
    std::string capSentence;
    std::string spanSentence;  // the asked rent against the span
    std::string considerUntil; // "28.02.2027"; empty without a day of receipt
    std::string owedFrom;      // "01.03.2027"
    std::string sueUntil;      // the landlord's last day to sue for consent, "31.05.2027"
    bool considerationOver = false;
    std::string deadlineSentence; // empty without a day of receipt
    std::string waitingSentence;  // empty without the day of the last increase
};

// The field's name in the page's data ("currentRent", "askedRent", ...).
const char* RentIncreaseFieldName(RentIncreaseField field);

// The span a letter is judged against: the edition in force on its day of receipt (today
// where it gives none), and the flat's figures under that edition, as printed, while the
// flat's answers give them.
struct SpanBasis {
    EditionInForce edition; // none: no edition of the rent index covers the day
    CalendarDate day;
    std::optional<FinalFigureTexts> printed;
};

// The span for this letter and flat: the edition chosen by the letter's day, the flat
// evaluated by it.
SpanBasis SpanForLetter(const RentIncreaseQuestion& question, const AdmittedAnswers& flat,
                        const RentIndexEditions& editions, const CalendarDate& today,
                        const std::string& decimalSeparator);

// The check against that span on the day today. The cap and the deadlines hold whatever
// the rent index.
RentIncreaseCheck CheckRentIncrease(const RentIncreaseQuestion& question, const SpanBasis& span,
                                    const CalendarDate& today, const std::string& decimalSeparator);

} // namespace msr

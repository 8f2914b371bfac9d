// A rent increase checked: the cap over three years, the asked rent against the span and
// the deadlines; and the edition whose term the page compares with today.

#include "evaluation/rent_comparison.h"
#include "evaluation/rent_increase.h"
#include "evaluation/rent_index/edition.h"
#include "evaluation/rent_index/program_texts.h"
#include "tests/core_check/core_check.h"
#include "tests/evaluation/west75_totals.h"
#include "tests/samples/built_in_edition.h"

#include <string>

namespace {

// The day the checks are made on: after every receipt of the table.
constexpr msr::CalendarDate kToday{2100, 1, 15};

msr::FinalFigureTexts West75WithArea() {
    msr::FinalFigureTexts texts = West75Totals();
    texts.livingArea = "75,00";
    return texts;
}

// The span of West75Totals() under the built-in edition, on a day of its term.
msr::SpanBasis InForce(std::optional<msr::FinalFigureTexts> printed = West75WithArea(),
                       msr::CalendarDate day = {2016, 3, 1}) {
    return {msr::test::BuiltInEditions().inForceOn(day), day, std::move(printed)};
}

struct Row {
    const char* name;
    const char* current;
    const char* asked;
    const char* before;
    const char* received;
    int cap;
    const char* capLimit; // nullptr: refused, the field named in `until`
    bool exceeds;
    const char* until;
    const char* from;
};

const Row kRows[] = {
    {"20 % over the rent three years ago", "450", "500", "400", "2026-12-10", 20, "480,00", true,
     "28.02.2027", "01.03.2027"},
    {"exactly the cap is allowed", "450", "480", "400", "", 20, "480,00", false, "", ""},
    {"15 % where an ordinance lowers it", "450", "470", "400", "", 15, "460,00", true, "", ""},
    {"empty base: the current rent", "400", "460,00", "", "", 15, "460,00", false, "", ""},
    {"blank base: the current rent", "400", "480,01", "  ", "", 20, "480,00", true, "", ""},
    {"the cap rounded down to the cent", "333,33", "383,33", "", "", 15, "383,32", true, "", ""},
    {"a cent below the exact cap", "333,33", "383,32", "", "", 15, "383,32", false, "", ""},
    {"received on 31 January", "450", "470", "", "2027-01-31", 20, "540,00", false, "31.03.2027",
     "01.04.2027"},
    {"received in December of a leap year's eve", "450", "470", "", "2027-12-01", 20, "540,00",
     false, "29.02.2028", "01.03.2028"},
    {"received in November", "450", "470", "", "2026-11-30", 20, "540,00", false, "31.01.2027",
     "01.02.2027"},
    {"received in a century's December, no leap year", "450", "470", "", "2099-12-15", 20, "540,00",
     false, "28.02.2100", "01.03.2100"},
    {"received in 2000's December, 2001 no leap year", "450", "470", "", "2001-12-31", 20, "540,00",
     false, "28.02.2002", "01.03.2002"},
    {"received before 2001: other rules", "450", "470", "", "31.12.2000", 20, nullptr, false,
     "received", ""},
    {"received after today", "450", "470", "", "16.01.2100", 20, nullptr, false, "received", ""},
    {"received today", "450", "470", "", "15.01.2100", 20, "540,00", false, "31.03.2100",
     "01.04.2100"},
    {"a day the calendar lacks, in German form", "450", "470", "", "29.02.2027", 20, nullptr, false,
     "received", ""},
    {"a point before cents is ambiguous", "450", "4.70", "", "", 20, nullptr, false, "askedRent",
     ""},
    {"a point before three digits groups thousands", "1.000", "1.100,50", "", "", 20, "1200,00",
     false, "", ""},
    {"a yearly rent is no monthly one", "450", "5.400", "", "", 20, nullptr, false, "askedRent",
     ""},
    {"received in October: the end of December", "450", "470", "", "2026-10-01", 20, "540,00",
     false, "31.12.2026", "01.01.2027"},
    {"asked rent no amount", "450", "viel", "", "", 20, nullptr, false, "askedRent", ""},
    {"current rent no amount", "45o", "470", "", "", 20, nullptr, false, "currentRent", ""},
    {"no base at all", "", "470", "", "", 20, nullptr, false, "currentRent", ""},
    {"base no amount", "450", "470", "0", "", 20, nullptr, false, "rentBefore", ""},
    {"29 February of a common year", "450", "470", "", "2027-02-29", 20, nullptr, false, "received",
     ""},
    {"a date in German form", "450", "470", "", "10.12.2026", 20, "540,00", false, "28.02.2027",
     "01.03.2027"},
    {"a cap of 10 %", "450", "470", "", "", 10, nullptr, false, "cap", ""},
};

CHECK_TEST(checksTheCapTheSpanAndTheDeadlines) {
    for (const Row& row : kRows) {
        CHECK_ROW(row.name);
        const msr::RentIncreaseCheck check =
            msr::CheckRentIncrease({row.current, row.asked, row.before, row.received, row.cap, ""},
                                   InForce(), kToday, ",");
        if (row.capLimit == nullptr) {
            CHECK_EQ(std::string(msr::RentIncreaseFieldName(check.refusedField)),
                     std::string(row.until));
            CHECK_EQ(check.refusal.back(), '.');
            continue;
        }
        CHECK_EQ(check.refusal, std::string());
        CHECK_EQ(check.capLimit, std::string(row.capLimit));
        CHECK_EQ(check.exceedsCap, row.exceeds);
        CHECK_EQ(check.considerUntil, std::string(row.until));
        CHECK_EQ(check.owedFrom, std::string(row.from));
        // The rules it rests on are named where they apply.
        CHECK_EQ(check.capSentence.rfind("Kappungsgrenze (§ 558 Abs. 3 BGB): ", 0), 0u);
        CHECK_EQ(check.spanSentence.rfind("Obergrenze (§ 558 BGB) nach Mietspiegel Varlstadt 2015 "
                                          "(Stand 1. Januar 2015), gültig am 01.03.2016: ",
                                          0),
                 0u);
        CHECK_EQ(check.deadlineSentence.empty() ||
                     check.deadlineSentence.rfind("Fristen (§ 558b BGB): ", 0) == 0,
                 true);
    }
}

CHECK_TEST(wordsTheCheckWithGermanFigures) {
    const msr::RentIncreaseCheck check = msr::CheckRentIncrease(
        {"450", "500", "400", "2026-12-10", 20, ""}, InForce(), {2026, 12, 12}, ",");
    CHECK_EQ(check.capSentence,
             std::string("Kappungsgrenze (§ 558 Abs. 3 BGB): Innerhalb von drei Jahren darf die "
                         "Miete um höchstens 20 % steigen, von 400,00 Euro auf höchstens 480,00 "
                         "Euro. Die verlangten 500,00 Euro liegen darüber: So weit ist die "
                         "Erhöhung nicht zulässig. Erhöhungen wegen Modernisierung oder "
                         "Betriebskosten zählen dabei nicht mit."));
    CHECK_EQ(check.spanSentence,
             std::string("Obergrenze (§ 558 BGB) nach Mietspiegel Varlstadt 2015 (Stand 1. Januar "
                         "2015), gültig am 01.03.2016: Die verlangten 500,00 Euro liegen "
                         "oberhalb der Spanne von 354,75 bis 478,50 Euro. Über die Obergrenze von "
                         "478,50 Euro hinaus lässt sich die Erhöhung mit diesem Mietspiegel nicht "
                         "begründen."));
    CHECK_EQ(check.deadlineSentence,
             std::string("Fristen (§ 558b BGB): Ist das Schreiben am 10.12.2026 bei Ihnen "
                         "eingegangen, können Sie bis zum 28.02.2027 überlegen, ob Sie zustimmen, "
                         "auch nur einem Teil der Erhöhung. Die neue Miete schulden Sie "
                         "frühestens ab dem 01.03.2027. Schweigen gilt nicht als Zustimmung; "
                         "stimmen Sie nicht zu, kann der Vermieter bis zum 31.05.2027 auf "
                         "Zustimmung klagen (§ 558b Abs. 2 BGB)."));
    // One conclusion first, the lower of cap and upper bound, which no later finding denies.
    CHECK_EQ(check.conclusion,
             std::string("Ergebnis: Nach diesen Regeln schulden Sie höchstens 478,50 Euro im "
                         "Monat, nicht die verlangten 500,00 Euro: Die Erhöhung ist durch die "
                         "Obergrenze der Spanne begrenzt. Einer Erhöhung bis 478,50 Euro können "
                         "Sie zustimmen, dem Rest nicht."));
    CHECK_EQ(check.mostOwed, std::string("478,50"));
    CHECK_EQ(check.exceedsSpan && check.exceedsCap, true);
    CHECK_EQ(std::string(msr::kRentIncreaseDisclaimer),
             std::string("Hinweise ohne Gewähr, keine Rechtsberatung"));
    // Without the flat's figures the span waits; nothing asked, nothing checked.
    CHECK_EQ(
        msr::CheckRentIncrease({"450", "470", "", "", 20, ""}, InForce(std::nullopt), kToday, ",")
            .spanSentence,
        std::string("Obergrenze (§ 558 BGB) nach Mietspiegel Varlstadt 2015 (Stand 1. Januar "
                    "2015), gültig am 01.03.2016: Für den Vergleich mit der Spanne "
                    "fehlen noch Angaben zu Ihrer Wohnung."));
    CHECK_EQ(msr::CheckRentIncrease({"450", "", "", "", 20, ""}, InForce(), kToday, ",").waiting,
             true);
}

// The span is the one of the edition in force on the letter's day; past its term it says
// so, and before every edition it cannot judge, while cap and deadlines still hold.
// What follows a finished consideration period, an increase that is none, and the cap
// below the span: each said plainly, amounts as a German writes them.
CHECK_TEST(saysWhatFollowsInPlainWords) {
    const msr::RentIncreaseCheck over = msr::CheckRentIncrease(
        {"450", "470", "", "01.09.2026", 20, ""}, InForce(), {2026, 12, 9}, ",");
    CHECK_EQ(over.considerationOver, true);
    CHECK_EQ(over.deadlineSentence,
             std::string("Fristen (§ 558b BGB): Ist das Schreiben am 01.09.2026 bei Ihnen "
                         "eingegangen, endete Ihre Überlegungsfrist am 30.11.2026. Schweigen gilt "
                         "nicht als Zustimmung: Haben Sie nicht zugestimmt, kann der Vermieter bis "
                         "zum 28.02.2027 auf Zustimmung klagen (§ 558b Abs. 2 BGB). Lassen Sie "
                         "sich jetzt beraten."));
    const msr::RentIncreaseCheck none =
        msr::CheckRentIncrease({"500", "450", "", "", 20, ""}, InForce(), kToday, ",");
    CHECK_EQ(none.noIncrease && none.capSentence.empty() && none.deadlineSentence.empty(), true);
    CHECK_EQ(none.conclusion, std::string("Die verlangten 450,00 Euro sind nicht mehr als Ihre "
                                          "jetzige Nettokaltmiete von 500,00 Euro: Das ist keine "
                                          "Mieterhöhung, und Sie müssen ihr nicht zustimmen."));
    const msr::RentIncreaseCheck capped =
        msr::CheckRentIncrease({"380", "470", "", "", 20, ""}, InForce(), kToday, ",");
    CHECK_EQ(capped.mostOwed, std::string("456,00"));
    CHECK_EQ(capped.spanSentence.find("Bis zur Obergrenze"), std::string::npos);
    CHECK_EQ(capped.conclusion.find("durch die Kappungsgrenze begrenzt") != std::string::npos,
             true);
    CHECK_EQ(msr::GroupedEuroText(9999954915, ","), std::string("99.999.549,15"));
    CHECK_EQ(msr::GroupedEuroText(100000, ","), std::string("1.000,00"));
    CHECK_EQ(msr::GroupedEuroText(99999, ","), std::string("999,99"));
}

// The year before a new letter and the 15 months before a new rent (§ 558 Abs. 1 BGB),
// counted from the day the last increase took effect; a shorter month ends the period on
// its last day, so the next begins on the first of the month after (§ 188 Abs. 3 BGB).
CHECK_TEST(countsTheWaitingPeriodsFromTheLastIncrease) {
    const struct {
        const char* name;
        const char* last;
        const char* received;
        const char* letterFrom; // nullptr: refused at the field
        const char* riseFrom;
        bool tooEarly;
        const char* owedFrom;
    } rows[] = {
        {"a month's first day", "01.03.2025", "", "01.03.2026", "01.06.2026", false, ""},
        {"the last of January: April has no 31st", "31.01.2025", "", "31.01.2026", "01.05.2026",
         false, ""},
        {"29 February: the year after has none", "29.02.2024", "", "01.03.2025", "29.05.2025",
         false, ""},
        {"a letter a day early is void", "01.03.2025", "28.02.2026", "01.03.2026", "01.06.2026",
         true, ""},
        {"a letter on the first day it may come", "01.03.2025", "01.03.2026", "01.03.2026",
         "01.06.2026", false, "01.06.2026"},
        {"15 months later than the third month", "01.10.2025", "01.10.2026", "01.10.2026",
         "01.01.2027", false, "01.01.2027"},
        {"15 months earlier than the third month", "01.01.2020", "10.12.2026", "01.01.2021",
         "01.04.2021", false, "01.03.2027"},
        {"a day the calendar lacks", "31.04.2025", "", nullptr, "", false, ""},
        {"after today", "16.01.2100", "", nullptr, "", false, ""},
        {"no date", "März 2025", "", nullptr, "", false, ""},
    };
    for (const auto& row : rows) {
        CHECK_ROW(row.name);
        msr::RentIncreaseQuestion question{"450", "470", "", row.received, 20, row.last};
        const msr::RentIncreaseCheck check =
            msr::CheckRentIncrease(question, InForce(), kToday, ",");
        if (row.letterFrom == nullptr) {
            CHECK_EQ(std::string(msr::RentIncreaseFieldName(check.refusedField)),
                     std::string("lastIncrease"));
            CHECK_EQ(check.refusal.back(), '.');
            continue;
        }
        const msr::CalendarDate last = *msr::ParseDate(row.last);
        CHECK_EQ(msr::GermanDate(msr::EarliestLetterAfter(last)), std::string(row.letterFrom));
        CHECK_EQ(msr::GermanDate(msr::EarliestRiseAfter(last)), std::string(row.riseFrom));
        CHECK_EQ(check.tooEarly, row.tooEarly);
        CHECK_EQ(check.owedFrom, std::string(row.owedFrom));
        CHECK_EQ(check.waitingSentence.rfind("Sperrfristen (§ 558 Abs. 1 BGB): Gilt Ihre jetzige "
                                             "Miete seit dem ",
                                             0),
                 0u);
        // A void letter sets no deadline running and leads with being void.
        CHECK_EQ(check.deadlineSentence.empty(), row.tooEarly || *row.received == '\0');
        CHECK_EQ(check.breach, std::string(row.tooEarly ? "Zu früh verlangt" : ""));
    }
    const msr::RentIncreaseCheck early = msr::CheckRentIncrease(
        {"450", "500", "", "28.02.2026", 20, "01.03.2025"}, InForce(), kToday, ",");
    CHECK_EQ(early.conclusion,
             std::string("Ergebnis: Das Schreiben kam früher als ein Jahr nach der letzten "
                         "Mieterhöhung und ist deshalb unwirksam (§ 558 Abs. 1 BGB): Sie müssen "
                         "ihm nicht zustimmen und schulden weiter Ihre jetzige Miete von 450,00 "
                         "Euro."));
    CHECK_EQ(early.waitingSentence,
             std::string("Sperrfristen (§ 558 Abs. 1 BGB): Gilt Ihre jetzige Miete seit dem "
                         "01.03.2025, darf der Vermieter eine Erhöhung frühestens am 01.03.2026 "
                         "verlangen, und die neue Miete gilt frühestens ab dem 01.06.2026, wenn "
                         "die Miete dann 15 Monate unverändert war. Ihr Schreiben ging schon am "
                         "28.02.2026 ein: So früh ist es unwirksam, und Sie müssen ihm nicht "
                         "zustimmen. Erhöhungen wegen Modernisierung oder Betriebskosten zählen "
                         "dabei nicht mit."));
}

CHECK_TEST(namesTheEditionTheSpanComesFrom) {
    const msr::RentIncreaseQuestion question{"450", "500", "400", "", 20, ""};
    CHECK_EQ(
        msr::CheckRentIncrease(question, InForce(West75Totals(), {2026, 12, 10}), kToday, ",")
            .spanSentence.rfind("Obergrenze (§ 558 BGB) nach Mietspiegel Varlstadt 2015 (Stand "
                                "1. Januar 2015), der neuesten Ausgabe am 10.12.2026, deren "
                                "Laufzeit schon am 31.12.2016 endete; fragen Sie nach dem "
                                "Mietspiegel, der an diesem Tag galt: Die verlangten ",
                                0),
        0u);
    const msr::RentIncreaseCheck before =
        msr::CheckRentIncrease(question, InForce(West75Totals(), {2014, 6, 30}), kToday, ",");
    CHECK_EQ(before.spanSentence,
             std::string("Obergrenze (§ 558 BGB): Am 30.06.2014 galt keiner der Mietspiegel "
                         "dieses Rechners. Ob die verlangte Miete über der ortsüblichen "
                         "Vergleichsmiete liegt, lässt sich mit ihm nicht beurteilen. "
                         "Kappungsgrenze und Fristen gelten unabhängig davon."));
    CHECK_EQ(before.capLimit, std::string("480,00"));
}

CHECK_TEST(knowsWhenTheTermHasEnded) {
    const msr::Edition& edition = msr::test::BuiltInEdition();
    const struct {
        const char* today;
        bool past;
    } rows[] = {
        {"2015-01-01", false}, {"2016-12-31", false}, {"2017-01-01", true}, {"2026-12-08", true}};
    for (const auto& row : rows) {
        CHECK_ROW(row.today);
        CHECK_EQ(msr::IsPastTerm(edition, *msr::ParseIsoDate(row.today)), row.past);
    }
    CHECK_EQ(msr::EditionLine(edition),
             std::string("Mietspiegel Stand 1. Januar 2015, Laufzeit bis 31.12.2016"));
    // The information text's holes are filled from the edition's own dates.
    CHECK_EQ(edition.information[5].text, std::string("Stand: 1. Januar 2015"));
    CHECK_EQ(edition.information[6].text, std::string("Laufzeit: bis 31.12.2016"));
    CHECK_EQ(msr::AssociationContactLine(edition),
             std::string("KWL Hausgilde Varlstadt e. V. - Mieterschutzverein -, Lindengasse 7, "
                         "38100 Varlstadt, Tel.: 0 53 21 / 4 72 81-0"));
}

} // namespace

CHECK_MAIN()

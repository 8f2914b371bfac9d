#include "evaluation/answers/answers_json.h"
#include "evaluation/entry.h"
#include "tests/samples/built_in_edition.h"

#include <QtTest>

#include <tuple>

using msr::Answers;
using msr::AnswersEvaluation;
using msr::AnswersReading;

Q_DECLARE_METATYPE(Answers)

namespace {

auto Fields(const Answers& a) {
    return std::tie(a.YearClass, a.Built1980Side, a.LivingArea, a.IsApartment, a.GuestToilet,
                    a.TubAndShower, a.FloorCovering, a.HeatingKind, a.CaptiveRooms,
                    a.NoKitchenHotWater, a.BalconyOrLoggia, a.Terrace, a.SoundproofWindows,
                    a.BarrierFree, a.HeatingRenewed, a.BathRenewed, a.Insulation, a.NoiseImpairment,
                    a.CityArea);
}

template <class Change> Answers With(Change change) {
    Answers answers;
    change(answers);
    return answers;
}

const char* const kSideMissing =
    "Sie haben angegeben, dass das Baujahr Ihrer Wohnung zwischen 1978 und 1994 liegt. Bitte "
    "geben Sie zusätzlich noch an, ob die Wohnung vor oder nach 1980 errichtet wurde.";
const char* const kApartmentTooLarge =
    "Ein Appartment darf eine maximale Größe von 50 Quadratmetern haben. Sie haben jedoch eine "
    "größere Quadratmeterzahl ausgewählt. Bitte korrigieren Sie Ihre Eingabe.";
const char* const kMissing =
    "Sie müssen vor der Auswertung das Baujahr und die Wohnungsröße festlegen sowie das Gebiet "
    "angeben, in dem sich die Wohnung befindet. Mindestens eine dieser Angaben fehlt.";

// The three answers without which the program does not evaluate.
const char* const kMandatory = R"("YearClass":1,"LivingArea":"75","CityArea":3)";

QByteArray WithMandatory(const char* more) {
    return QByteArray("{") + kMandatory + (*more ? "," : "") + more + "}";
}

} // namespace

class TestCliAnswers : public QObject {
    Q_OBJECT

private slots:
    void readsEveryInputIntoItsOwnField_data();
    void readsEveryInputIntoItsOwnField();
    void refusesWithTheProgramsTexts_data();
    void refusesWithTheProgramsTexts();
    void acceptsWhatTheDialogsLetThrough_data();
    void acceptsWhatTheDialogsLetThrough();
};

void TestCliAnswers::readsEveryInputIntoItsOwnField_data() {
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<Answers>("expected");

    QTest::newRow("empty object keeps start-up values") << QByteArray("{}") << Answers{};
    QTest::newRow("YearClass") << QByteArray(R"({"YearClass":7})")
                               << With([](Answers& a) { a.YearClass = 7; });
    QTest::newRow("Built1980Side")
        << QByteArray(R"({"YearClass":4,"Built1980Side":2})") << With([](Answers& a) {
               a.YearClass = 4;
               a.Built1980Side = 2;
           });
    QTest::newRow("LivingArea as typed")
        << QByteArray(R"({"LivingArea":" 7ä"})") << With([](Answers& a) { a.LivingArea = " 7ä"; });
    QTest::newRow("FloorCovering")
        << QByteArray(R"({"FloorCovering":4})") << With([](Answers& a) { a.FloorCovering = 4; });
    QTest::newRow("HeatingKind") << QByteArray(R"({"HeatingKind":3})")
                                 << With([](Answers& a) { a.HeatingKind = 3; });
    QTest::newRow("BarrierFree") << QByteArray(R"({"BarrierFree":2})")
                                 << With([](Answers& a) { a.BarrierFree = 2; });
    QTest::newRow("Insulation") << QByteArray(R"({"Insulation":1})")
                                << With([](Answers& a) { a.Insulation = 1; });
    QTest::newRow("CityArea") << QByteArray(R"({"CityArea":6})")
                              << With([](Answers& a) { a.CityArea = 6; });
    QTest::newRow("null choice is none")
        << QByteArray(R"({"CityArea":null,"Insulation":null})") << Answers{};
    QTest::newRow("integral number written as 2.0")
        << QByteArray(R"({"HeatingKind":2.0})") << With([](Answers& a) { a.HeatingKind = 2; });
    QTest::newRow("every yes/no input")
        << QByteArray(R"({"IsApartment":true,"GuestToilet":true,"TubAndShower":true,
                          "CaptiveRooms":true,"NoKitchenHotWater":true,"BalconyOrLoggia":true,
                          "Terrace":true,"SoundproofWindows":true,"HeatingRenewed":true,
                          "BathRenewed":true,"NoiseImpairment":true})")
        << With([](Answers& a) {
               a.IsApartment = a.GuestToilet = a.TubAndShower = a.CaptiveRooms = true;
               a.NoKitchenHotWater = a.BalconyOrLoggia = a.Terrace = true;
               a.SoundproofWindows = a.HeatingRenewed = a.BathRenewed = true;
               a.NoiseImpairment = true;
           });
    QTest::newRow("false stays false") << QByteArray(R"({"Terrace":false,"GuestToilet":true})")
                                       << With([](Answers& a) { a.GuestToilet = true; });
}

void TestCliAnswers::readsEveryInputIntoItsOwnField() {
    QFETCH(QByteArray, json);
    QFETCH(Answers, expected);

    const AnswersReading reading = msr::ReadAnswers(json.toStdString());

    QCOMPARE(reading.status, AnswersReading::Status::Read);
    QVERIFY(Fields(reading.answers) == Fields(expected));
}

void TestCliAnswers::refusesWithTheProgramsTexts_data() {
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<AnswersEvaluation::Status>("status");
    QTest::addColumn<QString>("message");
    const auto refused = AnswersEvaluation::Status::Refused;
    const auto notJson = AnswersEvaluation::Status::NotJson;

    // What the dialogs and the evaluation command refuse.
    QTest::newRow("1978 bis 1994 without side")
        << QByteArray(R"({"YearClass":4,"LivingArea":"75","CityArea":3})") << refused
        << QString(kSideMissing);
    QTest::newRow("decimal comma in the size") << WithMandatory(R"("LivingArea":"55,5")") << refused
                                               << QString("'55,5' ist kein gültiger Integerwert.");
    QTest::newRow("empty size") << WithMandatory(R"("LivingArea":"")") << refused
                                << QString("'' ist kein gültiger Integerwert.");
    QTest::newRow("size beyond 32 bits") << WithMandatory(R"("LivingArea":"2147483648")") << refused
                                         << QString("'2147483648' ist kein gültiger Integerwert.");
    QTest::newRow("placeholder is case-sensitive")
        << WithMandatory(R"("LivingArea":"quadratmeter")") << refused
        << QString("'quadratmeter' ist kein gültiger Integerwert.");
    QTest::newRow("size text ending in a bracket gets no full stop")
        << WithMandatory(R"("LivingArea":"(")") << refused
        << QString("'(' ist kein gültiger Integerwert.");
    QTest::newRow("apartment of 51") << WithMandatory(R"("LivingArea":"51","IsApartment":true)")
                                     << refused << QString(kApartmentTooLarge);
    QTest::newRow("no class") << QByteArray(R"({"LivingArea":"75","CityArea":3})") << refused
                              << QString(kMissing);
    QTest::newRow("no size") << QByteArray(R"({"YearClass":1,"CityArea":3})") << refused
                             << QString(kMissing);
    QTest::newRow("placeholder size")
        << WithMandatory(R"("LivingArea":"Quadratmeter")") << refused << QString(kMissing);
    QTest::newRow("placeholder with apartment closes the dialog silently")
        << QByteArray(R"({"YearClass":1,"IsApartment":true,"CityArea":3})") << refused
        << QString(kMissing);
    QTest::newRow("no area") << QByteArray(R"({"YearClass":1,"LivingArea":"75"})") << refused
                             << QString(kMissing);
    QTest::newRow("area null") << WithMandatory(R"("CityArea":null)") << refused
                               << QString(kMissing);
    QTest::newRow("nothing") << QByteArray("{}") << refused << QString(kMissing);

    // When several things are wrong, the first the program would meet: the dialogs
    // (construction year before size) before the evaluation command.
    QTest::newRow("side missing before size error")
        << QByteArray(R"({"YearClass":4,"LivingArea":"x"})") << refused << QString(kSideMissing);
    QTest::newRow("size error before missing area")
        << QByteArray(R"({"YearClass":1,"LivingArea":"55,5"})") << refused
        << QString("'55,5' ist kein gültiger Integerwert.");
    QTest::newRow("apartment before missing class")
        << QByteArray(R"({"LivingArea":"60","IsApartment":true})") << refused
        << QString(kApartmentTooLarge);

    // What the key checks refuse, before any of the program's checks.
    QTest::newRow("unknown key") << WithMandatory(R"("YearClas":4)") << refused
                                 << QString("Unbekannter Schlüssel \"YearClas\"");
    QTest::newRow("unknown key before side missing")
        << QByteArray(R"({"YearClass":4,"Area":1})") << refused
        << QString("Unbekannter Schlüssel \"Area\"");
    QTest::newRow("class out of range")
        << WithMandatory(R"("YearClass":8)") << refused
        << QString("Ungültiger Wert 8 für \"YearClass\": erlaubt sind die ganzen Zahlen 1 bis 7 "
                   "und null für keine Auswahl.");
    QTest::newRow("class zero") << QByteArray(R"({"YearClass":0})") << refused
                                << QString("Ungültiger Wert 0 für \"YearClass\": erlaubt sind "
                                           "die ganzen Zahlen 1 bis 7 und null für keine "
                                           "Auswahl.");
    QTest::newRow("choice not whole") << WithMandatory(R"("HeatingKind":2.5)") << refused
                                      << QString("Ungültiger Wert 2.5 für \"HeatingKind\": "
                                                 "erlaubt sind die ganzen Zahlen 1 bis 4 und "
                                                 "null für keine Auswahl.");
    QTest::newRow("choice as text") << WithMandatory(R"("BarrierFree":"1")") << refused
                                    << QString("Ungültiger Wert \"1\" für \"BarrierFree\": "
                                               "erlaubt sind die ganzen Zahlen 1 bis 2 und "
                                               "null für keine Auswahl.");
    QTest::newRow("insulation has three") << WithMandatory(R"("Insulation":4)") << refused
                                          << QString("Ungültiger Wert 4 für \"Insulation\": "
                                                     "erlaubt sind die ganzen Zahlen 1 bis 3 "
                                                     "und null für keine Auswahl.");
    QTest::newRow("yes/no as number") << WithMandatory(R"("GuestToilet":1)") << refused
                                      << QString("Ungültiger Wert 1 für \"GuestToilet\": "
                                                 "erlaubt sind true und false.");
    QTest::newRow("yes/no null") << WithMandatory(R"("Terrace":null)") << refused
                                 << QString("Ungültiger Wert null für \"Terrace\": erlaubt sind "
                                            "true und false.");
    QTest::newRow("size as number") << QByteArray(R"({"LivingArea":75})") << refused
                                    << QString("Ungültiger Wert 75 für \"LivingArea\": erwartet "
                                               "wird der Text, wie er eingegeben wurde, als "
                                               "Zeichenkette.");
    QTest::newRow("size of 0") << WithMandatory(R"("LivingArea":"0")") << refused
                               << QString("Die Wohnfläche muss mindestens 1 Quadratmeter "
                                          "betragen. Sie haben jedoch eine kleinere "
                                          "Quadratmeterzahl eingegeben. Bitte korrigieren Sie "
                                          "Ihre Eingabe.");
    QTest::newRow("first faulty key in questionnaire order")
        << QByteArray(R"({"CityArea":9,"YearClass":[1]})") << refused
        << QString("Ungültiger Wert [...] für \"YearClass\": erlaubt sind die ganzen Zahlen 1 "
                   "bis 7 und null für keine Auswahl.");
    QTest::newRow("side without 1978 bis 1994")
        << WithMandatory(R"("Built1980Side":1)") << refused
        << QString("\"Built1980Side\" ist nur zusammen mit \"YearClass\" 4 (1978 bis 1994) "
                   "erlaubt.");
    QTest::newRow("side without any class")
        << QByteArray(R"({"Built1980Side":2,"LivingArea":"75","CityArea":3})") << refused
        << QString("\"Built1980Side\" ist nur zusammen mit \"YearClass\" 4 (1978 bis 1994) "
                   "erlaubt.");

    // Not answers at all.
    QTest::newRow("broken JSON") << QByteArray(R"({"YearClass":1)") << notJson
                                 << QString("Ungültiges JSON bei Byte 14: Eingabe endet mitten in "
                                            "einer Zahl.");
    QTest::newRow("unterminated object") << QByteArray(R"({"LivingArea":"75" )") << notJson
                                         << QString("Ungültiges JSON bei Byte 19: Objekt nicht "
                                                    "mit } abgeschlossen.");
    QTest::newRow("only blanks") << QByteArray(" \r\n") << notJson
                                 << QString("Die Eingabe ist leer, erwartet wird ein JSON-Objekt "
                                            "mit Antworten.");
    QTest::newRow("missing colon") << QByteArray(R"({"a" 1})") << notJson
                                   << QString("Ungültiges JSON bei Byte 6: Doppelpunkt nach dem "
                                              "Schlüssel fehlt.");
    QTest::newRow("trailing garbage") << QByteArray("{} x") << notJson
                                      << QString("Ungültiges JSON bei Byte 4: weitere Zeichen "
                                                 "nach dem Ende des Objekts.");
    QTest::newRow("array") << QByteArray("[1]") << notJson
                           << QString("Die Antworten müssen ein JSON-Objekt sein.");
}

void TestCliAnswers::refusesWithTheProgramsTexts() {
    QFETCH(QByteArray, json);
    QFETCH(AnswersEvaluation::Status, status);
    QFETCH(QString, message);
    msr::ReportDocument document;
    document.appendBody("left from before");

    const AnswersEvaluation evaluation =
        msr::EvaluateAnswers(msr::AdmitAnswers(json.toStdString()), msr::test::BuiltInEditions(),
                             msr::test::kSomeDay, ",", &document);

    QCOMPARE(evaluation.status, status);
    QCOMPARE(QString::fromStdString(evaluation.message), message);
    QVERIFY(document.paragraphs().empty());
}

void TestCliAnswers::acceptsWhatTheDialogsLetThrough_data() {
    QTest::addColumn<QByteArray>("json");

    QTest::newRow("apartment of exactly 50") << WithMandatory(R"("LivingArea":"50",
                                                                  "IsApartment":true)");
    QTest::newRow("large flat without apartment") << WithMandatory(R"("LivingArea":"120")");
    QTest::newRow("one square metre") << WithMandatory(R"("LivingArea":"1")");
    QTest::newRow("1978 bis 1994 after 1980")
        << QByteArray(R"({"YearClass":4,"Built1980Side":2,"LivingArea":"75","CityArea":1})");
    QTest::newRow("every optional answer")
        << WithMandatory(R"("GuestToilet":true,"TubAndShower":true,"FloorCovering":3,
                           "HeatingKind":1,"CaptiveRooms":true,"NoKitchenHotWater":true,
                           "BalconyOrLoggia":true,"Terrace":true,"SoundproofWindows":true,
                           "BarrierFree":2,"HeatingRenewed":true,"BathRenewed":true,
                           "Insulation":3,"NoiseImpairment":true)");
}

void TestCliAnswers::acceptsWhatTheDialogsLetThrough() {
    QFETCH(QByteArray, json);
    msr::ReportDocument document;

    const AnswersEvaluation evaluation =
        msr::EvaluateAnswers(msr::AdmitAnswers(json.toStdString()), msr::test::BuiltInEditions(),
                             msr::test::kSomeDay, ",", &document);

    QCOMPARE(QString::fromStdString(evaluation.message), QString());
    QCOMPARE(evaluation.status, AnswersEvaluation::Status::Evaluated);
    QVERIFY(document.paragraphs().size() >= 68);
}

QTEST_APPLESS_MAIN(TestCliAnswers)
#include "test_cli_answers.moc"

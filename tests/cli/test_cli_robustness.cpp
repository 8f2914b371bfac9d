// Bad input, all of it tried: one test row for each row of docs/robustness.md, named by the
// number it has there (L: living-area text, J: JSON answers, B: batch lines, F: files and
// streams, P: the PDF file, E: environment).
#include "batch/batch.h"
#include "cli/run.h"
#include "evaluation/answers/answers_json.h"
#include "evaluation/answers/living_area.h"
#include "evaluation/document/report_rendering.h"
#include "evaluation/entry.h"
#include "evaluation/figures_record.h"
#include "evaluation/rent_index/figures.h"
#include "tests/samples/built_in_edition.h"

#include <QtTest>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

namespace {

const QByteArray kGood = R"({"YearClass":1,"LivingArea":"75","CityArea":1})";
const QByteArray kBlankLine = "Leere Zeile: erwartet wird je Zeile ein JSON-Objekt mit Antworten.";
const QByteArray kEmptyInput = "Die Eingabe ist leer, erwartet wird ein JSON-Objekt mit Antworten.";
const QByteArray kNoObject = "Die Antworten müssen ein JSON-Objekt sein.";
const QByteArray kTooLarge = "Die Eingabe ist zu groß: ein JSON-Objekt mit Antworten darf "
                             "höchstens 1048576 Bytes lang sein.";
const QByteArray kMandatoryMissing =
    "Sie müssen vor der Auswertung das Baujahr und die Wohnungsröße festlegen sowie das Gebiet "
    "angeben, in dem sich die Wohnung befindet. Mindestens eine dieser Angaben fehlt.";
const QByteArray kCannotWrite = "Die Ausgabe kann nicht geschrieben werden.";

// Exit statuses of the evaluator.
constexpr int kEvaluated = msr::cli::kEvaluated;
constexpr int kRefused = msr::cli::kRefused;
constexpr int kNotRead = msr::cli::kUsageOrInputFailed;

QByteArray IntegerMessage(const QByteArray& text) {
    return "'" + text + "' ist kein gültiger Integerwert";
}

QByteArray FloatMessage(const QByteArray& text) {
    return "'" + text + "' ist kein gültiger Gleitkommawert";
}

QByteArray Bytes(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Std(const QByteArray& bytes) {
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// The answers of kGood with the living area given as this text, in JSON.
QByteArray WithLivingArea(const QByteArray& text) {
    const QJsonObject answers{
        {"YearClass", 1}, {"LivingArea", QString::fromUtf8(text)}, {"CityArea", 1}};
    return QJsonDocument(answers).toJson(QJsonDocument::Compact);
}

// A valid object of answers padded with blanks to exactly this many bytes.
QByteArray GoodPaddedTo(qsizetype size) {
    QByteArray padded = kGood;
    padded.insert(1, QByteArray(size - kGood.size(), ' '));
    return padded;
}

struct Evaluation {
    int exitCode = -1; // as the evaluator would exit for this text
    QByteArray message;
    QByteArray json; // the report as --format json writes it, or {"error":..}
};

Evaluation Evaluate(const QByteArray& answers) {
    msr::ReportDocument document;
    const msr::AnswersEvaluation evaluation =
        msr::EvaluateAnswers(msr::AdmitAnswers(Std(answers)), msr::test::BuiltInEditions(),
                             msr::test::kSomeDay, ",", &document);
    // With the hint the command line adds to an unknown key.
    const std::string message = msr::WithUnknownKeyHint(evaluation.message, evaluation.unknownKey,
                                                        "; die erlaubten Schlüssel nennt --help");
    Evaluation result;
    std::string json;
    switch (evaluation.status) {
    case msr::AnswersEvaluation::Status::Evaluated:
        result.exitCode = kEvaluated;
        msr::AppendReportJson(document, msr::FormatFinalFigures(evaluation.result, ","),
                              evaluation.edition, false, ",", json);
        break;
    case msr::AnswersEvaluation::Status::Refused:
        result.exitCode = kRefused;
        msr::AppendErrorJson(message, json);
        break;
    case msr::AnswersEvaluation::Status::NotJson:
        result.exitCode = kNotRead;
        msr::AppendErrorJson(message, json);
        break;
    }
    if (evaluation.status != msr::AnswersEvaluation::Status::Evaluated &&
        !document.paragraphs().empty())
        result.exitCode = -2; // a refusal must not leave a report behind
    result.message = Bytes(message);
    result.json = Bytes(json);
    return result;
}

QByteArray ErrorLine(const QByteArray& message) {
    std::string line;
    msr::AppendErrorJson(Std(message), line);
    return Bytes(line);
}

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run RunInProcess(const std::vector<std::string>& arguments, std::istream& in) {
    std::ostringstream out;
    std::ostringstream err;
    Run run;
    run.exitCode = msr::cli::RunEvaluator(arguments, in, out, err, {",", {}, {}, {}, {}, {}, {}});
    run.out = Bytes(out.str());
    run.err = Bytes(err.str());
    return run;
}

Run RunInProcess(const std::vector<std::string>& arguments, const QByteArray& input) {
    std::istringstream in(Std(input));
    return RunInProcess(arguments, in);
}

QList<QByteArray> OutputLines(const QByteArray& output) {
    QList<QByteArray> lines = output.split('\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    else
        lines.append("(last line not ended)");
    return lines;
}

// Root may write anywhere; the child gives that up to meet a file it may not write.
void BecomeNobody() {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
        _exit(126);
}

// The evaluator as a program, with its standard output sent to a file when one is named.
Run RunProgram(const QStringList& arguments, const QByteArray& input,
               const QString& outputFile = {}, const QString& locale = "de_DE.UTF-8",
               bool asNobody = false) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LC_ALL", "LC_NUMERIC", "LC_CTYPE", "LANG", "LANGUAGE"})
        environment.remove(name);
    environment.insert("LC_ALL", locale);
    QProcess process;
    process.setProcessEnvironment(environment);
    if (asNobody)
        process.setChildProcessModifier(BecomeNobody);
    if (!outputFile.isEmpty())
        process.setStandardOutputFile(outputFile, QIODevice::Append);
    process.start(MSR_EVALUATOR, arguments);
    if (!process.waitForStarted())
        return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// A huge input made up as it is read, never held whole: a head, many blanks, a tail.
class MadeUpInput : public std::streambuf {
public:
    MadeUpInput(std::string head, std::size_t blanks, std::string tail)
        : head_(std::move(head)), blanks_(blanks), tail_(std::move(tail)) {
        std::fill(std::begin(blankRun_), std::end(blankRun_), ' ');
    }

protected:
    int_type underflow() override {
        if (step_ == 0) {
            step_ = 1;
            return Serve(head_.data(), head_.size());
        }
        if (step_ == 1 && blanks_ > 0) {
            const std::size_t n = std::min(blanks_, sizeof blankRun_);
            blanks_ -= n;
            return Serve(blankRun_, n);
        }
        if (step_ == 1) {
            step_ = 2;
            return Serve(tail_.data(), tail_.size());
        }
        return traits_type::eof();
    }

private:
    int_type Serve(char* from, std::size_t n) {
        setg(from, from, from + n);
        return traits_type::to_int_type(*from);
    }

    std::string head_;
    std::size_t blanks_;
    std::string tail_;
    int step_ = 0;
    char blankRun_[1 << 16];
};

long PeakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

class TestCliRobustness : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    // First, while the process is still small: what a huge line costs.
    void hugeLineCostsBoundedMemory_data();
    void hugeLineCostsBoundedMemory();
    void livingAreaText_data();
    void livingAreaText();
    void jsonAnswers_data();
    void jsonAnswers();
    void batchLines_data();
    void batchLines();
    void filesAndStreams_data();
    void filesAndStreams();
    void unreadableFile();
    void pdfFile_data();
    void pdfFile();
    void environment_data();
    void environment();

private:
    QTemporaryDir files_;
};

void TestCliRobustness::initTestCase() {
    QVERIFY(files_.isValid());
    QFile empty(files_.filePath("empty.json"));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    QFile good(files_.filePath("good.json"));
    QVERIFY(good.open(QIODevice::WriteOnly));
    good.write(kGood);
}

void TestCliRobustness::hugeLineCostsBoundedMemory_data() {
    QTest::addColumn<bool>("batch");
    QTest::newRow("J40 a line of 256 MB, batch") << true;
    QTest::newRow("J40 a text of 256 MB, single") << false;
}

void TestCliRobustness::hugeLineCostsBoundedMemory() {
    QFETCH(bool, batch);
    MadeUpInput input(R"({"YearClass":1,)", std::size_t{256} << 20, "}\n" + Std(kGood) + "\n");
    std::istream in(&input);
    const long before = PeakResidentKilobytes();

    const Run run =
        RunInProcess(batch ? std::vector<std::string>{"--batch"} : std::vector<std::string>{}, in);

    const long grownMegabytes = (PeakResidentKilobytes() - before) / 1024;
    QVERIFY2(grownMegabytes < 64, QByteArray::number(qlonglong(grownMegabytes)) + " MB");
    if (batch) {
        QCOMPARE(run.exitCode, kRefused);
        const QList<QByteArray> lines = OutputLines(run.out);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], ErrorLine(kTooLarge));
        QCOMPARE(lines[1], Evaluate(kGood).json);
    } else {
        QCOMPARE(run.exitCode, kNotRead);
        QCOMPARE(run.out, QByteArray());
        QCOMPARE(run.err.split('\n').first(), kTooLarge);
    }
}

void TestCliRobustness::livingAreaText_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QVariant>("whole"); // the size dialog's number; none: refused
    QTest::addColumn<QVariant>("area");  // the evaluation's number with a comma; none: refused
    QTest::addColumn<QByteArray>("evaluatorRefusal"); // empty: evaluated
    QTest::addColumn<QByteArray>("shown");            // the text as messages quote it
    const QVariant refused;
    const auto row = [](const char* name, const QByteArray& text, const QVariant& whole,
                        const QVariant& area, const QByteArray& shown = {}) {
        const QByteArray quoted = shown.isEmpty() ? text : shown;
        QTest::newRow(name) << text << whole << area
                            << (whole.isValid() ? QByteArray() : IntegerMessage(quoted) + ".")
                            << quoted;
    };
    const QByteArray tooSmall = "Die Wohnfläche muss mindestens 1 Quadratmeter betragen. Sie "
                                "haben jedoch eine kleinere Quadratmeterzahl eingegeben. Bitte "
                                "korrigieren Sie Ihre Eingabe.";

    row("L01 empty", "", refused, refused);
    row("L02 blanks only", "  \t ", refused, refused, "  \\u0009 ");
    row("L03 blanks and tabs around", " \t50 \t", 50, 50.0f);
    row("L04 no-break space before", "\u00a050", refused, refused);
    row("L05 line break after", "50\n", refused, refused, "50\\u000a");
    row("L06 plus sign", "+5", 5, 5.0f);
    QTest::newRow("L07 minus sign")
        << QByteArray("-3") << QVariant(-3) << QVariant(-3.0f) << tooSmall << QByteArray("-3");
    row("L08 sign only", "-", refused, refused);
    row("L09 two signs", "+-5", refused, refused);
    row("L10 blank after the sign", "- 5", refused, refused);
    row("L11 leading zeros", "007", 7, 7.0f);
    row("L12 decimal comma", "55,5", refused, 55.5f);
    row("L13 decimal point", "55.5", refused, refused);
    row("L14 thousands separator", "1.000", refused, refused);
    row("L15 exponent", "1e3", refused, 1000.0f);
    row("L16 hexadecimal", "0x10", refused, refused);
    row("L17 infinity", "inf", refused, refused);
    row("L18 not a number", "nan", refused, refused);
    row("L19 largest whole number", "2147483647", 2147483647, 2147483648.0f);
    row("L20 2147483648", "2147483648", refused, 2147483648.0f);
    QTest::newRow("L21 smallest whole number")
        << QByteArray("-2147483648") << QVariant(int(-2147483647 - 1)) << QVariant(-2147483648.0f)
        << tooSmall << QByteArray("-2147483648");
    row("L22 -2147483649", "-2147483649", refused, -2147483648.0f);
    row("L23 huge", "99999999999999999999999", refused, 99999999999999999999999.0f);
    row("L24 beyond 32-bit floats", "1e39", refused, refused);
    row("L25 beyond extended precision", "1e99999", refused, refused);
    row("L26 Arabic-Indic digits", "\u0663\u0665", refused, refused);
    row("L27 full-width digits", "\uff17\uff15", refused, refused);
    row("L28 NUL byte inside",
        QByteArray("7\0"
                   "5",
                   3),
        refused, refused, "7\\u00005");
    row("L29 very long digits", QByteArray(100000, '1'), refused, refused);
    row("L30 very long with leading zeros", QByteArray(100000, '0') + "75", 75, 75.0f);
    row("L31 letters after digits", "55qm", refused, refused);
    QTest::newRow("L32 the placeholder") << QByteArray("Quadratmeter") << refused << refused
                                         << kMandatoryMissing << QByteArray("Quadratmeter");
}

void TestCliRobustness::livingAreaText() {
    QFETCH(QByteArray, text);
    QFETCH(QVariant, whole);
    QFETCH(QVariant, area);
    QFETCH(QByteArray, evaluatorRefusal);
    QFETCH(QByteArray, shown);
    // The size dialog's OK and the evaluator's admission.
    try {
        const int number = msr::ToWholeNumber(Std(text));
        QVERIFY2(whole.isValid(), "accepted as a whole number");
        QCOMPARE(number, whole.toInt());
    } catch (const msr::ConversionError& error) {
        QVERIFY2(!whole.isValid(), error.what());
        QCOMPARE(QByteArray::fromStdString(error.message()), IntegerMessage(shown));
    }

    // The evaluation's reading, with the decimal comma.
    try {
        const float number = msr::ToLivingArea(Std(text), ",");
        QVERIFY2(area.isValid(), "accepted as a living area");
        QCOMPARE(number, area.toFloat());
    } catch (const msr::ConversionError& error) {
        QVERIFY2(!area.isValid(), error.what());
        QCOMPARE(QByteArray::fromStdString(error.message()), FloatMessage(shown));
    }

    // The evaluator with this text as "LivingArea".
    const Evaluation evaluation = Evaluate(WithLivingArea(text));
    if (evaluatorRefusal.isEmpty()) {
        QCOMPARE(evaluation.exitCode, kEvaluated);
        const QByteArray stated =
            "in Höhe von " + Bytes(msr::FormatFigure(area.toFloat(), ",")) + " Quadratmetern";
        QVERIFY2(evaluation.json.contains(stated), stated.constData());
    } else {
        QCOMPARE(evaluation.exitCode, kRefused);
        QCOMPARE(evaluation.message, evaluatorRefusal);
    }
}

void TestCliRobustness::jsonAnswers_data() {
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("message");      // for a refusal or a text that was not read
    QTest::addColumn<QByteArray>("equivalentTo"); // for an evaluation: the same as these answers

    const auto evaluated = [](const char* name, const QByteArray& json,
                              const QByteArray& equivalentTo = kGood) {
        QTest::newRow(name) << json << kEvaluated << QByteArray() << equivalentTo;
    };
    const auto refused = [](const char* name, const QByteArray& json, const QByteArray& message) {
        QTest::newRow(name) << json << kRefused << message << QByteArray();
    };
    const auto notRead = [](const char* name, const QByteArray& json, const QByteArray& message) {
        QTest::newRow(name) << json << kNotRead << message << QByteArray();
    };
    const QByteArray choiceOf7 = "\": erlaubt sind die ganzen Zahlen 1 bis 7 und null für keine "
                                 "Auswahl.";
    const QByteArray yesNo = "\": erlaubt sind true und false.";
    const QByteArray text = "\": erwartet wird der Text, wie er eingegeben wurde, als "
                            "Zeichenkette.";

    // Not an object of answers
    notRead("J01 empty", "", kEmptyInput);
    notRead("J02 blanks and line ends only", " \t\r\n ", kEmptyInput);
    notRead("J03 an array", R"([{"YearClass":1}])", kNoObject);
    notRead("J04 a number", "75", kNoObject);
    notRead("J05 a string", R"("75")", kNoObject);
    notRead("J06 null", "null", kNoObject);
    notRead("J07 true", "true", kNoObject);
    // Broken JSON
    notRead("J08 object not closed", R"({"YearClass":1,)",
            "Ungültiges JSON bei Byte 15: Objekt nicht mit } abgeschlossen.");
    notRead("J09 value missing", R"({"YearClass":})",
            "Ungültiges JSON bei Byte 14: Wert erwartet.");
    notRead("J10 comma before the end", R"({"YearClass":1,})",
            "Ungültiges JSON bei Byte 16: Wert erwartet.");
    notRead("J11 single quotes", "{'YearClass':1}",
            "Ungültiges JSON bei Byte 2: Objekt nicht mit } abgeschlossen.");
    notRead("J12 key without quotes", "{YearClass:1}",
            "Ungültiges JSON bei Byte 2: Objekt nicht mit } abgeschlossen.");
    notRead("J13 comment", R"({"YearClass":1 /* Altbau */})",
            "Ungültiges JSON bei Byte 16: Objekt nicht mit } abgeschlossen.");
    notRead("J14 characters after the object", kGood + " x",
            "Ungültiges JSON bei Byte 48: weitere Zeichen nach dem Ende des Objekts.");
    notRead("J15 two objects", kGood + kGood,
            "Ungültiges JSON bei Byte 47: weitere Zeichen nach dem Ende des Objekts.");
    // Wrong types
    refused("J16 choice as string", R"({"YearClass":"1"})",
            "Ungültiger Wert \"1\" für \"YearClass" + choiceOf7);
    refused("J17 choice as true", R"({"CityArea":true})",
            "Ungültiger Wert true für \"CityArea" + choiceOf7);
    refused("J18 choice as array", R"({"CityArea":[1]})",
            "Ungültiger Wert [...] für \"CityArea" + choiceOf7);
    refused("J19 choice as object", R"({"CityArea":{"n":1}})",
            "Ungültiger Wert {...} für \"CityArea" + choiceOf7);
    refused("J20 choice null is no choice", R"({"YearClass":1,"LivingArea":"75","CityArea":null})",
            kMandatoryMissing);
    refused("J21 yes/no as number", R"({"IsApartment":1})",
            "Ungültiger Wert 1 für \"IsApartment" + yesNo);
    refused("J22 yes/no as string", R"({"Terrace":"true"})",
            "Ungültiger Wert \"true\" für \"Terrace" + yesNo);
    refused("J23 yes/no null", R"({"Terrace":null})", "Ungültiger Wert null für \"Terrace" + yesNo);
    refused("J24 living area as number", R"({"LivingArea":75})",
            "Ungültiger Wert 75 für \"LivingArea" + text);
    refused("J25 living area null", R"({"LivingArea":null})",
            "Ungültiger Wert null für \"LivingArea" + text);
    refused("J26 living area as array", R"({"LivingArea":["75"]})",
            "Ungültiger Wert [...] für \"LivingArea" + text);
    // Numbers for choices
    refused("J27 choice 0", R"({"YearClass":0})", "Ungültiger Wert 0 für \"YearClass" + choiceOf7);
    refused("J28 choice beyond its group", R"({"YearClass":8})",
            "Ungültiger Wert 8 für \"YearClass" + choiceOf7);
    refused("J29 negative choice", R"({"CityArea":-1})",
            "Ungültiger Wert -1 für \"CityArea" + choiceOf7);
    refused("J30 choice 4.5", R"({"CityArea":4.5})",
            "Ungültiger Wert 4.5 für \"CityArea" + choiceOf7);
    refused("J31 choice -0", R"({"CityArea":-0})", "Ungültiger Wert 0 für \"CityArea" + choiceOf7);
    evaluated("J32 choice 1.0 and 1e0", R"({"YearClass":1.0,"LivingArea":"75","CityArea":1e0})");
    refused("J33 choice 1e400", R"({"CityArea":1e400})",
            "Ungültiger Wert 1e400 für \"CityArea" + choiceOf7);
    refused("J34 choice 1e-400", R"({"CityArea":1e-400})",
            "Ungültiger Wert 1e-400 für \"CityArea" + choiceOf7);
    refused("J35 choice 1e308", R"({"CityArea":1e308})",
            "Ungültiger Wert 1e+308 für \"CityArea" + choiceOf7);
    notRead("J36 choice with plus sign", R"({"CityArea":+1})",
            "Ungültiges JSON bei Byte 12: ungültige Zahl.");
    notRead("J37 choice NaN", R"({"CityArea":NaN})",
            "Ungültiges JSON bei Byte 12: ungültige Zahl.");
    // Keys
    refused("J38 unknown key", R"({"Baujahr":1})",
            "Unbekannter Schlüssel \"Baujahr\"; die erlaubten Schlüssel nennt --help.");
    refused("J39 key in other case", R"({"yearclass":1})",
            "Unbekannter Schlüssel \"yearclass\"; die erlaubten Schlüssel nennt --help.");
    evaluated("J41 key written with escapes",
              R"({"Y\u0065arClass":1,"LivingArea":"75","CityArea":1})");
    evaluated("J42 repeated key: the last counts",
              R"({"YearClass":7,"LivingArea":"75","CityArea":1,"YearClass":1})");
    refused("J43 side without 1978 bis 1994", R"({"YearClass":1,"Built1980Side":1})",
            "\"Built1980Side\" ist nur zusammen mit \"YearClass\" 4 (1978 bis 1994) erlaubt.");
    // Depth and size
    notRead("J44 nested 2000 deep", QByteArray(2000, '[') + QByteArray(2000, ']'),
            "Ungültiges JSON bei Byte 1025: zu tief verschachtelt.");
    notRead("J45 value nested 2000 deep",
            "{\"CityArea\":" + QByteArray(2000, '[') + QByteArray(2000, ']') + "}",
            "Ungültiges JSON bei Byte 1036: zu tief verschachtelt.");
    refused("J46 value nested 1000 deep",
            "{\"CityArea\":" + QByteArray(1000, '[') + QByteArray(1000, ']') + "}",
            "Ungültiger Wert [...] für \"CityArea" + choiceOf7);
    evaluated("J47 exactly 1048576 bytes", GoodPaddedTo(1048576));
    notRead("J48 one byte more", GoodPaddedTo(1048577), kTooLarge);
    // Encoding
    evaluated("J49 UTF-8 byte order mark", "\xef\xbb\xbf" + kGood);
    notRead("J50 UTF-16 little endian with byte order mark", QByteArray("\xff\xfe{\0}\0", 6),
            "Die Eingabe ist in UTF-16 kodiert, erwartet wird UTF-8.");
    notRead("J51 UTF-16 big endian with byte order mark", QByteArray("\xfe\xff\0{\0}", 6),
            "Die Eingabe ist in UTF-16 kodiert, erwartet wird UTF-8.");
    notRead("J52 UTF-16 without byte order mark", QByteArray("{\0}\0", 4),
            "Ungültiges JSON bei Byte 2: Objekt nicht mit } abgeschlossen.");
    notRead("J53 Latin-1 in a string", "{\"LivingArea\":\"75 m\xb2\"}",
            "Ungültiges JSON bei Byte 20: ungültiges UTF-8.");
    notRead("J54 overlong UTF-8", "{\"LivingArea\":\"\xc0\xb7\"}",
            "Ungültiges JSON bei Byte 16: ungültiges UTF-8.");
    notRead("J55 UTF-8 of a surrogate", "{\"LivingArea\":\"\xed\xa0\x80\"}",
            "Ungültiges JSON bei Byte 16: ungültiges UTF-8.");
    notRead("J56 bytes not UTF-8 outside strings", "\xff{}",
            "Ungültiges JSON bei Byte 1: ungültiger Wert.");
    refused("J57 escaped lone surrogate", R"({"YearClass":1,"LivingArea":"\ud800","CityArea":1})",
            "'?' ist kein gültiger Integerwert.");
    notRead("J58 NUL byte", QByteArray("{\"YearClass\":1\0}", 16),
            "Ungültiges JSON bei Byte 15: Objekt nicht mit } abgeschlossen.");
    notRead("J59 control character in a string", "{\"YearClass\":1,\"LivingArea\":\"7\x01\"}",
            "Ungültiges JSON bei Byte 31: Steuerzeichen in einer Zeichenkette.");
    evaluated("J60 Windows line ends", "{\r\n\"YearClass\":1,\r\n\"LivingArea\":\"75\",\r\n"
                                       "\"CityArea\":1\r\n}\r\n");
}

void TestCliRobustness::jsonAnswers() {
    QFETCH(QByteArray, json);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, message);
    QFETCH(QByteArray, equivalentTo);

    // One text of answers, as the library evaluates it.
    const Evaluation evaluation = Evaluate(json);
    QCOMPARE(evaluation.exitCode, exitCode);
    QCOMPARE(evaluation.message, message);
    if (exitCode == kEvaluated)
        QCOMPARE(evaluation.json, Evaluate(equivalentTo).json);

    // The whole run on standard input.
    const Run single = RunInProcess({}, json);
    QCOMPARE(single.exitCode, exitCode);
    if (exitCode == kEvaluated) {
        QCOMPARE(single.err, QByteArray());
        QVERIFY(!single.out.isEmpty());
    } else {
        QCOMPARE(single.out, QByteArray());
        QCOMPARE(single.err.split('\n').first(), message);
    }

    // One line among good ones in batch mode: answered in its place, and the run goes on.
    if (json.contains('\n'))
        return;
    const Run batch = RunInProcess({"--batch"}, kGood + "\n" + json + "\n" + kGood + "\n");
    QCOMPARE(batch.exitCode, exitCode == kEvaluated ? kEvaluated : kRefused);
    QCOMPARE(batch.err, exitCode == kEvaluated ? "3 Zeilen gelesen: 3 ausgewertet, 0 abgelehnt.\n"
                                               : "3 Zeilen gelesen: 2 ausgewertet, 1 abgelehnt.\n");
    const QList<QByteArray> lines = OutputLines(batch.out);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], Evaluate(kGood).json);
    const bool blank = json.trimmed().isEmpty();
    QCOMPARE(lines[1], blank ? ErrorLine(kBlankLine) : evaluation.json);
    QCOMPARE(lines[2], lines[0]);
    QVERIFY(!QJsonDocument::fromJson(lines[1]).isNull());
}

void TestCliRobustness::batchLines_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QList<QByteArray>>("answers"); // per output line: the answers it evaluates

    const QByteArray good = kGood;
    QTest::newRow("B01 no input") << QByteArray() << QList<QByteArray>{};
    QTest::newRow("B02 one line feed") << QByteArray("\n") << QList<QByteArray>{" "};
    QTest::newRow("B03 blank lines") << QByteArray(" \n\t\n") << QList<QByteArray>{" ", " "};
    QTest::newRow("B04 last line without line feed")
        << good + "\n" + good << QList<QByteArray>{good, good};
    QTest::newRow("B05 Windows line ends") << good + "\r\n\r\n" + good + "\r\n"
                                           << QList<QByteArray>{good, " ", good};
    QTest::newRow("B06 carriage return inside a line") << good + "\r" + good + "\n"
                                                       << QList<QByteArray>{good + "\r" + good};
    QTest::newRow("B07 bad lines between good ones")
        << good + "\nkaputt\n{}\n" + good + "\n"
        << QList<QByteArray>{good, "kaputt", "{}", good};
    QTest::newRow("B08 NUL bytes")
        << QByteArray("\0\0\n", 3) + good << QList<QByteArray>{QByteArray("\0\0", 2), good};
    for (const qsizetype size : {4095, 4096, 4097, 8193}) {
        const QByteArray name = "B09 a line of " + QByteArray::number(size) + " bytes";
        QTest::newRow(name.constData())
            << GoodPaddedTo(size) + "\n" + good << QList<QByteArray>{GoodPaddedTo(size), good};
    }
    QTest::newRow("B10 lines of 1048576 and 1048577 bytes")
        << GoodPaddedTo(1048576) + "\n" + GoodPaddedTo(1048577) + "\n" + good
        << QList<QByteArray>{GoodPaddedTo(1048576), GoodPaddedTo(1048577), good};
    QTest::newRow("B11 a line of 5 MB")
        << GoodPaddedTo(5 << 20) + "\n" + good << QList<QByteArray>{GoodPaddedTo(5 << 20), good};
}

void TestCliRobustness::batchLines() {
    QFETCH(QByteArray, input);
    QFETCH(QList<QByteArray>, answers);

    const Run run = RunInProcess({"--batch"}, input);

    const QList<QByteArray> lines = OutputLines(run.out);
    QCOMPARE(lines.size(), answers.size());
    qsizetype refused = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const bool blank = answers[i].trimmed().isEmpty() && !answers[i].contains('\0');
        const QByteArray expected = blank ? ErrorLine(kBlankLine) : Evaluate(answers[i]).json;
        QCOMPARE(lines[i], expected);
        refused += expected.startsWith(R"({"error")") ? 1 : 0;
    }
    // The run ends by counting its lines on the error stream, and says by its status
    // whether it refused any.
    QCOMPARE(run.exitCode, refused > 0 ? kRefused : kEvaluated);
    QCOMPARE(run.err, QByteArray::number(lines.size()) +
                          (lines.size() == 1 ? " Zeile" : " Zeilen") +
                          " gelesen: " + QByteArray::number(lines.size() - refused) +
                          " ausgewertet, " + QByteArray::number(refused) + " abgelehnt.\n");
}

void TestCliRobustness::filesAndStreams_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("outputFile"); // where standard output goes; empty: a pipe
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("message"); // the first line of standard error

    const QString good = files_.filePath("good.json");
    QTest::newRow("F01 missing file")
        << QStringList{files_.filePath("missing.json")} << QString() << kNotRead
        << "Die Datei \"" + files_.filePath("missing.json").toUtf8() +
               "\" kann nicht gelesen werden: Die Datei gibt es nicht.";
    QTest::newRow("F02 a directory")
        << QStringList{files_.path()} << QString() << kNotRead
        << "Die Datei \"" + files_.path().toUtf8() +
               "\" kann nicht gelesen werden: Das ist ein Verzeichnis.";
    const QString throughFile = good + "/answers.json";
    QTest::newRow("F04 a path through a file")
        << QStringList{throughFile} << QString() << kNotRead
        << "Die Datei \"" + throughFile.toUtf8() + "\" kann nicht gelesen werden.";
    QTest::newRow("F05 read error") << QStringList{"/proc/self/mem"} << QString() << kNotRead
                                    << QByteArray("Die Eingabe kann nicht gelesen werden.");
    QTest::newRow("F06 read error, batch")
        << QStringList{"--batch", "/proc/self/mem"} << QString() << kNotRead
        << QByteArray("Die Eingabe kann nicht gelesen werden.");
    QTest::newRow("F07 empty file")
        << QStringList{files_.filePath("empty.json")} << QString() << kNotRead << kEmptyInput;
    QTest::newRow("F08 endless file")
        << QStringList{"/dev/zero"} << QString() << kNotRead << kTooLarge;
    QTest::newRow("F09 output cannot be written")
        << QStringList{good} << "/dev/full" << kNotRead << kCannotWrite;
    QTest::newRow("F10 output cannot be written, batch")
        << QStringList{"--batch", good} << "/dev/full" << kNotRead << kCannotWrite;
    QTest::newRow("F11 output cannot be written, help")
        << QStringList{"--help"} << "/dev/full" << kNotRead << kCannotWrite;
    QTest::newRow("F12 a good file")
        << QStringList{good} << QString() << kEvaluated << QByteArray();
}

void TestCliRobustness::filesAndStreams() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, outputFile);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, message);

    const Run run = RunProgram(arguments, "not read", outputFile);

    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.err.split('\n').first(), message);
    QCOMPARE(run.out.isEmpty(), !(outputFile.isEmpty() && exitCode == kEvaluated));
}

// F03: without the right to read; root reads anything, so the test gives that right up.
void TestCliRobustness::unreadableFile() {
    const QString path = files_.filePath("unreadable.json");
    QFile::copy(files_.filePath("good.json"), path);
    QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
    const bool root = geteuid() == 0;
    if (root)
        QVERIFY(seteuid(65534) == 0); // nobody

    const Run run = RunInProcess({path.toStdString()}, QByteArray());

    if (root)
        QVERIFY(seteuid(0) == 0);
    QCOMPARE(run.exitCode, kNotRead);
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(run.err.split('\n').first(), "Die Datei \"" + path.toUtf8() +
                                              "\" kann nicht gelesen werden: Keine "
                                              "Leseberechtigung.");
}

void TestCliRobustness::pdfFile_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("answers");
    QTest::addColumn<bool>("asNobody"); // without the rights of root
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("message"); // a line of standard error

    const QString missingFolder = files_.filePath("fehlt/bericht.pdf");
    QTest::newRow("P01 folder does not exist")
        << QStringList{"--pdf", missingFolder} << kGood << false << kNotRead
        << "Die Datei \"" + missingFolder.toUtf8() +
               "\" kann nicht erstellt werden: Der Ordner \"" + files_.filePath("fehlt").toUtf8() +
               "\" existiert nicht.";
    QTest::newRow("P02 a directory")
        << QStringList{"--pdf", files_.path()} << kGood << false << kNotRead
        << "Die Datei \"" + files_.path().toUtf8() +
               "\" kann nicht erstellt werden: Unter diesem Namen gibt es schon einen Ordner.";
    const QString readOnly = files_.filePath("schreibgeschuetzt/bericht.pdf");
    QTest::newRow("P03 no right to write")
        << QStringList{"--pdf", readOnly} << kGood << true << kNotRead
        << "Die Datei \"" + readOnly.toUtf8() +
               "\" kann nicht erstellt werden: Keine Berechtigung, im Ordner \"" +
               files_.filePath("schreibgeschuetzt").toUtf8() + "\" zu schreiben.";
    QTest::newRow("P04 disk full")
        << QStringList{"--pdf", "/dev/full"} << kGood << false << kNotRead
        << QByteArray("Die Datei \"/dev/full\" kann nicht geschrieben werden: Der Datenträger "
                      "ist voll.");
    QTest::newRow("P05 empty name") << QStringList{"--pdf="} << kGood << false << kNotRead
                                    << QByteArray("Die Option --pdf braucht einen Dateinamen.");
    QTest::newRow("P06 with --batch")
        << QStringList{"--batch", "--pdf", files_.filePath("batch.pdf")} << kGood << false
        << kNotRead
        << QByteArray("--pdf schreibt die Seiten einer einzelnen Auswertung, mit --batch ist das "
                      "nicht möglich.");
    QTest::newRow("P07 refused answers")
        << QStringList{"--pdf", files_.filePath("refused.pdf")}
        << QByteArray(R"({"LivingArea":"75"})") << false << kRefused << kMandatoryMissing;
}

void TestCliRobustness::pdfFile() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, answers);
    QFETCH(bool, asNobody);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, message);
    const QString folder = files_.filePath("schreibgeschuetzt");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                              QFileDevice::ReadOther | QFileDevice::ExeOther));
    QVERIFY(QFile::setPermissions(files_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                     QFileDevice::ExeOwner |
                                                     QFileDevice::ExeOther));

    const Run run = RunProgram(arguments, answers, {}, "de_DE.UTF-8", asNobody);

    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.out, QByteArray());
    QVERIFY2(run.err.split('\n').contains(message), run.err.constData());
    const QString pdf = arguments.value(arguments.indexOf("--pdf") + 1);
    if (exitCode == kRefused)
        QVERIFY(!QFile::exists(pdf));
}

void TestCliRobustness::environment_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QByteArray>("livingArea"); // as the final sentence states it

    QTest::newRow("E01 German locale") << "de_DE.UTF-8" << QByteArray("75,00");
    QTest::newRow("E02 unknown locale") << "xx_YY.UTF-8" << QByteArray("75.00");
    QTest::newRow("E03 malformed locale") << "@@@" << QByteArray("75.00");
    QTest::newRow("E04 empty locale") << "" << QByteArray("75.00");
}

void TestCliRobustness::environment() {
    QFETCH(QString, locale);
    QFETCH(QByteArray, livingArea);

    const Run run = RunProgram({}, kGood, {}, locale);

    QCOMPARE(run.exitCode, kEvaluated);
    QCOMPARE(run.err, QByteArray());
    QVERIFY(run.out.contains("in Höhe von " + livingArea + " Quadratmetern"));
}

QTEST_GUILESS_MAIN(TestCliRobustness)
#include "test_cli_robustness.moc"

#include <QtTest>

namespace {

struct Finished {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

using Locale = QMap<QString, QString>;

const Locale kGerman{{"LC_ALL", "de_DE.UTF-8"}};
const Locale kC{{"LC_ALL", "C"}};

const QByteArray kClass4 = R"({"YearClass":4,"Built1980Side":1,"LivingArea":"75","CityArea":3})";

Finished RunEvaluator(const QStringList& arguments, const QByteArray& input,
                      const Locale& locale = kGerman) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LC_ALL", "LC_NUMERIC", "LC_CTYPE", "LANG", "LANGUAGE"})
        environment.remove(name);
    for (auto it = locale.begin(); it != locale.end(); ++it)
        environment.insert(it.key(), it.value());
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(MSR_EVALUATOR, arguments);
    if (!process.waitForStarted())
        return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QByteArray FinalSentence(const QByteArray& out) {
    const QList<QByteArray> lines = out.split('\n');
    const qsizetype heading = lines.indexOf("Schlussberechnung");
    return lines.value(heading + 1);
}

} // namespace

class TestCliProcess : public QObject {
    Q_OBJECT

private slots:
    void followsTheLocalesDecimalSeparator_data();
    void followsTheLocalesDecimalSeparator();
    void exitsWithStatusAndMessage_data();
    void exitsWithStatusAndMessage();
    void readsTheNamedFile();
    void answersEveryBatchLine();
    void evaluatesASheetRowByRow_data();
    void evaluatesASheetRowByRow();
    void readsTheTemplateSheet();
    void replacesTheOutputFileOnlyAfterARun_data();
    void replacesTheOutputFileOnlyAfterARun();
    void printsHelp();
    void printsVersion();
    void writesPdfWhateverPlatformIsInherited_data();
    void writesPdfWhateverPlatformIsInherited();
};

void TestCliProcess::followsTheLocalesDecimalSeparator_data() {
    QTest::addColumn<Locale>("locale");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("totals");

    const QByteArray comma = "354,75 Euro (Untergrenze) und 478,50";
    const QByteArray point = "354.75 Euro (Untergrenze) und 478.50";
    QTest::newRow("LC_ALL German") << kGerman << QStringList{} << comma;
    QTest::newRow("LC_ALL C") << kC << QStringList{} << point;
    QTest::newRow("LANG German") << Locale{{"LANG", "de_DE.UTF-8"}} << QStringList{} << comma;
    QTest::newRow("LC_NUMERIC over LANG")
        << Locale{{"LANG", "C.UTF-8"}, {"LC_NUMERIC", "de_DE.UTF-8"}} << QStringList{} << comma;
    QTest::newRow("LC_ALL over LC_NUMERIC")
        << Locale{{"LC_ALL", "en_US.UTF-8"}, {"LC_NUMERIC", "de_DE.UTF-8"}} << QStringList{}
        << point;
    // A cron job's C locale writing the German table, and the other way round.
    QTest::newRow("comma chosen over C") << kC << QStringList{"--decimal-separator=,"} << comma;
    QTest::newRow("point chosen over German")
        << kGerman << QStringList{"--decimal-separator", "."} << point;
}

void TestCliProcess::followsTheLocalesDecimalSeparator() {
    QFETCH(Locale, locale);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, totals);

    // kClass4 with its numbers written as JSON also allows: read by JSON's grammar, not by
    // the C library's locale, whose decimal point is a comma in German.
    const Finished run = RunEvaluator(
        arguments, R"({"YearClass":4.0,"Built1980Side":1e0,"LivingArea":"75","CityArea":30E-1})",
        locale);

    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(FinalSentence(run.out).contains(totals), FinalSentence(run.out).constData());
    // UTF-8 whatever the locale
    QVERIFY(run.out.contains("Wohnfl\xc3\xa4"
                             "che"));
}

void TestCliProcess::exitsWithStatusAndMessage_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("err"); // the first line of standard error
    QTest::addColumn<bool>("usage");     // followed by the synopsis

    QTest::newRow("refused size") << QStringList{}
                                  << QByteArray(R"({"YearClass":1,"LivingArea":"55,5"})") << 1
                                  << QByteArray("'55,5' ist kein gültiger Integerwert.") << false;
    QTest::newRow("refused side, json asked")
        << QStringList{"--format", "json"} << QByteArray(R"({"YearClass":4})") << 1
        << QByteArray("Sie haben angegeben, dass das Baujahr Ihrer Wohnung zwischen 1978 und "
                      "1994 liegt. Bitte geben Sie zusätzlich noch an, ob die Wohnung vor oder "
                      "nach 1980 errichtet wurde.")
        << false;
    QTest::newRow("missing area") << QStringList{}
                                  << QByteArray(R"({"YearClass":1,"LivingArea":"75"})") << 1
                                  << QByteArray("Sie müssen vor der Auswertung das Baujahr und "
                                                "die Wohnungsröße festlegen sowie das Gebiet "
                                                "angeben, in dem sich die Wohnung befindet. "
                                                "Mindestens eine dieser Angaben fehlt.")
                                  << false;
    QTest::newRow("unknown key") << QStringList{} << QByteArray(R"({"Baujahr":1})") << 1
                                 << QByteArray("Unbekannter Schlüssel \"Baujahr\"; die erlaubten "
                                               "Schlüssel nennt --help.")
                                 << false;
    QTest::newRow("invalid JSON") << QStringList{} << QByteArray("{\"YearClass\":}") << 2
                                  << QByteArray("Ungültiges JSON bei Byte 14: Wert erwartet.")
                                  << true;
    QTest::newRow("empty input") << QStringList{} << QByteArray() << 2
                                 << QByteArray(
                                        "Die Eingabe ist leer, erwartet wird ein JSON-Objekt mit "
                                        "Antworten.")
                                 << true;
    QTest::newRow("bad option") << QStringList{"--pretty"} << kClass4 << 2
                                << QByteArray(
                                       "Unbekannte Option \"--pretty\"; die Optionen nennt --help.")
                                << true;
    QTest::newRow("missing file") << QStringList{"/nonexistent/answers.json"} << QByteArray() << 2
                                  << QByteArray("Die Datei \"/nonexistent/answers.json\" kann "
                                                "nicht gelesen werden: Die Datei gibt es nicht.")
                                  << true;
    QTest::newRow("directory") << QStringList{"/"} << QByteArray() << 2
                               << QByteArray("Die Datei \"/\" kann nicht gelesen werden: Das ist "
                                             "ein Verzeichnis.")
                               << true;
}

void TestCliProcess::exitsWithStatusAndMessage() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, err);
    QFETCH(bool, usage);

    const Finished run = RunEvaluator(arguments, input);

    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.out, QByteArray());
    const QList<QByteArray> lines = run.err.split('\n');
    QCOMPARE(lines.first(), err);
    QCOMPARE(lines.value(1).startsWith("Aufruf: mietspiegel-auswertung"), usage);
}

void TestCliProcess::readsTheNamedFile() {
    QTemporaryFile file;
    QVERIFY(file.open());
    file.write(kClass4);
    file.close();

    const Finished run = RunEvaluator({"--format=json", file.fileName()}, "not read");

    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.endsWith("}}\n"));
    QCOMPARE(run.out.count('\n'), 1);
    const QJsonObject answer = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(answer.value("paragraphs").toArray().size(), 68);
}

void TestCliProcess::answersEveryBatchLine() {
    const Finished run = RunEvaluator({"--batch"}, kClass4 + "\nkaputt\n" + kClass4 + "\n");

    QCOMPARE(run.err, QByteArray("3 Zeilen gelesen: 2 ausgewertet, 1 abgelehnt.\n"));
    QCOMPARE(run.exitCode, 1);
    const QList<QByteArray> lines = run.out.split('\n');
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines[0].startsWith("{\"paragraphs\":["));
    QCOMPARE(lines[1], QByteArray(R"({"error":"Ungültiges JSON bei Byte 1: ungültiger Wert."})"));
    QCOMPARE(lines[2], lines[0]);
    QCOMPARE(lines[3], QByteArray());
}

// The cells of a table as a spreadsheet's import dialog splits it with every separator
// ticked that LibreOffice ticks (Tab, comma and semicolon), double quotes kept together.
QList<QByteArrayList> ImportedCells(const QByteArray& table) {
    QList<QByteArrayList> rows;
    QByteArrayList cells{QByteArray()};
    bool quoted = false;
    for (qsizetype i = 0; i < table.size(); ++i) {
        const char c = table[i];
        if (c == '"' && quoted && i + 1 < table.size() && table[i + 1] == '"')
            cells.last() += table[++i];
        else if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == '\t' || c == ',' || c == ';'))
            cells.append(QByteArray());
        else if (!quoted && c == '\n')
            rows.append(std::exchange(cells, QByteArrayList{QByteArray()}));
        else
            cells.last() += c;
    }
    return rows;
}

void TestCliProcess::evaluatesASheetRowByRow_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<bool>("json");
    QTest::newRow("a file ending in .csv, comma")
        << QStringList{"--decimal-separator=,"} << "," << false;
    QTest::newRow("a file ending in .csv, point")
        << QStringList{"--decimal-separator=."} << "." << false;
    QTest::newRow("JSON Lines out") << QStringList{"--format", "json"} << "," << true;
}

void TestCliProcess::replacesTheOutputFileOnlyAfterARun_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("replaced");
    const QByteArray sheet = "YearClass;Built1980Side;LivingArea;CityArea\n4;1;75;3\n1;;;\n";
    QTest::newRow("a sheet, a row refused") << QStringList{"--input", "csv"} << sheet << 1 << true;
    QTest::newRow("answers evaluated") << QStringList{} << kClass4 << 0 << true;
    QTest::newRow("answers refused")
        << QStringList{} << QByteArray(R"({"YearClass":1})") << 1 << false;
    QTest::newRow("a header refused")
        << QStringList{"--input", "csv"} << QByteArray("Baujahr\n1\n") << 2 << false;
    QTest::newRow("an input that cannot be read")
        << QStringList{"--batch", "/proc/self/mem"} << QByteArray() << 2 << false;
}

void TestCliProcess::replacesTheOutputFileOnlyAfterARun() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(int, exitCode);
    QFETCH(bool, replaced);
    QTemporaryDir folder;
    const QString target = folder.filePath("ergebnis.csv");
    QFile old(target);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("die alte Auswertung\n");
    old.close();

    const Finished run = RunEvaluator(QStringList{"--output", target} + arguments, input, kC);

    QCOMPARE(run.exitCode, exitCode);
    QVERIFY(run.out.isEmpty());
    QVERIFY(old.open(QIODevice::ReadOnly));
    const QByteArray written = old.readAll();
    QCOMPARE(written == "die alte Auswertung\n", !replaced);
    if (replaced)
        QCOMPARE(written, RunEvaluator(arguments, input, kC).out);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{"ergebnis.csv"}); // nothing left beside it
}

void TestCliProcess::evaluatesASheetRowByRow() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, separator);
    QFETCH(bool, json);
    // As a spreadsheet on Windows saves it: a byte-order mark, CR LF, a blank row, a cell
    // with the separator, quotes and a line break; the columns in an order of their own.
    QTemporaryDir folder;
    QFile sheet(folder.filePath("wohnungen.csv"));
    QVERIFY(sheet.open(QIODevice::WriteOnly));
    sheet.write("\xEF\xBB\xBF"
                "Aktenzeichen;CityArea;YearClass;Built1980Side;LivingArea;BalconyOrLoggia\r\n"
                "A-1;3;4;1;75;ja\r\n"
                ";;;;;\r\n"
                "\"B;\"\"2\"\"\";3;2;;\"7\r\n5\";x\r\n"
                "C-3;9;1;;75;\r\n"
                "D-4;1;4;;60;nein\r\n");
    sheet.close();

    const Finished run = RunEvaluator(arguments + QStringList{sheet.fileName()}, {}, kC);

    // The rows below the header are counted as the spreadsheet shows them, the blank one
    // passed over; the case number comes back in each.
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err, QByteArray("4 Zeilen gelesen: 1 ausgewertet, 3 abgelehnt.\n"));
    const QByteArray firstAsJson =
        R"({"Aktenzeichen":"A-1","CityArea":3,"YearClass":4,"Built1980Side":1,)"
        R"("LivingArea":"75","BalconyOrLoggia":true})";
    if (json) {
        const QList<QByteArray> lines = run.out.split('\n');
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0] + '\n', RunEvaluator({"--format", "json"}, firstAsJson, kC).out);
        QVERIFY2(lines[1].startsWith(R"({"Aktenzeichen":"B;\"2\"","error":"'7\\u000a5' ist)"),
                 lines[1].constData());
        QVERIFY(lines[2].startsWith(R"({"Aktenzeichen":"C-3","error":"Ungültiger Wert 9)"));
        QVERIFY(lines[3].startsWith(R"({"Aktenzeichen":"D-4","error":"Sie haben angegeben)"));
        return;
    }
    const QList<QByteArrayList> rows = ImportedCells(run.out);
    QCOMPARE(rows.size(), 5);
    for (const QByteArrayList& row : rows)
        QCOMPARE(row.size(), 10); // whatever separators the import ticks
    QCOMPARE(rows[0].mid(0, 3), (QByteArrayList{"Nr", "Aktenzeichen", "Untergrenze je m²"}));
    const QByteArray asJson =
        RunEvaluator({"--format", "csv", "--decimal-separator=" + separator}, firstAsJson, kC).out;
    QCOMPARE(run.out.split('\n')[1] + '\n', asJson.split('\n')[1] + '\n');
    QCOMPARE(rows[1][5], separator == "," ? QByteArray("75,00") : QByteArray("75.00"));
    QCOMPARE((QByteArrayList{rows[2][0], rows[2][1], rows[2][2]}),
             (QByteArrayList{"3", "B;\"2\"", ""}));
    QCOMPARE(rows[3].mid(0, 2), (QByteArrayList{"4", "C-3"}));
    QCOMPARE(rows[4].mid(0, 2), (QByteArrayList{"5", "D-4"}));
    QVERIFY(!rows[4][9].isEmpty());

    // Python's csv module reads it as a table of equal rows too.
    QProcess python;
    python.start("python3", {"-c", "import csv, sys\n"
                                   "rows = list(csv.reader(sys.stdin, delimiter=';'))\n"
                                   "print(sorted({len(row) for row in rows}), len(rows))"});
    python.write(run.out);
    python.closeWriteChannel();
    QVERIFY(python.waitForFinished(30000));
    QCOMPARE(python.readAllStandardOutput(), QByteArray("[10] 5\n"));
}

// The template that the package ships evaluates as it stands.
void TestCliProcess::readsTheTemplateSheet() {
    const Finished run = RunEvaluator({"--decimal-separator=,", MSR_TEMPLATE_SHEET}, {});

    QCOMPARE(run.err, QByteArray("2 Zeilen gelesen: 2 ausgewertet, 0 abgelehnt.\n"));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out.count('\n'), 3);
}

void TestCliProcess::printsHelp() {
    const Finished run = RunEvaluator({"--help"}, {});

    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QByteArray());
    QVERIFY(run.out.startsWith("Aufruf: mietspiegel-auswertung [--format text|json|csv|xlsx] "
                               "[--input json|csv]"));
    QVERIFY(run.out.contains("Built1980Side"));
}

void TestCliProcess::printsVersion() {
    const Finished run = RunEvaluator({"--version"}, {});

    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QByteArray());
    QVERIFY(QRegularExpression("^mietspiegel-auswertung \\d+\\.\\d+\\.\\d+\n$")
                .match(QString::fromUtf8(run.out))
                .hasMatch());
}

void TestCliProcess::writesPdfWhateverPlatformIsInherited_data() {
    QTest::addColumn<QString>("platform");
    // An ssh or cron job that inherited the desktop's platform, but not its display.
    QTest::newRow("xcb without display") << "xcb";
    QTest::newRow("wayland without display") << "wayland";
    QTest::newRow("a platform that does not exist") << "gibtesnicht";
}

void TestCliProcess::writesPdfWhateverPlatformIsInherited() {
    QFETCH(QString, platform);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString pdf = folder.filePath("bericht.pdf");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "LC_NUMERIC", "LANG"})
        environment.remove(name);
    environment.insert("QT_QPA_PLATFORM", platform);
    environment.insert("LC_ALL", "de_DE.UTF-8");
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(MSR_EVALUATOR, {"--pdf", pdf});
    process.write(kClass4);
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished(60000));

    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.readAllStandardError(), QByteArray());
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(process.readAllStandardOutput().contains("Schlussberechnung"));
    QFile written(pdf);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.read(5) == "%PDF-");
}

QTEST_GUILESS_MAIN(TestCliProcess)
#include "test_cli_process.moc"

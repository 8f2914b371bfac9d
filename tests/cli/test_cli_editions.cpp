// The evaluator with editions of the rent index as a counsellor runs it: an invented second
// edition given by --rent-index, installed into a data folder, or chosen per row of a sheet
// by its "Stichtag"; a faulty edition refused with where and why; --check-rent-index.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kTestEdition = QStringLiteral(MSR_TEST_EDITIONS "/testausgabe-2017.json");
const QByteArray kFlat = R"({"YearClass":1,"LivingArea":"45","CityArea":3,"GuestToilet":true})";

struct Finished {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the evaluator with a data folder of its own, so that no edition installed on this
// machine counts.
Finished Run(const QStringList& arguments, const QByteArray& input, const QString& dataFolder) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    environment.insert(QStringLiteral("XDG_DATA_DIRS"), dataFolder);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(MSR_EVALUATOR), arguments);
    if (!process.waitForStarted())
        return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QByteArray FinalSentence(const QByteArray& out) {
    const QList<QByteArray> lines = out.split('\n');
    return lines.value(lines.indexOf("Schlussberechnung") + 1);
}

} // namespace

class TestCliEditions : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(data_.isValid()); }

    void theDayChoosesTheEdition_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("expected"); // in the output, or the error stream

        const QByteArray testFigures = "5.97 Euro je Quadratmeter Wohnfläche. Die Untergrenze "
                                       "beträgt 5.15";
        QTest::newRow("its own term")
            << QStringList{"--rent-index", kTestEdition, "--date", "2017-06-01"} << 0
            << testFigures;
        QTest::newRow("a folder, its last day")
            << QStringList{"--rent-index", MSR_TEST_EDITIONS, "--date", "31.12.2018"} << 0
            << testFigures;
        QTest::newRow("the built-in one before it")
            << QStringList{"--rent-index", kTestEdition, "--date", "2016-12-31"} << 0
            << QByteArray("4.99 Euro je Quadratmeter Wohnfläche. Die Untergrenze beträgt 4.17");
        QTest::newRow("before every edition")
            << QStringList{"--rent-index", kTestEdition, "--date", "2014-12-31"} << 1
            << QByteArray("Am 31.12.2014 galt noch keiner der geladenen Mietspiegel; der "
                          "älteste, Mietspiegel Varlstadt 2015, gilt ab dem 01.01.2015.\n");
        QTest::newRow("no such day") << QStringList{"--date", "2017-02-29"} << 2
                                     << QByteArray("Unbekannter Tag \"2017-02-29\" für --date");
        QTest::newRow("no such file")
            << QStringList{"--rent-index", "fehlt.json"} << 2
            << QByteArray("\"fehlt.json\" kann nicht gelesen werden: Die Datei gibt es nicht.\n");
    }

    void theDayChoosesTheEdition() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, expected);
        const Finished run = Run(arguments, kFlat, data_.path());
        QCOMPARE(run.exitCode, exitCode);
        if (exitCode == 0)
            QVERIFY2(FinalSentence(run.out).contains(expected), run.out.constData());
        else
            QVERIFY2(run.err.contains(expected), run.err.constData());
    }

    // Each row by its own day; the table names the edition once several are loaded.
    void aSheetChoosesPerRowByItsStichtag() {
        const QByteArray sheet = "YearClass;LivingArea;CityArea;GuestToilet;Stichtag\n"
                                 "1;45;3;ja;2016-03-01\n"
                                 "1;45;3;ja;01.06.2017\n"
                                 "1;45;3;ja;\n"
                                 "1;45;3;ja;31.02.2017\n"
                                 "1;45;3;ja;1.1.2010\n";
        const Finished run =
            Run({"--rent-index", kTestEdition, "--date", "2026-12-09", "--input", "csv"}, sheet,
                data_.path());
        QCOMPARE(run.exitCode, 1);
        const QList<QByteArray> rows = run.out.split('\n');
        QVERIFY(rows.value(0).endsWith(";\"Fehler\";\"Mietspiegel\""));
        QVERIFY(rows.value(1).startsWith("\"1\";\"\";\"4.17\";"));
        QVERIFY(rows.value(1).endsWith(";\"\";\"Mietspiegel Varlstadt 2015\""));
        QVERIFY(rows.value(2).startsWith("\"2\";\"\";\"5.15\";"));
        QVERIFY(rows.value(2).endsWith(";\"\";\"Testausgabe 2017\""));
        QVERIFY(rows.value(3).endsWith(";\"\";\"Testausgabe 2017 (veraltet)\""));
        QVERIFY2(rows.value(4).contains("Ungültiger Wert \"\"31.02.2017\"\" für \"\"Stichtag\"\""),
                 rows.value(4).constData());
        QVERIFY2(rows.value(5).contains("Am 01.01.2010 galt noch keiner"),
                 rows.value(5).constData());
        QCOMPARE(run.err, QByteArray("5 Zeilen gelesen: 3 ausgewertet, 2 abgelehnt.\n"));
    }

    // An edition the association installed counts as one given would; one of the same day
    // as the built-in one takes its place, and the table stays as it was.
    void installedEditionsCount() {
        QVERIFY(QDir(data_.path()).mkpath("mietspiegelrechner/editions"));
        const QString installed = data_.filePath("mietspiegelrechner/editions/2017.json");
        QVERIFY(QFile::copy(kTestEdition, installed));
        const Finished run = Run({"--date", "2017-06-01"}, kFlat, data_.path());
        QCOMPARE(run.exitCode, 0);
        QVERIFY(FinalSentence(run.out).contains("5.97 Euro je Quadratmeter"));
        QVERIFY(QFile::remove(installed));
    }

    void aFaultyEditionRefusesTheRun() {
        QFile source(kTestEdition);
        QVERIFY(source.open(QIODevice::ReadOnly));
        QByteArray text = source.readAll();
        text.replace("\"mean\": 5.10", "\"mean\": 7.10");
        const QString faulty = data_.filePath("kaputt.json");
        QFile file(faulty);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();

        const Finished run = Run({"--rent-index", faulty}, kFlat, data_.path());
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.startsWith("\"" + faulty.toUtf8() +
                                    "\", Zeile 45, yearClasses[1].mean: Der Mittelwert 7.10 liegt "
                                    "über der Obergrenze 5.80.\n"),
                 run.err.constData());
        QVERIFY(run.out.isEmpty());

        const Finished check = Run({"--check-rent-index", faulty}, {}, data_.path());
        QCOMPARE(check.exitCode, 2);
        QVERIFY(check.err.contains("Zeile 45, yearClasses[1].mean"));
        QVERIFY(check.out.isEmpty());
    }

    void checksAGoodEdition() {
        const Finished check = Run({"--check-rent-index", kTestEdition}, {}, data_.path());
        QCOMPARE(check.exitCode, 0);
        QCOMPARE(check.out,
                 "\"" + kTestEdition.toUtf8() +
                     "\": in Ordnung. Testausgabe 2017, Stand 1. Januar 2017 (erfunden, nur für "
                     "Tests): gilt vom 01.01.2017 bis zum 31.12.2018. 7 Baualtersklassen, 4 "
                     "Größenklassen und das Appartement, 30 Merkmale in 7 Abschnitten.\n");
    }

private:
    QTemporaryDir data_;
};

QTEST_GUILESS_MAIN(TestCliEditions)
#include "test_cli_editions.moc"

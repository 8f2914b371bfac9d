// Progress of a long batch run: on a terminal only (not one that shows the rows as well),
// after a second, with a percentage when the size of the input is known; never on
// standard output.
#include "cli/progress.h"

#include <QtTest>

#include <chrono>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Time = std::chrono::steady_clock::time_point;

// A run of lines, each taking its time: the progress line as a terminal would receive it.
struct Step {
    std::chrono::milliseconds at; // since the start of the run, when the line is done
    std::uint64_t bytes;
};

QByteArray ProgressOf(const std::vector<Step>& steps, std::uint64_t inputBytes) {
    Time now{};
    std::ostringstream terminal;
    msr::cli::BatchProgress progress(terminal, inputBytes, [&now] { return now; });
    for (const Step& step : steps) {
        now = Time{} + step.at;
        progress.lineDone(step.bytes);
    }
    progress.finish();
    return QByteArray::fromStdString(terminal.str());
}

// Runs a shell command line; returns what it wrote to standard output.
QByteArray Shell(const QString& commandLine, int* exitCode = nullptr) {
    QProcess process;
    process.start("/bin/sh", {"-c", commandLine});
    if (!process.waitForFinished(60000))
        return "did not finish";
    if (exitCode)
        *exitCode = process.exitCode();
    return process.readAllStandardOutput();
}

QString Quoted(const QString& text) {
    return "'" + QString(text).replace("'", "'\\''") + "'";
}

const QString kLine = R"({"YearClass":1,"LivingArea":"75","CityArea":1})";

// Two answer lines with a pause between them, so the run lasts longer than a second.
QString SlowInput() {
    return "(echo " + Quoted(kLine) + "; sleep 1.3; echo " + Quoted(kLine) + ")";
}

} // namespace

class TestCliProgress : public QObject {
    Q_OBJECT

private slots:
    void showsProgressOfLongRuns_data();
    void showsProgressOfLongRuns();
    void knowsTheSizeOfRegularFilesOnly();
    void staysSilentWhenStandardErrorIsNoTerminal();
    void showsProgressOnATerminalOnly();
};

void TestCliProgress::showsProgressOfLongRuns_data() {
    QTest::addColumn<std::vector<Step>>("steps");
    QTest::addColumn<quint64>("inputBytes");
    QTest::addColumn<QByteArray>("shown");

    QTest::newRow("short run: nothing")
        << std::vector<Step>{{0ms, 10}, {999ms, 10}} << quint64(20) << QByteArray();
    QTest::newRow("no lines: nothing") << std::vector<Step>{} << quint64(0) << QByteArray();
    QTest::newRow("one slow line") << std::vector<Step>{{1500ms, 10}} << quint64(0)
                                   << QByteArray("\r1 Zeile ausgewertet\r1 Zeile ausgewertet\n");
    QTest::newRow("size unknown: lines only")
        << std::vector<Step>{{500ms, 10}, {1000ms, 10}, {1100ms, 10}, {1300ms, 10}} << quint64(0)
        << QByteArray("\r2 Zeilen ausgewertet\r4 Zeilen ausgewertet\r4 Zeilen ausgewertet\n");
    QTest::newRow("size known: with percentage")
        << std::vector<Step>{{200ms, 100}, {1000ms, 100}, {1200ms, 100}, {1250ms, 100}}
        << quint64(400)
        << QByteArray("\r2 Zeilen ausgewertet (50 %)\r4 Zeilen ausgewertet (100 %)"
                      "\r4 Zeilen ausgewertet (100 %)\n");
    QTest::newRow("a growing file shows no more than 100 %")
        << std::vector<Step>{{1000ms, 300}, {2000ms, 300}} << quint64(400)
        << QByteArray("\r1 Zeile ausgewertet (75 %)\r2 Zeilen ausgewertet (100 %)"
                      "\r2 Zeilen ausgewertet (100 %)\n");
}

void TestCliProgress::showsProgressOfLongRuns() {
    QFETCH(std::vector<Step>, steps);
    QFETCH(quint64, inputBytes);
    QFETCH(QByteArray, shown);
    QCOMPARE(ProgressOf(steps, inputBytes), shown);
}

void TestCliProgress::knowsTheSizeOfRegularFilesOnly() {
    QTemporaryFile file;
    QVERIFY(file.open());
    file.write(QByteArray(1234, 'x'));
    file.close();
    QCOMPARE(msr::cli::RegularFileBytes(file.fileName().toStdString()), std::uint64_t{1234});
    QCOMPARE(msr::cli::RegularFileBytes(QDir::tempPath().toStdString()), std::uint64_t{0});
    QCOMPARE(msr::cli::RegularFileBytes("/dev/null"), std::uint64_t{0});
    QCOMPARE(msr::cli::RegularFileBytes("/no/such/file"), std::uint64_t{0});
}

void TestCliProgress::staysSilentWhenStandardErrorIsNoTerminal() {
    // Standard error into a pipe, as a script that collects it would have it.
    int exitCode = -1;
    const QByteArray out =
        Shell(SlowInput() + " | " MSR_EVALUATOR " --batch --format csv 2>&1", &exitCode);
    QCOMPARE(exitCode, 0);
    // The table and the closing count of the lines, no progress.
    QCOMPARE(out.count('\n'), 4);
    QVERIFY2(out.endsWith("\n2 Zeilen gelesen: 2 ausgewertet, 0 abgelehnt.\n"), out.constData());
    QVERIFY2(!out.contains("Zeilen ausgewertet"), out.constData());
}

void TestCliProgress::showsProgressOnATerminalOnly() {
    if (QStandardPaths::findExecutable("script").isEmpty())
        QFAIL("script (util-linux) is needed to give the evaluator a terminal");
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QString table = directory.filePath("table.csv");
    // script gives the command a terminal for standard error; the table goes to a file.
    const QString run =
        SlowInput() + " | " MSR_EVALUATOR " --batch --format csv > " + Quoted(table);
    const QByteArray terminal = Shell("script -qec " + Quoted(run) + " /dev/null");

    QVERIFY2(terminal.contains("\r2 Zeilen ausgewertet"), terminal.constData());
    QVERIFY2(!terminal.contains("%"), terminal.constData()); // a pipe has no known size
    QFile file(table);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    QCOMPARE(written.count('\n'), 3);
    QVERIFY(!written.contains("ausgewertet"));

    // The rows on the same terminal: they show the progress themselves, undisturbed.
    const QString onTerminal = SlowInput() + " | " MSR_EVALUATOR " --batch --format csv";
    const QByteArray rows = Shell("script -qec " + Quoted(onTerminal) + " /dev/null");
    QVERIFY2(rows.contains("\"2\";"), rows.constData());
    QVERIFY2(!rows.contains("Zeilen ausgewertet"), rows.constData());
}

QTEST_GUILESS_MAIN(TestCliProgress)
#include "test_cli_progress.moc"

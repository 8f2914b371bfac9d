#include "pdf_words.h"
#include "sample_reports.h"

#include "report/report_output.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const char* const kMandatoryJson = R"({"YearClass":3,"LivingArea":"75","CityArea":2})";

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the evaluator as a user would: no display and no platform chosen.
Run Evaluate(const QStringList& arguments, const QByteArray& input) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8")); // "4,14"
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(MSR_EVALUATOR), arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QStringList AllWords(const std::vector<msr::test::PdfPage>& pages) {
    QStringList words;
    for (const msr::test::PdfPage& page : pages)
        words << page.texts();
    return words;
}

} // namespace

// mietspiegel-auswertung --pdf FILE writes the report's pages exactly as they print.
class ReportCliPdfTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (!msr::test::HavePdfToText())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QVERIFY(folder_.isValid());
    }

    void writesThePagesAsPrinted() {
        const QString fileName = folder_.filePath(QStringLiteral("cli.pdf"));
        const Run run = Evaluate({QStringLiteral("--pdf"), fileName}, kMandatoryJson);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QByteArray());
        QVERIFY(run.out.contains("Schlussberechnung")); // the text goes out as before

        const QString printed = folder_.filePath(QStringLiteral("printed.pdf"));
        msr::report::WriteReportPdf(msr::test::EvaluatedDocument(msr::test::MandatoryAnswers()),
                                    printed);
        const std::vector<msr::test::PdfPage> fromCli = msr::test::ReadPdfWords(fileName);
        const std::vector<msr::test::PdfPage> asPrinted = msr::test::ReadPdfWords(printed);
        QVERIFY(fromCli.size() >= 2);
        QCOMPARE(fromCli.size(), asPrinted.size());
        QCOMPARE(AllWords(fromCli), AllWords(asPrinted));
        QCOMPARE(fromCli.front().words.front().box, asPrinted.front().words.front().box);
    }

    void writesPdfBesideJson() {
        const QString fileName = folder_.filePath(QStringLiteral("json.pdf"));
        const Run run = Evaluate({QStringLiteral("--format"), QStringLiteral("json"),
                                  QStringLiteral("--pdf=") + fileName},
                                 kMandatoryJson);
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.startsWith("{\"paragraphs\":"));
        QVERIFY(!msr::test::ReadPdfWords(fileName).empty());
    }

    void refusedAnswersWriteNothing() {
        const QString fileName = folder_.filePath(QStringLiteral("refused.pdf"));
        const Run run = Evaluate({QStringLiteral("--pdf"), fileName}, R"({"LivingArea":"75"})");
        QCOMPARE(run.exitCode, 1);
        QVERIFY(!QFile::exists(fileName));
    }

    void unwritableFileFailsWithItsMessage() {
        const QString fileName = folder_.filePath(QStringLiteral("fehlt/bericht.pdf"));
        const Run run = Evaluate({QStringLiteral("--pdf"), fileName}, kMandatoryJson);
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(QString::fromUtf8(run.err).trimmed(),
                 QStringLiteral("Die Datei \"%1\" kann nicht erstellt werden: "
                                "Der Ordner \"%2\" existiert nicht.")
                     .arg(fileName, folder_.filePath(QStringLiteral("fehlt"))));
    }

    void batchCannotWritePdf() {
        const Run run = Evaluate({QStringLiteral("--batch"), QStringLiteral("--pdf"),
                                  folder_.filePath(QStringLiteral("batch.pdf"))},
                                 kMandatoryJson);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.err.startsWith("--pdf"));
    }

private:
    QTemporaryDir folder_;
};

QTEST_MAIN(ReportCliPdfTest)
#include "test_report_cli_pdf.moc"

// The desktop program with an edition installed where the package and the association put
// editions (a data folder of its own here): the edition in force today counts, the report,
// the information dialog and the preview's status line name it; a faulty installed file
// is passed over, and the user hears which and why.

#include "gui/forms.h"
#include "report/entry_points.h"
#include "report/information_dialog.h"
#include "report/program_edition.h"
#include "report/report_window.h"
#include "tests/samples/sample_answers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

class ProgramEditionTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(data_.isValid());
        QVERIFY(QDir(data_.path()).mkpath(QStringLiteral("mietspiegelrechner/editions")));
        folder_ = data_.filePath(QStringLiteral("mietspiegelrechner/editions"));
        QVERIFY(QFile::copy(QStringLiteral(MSR_TEST_EDITIONS "/testausgabe-2017.json"),
                            folder_ + QStringLiteral("/testausgabe-2017.json")));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(data_.path()));
    }

    void withoutAnInstalledEditionTheBuiltInCounts() {
        qputenv("XDG_DATA_DIRS", "/nonexistent");
        QVERIFY(msr::report::ChooseProgramEdition({2017, 6, 1}).isEmpty());
        QCOMPARE(QString::fromStdString(msr::report::ProgramEdition().name),
                 QStringLiteral("Mietspiegel Varlstadt 2015"));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(data_.path()));
    }

    void theEditionInForceTodayCounts_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("title");
        QTest::newRow("in its term") << 2017
                                     << "Testausgabe 2017: Stand 1. Januar 2017 (erfunden, nur für "
                                        "Tests), Laufzeit bis 31.12.2018";
        QTest::newRow("before it") << 2016
                                   << "Mietspiegel Varlstadt 2015: Stand 1. Januar 2015, Laufzeit "
                                      "bis 31.12.2016";
        QTest::newRow("after every term") << 2026
                                          << "Testausgabe 2017: Stand 1. Januar 2017 (erfunden, "
                                             "nur für Tests), Laufzeit bis 31.12.2018 (veraltet)";
    }

    void theEditionInForceTodayCounts() {
        QFETCH(int, year);
        QFETCH(QString, title);
        const msr::CalendarDate today{year, 6, 1};
        QVERIFY(msr::report::ChooseProgramEdition(today).isEmpty());
        QCOMPARE(msr::report::ProgramEditionTitle(today), title);
    }

    // The information dialog writes the edition's own text; the report is evaluated by it.
    void theDialogAndTheReportFollowIt() {
        QVERIFY(msr::report::ChooseProgramEdition({2017, 6, 1}).isEmpty());
        TForm2 dialog;
        const QString text = dialog.infoText()->toPlainText();
        QVERIFY2(text.startsWith(QStringLiteral("T e s t a u s g a b e\n")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Stand: 1. Januar 2017 (erfunden, nur für Tests)\n"
                                             "Laufzeit: bis 31.12.2018")));

        TForm8 form8;
        SetAnswersSource([] { return msr::test::MandatoryAnswers(); });
        BuildEvaluationReport();
        QVERIFY(form8.document().plainText().find("Testausgabe: Ihre Wohnung wurde") !=
                std::string::npos);
        SetAnswersSource({});
    }

    void aFaultyInstalledEditionIsPassedOver() {
        const QString faulty = folder_ + QStringLiteral("/kaputt.json");
        QFile file(faulty);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\n  \"format\": \"Mietspiegelrechner Varlstadt: Ausgabe des Mietspiegels\",\n"
                   "  \"formatVersion\": 1,\n  \"name\": 7\n}\n");
        file.close();
        const QStringList faults = msr::report::ChooseProgramEdition({2017, 6, 1});
        QVERIFY(QFile::remove(faulty));
        QVERIFY(!faults.isEmpty());
        QVERIFY2(faults.first().startsWith("\"" + faulty +
                                           "\", Zeile 4, name: Erwartet wird ein "
                                           "Text in Anführungszeichen, nicht die "
                                           "Zahl 7"),
                 qPrintable(faults.first()));
        QCOMPARE(QString::fromStdString(msr::report::ProgramEdition().name),
                 QStringLiteral("Testausgabe 2017"));
    }

private:
    QTemporaryDir data_;
    QString folder_;
};

QTEST_MAIN(ProgramEditionTest)
#include "test_program_edition.moc"

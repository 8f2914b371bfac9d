#include "sample_reports.h"
#include "scratch_disk.h"

#include "gui/messages.h"
#include "report/preview_window.h"
#include "report/report_output.h"
#include "report/report_pages.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QtTest>

#include <memory>

#include <unistd.h>

using msr::report::PreviewWindow;
using msr::report::ReportPages;
using msr::test::ScratchDisk;

namespace {

const QByteArray kOldFile = "%PDF-1.4 die alte Auswertung, die erhalten bleiben muss";

enum class Place { MissingFolder, FullDisk, ReadOnlyDisk };
enum class Route { Library, SaveButton, PrintIntoFile, CommandLine };

QString ReadAll(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}

// The file a user already has, which a failed save must leave as it was.
bool WriteOldFile(const QString& fileName) {
    QFile old(fileName);
    return old.open(QIODevice::WriteOnly) && old.write(kOldFile) == kOldFile.size();
}

} // namespace

Q_DECLARE_METATYPE(Place)
Q_DECLARE_METATYPE(Route)

// A PDF that cannot be written is reported in German with its reason, on every road
// a user takes to it, and an old file of that name survives untouched.
class ReportFileFailuresTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        pages_ = std::make_shared<const ReportPages>(
            msr::test::EvaluatedDocument(msr::test::AllFeaturesAnswers()));
    }
    void cleanup() { msr::gui::Messages::setPresenter({}); }

    void failureIsToldAndTheOldFileKept_data() {
        QTest::addColumn<Place>("place");
        QTest::addColumn<Route>("route");
        QTest::addColumn<QString>("reason");
        const struct {
            const char* name;
            Route route;
        } routes[] = {{"library", Route::Library},
                      {"Als PDF speichern", Route::SaveButton},
                      {"Drucken into a file", Route::PrintIntoFile},
                      {"mietspiegel-auswertung --pdf", Route::CommandLine}};
        for (const auto& route : routes) {
            QTest::addRow("missing folder, %s", route.name)
                << Place::MissingFolder << route.route << QStringLiteral("existiert nicht");
            QTest::addRow("full disk, %s", route.name)
                << Place::FullDisk << route.route << QStringLiteral("Der Datenträger ist voll");
            QTest::addRow("read-only disk, %s", route.name)
                << Place::ReadOnlyDisk << route.route
                << QStringLiteral("Der Datenträger ist schreibgeschützt");
        }
    }
    void failureIsToldAndTheOldFileKept() {
        QFETCH(Place, place);
        QFETCH(Route, route);
        QFETCH(QString, reason);
        ScratchDisk disk;
        if (!disk.unavailable().isEmpty())
            QSKIP(qPrintable(disk.unavailable()));
        QString fileName = disk.filePath(QStringLiteral("bericht.pdf"));
        if (place == Place::MissingFolder) {
            fileName = disk.filePath(QStringLiteral("fehlt/bericht.pdf"));
        } else {
            QVERIFY(WriteOldFile(fileName));
            if (place == Place::FullDisk)
                disk.fill();
            else
                QVERIFY(disk.makeReadOnly());
        }
        const QStringList before = QDir(disk.path()).entryList(QDir::Files | QDir::Hidden);

        const QString told = WriteThrough(route, fileName);

        QVERIFY2(told.contains(QStringLiteral("\"%1\"").arg(fileName)), qPrintable(told));
        QVERIFY2(told.contains(reason), qPrintable(told));
        if (place != Place::MissingFolder)
            QCOMPARE(ReadAll(fileName), QString::fromLatin1(kOldFile));
        QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden), before);
    }

    // Where it can be written, the new file replaces the old one completely.
    void aWritableFileIsReplaced() {
        QTemporaryDir folder;
        const QString fileName = folder.filePath(QStringLiteral("bericht.pdf"));
        QVERIFY(WriteOldFile(fileName));
        QCOMPARE(WriteThrough(Route::SaveButton, fileName), QString());
        QVERIFY(ReadAll(fileName).startsWith(QStringLiteral("%PDF-1.")));
        QVERIFY(ReadAll(fileName).size() > 10000);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("bericht.pdf")});
    }

    // A file the user may not write, in a folder the user may: the reason is the file's.
    // Run as a user other than root, who may write anything.
    void aReadOnlyFileIsNamed() {
        QTemporaryDir folder;
        const QString fileName = folder.filePath(QStringLiteral("bericht.pdf"));
        QVERIFY(WriteOldFile(fileName));
        QVERIFY(QFile::setPermissions(fileName, QFileDevice::ReadOwner | QFileDevice::ReadOther));
        QStringList asUser;
        if (geteuid() == 0) {
            QVERIFY(QFile::setPermissions(folder.path(),
                                          QFileDevice::ReadOther | QFileDevice::WriteOther |
                                              QFileDevice::ExeOther | QFileDevice::ReadOwner |
                                              QFileDevice::WriteOwner | QFileDevice::ExeOwner));
            asUser = {QStringLiteral("setpriv"), QStringLiteral("--reuid=nobody"),
                      QStringLiteral("--regid=nogroup"), QStringLiteral("--clear-groups")};
        }
        const QString told = ThroughTheCommandLine(fileName, asUser);
        QVERIFY2(told.contains(QStringLiteral("Keine Berechtigung, die Datei")), qPrintable(told));
        QVERIFY2(!told.contains(QStringLiteral("Ordner")), qPrintable(told));
        QCOMPARE(ReadAll(fileName), QString::fromLatin1(kOldFile));
    }

private:
    // What the user is told, after writing the report to fileName along the route; empty
    // where nothing went wrong.
    QString WriteThrough(Route route, const QString& fileName) {
        switch (route) {
        case Route::Library:
            try {
                msr::report::WriteReportPdf(*pages_, fileName);
            } catch (const msr::report::ReportOutputError& error) {
                return QString::fromUtf8(error.what());
            }
            return {};
        case Route::SaveButton:
        case Route::PrintIntoFile:
            return ThroughThePreview(route, fileName);
        case Route::CommandLine:
            return ThroughTheCommandLine(fileName);
        }
        return {};
    }

    QString ThroughThePreview(Route route, const QString& fileName) {
        QStringList messages;
        msr::gui::Messages::setPresenter([&](const msr::gui::MessageRequest& request) {
            messages << request.text;
            return msr::gui::MessageResult::Ok;
        });
        PreviewWindow window(pages_);
        window.show();
        if (route == Route::SaveButton) {
            window.setSaveFileChooser([&](QWidget*, const QString&) { return fileName; });
            window.findChild<QAction*>(QStringLiteral("actionSavePdf"))->trigger();
        } else {
            window.printer().setOutputFormat(QPrinter::PdfFormat);
            window.printer().setOutputFileName(fileName);
            window.setPrintFileChooser([&](QWidget*, const QString&) { return fileName; });
            window.findChild<QAction*>(QStringLiteral("actionPrint"))->trigger();
        }
        window.close();
        return messages.join(QLatin1Char('\n'));
    }

    // Runs the evaluator, behind the command that makes it another user where given.
    QString ThroughTheCommandLine(const QString& fileName, QStringList asUser = {}) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        process.setProcessEnvironment(environment);
        asUser << QStringLiteral(MSR_EVALUATOR) << QStringLiteral("--pdf") << fileName;
        process.start(asUser.takeFirst(), asUser);
        process.write(R"({"YearClass":3,"LivingArea":"75","CityArea":2})");
        process.closeWriteChannel();
        process.waitForFinished(60000);
        if (process.exitCode() == 0)
            return {};
        return QString::fromUtf8(process.readAllStandardError()).trimmed();
    }

    std::shared_ptr<const ReportPages> pages_;
};

QTEST_MAIN(ReportFileFailuresTest)
#include "test_report_file_failures.moc"

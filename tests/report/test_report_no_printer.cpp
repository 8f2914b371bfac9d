#include "pdf_words.h"
#include "sample_reports.h"

#include "report/preview_window.h"
#include "report/report_pages.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintDialog>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

using msr::report::PreviewWindow;
using msr::report::ReportPages;

// A machine without any printer (no print server to ask): "Drucken" does not hang and
// offers, in the printer dialog, to print into a PDF file, which then holds the report.
class ReportNoPrinterTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(folder_.isValid());
        // A print server that is not there, before anything asks for printers.
        qputenv("CUPS_SERVER", folder_.filePath(QStringLiteral("kein-cups.sock")).toLocal8Bit());
    }

    void druckenOffersPrintingIntoAFile() {
        if (!msr::test::HavePdfToText())
            QSKIP("pdftotext (poppler-utils) is not installed");
        auto pages = std::make_shared<const ReportPages>(
            msr::test::EvaluatedDocument(msr::test::MandatoryAnswers()));
        const QString fileName = folder_.filePath(QStringLiteral("ohne-drucker.pdf"));
        QElapsedTimer clock;
        clock.start();
        PreviewWindow window(pages);
        window.show();
        QVERIFY(window.printer().printerName().isEmpty());

        QString caption;
        QStringList destinations;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            caption = dialog->windowTitle();
            auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"));
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
            if (!printers || !name)
                return dialog->reject();
            for (int i = 0; i < printers->count(); ++i)
                destinations << printers->itemText(i);
            printers->setCurrentIndex(printers->count() - 1); // printing into a file
            name->setText(fileName);
            dialog->accept();
        });
        window.findChild<QAction*>(QStringLiteral("actionPrint"))->trigger();
        QVERIFY2(clock.elapsed() < 20000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(destinations.size() == 1, qPrintable(destinations.join('|')));
        QVERIFY2(destinations.constFirst().contains(QStringLiteral("PDF")),
                 qPrintable(destinations.join('|')));
        QCOMPARE(int(msr::test::ReadPdfWords(fileName).size()), pages->pageCount());
    }

    // Every file the program proposes lies in one folder: the documents folder the XDG
    // settings name, else the home folder; the first "Drucken" into a file as much as
    // "Als PDF speichern".
    void oneDefaultFolderForEveryFile_data() {
        QTest::addColumn<QString>("documents"); // as the XDG settings name it, or none
        QTest::addColumn<QString>("expected");  // below the home folder
        QTest::newRow("the usual documents folder") << ""
                                                    << "Documents";
        QTest::newRow("a documents folder of its own name") << "Unterlagen"
                                                            << "Unterlagen";
        QTest::newRow("a documents folder that is missing") << "Fehlt"
                                                            << "";
    }
    void oneDefaultFolderForEveryFile() {
        QFETCH(QString, documents);
        QFETCH(QString, expected);
        QTemporaryDir home;
        const QDir homeFolder(home.path());
        QVERIFY(homeFolder.mkpath(QStringLiteral(".config")));
        QVERIFY(homeFolder.mkpath(QStringLiteral("Documents")));
        if (!documents.isEmpty()) {
            if (documents == expected)
                QVERIFY(homeFolder.mkpath(documents));
            QFile dirs(homeFolder.filePath(QStringLiteral(".config/user-dirs.dirs")));
            QVERIFY(dirs.open(QIODevice::WriteOnly));
            dirs.write(QStringLiteral("XDG_DOCUMENTS_DIR=\"$HOME/%1\"\n").arg(documents).toUtf8());
        }
        const QByteArray oldHome = qgetenv("HOME");
        const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", homeFolder.filePath(QStringLiteral(".config")).toLocal8Bit());
        const auto restore = qScopeGuard([&] {
            qputenv("HOME", oldHome);
            if (oldConfig.isEmpty())
                qunsetenv("XDG_CONFIG_HOME");
            else
                qputenv("XDG_CONFIG_HOME", oldConfig);
        });
        const QString folder = QDir::cleanPath(homeFolder.filePath(expected));

        auto pages = std::make_shared<const ReportPages>(
            msr::test::EvaluatedDocument(msr::test::MandatoryAnswers()));
        PreviewWindow window(pages);
        window.show();
        QString printProposal;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("filename")))
                printProposal = name->text();
            dialog->reject();
        });
        window.findChild<QAction*>(QStringLiteral("actionPrint"))->trigger();
        QString saveProposal;
        window.setSaveFileChooser([&](QWidget*, const QString& proposal) {
            saveProposal = proposal;
            return QString();
        });
        window.findChild<QAction*>(QStringLiteral("actionSavePdf"))->trigger();

        const QString file = QDir(folder).filePath(QStringLiteral("Mietspiegel-Auswertung.pdf"));
        QCOMPARE(QFileInfo(printProposal).absoluteFilePath(), file);
        QCOMPARE(saveProposal, file);
    }

private:
    QTemporaryDir folder_;
};

QTEST_MAIN(ReportNoPrinterTest)
#include "test_report_no_printer.moc"

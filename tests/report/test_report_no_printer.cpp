#include "pdf_words.h"
#include "sample_reports.h"

#include "report/preview_window.h"
#include "report/report_pages.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPrintDialog>
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

private:
    QTemporaryDir folder_;
};

QTEST_MAIN(ReportNoPrinterTest)
#include "test_report_no_printer.moc"

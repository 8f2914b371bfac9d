#include "pdf_words.h"
#include "print_server.h"
#include "printed_words.h"
#include "sample_reports.h"

#include "gui/messages.h"
#include "report/preview_window.h"
#include "report/report_pages.h"

#include <QAction>
#include <QDir>
#include <QPrinter>
#include <QtTest>

#include <memory>

using msr::report::PreviewWindow;
using msr::report::ReportPages;

// "Drucken" through a real print queue: the report goes to a CUPS server, whose
// cups-pdf printer puts what would come out of the printer into a PDF file.
class ReportCupsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (!msr::test::HavePdfToText())
            QSKIP("pdftotext (poppler-utils) is not installed");
        server_ = std::make_unique<msr::test::PrintServer>();
        if (!server_->unavailable().isEmpty())
            QSKIP(qPrintable(server_->unavailable()));
        // Before anything asks for printers: the program's print system is this server.
        qputenv("CUPS_SERVER", server_->socketPath().toLocal8Bit());
    }
    void cleanup() { msr::gui::Messages::setPresenter({}); }

    void druckenPrintsEveryWordOnA4() {
        const msr::ReportDocument document =
            msr::test::EvaluatedDocument(msr::test::AllFeaturesAnswers());
        auto pages = std::make_shared<const ReportPages>(document);
        QStringList messages;
        msr::gui::Messages::setPresenter([&](const msr::gui::MessageRequest& request) {
            messages << request.text;
            return msr::gui::MessageResult::Ok;
        });
        PreviewWindow window(pages);
        window.show();
        // The queue is the default destination: "Drucken" prints there without asking.
        QCOMPARE(window.printer().printerName(), server_->queueName());
        window.findChild<QAction*>(QStringLiteral("actionPrint"))->trigger();
        QCOMPARE(messages.join('\n'), QString());

        QString printed;
        const bool came = QTest::qWaitFor(
            [&] {
                const QFileInfoList files =
                    QDir(server_->outputFolder())
                        .entryInfoList({QStringLiteral("*.pdf")}, QDir::Files);
                if (files.isEmpty())
                    return false;
                printed = files.constFirst().absoluteFilePath();
                // Complete once poppler reads every page of it.
                return int(msr::test::ReadPdfWords(printed).size()) == pages->pageCount();
            },
            120000);
        QVERIFY2(came, qPrintable(server_->log()));

        const std::vector<msr::test::PdfPage> pdf = msr::test::ReadPdfWords(printed);
        for (const msr::test::PdfPage& page : pdf) {
            QVERIFY2(qAbs(page.widthMm - 210) < 1 && qAbs(page.heightMm - 297) < 1,
                     qPrintable(QStringLiteral("%1 x %2 mm").arg(page.widthMm).arg(page.heightMm)));
            QCOMPARE(msr::test::WordsOutside(page, QRectF(0, 0, 210, 297)), QStringList());
        }
        QCOMPARE(msr::test::PrintedLetters(pdf),
                 msr::test::ExpectedLetters(document, pages->pageCount()));
    }

private:
    std::unique_ptr<msr::test::PrintServer> server_;
};

QTEST_MAIN(ReportCupsTest)
#include "test_report_cups.moc"

#include "pdf_words.h"
#include "sample_reports.h"

#include "gui/messages.h"
#include "report/preview_window.h"
#include "report/report_pages.h"
#include "report/report_printing.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGraphicsView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

using msr::report::PreviewWindow;
using msr::report::ReportPages;

namespace {

std::shared_ptr<const ReportPages> AllFeaturesPages() {
    return std::make_shared<const ReportPages>(
        msr::test::EvaluatedDocument(msr::test::AllFeaturesAnswers()));
}

QAction* Action(const PreviewWindow& window, const char* name) {
    return window.findChild<QAction*>(QLatin1String(name));
}

QString LabelText(const PreviewWindow& window, const char* name) {
    return window.findChild<QLabel*>(QLatin1String(name))->text();
}

} // namespace

class ReportPreviewTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        pages_ = AllFeaturesPages();
        window_ = std::make_unique<PreviewWindow>(pages_);
        printProposals_.clear();
        // Printing into a file asks for the file; the user takes the name proposed.
        window_->setPrintFileChooser([this](QWidget*, const QString& proposed) {
            printProposals_ << proposed;
            return proposed;
        });
    }
    void cleanup() { window_.reset(); }

    void toolBarActionsCarryTheirHints_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hint");
        QTest::newRow("zoom whole page") << "actionOptimalSize"
                                         << "Optimale Größe"
                                         << "Optimale Größe";
        QTest::newRow("natural size") << "actionActualSize"
                                      << "100%"
                                      << "100%";
        QTest::newRow("page width") << "actionFitWidth"
                                    << "Auf Breite anpassen"
                                    << "Auf Breite anpassen";
        QTest::newRow("first") << "actionFirstPage"
                               << "Erste Seite"
                               << "Erste Seite";
        QTest::newRow("previous") << "actionPreviousPage"
                                  << "Vorherige Seite"
                                  << "Vorherige Seite";
        QTest::newRow("next") << "actionNextPage"
                              << "Nächste Seite"
                              << "Nächste Seite";
        QTest::newRow("last") << "actionLastPage"
                              << "Letzte Seite"
                              << "Letzte Seite";
        QTest::newRow("set-up") << "actionPrintSetup"
                                << "Druckereinrichtung"
                                << "Druckereinrichtung";
        QTest::newRow("print") << "actionPrint"
                               << "Drucken"
                               << "Druckt angezeigtes Dokument";
        QTest::newRow("pdf") << "actionSavePdf"
                             << "Als PDF speichern"
                             << "Als PDF speichern";
        QTest::newRow("close") << "actionClose"
                               << "S&chließen"
                               << "Schließen";
    }
    // The tool tip is the hint, and in brackets the key that does the same.
    void toolBarActionsCarryTheirHints() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, hint);
        const QAction* action = window_->findChild<QAction*>(name);
        QVERIFY(action);
        QCOMPARE(action->text(), text);
        const QRegularExpression hintAndKey(QStringLiteral("^") + QRegularExpression::escape(hint) +
                                            QStringLiteral(" \\(.+\\)$"));
        QVERIFY2(hintAndKey.match(action->toolTip()).hasMatch(), qPrintable(action->toolTip()));
    }

    // Each key as the user presses it, wherever the focus is in the window.
    void everyActionHasItsKey_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("effect");
        QTest::newRow("Alt+C closes") << int(Qt::Key_C) << int(Qt::AltModifier) << "closed";
        QTest::newRow("Ctrl+P prints") << int(Qt::Key_P) << int(Qt::ControlModifier) << "printed";
        QTest::newRow("Ctrl+S saves") << int(Qt::Key_S) << int(Qt::ControlModifier) << "saved";
        QTest::newRow("Page Down") << int(Qt::Key_PageDown) << 0 << "page 2";
        QTest::newRow("Ctrl+End") << int(Qt::Key_End) << int(Qt::ControlModifier) << "last page";
        QTest::newRow("Ctrl+1 whole page")
            << int(Qt::Key_1) << int(Qt::ControlModifier) << "fit page";
        QTest::newRow("Ctrl+0 100%") << int(Qt::Key_0) << int(Qt::ControlModifier) << "100%";
        QTest::newRow("Ctrl++ zooms in")
            << int(Qt::Key_Plus) << int(Qt::ControlModifier) << "larger";
        QTest::newRow("Ctrl+- zooms out")
            << int(Qt::Key_Minus) << int(Qt::ControlModifier) << "smaller";
    }
    void everyActionHasItsKey() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, effect);
        QTemporaryDir folder;
        const QString printed = folder.filePath(QStringLiteral("gedruckt.pdf"));
        const QString saved = folder.filePath(QStringLiteral("gespeichert.pdf"));
        window_->printer().setOutputFormat(QPrinter::PdfFormat);
        window_->printer().setOutputFileName(printed);
        window_->setSaveFileChooser([&](QWidget*, const QString&) { return saved; });
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        QPrintPreviewWidget* preview = window_->previewWidget();
        const double zoomBefore = preview->zoomFactor();
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);

        QTest::keyClick(focus, Qt::Key(key), Qt::KeyboardModifiers(modifiers));

        if (effect == "closed")
            QTRY_VERIFY(!window_->isVisible()); // the button shows itself pressed first
        else if (effect == "printed")
            QVERIFY(QFile::exists(printed));
        else if (effect == "saved")
            QVERIFY(QFile::exists(saved));
        else if (effect == "page 2")
            QCOMPARE(preview->currentPage(), 2);
        else if (effect == "last page")
            QCOMPARE(preview->currentPage(), pages_->pageCount());
        else if (effect == "fit page")
            QCOMPARE(preview->zoomMode(), QPrintPreviewWidget::FitInView);
        else if (effect == "100%")
            QCOMPARE(preview->zoomFactor(), 1.0);
        else if (effect == "larger")
            QVERIFY(preview->zoomFactor() > zoomBefore);
        else if (effect == "smaller")
            QVERIFY(preview->zoomFactor() < zoomBefore);
    }

    // Tab runs through every enabled button of the tool bar and back to the page; Space
    // presses the button that has the focus.
    void tabReachesEveryToolBarButton() {
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        auto* toolBar = window_->findChild<QToolBar*>(QStringLiteral("ToolBar"));
        QSet<QWidget*> buttons;
        for (QAction* action : toolBar->actions())
            if (!action->isSeparator() && action->isEnabled())
                buttons.insert(toolBar->widgetForAction(action));
        QSet<QWidget*> reached;
        for (int press = 0; press < 40; ++press) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached.insert(QApplication::focusWidget());
        }
        for (QWidget* button : buttons)
            QVERIFY2(reached.contains(button),
                     qPrintable(button->objectName() + " " +
                                qobject_cast<QToolButton*>(button)->text()));
        QVERIFY(window_->previewWidget()->isAncestorOf(QApplication::focusWidget()) ||
                reached.contains(QApplication::focusWidget()));

        // To "Nächste Seite" by Tab, then Space.
        QWidget* next = toolBar->widgetForAction(Action(*window_, "actionNextPage"));
        for (int press = 0; press < 40 && QApplication::focusWidget() != next; ++press)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
        QTest::keyClick(next, Qt::Key_Space);
        QCOMPARE(window_->previewWidget()->currentPage(), 2);
    }

    void opensAsVorschauFittedToTheWidth() {
        QCOMPARE(window_->windowTitle(), QStringLiteral("Vorschau"));
        window_->show();
        QVERIFY(Action(*window_, "actionFitWidth")->isChecked());
        QCOMPARE(window_->previewWidget()->zoomMode(), QPrintPreviewWidget::FitToWidth);
    }

    void zoomActionsSwitchTheZoom() {
        window_->show();
        Action(*window_, "actionOptimalSize")->trigger();
        QCOMPARE(window_->previewWidget()->zoomMode(), QPrintPreviewWidget::FitInView);
        QVERIFY(!Action(*window_, "actionFitWidth")->isChecked());
        Action(*window_, "actionActualSize")->trigger();
        QCOMPARE(window_->previewWidget()->zoomMode(), QPrintPreviewWidget::CustomZoom);
        QCOMPARE(window_->previewWidget()->zoomFactor(), 1.0);
        Action(*window_, "actionFitWidth")->trigger();
        QCOMPARE(window_->previewWidget()->zoomMode(), QPrintPreviewWidget::FitToWidth);
    }

    void printingWaitsUntilAllPagesArePrepared() {
        QVERIFY(!window_->pagesPrepared());
        QVERIFY(!Action(*window_, "actionPrint")->isEnabled());
        QVERIFY(!Action(*window_, "actionPrintSetup")->isEnabled());
        window_->show();
        QVERIFY(window_->pagesPrepared());
        QVERIFY(Action(*window_, "actionPrint")->isEnabled());
        QVERIFY(Action(*window_, "actionPrintSetup")->isEnabled());
        QCOMPARE(LabelText(*window_, "ProgressLabel"), QStringLiteral("Vorbereitung: 100 %"));
    }

    void statusBarShowsThePageOfPages() {
        window_->show();
        const int count = pages_->pageCount();
        QVERIFY(count >= 3);
        QCOMPARE(window_->previewWidget()->pageCount(), count);
        QCOMPARE(LabelText(*window_, "PageLabel"), QStringLiteral("Seite 1 von %1").arg(count));
        // The edition the figures hold for, beside the report and never in it; its term
        // ended long ago.
        QCOMPARE(LabelText(*window_, "EditionLabel"),
                 QStringLiteral("Mietspiegel Varlstadt 2015: Stand 1. Januar 2015, Laufzeit bis "
                                "31.12.2016 (veraltet)"));
    }

    void navigationMovesThroughThePages() {
        window_->show();
        const int count = pages_->pageCount();
        QVERIFY(!Action(*window_, "actionPreviousPage")->isEnabled());
        Action(*window_, "actionLastPage")->trigger();
        QCOMPARE(window_->previewWidget()->currentPage(), count);
        QCOMPARE(LabelText(*window_, "PageLabel"), QStringLiteral("Seite %1 von %1").arg(count));
        QVERIFY(!Action(*window_, "actionNextPage")->isEnabled());
        Action(*window_, "actionPreviousPage")->trigger();
        QCOMPARE(window_->previewWidget()->currentPage(), count - 1);
        Action(*window_, "actionFirstPage")->trigger();
        QCOMPARE(window_->previewWidget()->currentPage(), 1);
        Action(*window_, "actionNextPage")->trigger();
        QCOMPARE(LabelText(*window_, "PageLabel"), QStringLiteral("Seite 2 von %1").arg(count));
    }

    void savesThePagesAsPdf() {
        if (!msr::test::HavePdfToText())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir folder;
        const QString fileName = folder.filePath(QStringLiteral("auswertung.pdf"));
        QString proposed;
        window_->setSaveFileChooser([&](QWidget*, const QString& proposal) {
            proposed = proposal;
            return fileName;
        });
        window_->show();
        Action(*window_, "actionSavePdf")->trigger();
        QVERIFY(proposed.endsWith(QStringLiteral("/Mietspiegel-Auswertung.pdf")));
        const std::vector<msr::test::PdfPage> pdf = msr::test::ReadPdfWords(fileName);
        QCOMPARE(int(pdf.size()), pages_->pageCount());
        QVERIFY(pdf.back()
                    .texts()
                    .join(QLatin1Char(' '))
                    .endsWith(QStringLiteral("Auswertung Seite %1").arg(pages_->pageCount())));
    }

    // The real file dialog with its proposal taken as it stands: the file lands in the
    // documents folder, or in the home folder where there is none.
    void theProposedNameSavesAsItStands_data() {
        QTest::addColumn<bool>("documentsFolder");
        QTest::newRow("with a documents folder") << true;
        QTest::newRow("without a documents folder") << false;
    }
    void theProposedNameSavesAsItStands() {
        QFETCH(bool, documentsFolder);
        QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME");
        const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")).toLocal8Bit());
        const QString folder =
            documentsFolder ? home.filePath(QStringLiteral("Documents")) : home.path();
        QVERIFY(QDir().mkpath(folder));
        window_->setSaveFileChooser({}); // the program's own dialog
        window_->show();
        QString shownFolder;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            shownFolder = dialog->directory().absolutePath();
            QTest::keyClick(dialog, Qt::Key_Return); // "Speichern" with the name proposed
        });
        Action(*window_, "actionSavePdf")->trigger();
        qputenv("HOME", oldHome);
        qputenv("XDG_CONFIG_HOME", oldConfig);
        if (oldConfig.isEmpty())
            qunsetenv("XDG_CONFIG_HOME");
        QCOMPARE(shownFolder, folder);
        QVERIFY(QFile::exists(QDir(folder).filePath(QStringLiteral("Mietspiegel-Auswertung.pdf"))));
    }

    void cancelledSaveWritesNothing() {
        QTemporaryDir folder;
        window_->setSaveFileChooser([](QWidget*, const QString&) { return QString(); });
        window_->show();
        Action(*window_, "actionSavePdf")->trigger();
        QVERIFY(QDir(folder.path()).isEmpty());
    }

    void printUsesTheChosenPageRange() {
        if (!msr::test::HavePdfToText())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir folder;
        const QString fileName = folder.filePath(QStringLiteral("gedruckt.pdf"));
        window_->show();
        QPrinter& printer = window_->printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(fileName);
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 2);
        Action(*window_, "actionPrint")->trigger();
        const std::vector<msr::test::PdfPage> pdf = msr::test::ReadPdfWords(fileName);
        QCOMPARE(int(pdf.size()), 1);
        QVERIFY(pdf.front()
                    .texts()
                    .join(QLatin1Char(' '))
                    .endsWith(QStringLiteral("Auswertung Seite 2")));
    }

    // Each "Drucken" into a file asks for the file and proposes a name no file has yet, so
    // the second flat's report never replaces the first one's unasked.
    void eachPrintIntoAFileAsksWithAFreshName() {
        QTemporaryDir folder;
        const QString first = folder.filePath(QStringLiteral("gedruckt.pdf"));
        window_->printer().setOutputFileName(first);
        window_->show();
        Action(*window_, "actionPrint")->trigger();
        const QDateTime firstWritten = QFileInfo(first).lastModified();
        Action(*window_, "actionPrint")->trigger();
        const QString second = folder.filePath(QStringLiteral("gedruckt-2.pdf"));
        QCOMPARE(printProposals_, QStringList({first, second}));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files),
                 QStringList({QStringLiteral("gedruckt-2.pdf"), QStringLiteral("gedruckt.pdf")}));
        QCOMPARE(QFileInfo(first).lastModified(), firstWritten);
    }

    // The program's own file dialog asks before it replaces a file; "Nein" keeps it.
    void printIntoAnExistingFileAsksFirst() {
        QTemporaryDir folder;
        const QString existing = folder.filePath(QStringLiteral("gedruckt.pdf"));
        QFile old(existing);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("alt");
        old.close();
        window_->setPrintFileChooser({});
        window_->printer().setOutputFileName(existing);
        window_->show();
        QString proposed;
        QString question;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                question = box->text();
                box->button(QMessageBox::No)->click();
            } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                if (!proposed.isEmpty()) {
                    dialog->reject();
                    return;
                }
                proposed = dialog->selectedFiles().value(0);
                auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                name->setText(QStringLiteral("gedruckt.pdf"));
                // Outside this tick: the question runs a loop of its own, in which the
                // timer must tick again.
                QMetaObject::invokeMethod(
                    name, [name] { QTest::keyClick(name, Qt::Key_Return); }, Qt::QueuedConnection);
            }
        });
        answer.start(20);
        Action(*window_, "actionPrint")->trigger();
        QCOMPARE(proposed, folder.filePath(QStringLiteral("gedruckt-2.pdf")));
        QVERIFY2(question.contains(QStringLiteral("gedruckt.pdf")), qPrintable(question));
        QCOMPARE(ReadBytes(existing), QByteArray("alt"));
    }

    // A file in a folder that does not exist is refused with the program's own reason,
    // over the print dialog, which stays open.
    void printDialogTellsAMissingFolder() {
        QTemporaryDir folder;
        const QString missing = folder.filePath(QStringLiteral("fehlt/gedruckt.pdf"));
        window_->printer().setOutputFormat(QPrinter::PdfFormat); // no file named yet
        window_->show();
        QList<msr::gui::MessageRequest> messages;
        msr::gui::Messages::setPresenter([&](const msr::gui::MessageRequest& request) {
            messages << request;
            return msr::gui::MessageResult::Ok;
        });
        QWidget* dialogShown = nullptr;
        bool stayedOpen = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            dialogShown = dialog;
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
            QVERIFY(name && name->isEnabled());
            name->setText(missing);
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            stayedOpen = dialog->isVisible();
            dialog->reject();
        });
        Action(*window_, "actionPrint")->trigger();
        msr::gui::Messages::setPresenter({});
        QVERIFY(stayedOpen);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.first().text,
                 QStringLiteral("Die Datei \"%1\" kann nicht erstellt werden: Der Ordner \"%2\" "
                                "existiert nicht.")
                     .arg(missing, folder.filePath(QStringLiteral("fehlt"))));
        QCOMPARE(messages.first().owner, dialogShown);
        QVERIFY(!QFile::exists(missing));
    }

    void printedPagesFollowRangeAndCopies_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("copies");
        QTest::addColumn<bool>("collate");
        QTest::addColumn<std::vector<int>>("expected");
        QTest::newRow("all pages") << 0 << 0 << 1 << true << std::vector<int>{0, 1, 2};
        QTest::newRow("range") << 2 << 3 << 1 << true << std::vector<int>{1, 2};
        QTest::newRow("range past the end") << 3 << 9 << 1 << true << std::vector<int>{2};
        QTest::newRow("range beyond the end") << 5 << 6 << 1 << true << std::vector<int>{};
        QTest::newRow("two copies collated")
            << 0 << 0 << 2 << true << std::vector<int>{0, 1, 2, 0, 1, 2};
        QTest::newRow("two copies page by page")
            << 1 << 2 << 2 << false << std::vector<int>{0, 0, 1, 1};
    }
    void printedPagesFollowRangeAndCopies() {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, copies);
        QFETCH(bool, collate);
        QFETCH(std::vector<int>, expected);
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat); // makes no copies itself
        if (from > 0) {
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(from, to);
        }
        printer.setCopyCount(copies);
        printer.setCollateCopies(collate);
        QCOMPARE(msr::report::PrintedPages(printer, 3), expected);
    }

    // The set-up only chooses: it says so in its caption, and no button promises to print.
    void printSetUpIsCalledSoAndPrintsNothing() {
        QTemporaryDir folder;
        const QString fileName = folder.filePath(QStringLiteral("gedruckt.pdf"));
        window_->printer().setOutputFormat(QPrinter::PdfFormat);
        window_->printer().setOutputFileName(fileName);
        window_->show();
        QString caption;
        QStringList buttonTexts;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            caption = dialog->windowTitle();
            for (const QPushButton* button : dialog->findChildren<QPushButton*>())
                if (button->isVisible())
                    buttonTexts << button->text();
            dialog->accept();
        });
        Action(*window_, "actionPrintSetup")->trigger();
        QCOMPARE(caption, QStringLiteral("Druckereinrichtung"));
        QVERIFY2(buttonTexts.contains(QStringLiteral("&Übernehmen")),
                 qPrintable(buttonTexts.join('|')));
        for (QString text : buttonTexts)
            QVERIFY2(!text.remove(u'&').contains(QStringLiteral("Drucken")) &&
                         !text.contains(QStringLiteral("Print")),
                     qPrintable(text));
        QVERIFY(!QFile::exists(fileName));
    }

    void printSetUpOffersThePagesOfTheReport() {
        window_->show();
        int minPage = -1;
        int maxPage = -1;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            minPage = dialog->minPage();
            maxPage = dialog->maxPage();
            dialog->reject();
        });
        Action(*window_, "actionPrintSetup")->trigger();
        QCOMPARE(minPage, 1);
        QCOMPARE(maxPage, pages_->pageCount());
    }

    // Screen readers find the page view as "Auswertung" and read the report from it,
    // paragraph by paragraph, as the document has them.
    void pageViewReadsTheReportParagraphByParagraph() {
        window_->show();
        QStringList expected;
        const msr::ReportDocument document =
            msr::test::EvaluatedDocument(msr::test::AllFeaturesAnswers());
        for (const msr::Paragraph& paragraph : document.paragraphs())
            if (!QString::fromStdString(paragraph.text).trimmed().isEmpty())
                expected << QString::fromStdString(paragraph.text);
        QVERIFY(expected.size() > 10);
        auto* view = window_->previewWidget()->findChild<QGraphicsView*>();
        QAccessibleInterface* page = QAccessible::queryAccessibleInterface(view);
        QVERIFY(page);
        QCOMPARE(page->text(QAccessible::Name), QStringLiteral("Auswertung"));
        QCOMPARE(page->role(), QAccessible::Document);
        QStringList children;
        for (int index = 0; index < page->childCount(); ++index) {
            QAccessibleInterface* paragraph = page->child(index);
            QCOMPARE(paragraph->role(), QAccessible::Paragraph);
            QCOMPARE(paragraph->parent(), page);
            QCOMPARE(page->indexOfChild(paragraph), index);
            children << paragraph->textInterface()->text(
                0, paragraph->textInterface()->characterCount());
        }
        QCOMPARE(children, expected);
        QAccessibleTextInterface* text = page->textInterface();
        QVERIFY(text);
        QCOMPARE(text->text(0, text->characterCount()), expected.join(QLatin1Char('\n')));
        int start = 0;
        int end = 0;
        const int inSecond = int(expected.at(0).size()) + 3;
        QCOMPARE(
            text->textAtOffset(inSecond, QAccessible::ParagraphBoundary, &start, &end).trimmed(),
            expected.at(1));
    }

    void closingRaisesTheAfterPreviewSignal() {
        window_->show();
        QSignalSpy closed(window_.get(), &PreviewWindow::closed);
        Action(*window_, "actionClose")->trigger();
        QCOMPARE(closed.count(), 1);
        QVERIFY(!window_->isVisible());
    }

private:
    static QByteArray ReadBytes(const QString& fileName) {
        QFile file(fileName);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    std::shared_ptr<const ReportPages> pages_;
    std::unique_ptr<PreviewWindow> window_;
    QStringList printProposals_;
};

QTEST_MAIN(ReportPreviewTest)
#include "test_report_preview.moc"

#include "sample_reports.h"
#include "tests/samples/built_in_edition.h"

#include "evaluation/evaluate.h"
#include "gui/forms.h"
#include "gui/messages.h"
#include "report/entry_points.h"
#include "report/preview_window.h"
#include "report/report_pages.h"
#include "report/report_window.h"

#include <QApplication>
#include <QLocale>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>

using msr::gui::MessageRequest;
using msr::gui::MessageResult;
using msr::report::PreviewWindow;

namespace {

// Runs check() once the event loop that the command waits in is running.
void WhenWaiting(std::function<void()> check) {
    QTimer::singleShot(0, qApp, std::move(check));
}

std::vector<PreviewWindow*> VisiblePreviews() {
    std::vector<PreviewWindow*> previews;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* preview = qobject_cast<PreviewWindow*>(widget); preview && preview->isVisible())
            previews.push_back(preview);
    return previews;
}

QString PreviewText(const PreviewWindow* preview) {
    return preview->pages().text().toPlainText();
}

void DeleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class ReportWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        form8_ = new TForm8;
        QCOMPARE(Form8, form8_);
        msr::gui::Messages::setPresenter([this](const MessageRequest& request) {
            messages_.push_back(request);
            return MessageResult::Ok;
        });
    }
    void cleanupTestCase() {
        msr::gui::Messages::setPresenter({});
        delete form8_;
        QVERIFY(!Form8);
    }
    void init() {
        // A failed check inside the waiting loop must not leave the command waiting.
        watchdog_.setSingleShot(true);
        watchdog_.callOnTimeout([] {
            for (PreviewWindow* preview : VisiblePreviews())
                preview->close();
        });
        watchdog_.start(15000);
        messages_.clear();
        SetAnswersSource([] { return msr::test::MandatoryAnswers(); });
    }
    void cleanup() {
        watchdog_.stop();
        for (PreviewWindow* preview : VisiblePreviews())
            preview->close();
        DeleteClosedWindows();
    }

    void commandWaitsUntilThePreviewCloses() {
        bool closedByUser = false;
        WhenWaiting([&] {
            PreviewWindow* preview = form8_->openPreview();
            QVERIFY(preview && preview->isVisible());
            QCOMPARE(preview->windowTitle(), QStringLiteral("Vorschau"));
            QVERIFY(preview->windowState() & Qt::WindowMaximized);
            QVERIFY(!preview->isModal());
            QVERIFY(preview->pagesPrepared());
            closedByUser = true;
            preview->close();
        });
        form8_->SpeedButton1Click(nullptr);
        QVERIFY(closedByUser); // the command returned only after the close
        DeleteClosedWindows();
        QVERIFY(!form8_->openPreview());
        QVERIFY(!form8_->isVisible());
        QVERIFY(messages_.empty());
    }

    void commandRebuildsTheDocumentFromTheAnswers() {
        form8_->document().appendBody("Rest der letzten Auswertung");
        WhenWaiting([&] { form8_->openPreview()->close(); });
        form8_->SpeedButton1Click(nullptr);

        msr::ReportDocument expected;
        msr::Evaluate(msr::test::MandatoryAnswers(), msr::test::BuiltInEdition(), expected,
                      QLocale::system().decimalPoint().toStdString());
        QCOMPARE(form8_->document().plainText(), expected.plainText());
        QCOMPARE(form8_->document().insertionPoint(), std::size_t(0));
    }

    void previewShowsTheDocumentJustBuilt() {
        QString shown;
        WhenWaiting([&] {
            shown = PreviewText(form8_->openPreview());
            form8_->openPreview()->close();
        });
        form8_->SpeedButton1Click(nullptr);
        QVERIFY(shown.contains(QStringLiteral("Schlussberechnung")));
        QCOMPARE(shown.count(QStringLiteral("Schlussberechnung")), 1);
    }

    void failingEvaluationShowsTheErrorAndOpensNoPreview() {
        SetAnswersSource([] {
            msr::Answers answers = msr::test::MandatoryAnswers();
            answers.LivingArea = "7x5";
            return answers;
        });
        bool previewOpened = false;
        WhenWaiting([&] { previewOpened = !VisiblePreviews().empty(); });
        form8_->SpeedButton1Click(nullptr);
        QVERIFY(!form8_->openPreview());
        QCOMPARE(int(messages_.size()), 1);
        QCOMPARE(messages_.front().icon, msr::gui::MessageIcon::Stop);
        QCOMPARE(messages_.front().text, QStringLiteral("'7x5' ist kein gültiger Gleitkommawert."));
        QCoreApplication::processEvents();
        QVERIFY(!previewOpened);
    }

    // A second "Auswerten" while a preview is open closes that preview first, then
    // shows the new evaluation; the first preview never shows anything but its own.
    void secondRunReplacesTheOpenPreview() {
        QPointer<PreviewWindow> first;
        QString firstTextBefore;
        QString firstTextAfter;
        QString secondText;
        bool firstStillOpen = true;
        std::vector<int> returns;
        WhenWaiting([&] {
            first = form8_->openPreview();
            firstTextBefore = PreviewText(first);
            SetAnswersSource([] {
                msr::Answers answers = msr::test::MandatoryAnswers();
                answers.LivingArea = "98";
                return answers;
            });
            WhenWaiting([&] {
                firstStillOpen = first && first->isVisible();
                if (first)
                    firstTextAfter = PreviewText(first);
                PreviewWindow* second = form8_->openPreview();
                QVERIFY(second && second != first);
                secondText = PreviewText(second);
                QCOMPARE(int(VisiblePreviews().size()), 1);
                second->close();
            });
            form8_->SpeedButton1Click(nullptr);
            returns.push_back(2);
        });
        form8_->SpeedButton1Click(nullptr);
        returns.push_back(1);

        QCOMPARE(returns, (std::vector<int>{2, 1}));
        QVERIFY(!firstStillOpen);
        QVERIFY(firstTextBefore.contains(QStringLiteral("75")));
        if (!firstTextAfter.isEmpty())
            QCOMPARE(firstTextAfter, firstTextBefore);
        QVERIFY(secondText.contains(QStringLiteral("98")));
        QVERIFY(!secondText.contains(QStringLiteral("75 Quadratmeter")));
        QVERIFY(VisiblePreviews().empty());
    }

    void appendOperationsWriteIntoForm8() {
        msr::ReportDocument& document = form8_->document();
        document.clear();
        AppendHeadingParagraph("Überschrift");
        AppendBodyParagraph("");
        AppendWarningParagraph("Warnung");
        QCOMPARE(int(document.paragraphs().size()), 3);
        QCOMPARE(document.paragraphs()[0].kind, msr::ParagraphKind::Heading);
        QCOMPARE(document.paragraphs()[1].kind, msr::ParagraphKind::Body);
        QVERIFY(document.paragraphs()[1].attributes.bold);
        QCOMPARE(document.paragraphs()[2].kind, msr::ParagraphKind::Warning);
        QCOMPARE(document.paragraphs()[2].attributes.rgb, std::optional<std::uint32_t>(0xFF0000));
    }

    void buildEvaluationReportAppendsTheAnswersEvaluation() {
        form8_->document().clear();
        BuildEvaluationReport();
        msr::ReportDocument expected;
        msr::Evaluate(msr::test::MandatoryAnswers(), msr::test::BuiltInEdition(), expected,
                      QLocale::system().decimalPoint().toStdString());
        QCOMPARE(form8_->document().plainText(), expected.plainText());
    }

private:
    TForm8* form8_ = nullptr;
    QTimer watchdog_;
    std::vector<MessageRequest> messages_;
};

QTEST_MAIN(ReportWindowTest)
#include "test_report_window.moc"

#include "report/report_window.h"

#include "ui_report_window.h"

#include "gui/forms.h"
#include "gui/messages.h"
#include "report/entry_points.h"
#include "report/preview_window.h"
#include "report/report_pages.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>

namespace {

// The document's size rule reads the screen's vertical resolution once, here. Qt
// reports a scaled screen as 96 logical dots per inch with a device-pixel ratio (120 dpi
// as 96 x 1.25); the screen's real resolution is their product.
int ScreenVerticalDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? qRound(screen->logicalDotsPerInchY() * screen->devicePixelRatio()) : 96;
}

} // namespace

TForm8::TForm8(QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::TForm8>()), RichEdit1(ScreenVerticalDpi()) {
    ui_->setupUi(this);
    setAttribute(Qt::WA_QuitOnClose, false); // a container, never a window of its own
    Form8 = this;
}

TForm8::~TForm8() {
    if (preview_)
        delete preview_.data();
    if (Form8 == this)
        Form8 = nullptr;
}

msr::report::PreviewWindow* TForm8::openPreview() const {
    return preview_.data();
}

void TForm8::SpeedButton1Click(QObject* /*sender*/) {
    msr::gui::Guarded([this] { runEvaluation(); });
}

void TForm8::ReportAfterPreview(QObject* /*sender*/) {
    close();
}

void TForm8::runEvaluation() {
    // While pages are being prepared the document they come from stays as it is.
    if (preparing_)
        return;
    closeOpenPreview();
    RichEdit1.clear();
    BuildEvaluationReport();
    RichEdit1.returnToStart();
    showPreviewAndWait();
}

// A second "Auswerten" replaces the open preview: it closes before the document
// changes, and its own command returns once this one has.
void TForm8::closeOpenPreview() {
    if (preview_)
        preview_->close();
}

void TForm8::showPreviewAndWait() {
    // Let the windows repaint before the pages are prepared; nothing else runs yet.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);

    auto pages = std::make_shared<const msr::report::ReportPages>(RichEdit1);
    QPointer<msr::report::PreviewWindow> preview = new msr::report::PreviewWindow(pages);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    // Closing the main window ends the program even while the preview is open.
    preview->setAttribute(Qt::WA_QuitOnClose, false);
    connect(preview, &msr::report::PreviewWindow::closed, this,
            [this, sender = preview.data()] { ReportAfterPreview(sender); });
    preview_ = preview;

    preparing_ = true;
    preview->showMaximized(); // shows the window and prepares its pages
    preparing_ = false;

    QEventLoop waiting;
    connect(preview, &msr::report::PreviewWindow::closed, &waiting, &QEventLoop::quit);
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &waiting,
            &QEventLoop::quit);
    if (preview && preview->isVisible() && !QCoreApplication::closingDown())
        waiting.exec();

    // The application is ending: the preview goes with it.
    if (preview && preview->isVisible())
        preview->close();
}

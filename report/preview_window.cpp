#include "report/preview_window.h"

#include "ui_preview_window.h"

#include "gui/messages.h"
#include "gui/window_placement.h"
#include "report/file_saving.h"
#include "report/program_edition.h"
#include "report/report_accessibility.h"
#include "report/report_output.h"
#include "report/report_pages.h"
#include "report/report_printing.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsView>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>

#include <cerrno>

namespace msr::report {
namespace {

using msr::gui::Guarded;

// Qt's own print-preview pictures, which every Qt program shows in its previews.
QIcon PreviewIcon(const char* name) {
    const QString base = QStringLiteral(":/qt-project.org/dialogs/qprintpreviewdialog/images/");
    QIcon icon;
    icon.addFile(base + QLatin1String(name) + QStringLiteral("-24.png"), QSize(24, 24));
    icon.addFile(base + QLatin1String(name) + QStringLiteral("-32.png"), QSize(32, 32));
    return icon;
}

// The dialog opens in the proposal's folder with its bare name in the name box, so
// whatever the user types is taken in that folder. It asks before it replaces a file.
QString AskForFile(QWidget* parent, const QString& proposedPath, const QString& caption) {
    const QFileInfo proposal(proposedPath);
    QFileDialog dialog(parent, caption, proposal.absolutePath(),
                       QStringLiteral("PDF-Dateien (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(proposal.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString AskForPdfFile(QWidget* parent, const QString& proposedPath) {
    return AskForFile(parent, proposedPath, QStringLiteral("Als PDF speichern"));
}

QString AskForPrintFile(QWidget* parent, const QString& proposedPath) {
    return AskForFile(parent, proposedPath, QStringLiteral("In Datei drucken"));
}

// The printer is a file: the PDF printer, or whatever printer the set-up gave a file.
bool PrintsIntoFile(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::PdfFormat || !printer.outputFileName().isEmpty();
}

// The path itself while no file has that name, else the first free one of "name-2.pdf",
// "name-3.pdf", ... in the same folder.
QString FreshFileName(const QString& path) {
    const QFileInfo file(path);
    if (!file.exists())
        return path;
    static const QRegularExpression numbered(QStringLiteral("-[0-9]+$"));
    const QString stem = file.completeBaseName().remove(numbered);
    const QString suffix = file.suffix().isEmpty() ? QString() : QLatin1Char('.') + file.suffix();
    const QDir folder = file.absoluteDir();
    for (int number = 2;; ++number) {
        const QString candidate =
            folder.filePath(QStringLiteral("%1-%2%3").arg(stem).arg(number).arg(suffix));
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

// Qt's print dialog turns down a file in a missing folder as "write-protected"; the
// program tells the reason itself, as saving does, and leaves the dialog open.
void TellMissingFolderOfPrintFile(QPrintDialog& dialog) {
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    auto* fileField = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
    if (!buttons || !fileField ||
        !QObject::disconnect(buttons, SIGNAL(accepted()), &dialog, SLOT(_q_checkFields())))
        return;
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&dialog, fileField] {
        const QString fileName = fileField->text();
        const QFileInfo file(fileName);
        if (fileField->isEnabled() && !fileName.isEmpty() && !file.absoluteDir().exists()) {
            msr::gui::Messages::reportError(
                QStringLiteral("Die Datei \"%1\" kann nicht erstellt werden: %2")
                    .arg(QDir::toNativeSeparators(fileName), WhyNotWritable(ENOENT, fileName)),
                &dialog);
            fileField->setFocus(Qt::OtherFocusReason);
            return;
        }
        QMetaObject::invokeMethod(&dialog, "_q_checkFields");
    });
}

// Printing into a file that is not named yet proposes the folder that saving as PDF
// proposes, not Qt's (the working or the home folder).
void ProposePrintFile(QPrintDialog& dialog, const QPrinter& printer, const QString& proposal) {
    if (!printer.outputFileName().isEmpty())
        return;
    if (auto* fileField = dialog.findChild<QLineEdit*>(QStringLiteral("filename")))
        fileField->setText(QDir::toNativeSeparators(proposal));
}

// The set-up dialog only chooses: it is called so and its button does not say "Drucken".
void NameAsSetUp(QPrintDialog& dialog, const QString& caption, const QString& acceptText) {
    dialog.setWindowTitle(caption);
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
        if (QPushButton* accept = buttons->button(QDialogButtonBox::Ok))
            accept->setText(acceptText);
}

// A printer is ready when it names a real printer or a file to print into.
bool PrinterReady(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return !printer.outputFileName().isEmpty();
    return !printer.printerName().isEmpty();
}

} // namespace

PreviewWindow::PreviewWindow(std::shared_ptr<const ReportPages> pages, QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::PreviewWindow>()), pages_(std::move(pages)),
      chooseSaveFile_(AskForPdfFile), choosePrintFile_(AskForPrintFile) {
    ui_->setupUi(this);
    setUpPrinter();
    preview_ = new QPrintPreviewWidget(&printer_, ui_->centralwidget);
    preview_->setObjectName(QStringLiteral("PreviewWidget"));
    preview_->setViewMode(QPrintPreviewWidget::SinglePageView);
    ui_->PreviewLayout->addWidget(preview_);
    makeReadable();
    setUpActions();
    setUpStatusBar();
    enablePrinting(false);

    connect(preview_, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* printer) { Guarded(this, [&] { preparePages(printer); }); });
    connect(preview_, &QPrintPreviewWidget::previewChanged, this,
            [this] { Guarded(this, [&] { updatePageStatus(); }); });
    ui_->actionFitWidth->setChecked(true);
    preview_->fitToWidth();
    // Opened maximised; sized to the screen beforehand, so it fills the screen even
    // where no window manager maximises it.
    msr::gui::FillAvailableArea(this);
}

PreviewWindow::~PreviewWindow() = default;

// The page view is a picture of the page; screen readers get the report's text from it,
// paragraph by paragraph. The widget itself, which only holds the view, is named so too.
void PreviewWindow::makeReadable() {
    QStringList paragraphs;
    for (QTextBlock block = pages_->text().begin(); block.isValid(); block = block.next())
        if (!block.text().trimmed().isEmpty())
            paragraphs << block.text();
    if (auto* pageView = preview_->findChild<QGraphicsView*>())
        MakeReportReadable(pageView, paragraphs);
    preview_->setAccessibleName(QStringLiteral("Vorschau der Auswertung"));
}

void PreviewWindow::setSaveFileChooser(SaveFileChooser chooser) {
    chooseSaveFile_ = chooser ? std::move(chooser) : SaveFileChooser(AskForPdfFile);
}

void PreviewWindow::setPrintFileChooser(SaveFileChooser chooser) {
    choosePrintFile_ = chooser ? std::move(chooser) : SaveFileChooser(AskForPrintFile);
}

// The documents folder where it exists (it is only a name until someone creates it),
// else the home folder: a proposal the file dialog opens as it stands.
QString PreviewWindow::proposedPdfPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    return QDir(QFileInfo(folder).absoluteFilePath()).filePath(QString::fromUtf8(kPdfFileName));
}

// The report's printer settings: A4 portrait, one copy, no duplex, the automatic paper
// bin, all pages.
void PreviewWindow::setUpPrinter() {
    printer_.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                       QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    printer_.setFullPage(true);
    printer_.setCopyCount(1);
    printer_.setDuplex(QPrinter::DuplexNone);
    printer_.setPaperSource(QPrinter::Auto);
    printer_.setPrintRange(QPrinter::AllPages);
    printer_.setDocName(QStringLiteral("Mietspiegel-Auswertung"));
}

void PreviewWindow::setUpActions() {
    Ui::PreviewWindow& ui = *ui_;
    zoomGroup_ = new QActionGroup(this);
    // Zooming in or out by key leaves none of the three fixed zooms chosen.
    zoomGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (QAction* action : {ui.actionOptimalSize, ui.actionActualSize, ui.actionFitWidth})
        zoomGroup_->addAction(action);

    ui.actionOptimalSize->setIcon(PreviewIcon("zoom-fit-page"));
    ui.actionFitWidth->setIcon(PreviewIcon("zoom-fit-width"));
    ui.actionFirstPage->setIcon(PreviewIcon("go-first"));
    ui.actionPreviousPage->setIcon(PreviewIcon("go-previous"));
    ui.actionNextPage->setIcon(PreviewIcon("go-next"));
    ui.actionLastPage->setIcon(PreviewIcon("go-last"));
    ui.actionPrintSetup->setIcon(PreviewIcon("page-setup"));
    ui.actionPrint->setIcon(PreviewIcon("printer"));
    ui.actionSavePdf->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    // The button shows "S&chließen"; its access key Alt+C is the button's own and works
    // wherever the focus is in the window. The action takes no second Alt+C: two
    // shortcuts on one key are ambiguous, and then neither fires.
    ui.actionClose->setIconText(ui.actionClose->text());

    for (QAction* action : {ui.actionActualSize, ui.actionPrint, ui.actionSavePdf, ui.actionClose})
        if (auto* button = qobject_cast<QToolButton*>(ui.ToolBar->widgetForAction(action)))
            button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setUpKeyboard();

    connect(ui.actionOptimalSize, &QAction::triggered, preview_, &QPrintPreviewWidget::fitInView);
    connect(ui.actionActualSize, &QAction::triggered, this,
            [this] { preview_->setZoomFactor(1.0); });
    connect(ui.actionFitWidth, &QAction::triggered, preview_, &QPrintPreviewWidget::fitToWidth);
    connect(ui.actionFirstPage, &QAction::triggered, this, [this] { goToPage(1); });
    connect(ui.actionPreviousPage, &QAction::triggered, this,
            [this] { goToPage(preview_->currentPage() - 1); });
    connect(ui.actionNextPage, &QAction::triggered, this,
            [this] { goToPage(preview_->currentPage() + 1); });
    connect(ui.actionLastPage, &QAction::triggered, this,
            [this] { goToPage(preview_->pageCount()); });
    connect(ui.actionPrintSetup, &QAction::triggered, this,
            [this] { Guarded(this, [&] { runPrintSetup(); }); });
    connect(ui.actionPrint, &QAction::triggered, this,
            [this] { Guarded(this, [&] { printPreparedPages(); }); });
    connect(ui.actionSavePdf, &QAction::triggered, this,
            [this] { Guarded(this, [&] { saveAsPdf(); }); });
    connect(ui.actionClose, &QAction::triggered, this, &QWidget::close);
}

// Every action has the usual key, and Tab reaches every button of the tool bar.
void PreviewWindow::setUpKeyboard() {
    Ui::PreviewWindow& ui = *ui_;
    ui.actionOptimalSize->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_1));
    ui.actionActualSize->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    ui.actionFitWidth->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_2));
    ui.actionFirstPage->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Home));
    ui.actionPreviousPage->setShortcut(QKeySequence(Qt::Key_PageUp));
    ui.actionNextPage->setShortcut(QKeySequence(Qt::Key_PageDown));
    ui.actionLastPage->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_End));
    ui.actionPrintSetup->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    ui.actionPrint->setShortcut(QKeySequence::Print);
    ui.actionSavePdf->setShortcut(QKeySequence::Save);

    auto* zoomIn = new QAction(QStringLiteral("Vergrößern"), this);
    zoomIn->setObjectName(QStringLiteral("actionZoomIn"));
    zoomIn->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    auto* zoomOut = new QAction(QStringLiteral("Verkleinern"), this);
    zoomOut->setObjectName(QStringLiteral("actionZoomOut"));
    zoomOut->setShortcut(QKeySequence::ZoomOut);
    addAction(zoomIn);
    addAction(zoomOut);
    connect(zoomIn, &QAction::triggered, this, [this] { zoomBy(true); });
    connect(zoomOut, &QAction::triggered, this, [this] { zoomBy(false); });

    // The hint stays the hint; the key follows it in brackets.
    for (QAction* action : ui.ToolBar->actions()) {
        if (action->isSeparator())
            continue;
        const QKeySequence key =
            action == ui.actionClose ? QKeySequence::mnemonic(action->text()) : action->shortcut();
        if (!key.isEmpty())
            action->setToolTip(QStringLiteral("%1 (%2)").arg(
                action->toolTip(), key.toString(QKeySequence::NativeText)));
        if (QWidget* button = ui.ToolBar->widgetForAction(action))
            button->setFocusPolicy(Qt::TabFocus);
    }
}

void PreviewWindow::zoomBy(bool in) {
    if (QAction* chosen = zoomGroup_->checkedAction())
        chosen->setChecked(false);
    if (in)
        preview_->zoomIn();
    else
        preview_->zoomOut();
}

void PreviewWindow::setUpStatusBar() {
    progressLabel_ = new QLabel(this);
    progressLabel_->setObjectName(QStringLiteral("ProgressLabel"));
    pageLabel_ = new QLabel(this);
    pageLabel_->setObjectName(QStringLiteral("PageLabel"));
    for (QLabel* label : {progressLabel_, pageLabel_}) {
        label->setContentsMargins(6, 0, 12, 0);
        statusBar()->addWidget(label);
    }
    // For when the figures hold: beside the report, never in it.
    auto* edition = new QLabel(msr::report::ProgramEditionTitle(msr::report::TodayOnClock()), this);
    edition->setObjectName(QStringLiteral("EditionLabel"));
    edition->setContentsMargins(12, 0, 6, 0);
    statusBar()->addPermanentWidget(edition);
    showProgress(0, pages_->pageCount());
}

void PreviewWindow::preparePages(QPrinter* printer) {
    preparing_ = true;
    prepared_ = false;
    enablePrinting(false);
    try {
        PaintReportPages(*printer, *pages_, AllPages(*pages_),
                         QStringLiteral("Die Vorschau kann nicht angezeigt werden"),
                         [this](int done, int total) { showProgress(done, total); });
    } catch (...) {
        preparing_ = false;
        throw;
    }
    preparing_ = false;
    prepared_ = true;
    enablePrinting(true);
}

void PreviewWindow::showProgress(int done, int total) {
    const int percent = total > 0 ? done * 100 / total : 100;
    progressLabel_->setText(QStringLiteral("Vorbereitung: %1 %").arg(percent));
}

// Printing and its set-up wait until every page is prepared.
void PreviewWindow::enablePrinting(bool enabled) {
    ui_->actionPrint->setEnabled(enabled);
    ui_->actionPrintSetup->setEnabled(enabled);
}

void PreviewWindow::updatePageStatus() {
    const int current = preview_->currentPage();
    const int count = preview_->pageCount();
    pageLabel_->setText(QStringLiteral("Seite %1 von %2").arg(current).arg(count));
    ui_->actionFirstPage->setEnabled(current > 1);
    ui_->actionPreviousPage->setEnabled(current > 1);
    ui_->actionNextPage->setEnabled(current < count);
    ui_->actionLastPage->setEnabled(current < count);
}

void PreviewWindow::goToPage(int page) {
    preview_->setCurrentPage(page);
    updatePageStatus();
}

// The set-up dialog writes its choices into the printer for the next print; without
// any printer installed it still offers printing into a PDF file.
bool PreviewWindow::runPrintSetup() {
    if (!choosePrinter(QStringLiteral("Druckereinrichtung"), QStringLiteral("&Übernehmen")))
        return false;
    // A new paper size or orientation shows at once, as it will print.
    preview_->updatePreview();
    return true;
}

// Without a printer chosen (none installed, or none named) "Drucken" asks first, in the
// same dialog, which then prints: it lists the printers there are and always offers
// printing into a PDF file, so a machine without any printer can still print.
// A real printer prints at once. Into a file, every print asks for the file, proposing
// a name no file has yet: the last report's PDF is never replaced unasked.
void PreviewWindow::printPreparedPages() {
    if (!PrinterReady(printer_)) {
        if (!choosePrinter({}, {}))
            return;
    } else if (PrintsIntoFile(printer_)) {
        const QString fileName = choosePrintFile_(this, proposedPrintPath());
        if (fileName.isEmpty())
            return;
        printer_.setOutputFileName(fileName);
    }
    PrintReport(printer_, *pages_);
}

// A fresh name beside the file printed into last, else beside where PDFs are saved.
QString PreviewWindow::proposedPrintPath() const {
    const QFileInfo last(printer_.outputFileName());
    if (!printer_.outputFileName().isEmpty() && last.absoluteDir().exists())
        return FreshFileName(last.absoluteFilePath());
    return FreshFileName(proposedPdfPath());
}

// The printer dialog; a caption and button text given make it a set-up that only chooses.
bool PreviewWindow::choosePrinter(const QString& caption, const QString& acceptText) {
    QPrintDialog dialog(&printer_, this);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintCollateCopies |
                      QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, pages_->pageCount());
    if (!caption.isEmpty())
        NameAsSetUp(dialog, caption, acceptText);
    TellMissingFolderOfPrintFile(dialog);
    ProposePrintFile(dialog, printer_, proposedPrintPath());
    return dialog.exec() == QDialog::Accepted;
}

void PreviewWindow::saveAsPdf() {
    const QString fileName = chooseSaveFile_(this, proposedPdfPath());
    if (!fileName.isEmpty())
        WriteReportPdf(*pages_, fileName);
}

void PreviewWindow::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}

} // namespace msr::report

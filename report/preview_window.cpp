#include "report/preview_window.h"

#include "ui_preview_window.h"

#include "gui/messages.h"
#include "gui/window_placement.h"
#include "report/report_output.h"
#include "report/report_pages.h"
#include "report/report_printing.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>

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

QString AskForPdfFile(QWidget* parent, const QString& proposedPath) {
    QFileDialog dialog(parent, QStringLiteral("Als PDF speichern"), proposedPath,
                       QStringLiteral("PDF-Dateien (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(proposedPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
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
      chooseSaveFile_(AskForPdfFile) {
    ui_->setupUi(this);
    setUpPrinter();
    preview_ = new QPrintPreviewWidget(&printer_, ui_->centralwidget);
    preview_->setObjectName(QStringLiteral("PreviewWidget"));
    preview_->setViewMode(QPrintPreviewWidget::SinglePageView);
    ui_->PreviewLayout->addWidget(preview_);
    setUpActions();
    setUpStatusBar();
    enablePrinting(false);

    connect(preview_, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* printer) { Guarded([&] { preparePages(printer); }); });
    connect(preview_, &QPrintPreviewWidget::previewChanged, this,
            [this] { Guarded([&] { updatePageStatus(); }); });
    ui_->actionFitWidth->setChecked(true);
    preview_->fitToWidth();
    // Opened maximised; sized to the screen beforehand, so it fills the screen even
    // where no window manager maximises it.
    msr::gui::FillAvailableArea(this);
}

PreviewWindow::~PreviewWindow() = default;

QString PreviewWindow::proposedPdfPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir(folder).filePath(QStringLiteral("Mietspiegel-Auswertung.pdf"));
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
    auto* zoom = new QActionGroup(this);
    for (QAction* action : {ui.actionOptimalSize, ui.actionActualSize, ui.actionFitWidth})
        zoom->addAction(action);

    ui.actionOptimalSize->setIcon(PreviewIcon("zoom-fit-page"));
    ui.actionFitWidth->setIcon(PreviewIcon("zoom-fit-width"));
    ui.actionFirstPage->setIcon(PreviewIcon("go-first"));
    ui.actionPreviousPage->setIcon(PreviewIcon("go-previous"));
    ui.actionNextPage->setIcon(PreviewIcon("go-next"));
    ui.actionLastPage->setIcon(PreviewIcon("go-last"));
    ui.actionPrintSetup->setIcon(PreviewIcon("page-setup"));
    ui.actionPrint->setIcon(PreviewIcon("printer"));
    ui.actionSavePdf->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    // The button shows its access key; Alt+C works wherever the focus is.
    ui.actionClose->setIconText(ui.actionClose->text());
    ui.actionClose->setShortcut(QKeySequence(Qt::ALT | Qt::Key_C));

    for (QAction* action : {ui.actionActualSize, ui.actionPrint, ui.actionSavePdf, ui.actionClose})
        if (auto* button = qobject_cast<QToolButton*>(ui.ToolBar->widgetForAction(action)))
            button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

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
            [this] { Guarded([&] { runPrintSetup(); }); });
    connect(ui.actionPrint, &QAction::triggered, this,
            [this] { Guarded([&] { printPreparedPages(); }); });
    connect(ui.actionSavePdf, &QAction::triggered, this, [this] { Guarded([&] { saveAsPdf(); }); });
    connect(ui.actionClose, &QAction::triggered, this, &QWidget::close);
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
    showProgress(0, pages_->pageCount());
}

void PreviewWindow::preparePages(QPrinter* printer) {
    preparing_ = true;
    prepared_ = false;
    enablePrinting(false);
    try {
        PaintReportPages(*printer, *pages_, AllPages(*pages_),
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
    QPrintDialog dialog(&printer_, this);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintCollateCopies |
                      QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, pages_->pageCount());
    return dialog.exec() == QDialog::Accepted;
}

void PreviewWindow::printPreparedPages() {
    if (!PrinterReady(printer_) && !runPrintSetup())
        return;
    PrintReport(printer_, *pages_);
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

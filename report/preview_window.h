#pragma once

#include <QMainWindow>
#include <QPrinter>

#include <functional>
#include <memory>

class QActionGroup;
class QLabel;
class QPrintPreviewWidget;

namespace Ui {
class PreviewWindow;
}

namespace msr::report {

class ReportPages;

inline constexpr const char* kPdfFileName = "Mietspiegel-Auswertung.pdf";

// The print preview "Vorschau": our own top-level window, not modal, showing the
// prepared pages one at a time, with zoom, page navigation, print set-up, printing and
// saving as PDF. It keeps its pages to itself, so what it shows and prints never
// changes while it is open.
class PreviewWindow : public QMainWindow {
    Q_OBJECT

public:
    // Asks where to save the PDF, proposing a path; an empty answer saves nothing.
    using SaveFileChooser = std::function<QString(QWidget* parent, const QString& proposedPath)>;

    explicit PreviewWindow(std::shared_ptr<const ReportPages> pages, QWidget* parent = nullptr);
    ~PreviewWindow() override;

    const ReportPages& pages() const { return *pages_; }
    // The printer the set-up dialog configures and the next print uses.
    QPrinter& printer() { return printer_; }
    QPrintPreviewWidget* previewWidget() const { return preview_; }
    bool preparing() const { return preparing_; }
    bool pagesPrepared() const { return prepared_; }

    // An empty chooser restores the program's own file dialog.
    void setSaveFileChooser(SaveFileChooser chooser);
    // Asks for the file each "Drucken" into a file writes; empty restores the dialog.
    void setPrintFileChooser(SaveFileChooser chooser);

    // An absolute path in a folder that exists: the documents folder, else home.
    static QString proposedPdfPath();

signals:
    // The window has closed: the report's after-preview event.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setUpPrinter();
    void makeReadable();
    void setUpActions();
    void setUpKeyboard();
    void zoomBy(bool in);
    void setUpStatusBar();
    void preparePages(QPrinter* printer);
    void showProgress(int done, int total);
    void enablePrinting(bool enabled);
    void updatePageStatus();
    void goToPage(int page);
    bool runPrintSetup();
    bool choosePrinter(const QString& caption, const QString& acceptText);
    void printPreparedPages();
    QString proposedPrintPath() const;
    void saveAsPdf();

    std::unique_ptr<Ui::PreviewWindow> ui_;
    std::shared_ptr<const ReportPages> pages_;
    QPrinter printer_{QPrinter::HighResolution};
    QPrintPreviewWidget* preview_ = nullptr;
    QActionGroup* zoomGroup_ = nullptr;
    QLabel* progressLabel_ = nullptr;
    QLabel* pageLabel_ = nullptr;
    SaveFileChooser chooseSaveFile_;
    SaveFileChooser choosePrintFile_;
    bool preparing_ = false;
    bool prepared_ = false;
};

} // namespace msr::report

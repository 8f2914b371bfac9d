#pragma once

#include "evaluation/document/report_document.h"

#include <QPointer>
#include <QWidget>

#include <memory>

namespace Ui {
class TForm8;
}

namespace msr::report {
class PreviewWindow;
}

// The report window: created hidden at start-up and never shown. It holds the report
// document and runs the evaluation command behind "Auswerten".
class TForm8 : public QWidget {
    Q_OBJECT

public:
    // Registers itself as Form8 (the entry points write through it) until destroyed.
    explicit TForm8(QWidget* parent = nullptr);
    ~TForm8() override;

    // The evaluation command: clears the document, builds the evaluation, opens the
    // preview and returns only when the preview has closed or the application ends.
    // A run while a preview is still open first closes that preview, then builds and
    // shows the new evaluation. Errors are shown with the standard error report.
    void SpeedButton1Click(QObject* sender);
    // The report's after-preview event: closes the (hidden) report window.
    void ReportAfterPreview(QObject* sender);

    msr::ReportDocument& document() { return RichEdit1; }
    // The preview of the running command, if one is open.
    msr::report::PreviewWindow* openPreview() const;

private:
    void runEvaluation();
    void closeOpenPreview();
    void showPreviewAndWait();

    std::unique_ptr<Ui::TForm8> ui_;
    // The report document's holder.
    msr::ReportDocument RichEdit1;
    QPointer<msr::report::PreviewWindow> preview_;
    bool preparing_ = false;
};

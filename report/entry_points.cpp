#include "report/entry_points.h"

#include "evaluation/evaluate.h"
#include "gui/forms.h"
#include "report/program_edition.h"
#include "report/report_window.h"

#include <QLocale>

#include <stdexcept>
#include <utility>

namespace {

std::function<msr::Answers()>& AnswersSource() {
    static std::function<msr::Answers()> source;
    return source;
}

msr::ReportDocument& ReportDocumentOfForm8() {
    if (!Form8)
        throw std::logic_error("Das Auswertungsfenster ist nicht angelegt");
    return Form8->document();
}

// Until the dialogs install their source, the answers are those of a fresh start.
msr::Answers CurrentAnswers() {
    return AnswersSource() ? AnswersSource()() : msr::Answers{};
}

} // namespace

void SetAnswersSource(std::function<msr::Answers()> source) {
    AnswersSource() = std::move(source);
}

void BuildEvaluationReport() {
    const std::string decimalSeparator = QLocale::system().decimalPoint().toStdString();
    msr::Evaluate(CurrentAnswers(), msr::report::ProgramEdition(), ReportDocumentOfForm8(),
                  decimalSeparator);
}

void AppendBodyParagraph(const std::string& text) {
    ReportDocumentOfForm8().appendBody(text);
}

void AppendHeadingParagraph(const std::string& text) {
    ReportDocumentOfForm8().appendHeading(text);
}

void AppendWarningParagraph(const std::string& text) {
    ReportDocumentOfForm8().appendWarning(text);
}

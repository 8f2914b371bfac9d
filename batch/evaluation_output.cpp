#include "batch/evaluation_output.h"

#include "batch/figures_csv.h"
#include "evaluation/answers/answers_json.h"
#include "evaluation/document/report_rendering.h"
#include "evaluation/figures_record.h"

namespace msr::batch {

void AppendAnswersEvaluation(const AnswersEvaluation& evaluation, const ReportDocument& document,
                             bool severalEditions, const std::string& decimalSeparator,
                             std::string& out) {
    const std::size_t start = out.size();
    if (evaluation.status == AnswersEvaluation::Status::Evaluated)
        AppendReportJson(document, FormatFinalFigures(evaluation.result, decimalSeparator),
                         evaluation.edition, severalEditions, decimalSeparator, out);
    else
        AppendErrorJson(evaluation.message, out);
    if (!evaluation.caseNumber)
        return;
    std::string caseNumber = "\"";
    caseNumber += kCaseNumberKey;
    caseNumber += "\":";
    AppendJsonString(*evaluation.caseNumber, caseNumber);
    caseNumber += ',';
    out.insert(start + 1, caseNumber); // right after the object's opening brace
}

FiguresRow RowOf(std::uint64_t number, const AnswersEvaluation& evaluation, bool editionColumn,
                 const std::string& decimalSeparator, FinalFigureTexts& figures,
                 std::string& edition) {
    FiguresRow row;
    row.number = number;
    if (evaluation.caseNumber)
        row.caseNumber = *evaluation.caseNumber;
    if (evaluation.status == AnswersEvaluation::Status::Evaluated) {
        figures = FormatFinalFigures(evaluation.result, decimalSeparator);
        row.figures = &figures;
        if (editionColumn) {
            edition = EditionCell(evaluation.edition);
            row.edition = edition;
        }
    } else {
        row.message = evaluation.message;
    }
    return row;
}

void AppendCsvEvaluation(std::uint64_t number, const AnswersEvaluation& evaluation,
                         bool severalEditions, const std::string& decimalSeparator,
                         std::string& out) {
    FiguresRow row;
    row.number = number;
    if (evaluation.caseNumber)
        row.caseNumber = *evaluation.caseNumber;
    if (evaluation.status != AnswersEvaluation::Status::Evaluated) {
        row.message = evaluation.message;
        AppendCsvRow(row, severalEditions, out);
        return;
    }
    const FinalFigureTexts figures = FormatFinalFigures(evaluation.result, decimalSeparator);
    row.figures = &figures;
    if (!severalEditions) {
        AppendCsvRow(row, false, out);
        return;
    }
    const std::string edition = EditionCell(evaluation.edition);
    row.edition = edition;
    AppendCsvRow(row, true, out);
}

} // namespace msr::batch

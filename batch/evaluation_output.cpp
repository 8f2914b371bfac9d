#include "batch/evaluation_output.h"

#include "batch/figures_csv.h"
#include "evaluation/answers/answers_json.h"
#include "evaluation/document/report_rendering.h"
#include "evaluation/figures_record.h"

namespace msr::batch {

void AppendAnswersEvaluation(const AnswersEvaluation& evaluation, const ReportDocument& document,
                             const std::string& decimalSeparator, std::string& out) {
    const std::size_t start = out.size();
    if (evaluation.status == AnswersEvaluation::Status::Evaluated)
        AppendReportJson(document, FormatFinalFigures(evaluation.result, decimalSeparator),
                         decimalSeparator, out);
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

void AppendCsvEvaluation(std::uint64_t number, const AnswersEvaluation& evaluation,
                         const std::string& decimalSeparator, std::string& out) {
    std::string_view caseNumber;
    if (evaluation.caseNumber)
        caseNumber = *evaluation.caseNumber;
    if (evaluation.status == AnswersEvaluation::Status::Evaluated)
        AppendCsvFigures(number, caseNumber,
                         FormatFinalFigures(evaluation.result, decimalSeparator), out);
    else
        AppendCsvError(number, caseNumber, evaluation.message, out);
}

} // namespace msr::batch

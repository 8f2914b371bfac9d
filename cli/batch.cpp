#include "cli/batch.h"

#include "cli/evaluator.h"
#include "cli/figures_csv.h"
#include "cli/line_reader.h"
#include "evaluation/answers_json.h"
#include "evaluation/report_document.h"
#include "evaluation/report_rendering.h"

#include <string_view>

namespace msr::cli {
namespace {

constexpr const char* kBlankLineMessage =
    "Leere Zeile: erwartet wird je Zeile ein JSON-Objekt mit Antworten.";

bool IsBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

// Files written on Windows end their lines in CR LF.
std::string_view WithoutCarriageReturn(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

// One input line's answer in JSON Lines: the whole evaluation with its figures. False when
// the line was refused.
bool AppendJsonAnswer(std::string_view answers, ReportDocument& document,
                      const std::string& decimalSeparator, std::string& out) {
    bool evaluated = false;
    if (IsBlank(answers)) {
        AppendErrorJson(kBlankLineMessage, out);
    } else {
        const JsonEvaluation evaluation = EvaluateJson(answers, document, decimalSeparator);
        evaluated = evaluation.status == JsonEvaluation::Status::Evaluated;
        if (evaluated)
            AppendReportJson(document, FormatFinalFigures(evaluation.result, decimalSeparator),
                             decimalSeparator, out);
        else
            AppendErrorJson(evaluation.message, out);
    }
    out += '\n';
    return evaluated;
}

// One input line's row of the table: only the figures are evaluated, no paragraph. False
// when the line was refused.
bool AppendCsvAnswer(std::uint64_t lineNumber, std::string_view answers,
                     const std::string& decimalSeparator, std::string& out) {
    if (IsBlank(answers)) {
        AppendCsvError(lineNumber, kBlankLineMessage, out);
        return false;
    }
    const JsonEvaluation evaluation = EvaluateJsonFigures(answers, decimalSeparator);
    if (evaluation.status != JsonEvaluation::Status::Evaluated) {
        AppendCsvError(lineNumber, evaluation.message, out);
        return false;
    }
    AppendCsvFigures(lineNumber, FormatFinalFigures(evaluation.result, decimalSeparator), out);
    return true;
}

bool Write(std::ostream& out, const std::string& text) {
    return static_cast<bool>(out.write(text.data(), static_cast<std::streamsize>(text.size())));
}

// Answers line after line, until the input ends or a line cannot be read or written.
BatchOutcome AnswerLines(std::istream& in, std::ostream& out, const std::string& decimalSeparator,
                         bool csv, BatchProgress* progress) {
    using Failure = BatchOutcome::Failure;
    BatchOutcome outcome;
    ReportDocument document; // 96 dpi, as the points of the output promise
    std::string line;
    std::string output;
    if (csv) {
        AppendCsvHeader(output);
        if (!Write(out, output))
            return {Failure::Output};
    }
    // One byte more than answers may take: a longer line is refused for its size all the
    // same.
    LineReader lines(in, kLargestAnswersText + 1);
    std::uint64_t consumed = 0;
    while (lines.next(line, consumed)) {
        const std::string_view answers = WithoutCarriageReturn(line);
        output.clear();
        const bool evaluated =
            csv ? AppendCsvAnswer(outcome.lines + 1, answers, decimalSeparator, output)
                : AppendJsonAnswer(answers, document, decimalSeparator, output);
        if (!Write(out, output)) {
            outcome.failure = Failure::Output;
            return outcome;
        }
        ++outcome.lines;
        outcome.refused += evaluated ? 0 : 1;
        if (progress)
            progress->lineDone(consumed);
    }
    if (lines.failed())
        outcome.failure = Failure::Input;
    else if (!out.flush())
        outcome.failure = Failure::Output;
    return outcome;
}

} // namespace

BatchOutcome RunBatch(std::istream& in, std::ostream& out, const std::string& decimalSeparator,
                      OutputFormat format, BatchProgress* progress) {
    const BatchOutcome outcome =
        AnswerLines(in, out, decimalSeparator, format == OutputFormat::Csv, progress);
    // The progress line ends before a message of a failure can follow it.
    if (progress)
        progress->finish();
    return outcome;
}

} // namespace msr::cli

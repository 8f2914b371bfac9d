#include "cli/batch.h"

#include "cli/evaluator.h"
#include "cli/figures_csv.h"
#include "evaluation/answers_json.h"
#include "evaluation/report_document.h"
#include "evaluation/report_rendering.h"

#include <algorithm>
#include <string_view>

namespace msr::cli {
namespace {

constexpr const char* kBlankLineMessage =
    "Leere Zeile: erwartet wird je Zeile ein JSON-Objekt mit Antworten.";

bool IsBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

// Reads one line without its line feed, keeping at most one byte more than answers may
// take: a longer line is refused for its size all the same, and memory stays bounded.
// False at the end of the input or on a read error. consumed counts the bytes read.
bool ReadLine(std::istream& in, std::string& line, std::uint64_t& consumed) {
    constexpr std::size_t kKept = kLargestAnswersText + 1;
    char chunk[4096];
    bool readAny = false;
    line.clear();
    consumed = 0;
    for (;;) {
        in.getline(chunk, sizeof chunk);
        if (in.bad())
            return false;
        auto stored = static_cast<std::size_t>(in.gcount());
        consumed += stored;
        readAny = readAny || stored > 0;
        // Without end and failure the line feed ended the line; it is counted, not stored.
        const bool lineFeed = !in.fail() && !in.eof();
        stored -= lineFeed ? 1 : 0;
        if (line.size() < kKept)
            line.append(chunk, std::min(stored, kKept - line.size()));
        if (lineFeed || in.eof())
            return readAny;
        in.clear(); // the chunk was full: the line goes on
    }
}

// Files written on Windows end their lines in CR LF.
std::string_view WithoutCarriageReturn(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

// One input line's answer in JSON Lines: the whole evaluation with its figures.
void AppendJsonAnswer(std::string_view answers, ReportDocument& document,
                      const std::string& decimalSeparator, std::string& out) {
    if (IsBlank(answers)) {
        AppendErrorJson(kBlankLineMessage, out);
    } else {
        const JsonEvaluation evaluation = EvaluateJson(answers, document, decimalSeparator);
        if (evaluation.status == JsonEvaluation::Status::Evaluated)
            AppendReportJson(document, FormatFinalFigures(evaluation.result, decimalSeparator),
                             decimalSeparator, out);
        else
            AppendErrorJson(evaluation.message, out);
    }
    out += '\n';
}

// One input line's row of the table: only the figures are evaluated, no paragraph.
void AppendCsvAnswer(std::uint64_t lineNumber, std::string_view answers,
                     const std::string& decimalSeparator, std::string& out) {
    if (IsBlank(answers)) {
        AppendCsvError(lineNumber, kBlankLineMessage, out);
        return;
    }
    const JsonEvaluation evaluation = EvaluateJsonFigures(answers, decimalSeparator);
    if (evaluation.status == JsonEvaluation::Status::Evaluated)
        AppendCsvFigures(lineNumber, FormatFinalFigures(evaluation.result, decimalSeparator), out);
    else
        AppendCsvError(lineNumber, evaluation.message, out);
}

bool Write(std::ostream& out, const std::string& text) {
    return static_cast<bool>(out.write(text.data(), static_cast<std::streamsize>(text.size())));
}

// Answers line after line; false as soon as reading or writing fails.
bool AnswerLines(std::istream& in, std::ostream& out, const std::string& decimalSeparator, bool csv,
                 BatchProgress* progress) {
    ReportDocument document; // 96 dpi, as the points of the output promise
    std::string line;
    std::string output;
    if (csv) {
        AppendCsvHeader(output);
        if (!Write(out, output))
            return false;
    }
    std::uint64_t lineNumber = 0;
    std::uint64_t consumed = 0;
    while (ReadLine(in, line, consumed)) {
        ++lineNumber;
        const std::string_view answers = WithoutCarriageReturn(line);
        output.clear();
        if (csv)
            AppendCsvAnswer(lineNumber, answers, decimalSeparator, output);
        else
            AppendJsonAnswer(answers, document, decimalSeparator, output);
        if (!Write(out, output))
            return false;
        if (progress)
            progress->lineDone(consumed);
    }
    return !in.bad() && out.flush();
}

} // namespace

bool RunBatch(std::istream& in, std::ostream& out, const std::string& decimalSeparator,
              OutputFormat format, BatchProgress* progress) {
    const bool answered =
        AnswerLines(in, out, decimalSeparator, format == OutputFormat::Csv, progress);
    // The progress line ends before a message of a failure can follow it.
    if (progress)
        progress->finish();
    return answered;
}

} // namespace msr::cli

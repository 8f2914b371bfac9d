#include "cli/batch.h"

#include "cli/evaluator.h"
#include "cli/report_output.h"
#include "evaluation/report_document.h"

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

} // namespace

bool RunBatch(std::istream& in, std::ostream& out, const std::string& decimalSeparator) {
    ReportDocument document; // 96 dpi, as the points of the output promise
    std::string line;
    std::string output;
    while (std::getline(in, line)) {
        const std::string_view answers = WithoutCarriageReturn(line);
        output.clear();
        if (IsBlank(answers)) {
            AppendErrorJson(kBlankLineMessage, output);
        } else {
            const JsonEvaluation evaluation = EvaluateJson(answers, document, decimalSeparator);
            if (evaluation.status == JsonEvaluation::Status::Evaluated)
                AppendJson(document, output);
            else
                AppendErrorJson(evaluation.message, output);
        }
        output += '\n';
        if (!out.write(output.data(), static_cast<std::streamsize>(output.size())))
            return false;
    }
    return !in.bad() && out.flush();
}

} // namespace msr::cli

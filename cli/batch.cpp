#include "cli/batch.h"

#include "cli/answers_json.h"
#include "cli/evaluator.h"
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
// False at the end of the input or on a read error.
bool ReadLine(std::istream& in, std::string& line) {
    constexpr std::size_t kKept = kLargestAnswersText + 1;
    char chunk[4096];
    bool readAny = false;
    line.clear();
    for (;;) {
        in.getline(chunk, sizeof chunk);
        if (in.bad())
            return false;
        auto stored = static_cast<std::size_t>(in.gcount());
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

} // namespace

bool RunBatch(std::istream& in, std::ostream& out, const std::string& decimalSeparator) {
    ReportDocument document; // 96 dpi, as the points of the output promise
    std::string line;
    std::string output;
    while (ReadLine(in, line)) {
        const std::string_view answers = WithoutCarriageReturn(line);
        output.clear();
        if (IsBlank(answers)) {
            AppendErrorJson(kBlankLineMessage, output);
        } else {
            const JsonEvaluation evaluation = EvaluateJson(answers, document, decimalSeparator);
            if (evaluation.status == JsonEvaluation::Status::Evaluated)
                AppendReportJson(document, output);
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

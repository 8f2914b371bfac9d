// The command-line evaluator on any bytes: as one JSON text of answers, as JSON Lines in
// batch mode, and through the whole run with its options. Never a crash, and:
// - an evaluation holds paragraphs and no message, a refusal a message and no paragraph;
// - every output (report, error line) is one valid JSON object, in valid UTF-8;
// - batch mode answers each input line with exactly one line, the same the single run gives;
// - a run exits 0 with output and no message, or 1 or 2 with a message and no output.
// - what the core's reader reads, Qt's lenient reader finds an object too;
// - no message carries a raw control character of the input.
#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "batch/batch.h"
#include "batch/evaluation_output.h"
#include "cli/run.h"
#include "evaluation/answers/answers_json.h"
#include "evaluation/document/report_document.h"
#include "evaluation/document/report_rendering.h"
#include "evaluation/entry.h"
#include "tests/samples/built_in_edition.h"

namespace {

const char* const kBlankLineMessage =
    "Leere Zeile: erwartet wird je Zeile ein JSON-Objekt mit Antworten.";

[[noreturn]] void Fail(const char* what, std::string_view detail) {
    std::fprintf(stderr, "%s: %.*s\n", what,
                 static_cast<int>(detail.size() > 400 ? 400 : detail.size()), detail.data());
    std::abort();
}

void Expect(bool condition, const char* what, std::string_view detail = {}) {
    if (!condition)
        Fail(what, detail);
}

// One line of output as JSON: an object, and Qt refuses invalid UTF-8 in its strings.
QJsonObject ParsedLine(const std::string& line) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
    Expect(error.error == QJsonParseError::NoError && document.isObject(),
           "output is no JSON object", line);
    return document.object();
}

void ExpectReportJson(const std::string& json, const msr::ReportDocument& document) {
    const QJsonObject object = ParsedLine(json);
    Expect(object.size() == 1, "report JSON has other members", json);
    const QJsonArray paragraphs = object.value("paragraphs").toArray();
    Expect(paragraphs.size() == static_cast<qsizetype>(document.paragraphs().size()),
           "report JSON lost paragraphs", json);
    for (qsizetype i = 0; i < paragraphs.size(); ++i)
        Expect(paragraphs[i].toObject().value("text").toString().toStdString() ==
                   document.paragraphs()[static_cast<std::size_t>(i)].text,
               "report JSON changed a text", json);
}

void ExpectErrorJson(const std::string& json, const std::string& message) {
    const QJsonObject object = ParsedLine(json);
    Expect(object.size() == 1 && object.value("error").isString(), "error line malformed", json);
    Expect(object.value("error").toString().toStdString() == message, "error line changed message",
           json);
}

// What the batch mode must answer for one line: the single evaluation's JSON or error.
std::string ExpectedBatchLine(std::string_view line, msr::ReportDocument& document) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    std::string expected;
    if (line.find_first_not_of(" \t") == std::string_view::npos) {
        msr::AppendErrorJson(kBlankLineMessage, expected);
        return expected;
    }
    const msr::AnswersEvaluation evaluation = msr::EvaluateAnswers(
        msr::AdmitAnswers(line), msr::test::BuiltInEditions(), msr::test::kSomeDay, ",", &document);
    msr::batch::AppendAnswersEvaluation(evaluation, document, false, ",", expected);
    return expected;
}

// The core's reader follows JSON's grammar strictly; Qt's lets more through (invalid
// escapes, raw control characters, "1."), but refuses numbers beyond double, whose values
// the core refuses. So answers the core reads are an object to Qt as well.
void ReadAsQtReadsIt(std::string_view input) {
    const msr::AnswersReading reading = msr::ReadAnswers(input);
    if (reading.status != msr::AnswersReading::Status::Read)
        return;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray(input.data(), static_cast<qsizetype>(input.size())));
    Expect(document.isObject(), "the core read what Qt's reader finds no object", reading.message);
}

void Single(std::string_view input) {
    msr::ReportDocument document;
    const msr::AnswersEvaluation evaluation =
        msr::EvaluateAnswers(msr::AdmitAnswers(input), msr::test::BuiltInEditions(),
                             msr::test::kSomeDay, ",", &document);
    if (evaluation.status == msr::AnswersEvaluation::Status::Evaluated) {
        Expect(evaluation.message.empty(), "evaluation with a message", evaluation.message);
        Expect(!document.paragraphs().empty(), "evaluation without paragraphs");
        std::string json;
        msr::AppendReportJson(document, json);
        ExpectReportJson(json, document);
        std::string text;
        msr::AppendReportText(document, text);
        Expect(!text.empty() && text.back() == '\n', "text output not ended by a line break");
    } else {
        Expect(document.paragraphs().empty(), "refusal with paragraphs", evaluation.message);
        Expect(!evaluation.message.empty(), "refusal without a message");
        for (const char c : evaluation.message)
            Expect(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F,
                   "a raw control character in a message", evaluation.message);
        std::string json;
        msr::AppendErrorJson(evaluation.message, json);
        ExpectErrorJson(json, evaluation.message);
    }

    // The same text again into the used document gives the same outcome.
    const std::vector<msr::Paragraph> first = document.paragraphs();
    const msr::AnswersEvaluation again =
        msr::EvaluateAnswers(msr::AdmitAnswers(input), msr::test::BuiltInEditions(),
                             msr::test::kSomeDay, ",", &document);
    Expect(again.status == evaluation.status && again.message == evaluation.message &&
               document.paragraphs().size() == first.size(),
           "second evaluation differs", evaluation.message);
}

std::vector<std::string_view> Lines(std::string_view input) {
    std::vector<std::string_view> lines;
    while (!input.empty()) {
        const std::size_t end = input.find('\n');
        lines.push_back(input.substr(0, end));
        if (end == std::string_view::npos)
            break;
        input.remove_prefix(end + 1);
    }
    return lines;
}

void Batch(std::string_view input) {
    std::istringstream in{std::string(input)};
    std::ostringstream out;
    Expect(msr::batch::RunBatch(in, out, {msr::test::BuiltInEditions(), msr::test::kSomeDay}, ",")
               .finished(),
           "batch run failed on a string stream");
    const std::string output = out.str();
    Expect(output.empty() || output.back() == '\n', "batch output not ended by a line break");

    const std::vector<std::string_view> inputLines = Lines(input);
    const std::vector<std::string_view> outputLines = Lines(output);
    Expect(inputLines.size() == outputLines.size(), "batch line count differs", output);
    msr::ReportDocument document;
    for (std::size_t i = 0; i < inputLines.size(); ++i) {
        const std::string expected = ExpectedBatchLine(inputLines[i], document);
        Expect(outputLines[i] == expected, "batch line differs from the single evaluation",
               outputLines[i]);
        ParsedLine(std::string(outputLines[i]));
    }
}

void Run(std::string_view input, const std::vector<std::string>& arguments) {
    std::istringstream in{std::string(input)};
    std::ostringstream out;
    std::ostringstream err;
    msr::cli::Surroundings surroundings;
    surroundings.decimalSeparator = ",";
    surroundings.today = msr::test::kSomeDay; // no installed editions: the built-in one
    const int status = msr::cli::RunEvaluator(arguments, in, out, err, surroundings);
    const std::string output = out.str();
    const std::string errors = err.str();
    switch (status) {
    case msr::cli::kEvaluated:
        Expect(errors.empty() && !output.empty(), "exit 0 without output or with a message",
               errors);
        if (arguments.size() == 2)
            ParsedLine(output.substr(0, output.size() - 1));
        return;
    case msr::cli::kRefused:
    case msr::cli::kUsageOrInputFailed:
        Expect(output.empty(), "output despite a failure", output);
        Expect(!errors.empty() && errors.back() == '\n', "failure without a message");
        Expect(QString::fromUtf8(errors.data(), static_cast<qsizetype>(errors.size()))
                       .toUtf8()
                       .toStdString() == errors,
               "message not in UTF-8", errors);
        return;
    default:
        Fail("unknown exit status", errors);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    Single(input);
    ReadAsQtReadsIt(input);
    Batch(input);
    Run(input, {});
    Run(input, {"--format", "json"});
    return 0;
}

// The page's WebAssembly module: the answers as the command-line evaluator's JSON, read by
// the core's one reader, the program's refusals, and the evaluated document, all from the
// core. JavaScript only shows what comes back.
#include "evaluation/admission.h"
#include "evaluation/answers.h"
#include "evaluation/answers_json.h"
#include "evaluation/evaluate.h"
#include "evaluation/living_area.h"
#include "evaluation/program_texts.h"
#include "evaluation/report_document.h"
#include "evaluation/report_rendering.h"

#include <emscripten/emscripten.h>

#include <exception>
#include <new>
#include <optional>
#include <string>

namespace {

// The text handed back to JavaScript lives until the next call.
std::string& Reply() {
    static std::string reply;
    return reply;
}

const char* ErrorReply(const std::string& message) {
    Reply().clear();
    msr::AppendErrorJson(msr::WithFullStop(message), Reply());
    return Reply().c_str();
}

// The answers as the command-line evaluator takes them: the JSON read by the core's reader
// with all its rules, then the program's refusals. Nothing when they are refused; the
// refusal is the reply then.
std::optional<msr::Answers> AdmittedAnswers(const char* json) {
    msr::AnswersReading reading = msr::ReadAnswers(json);
    if (reading.status != msr::AnswersReading::Status::Read) {
        ErrorReply(reading.message);
        return std::nullopt;
    }
    if (auto refusal = msr::AnswersRefusal(reading.answers)) {
        ErrorReply(*refusal);
        return std::nullopt;
    }
    return std::move(reading.answers);
}

// No C++ exception leaves the module: each becomes the standard error report's message.
template <typename Work> const char* Guarded(Work work) {
    try {
        return work();
    } catch (const msr::ConversionError& error) {
        return ErrorReply(error.message());
    } catch (const std::bad_alloc&) {
        return ErrorReply("Zu wenig Arbeitsspeicher");
    } catch (const std::exception& error) {
        return ErrorReply(error.what());
    } catch (...) {
        return ErrorReply("Unbekannter Fehler");
    }
}

} // namespace

extern "C" {

// {"paragraphs":[...]} with every paragraph's text and attributes, or {"error":"<message>"}
// with the program's refusal or error message and the error report's full stop. The
// answers are a JSON object keyed by the input names, as the command line reads them.
EMSCRIPTEN_KEEPALIVE const char* msr_evaluate(const char* answersJson,
                                              const char* decimalSeparator) {
    return Guarded([&] {
        const std::optional<msr::Answers> answers = AdmittedAnswers(answersJson);
        if (!answers)
            return Reply().c_str();
        msr::ReportDocument document; // 96 dpi: 12-point paragraphs, as the page shows them
        msr::Evaluate(*answers, document, decimalSeparator);
        Reply().clear();
        msr::AppendReportJson(document, Reply());
        return Reply().c_str();
    });
}

// {"information":[{"text":..,"bullet":..},...],"resetQuestion":..,"yes":..,"no":..}: the
// information dialog's paragraphs and the reset's question with its answers, as the
// desktop program shows them.
EMSCRIPTEN_KEEPALIVE const char* msr_program_texts() {
    return Guarded([] {
        std::string& out = Reply();
        out = "{\"information\":[";
        for (int number = 1; number <= msr::kInfoParagraphCount; ++number) {
            out += number == 1 ? "{\"text\":" : ",{\"text\":";
            msr::AppendJsonString(msr::InfoParagraph(number), out);
            const bool bullet =
                number >= msr::kFirstBulletedParagraph && number <= msr::kLastBulletedParagraph;
            out += bullet ? ",\"bullet\":true}" : ",\"bullet\":false}";
        }
        out += "],\"resetQuestion\":";
        msr::AppendJsonString(msr::kResetQuestion, out);
        out += ",\"yes\":";
        msr::AppendJsonString(msr::kAnswerYes, out);
        out += ",\"no\":";
        msr::AppendJsonString(msr::kAnswerNo, out);
        out += '}';
        return out.c_str();
    });
}

} // extern "C"

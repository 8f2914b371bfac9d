// The page's WebAssembly module: the answers as the command-line evaluator reads them,
// the program's refusals, and the evaluated document, all from the core. JavaScript only
// shows what comes back.
#include "cli/evaluator.h"
#include "evaluation/admission.h"
#include "evaluation/report_document.h"
#include "evaluation/report_rendering.h"
#include "report/info_texts.h"

#include <emscripten/emscripten.h>

#include <exception>
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

} // namespace

extern "C" {

// {"paragraphs":[...]} with every paragraph's text and attributes, or {"error":"<message>"}
// with the program's message (refusals included) and the error report's full stop.
EMSCRIPTEN_KEEPALIVE const char* msr_evaluate(const char* answersJson,
                                              const char* decimalSeparator) {
    try {
        msr::ReportDocument document; // 96 dpi: 12-point paragraphs, as the page shows them
        const msr::cli::JsonEvaluation evaluation =
            msr::cli::EvaluateJson(answersJson, document, decimalSeparator);
        if (evaluation.status != msr::cli::JsonEvaluation::Status::Evaluated) {
            Reply().clear();
            msr::AppendErrorJson(evaluation.message, Reply());
            return Reply().c_str();
        }
        Reply().clear();
        msr::AppendReportJson(document, Reply());
        return Reply().c_str();
    } catch (const std::exception& error) {
        return ErrorReply(error.what());
    } catch (...) {
        return ErrorReply("Unerwarteter Fehler");
    }
}

// {"paragraphs":[{"text":"...","bullet":false},...]}: the information dialog's text.
EMSCRIPTEN_KEEPALIVE const char* msr_information_text() {
    try {
        std::string& reply = Reply();
        reply = "{\"paragraphs\":[";
        for (int number = 1; number <= msr::report::kInfoParagraphCount; ++number) {
            if (number > 1)
                reply += ',';
            reply += "{\"text\":";
            msr::AppendJsonString(msr::report::InfoParagraph(number), reply);
            const bool bullet = number >= msr::report::kFirstBulletedParagraph &&
                                number <= msr::report::kLastBulletedParagraph;
            reply += bullet ? ",\"bullet\":true}" : ",\"bullet\":false}";
        }
        reply += "]}";
        return reply.c_str();
    } catch (const std::exception& error) {
        return ErrorReply(error.what());
    } catch (...) {
        return ErrorReply("Unerwarteter Fehler");
    }
}

} // extern "C"

// The page's WebAssembly module: the form's answers, read through the core's table of
// inputs, the program's refusals, and the evaluated document, all from the core.
// JavaScript only shows what comes back.
#include "evaluation/admission.h"
#include "evaluation/answers.h"
#include "evaluation/evaluate.h"
#include "evaluation/inputs.h"
#include "evaluation/living_area.h"
#include "evaluation/report_document.h"
#include "evaluation/report_rendering.h"

#include <emscripten/emscripten.h>

#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

// Between an input's name and its value, and after each value: characters no form field
// holds.
constexpr char kNameEnd = '\x1f';
constexpr char kValueEnd = '\x1e';

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

void SetInput(const msr::InputRow& input, const std::string& value, msr::Answers& answers) {
    switch (input.kind) {
    case msr::InputKind::YesNo:
        answers.*input.yesNo = value == "true";
        return;
    case msr::InputKind::Choice: {
        const int choice = std::atoi(value.c_str());
        if (choice < 1 || choice > input.choiceCount)
            throw std::invalid_argument("Keine Auswahl " + value + " für " + input.name);
        answers.*input.choice = choice;
        return;
    }
    case msr::InputKind::Text:
        answers.*input.text = value;
        return;
    }
}

// "name<US>value<RS>" for every answered control; the others keep their start-up values.
msr::Answers ReadFormFields(std::string_view fields) {
    msr::Answers answers;
    while (!fields.empty()) {
        const std::size_t nameEnd = fields.find(kNameEnd);
        const std::size_t valueEnd = fields.find(kValueEnd);
        if (nameEnd == std::string_view::npos || valueEnd == std::string_view::npos ||
            valueEnd < nameEnd)
            throw std::invalid_argument("Die Felder des Formulars sind unvollständig");
        const std::string name(fields.substr(0, nameEnd));
        const msr::InputRow* input = msr::FindInput(name);
        if (!input)
            throw std::invalid_argument("Kein Feld " + name);
        SetInput(*input, std::string(fields.substr(nameEnd + 1, valueEnd - nameEnd - 1)), answers);
        fields.remove_prefix(valueEnd + 1);
    }
    return answers;
}

} // namespace

extern "C" {

// {"paragraphs":[...]} with every paragraph's text and attributes, or {"error":"<message>"}
// with the program's refusal or error message and the error report's full stop.
EMSCRIPTEN_KEEPALIVE const char* msr_evaluate(const char* formFields,
                                              const char* decimalSeparator) {
    try {
        const msr::Answers answers = ReadFormFields(formFields);
        if (auto refusal = msr::AnswersRefusal(answers))
            return ErrorReply(*refusal);
        msr::ReportDocument document; // 96 dpi: 12-point paragraphs, as the page shows them
        msr::Evaluate(answers, document, decimalSeparator);
        Reply().clear();
        msr::AppendReportJson(document, Reply());
        return Reply().c_str();
    } catch (const msr::ConversionError& error) {
        return ErrorReply(error.message());
    } catch (const std::exception& error) {
        return ErrorReply(error.what());
    } catch (...) {
        return ErrorReply("Unerwarteter Fehler");
    }
}

} // extern "C"

// The page's WebAssembly module: the answers as the command-line evaluator's JSON, read by
// the core's one reader, the program's refusals, and the evaluated document, all from the
// core. JavaScript only shows what comes back.
#include "evaluation/answers/answers.h"
#include "evaluation/answers/answers_reading.h"
#include "evaluation/answers/calendar_date.h"
#include "evaluation/answers/inputs.h"
#include "evaluation/document/report_document.h"
#include "evaluation/document/report_rendering.h"
#include "evaluation/entry.h"
#include "evaluation/figures_record.h"
#include "evaluation/rent_comparison.h"
#include "evaluation/rent_increase.h"
#include "evaluation/rent_index/admission.h"
#include "evaluation/rent_index/edition.h"
#include "evaluation/rent_index/program_texts.h"
#include "web/module_editions.h"

#include <emscripten/emscripten.h>

#include <cstddef>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace {

// The page is German: its figures carry the decimal comma whatever the browser's language.
const std::string kDecimalComma = ",";

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

// The edition in force today, or the newest, out of date, past every term.
msr::EditionInForce EditionOfToday(const char* today) {
    const msr::CalendarDate day = msr::web::Day(today);
    const msr::EditionInForce inForce = msr::web::Editions().inForceOn(day);
    if (inForce)
        return inForce;
    const msr::Edition& newest = msr::web::Editions().newest();
    return {&newest, msr::IsPastTerm(newest, day)};
}

void AppendMember(const char* name, const std::string& text, std::string& out) {
    if (out.back() != '{')
        out += ',';
    msr::AppendJsonString(name, out);
    out += ':';
    msr::AppendJsonString(text, out);
}

// No C++ exception leaves the module: each becomes the standard error report's message.
template <typename Work> const char* Guarded(Work work) {
    try {
        return work();
    } catch (...) {
        return ErrorReply(msr::FailureMessage(std::current_exception()));
    }
}

} // namespace

extern "C" {

// {"paragraphs":[...]} with every paragraph's text and attributes, or {"error":"<message>"}
// with the program's refusal or error message and the error report's full stop, "input"
// naming the field it belongs to when it belongs to one, and "missing" listing the
// required answers not given. The
// answers are a JSON object keyed by the input names, as the command line reads them.
// today: as the browser's clock gives it, "2026-12-10".
EMSCRIPTEN_KEEPALIVE const char* msr_evaluate(const char* answersJson, const char* today) {
    return Guarded([&] {
        const msr::AdmittedAnswers admitted = msr::AdmitAnswers(answersJson);
        msr::ReportDocument document; // 96 dpi: 12-point paragraphs, as the page shows them
        const msr::AnswersEvaluation evaluation = msr::EvaluateAnswers(
            admitted, msr::web::Editions(), msr::web::Day(today), kDecimalComma, &document);
        if (evaluation.status != msr::AnswersEvaluation::Status::Evaluated) {
            ErrorReply(evaluation.message);
            std::string& out = Reply();
            out.pop_back(); // the closing brace
            if (admitted.refusedInput != nullptr) {
                out += ",\"input\":";
                msr::AppendJsonString(admitted.refusedInput, out);
            }
            out += ",\"missing\":[";
            for (const char* input : admitted.missing) {
                if (out.back() != '[')
                    out += ',';
                msr::AppendJsonString(input, out);
            }
            out += "]}";
            return Reply().c_str();
        }
        Reply().clear();
        msr::AppendReportJson(document, Reply());
        return Reply().c_str();
    });
}

// The result at a glance, for the answers as they stand:
//   {"missing":["YearClass","LivingArea","CityArea"]}  the required answers not yet given;
//   {"error":"<message>"}                                what the program would refuse;
//   {"figures":{...},"numbers":{...},"labels":{...},"comparison":{...}|"rentRefusal":..}
// the figures as the report prints them (texts) and as numbers, the labels of their rows,
// and the own rent against them when one is given.
EMSCRIPTEN_KEEPALIVE const char* msr_glance(const char* answersJson, const char* rentText,
                                            const char* today) {
    return Guarded([&] {
        const msr::AdmittedAnswers admitted = msr::AdmitAnswers(answersJson);
        if (!admitted.read())
            return ErrorReply(admitted.message);
        if (!admitted.missing.empty()) {
            std::string& out = Reply();
            out = "{\"missing\":[";
            for (const char* input : admitted.missing) {
                if (out.back() != '[')
                    out += ',';
                msr::AppendJsonString(input, out);
            }
            out += "]}";
            return out.c_str();
        }
        const msr::AnswersEvaluation evaluation = msr::EvaluateAnswers(
            admitted, msr::web::Editions(), msr::web::Day(today), kDecimalComma);
        if (evaluation.status != msr::AnswersEvaluation::Status::Evaluated)
            return ErrorReply(evaluation.message);
        const msr::FinalFigureTexts figures =
            msr::FormatFinalFigures(evaluation.result, kDecimalComma);
        std::string& out = Reply();
        // The figures as a German writes amounts, to show, and as numbers, to draw.
        out = "{\"figures\":{";
        for (const msr::FigureColumn& figure : msr::kFigureColumns)
            AppendMember(figure.name, msr::GroupedFigure(figures.*figure.text, kDecimalComma), out);
        out += "},\"numbers\":{";
        for (const msr::FigureColumn& figure : msr::kFigureColumns) {
            if (out.back() != '{')
                out += ',';
            msr::AppendJsonString(figure.name, out);
            out += ':';
            msr::AppendJsonNumber(figures.*figure.text, kDecimalComma, out);
        }
        // The label of each figure's row, from the same table.
        out += "},\"labels\":{";
        for (const msr::FigureColumn& figure : msr::kFigureColumns)
            AppendMember(figure.name, figure.label, out);
        out += '}';
        if (*rentText != '\0') {
            const msr::RentComparisonResult rent =
                msr::CompareRent(rentText, figures, kDecimalComma);
            if (rent.comparison) {
                out += ",\"comparison\":{\"position\":";
                msr::AppendJsonString(msr::PositionWord(rent.comparison->position), out);
                out += ",\"rent\":";
                msr::AppendJsonString(rent.comparison->rent, out);
                out += ",\"rentNumber\":";
                // From the cents: the rent as shown groups its thousands.
                out += msr::EuroText(rent.comparison->cents, ".");
                out += ",\"sentence\":";
                msr::AppendJsonString(rent.comparison->sentence, out);
                out += ",\"meaning\":";
                msr::AppendJsonString(rent.comparison->meaning, out);
                out += '}';
            } else {
                out += ",\"rentRefusal\":";
                msr::AppendJsonString(msr::WithFullStop(rent.refusal), out);
            }
        }
        out += '}';
        return out.c_str();
    });
}

// A file or an address of answers, read as the command line reads it: {"answers":{...},
// "kept":{...}} with every input (the start-up value where the text has none) and the
// "Aktenzeichen" and "Stichtag" it gives, or {"error":"<message>"}
// (with "notJson":true when the text is no JSON object at all). The page takes all of them or,
// refused, none. The bytes as they are, NUL bytes and all, so that the core refuses what the
// command line refuses.
EMSCRIPTEN_KEEPALIVE const char* msr_read_answers(const char* bytes, std::size_t length) {
    return Guarded([&] {
        const msr::AdmittedAnswers admitted = msr::AdmitAnswers(std::string_view(bytes, length));
        if (admitted.status == msr::AdmittedAnswers::Status::NotJson) {
            ErrorReply(admitted.message);
            Reply().pop_back();
            Reply() += ",\"notJson\":true}";
            return Reply().c_str();
        }
        if (!admitted.read())
            return ErrorReply(admitted.message);
        const msr::Answers& answers = admitted.answers;
        std::string& out = Reply();
        out = "{\"answers\":{";
        for (const msr::InputRow& input : msr::Inputs()) {
            if (out.back() != '{')
                out += ',';
            msr::AppendJsonString(input.name, out);
            out += ':';
            switch (input.kind) {
            case msr::InputKind::YesNo:
                out += answers.*input.yesNo ? "true" : "false";
                break;
            case msr::InputKind::Choice:
                out += std::to_string(answers.*input.choice);
                break;
            case msr::InputKind::Text:
                msr::AppendJsonString(answers.*input.text, out);
                break;
            }
        }
        // The keys that are no answer of the questionnaire, for the page to save again.
        out += "},\"kept\":{";
        if (admitted.caseNumber) {
            msr::AppendJsonString(msr::kCaseNumberKey, out);
            out += ':';
            msr::AppendJsonString(*admitted.caseNumber, out);
        }
        if (admitted.referenceDay) {
            out += out.back() == '{' ? "" : ",";
            msr::AppendJsonString(msr::kReferenceDayKey, out);
            out += ':';
            msr::AppendJsonString(msr::IsoDate(*admitted.referenceDay), out);
        }
        out += "}}";
        return out.c_str();
    });
}

// {"added":true}, or {"error":"<message>"} naming the file, its line and the key: one
// edition of the page's release, handed in before any evaluation.
EMSCRIPTEN_KEEPALIVE const char* msr_add_edition(const char* bytes, std::size_t length,
                                                 const char* file) {
    return Guarded([&] {
        const std::string refusal = msr::web::AddEdition(bytes, length, file);
        if (!refusal.empty())
            return ErrorReply(refusal);
        Reply() = "{\"added\":true}";
        return Reply().c_str();
    });
}

// {"information":[{"text":..,"bullet":..},...],"resetQuestion":..,"yes":..,"no":..}: the
// information text of the edition in force today and the reset's question with its
// answers, as the desktop program shows them.
EMSCRIPTEN_KEEPALIVE const char* msr_program_texts(const char* today) {
    return Guarded([&] {
        std::string& out = Reply();
        out = "{\"information\":[";
        for (const msr::InformationParagraph& paragraph :
             EditionOfToday(today).edition->information) {
            out += out.back() == '[' ? "{\"text\":" : ",{\"text\":";
            msr::AppendJsonString(paragraph.text, out);
            out += paragraph.bullet ? ",\"bullet\":true}" : ",\"bullet\":false}";
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

// {"name":..,"line":..,"outOfDate":..,"outOfDateHeadline":..(both only past the term),
//  "association":..,"telephone":..,"disclaimer":..}:
// the edition in force today (as "2026-12-08", from the browser's clock), or the newest
// past every term: its line for the result box and the printed pages, the notice once
// its term has ended, the association to ask and the rent increase check's disclaimer.
EMSCRIPTEN_KEEPALIVE const char* msr_edition(const char* today) {
    return Guarded([&] {
        const msr::EditionInForce inForce = EditionOfToday(today);
        const msr::Edition& edition = *inForce.edition;
        std::string& out = Reply();
        out = "{";
        AppendMember("name", edition.name, out);
        AppendMember("line", msr::EditionLine(edition), out);
        if (inForce.outOfDate) {
            AppendMember("outOfDate", msr::OutOfDateNotice(edition), out);
            AppendMember("outOfDateHeadline", msr::OutOfDateHeadline(edition), out);
        }
        AppendMember("association", msr::AssociationContactLine(edition), out);
        AppendMember("telephone", edition.publisher.telephone, out);
        AppendMember("disclaimer", msr::kRentIncreaseDisclaimer, out);
        out += '}';
        return out.c_str();
    });
}

// A rent increase checked against the span of the edition in force on the letter's day of
// receipt (today, from the browser's clock, without one):
//   {"waiting":true}                                     no asked rent yet;
//   {"refusal":{"field":"askedRent","message":..}}       an answer to correct;
//   {"conclusion":..,"breach":..,"capLimit":..,"exceedsCap":..,"exceedsSpan":..,
//    "findings":[..]}                                    the most owed first (or that no
//                                                        increase is asked, or that the
//                                                        letter came too early), the word
//                                                        marking a letter that asks too
//                                                        much or too early, then the cap,
//                                                        the span, the waiting periods and
//                                                        the deadlines.
EMSCRIPTEN_KEEPALIVE const char* msr_rent_increase(const char* answersJson, const char* currentRent,
                                                   const char* askedRent, const char* rentBefore,
                                                   const char* received, int capPercent,
                                                   const char* lastIncrease, const char* today) {
    return Guarded([&] {
        const msr::RentIncreaseQuestion question{currentRent, askedRent,  rentBefore,
                                                 received,    capPercent, lastIncrease};
        const msr::SpanBasis span =
            msr::SpanForLetter(question, msr::AdmitAnswers(answersJson), msr::web::Editions(),
                               msr::web::Day(today), kDecimalComma);
        const msr::RentIncreaseCheck check =
            msr::CheckRentIncrease(question, span, msr::web::Day(today), kDecimalComma);
        std::string& out = Reply();
        if (check.waiting) {
            out = "{\"waiting\":true}";
        } else if (check.refusedField != msr::RentIncreaseField::None) {
            out = "{\"refusal\":{";
            AppendMember("field", msr::RentIncreaseFieldName(check.refusedField), out);
            AppendMember("message", check.refusal, out);
            out += "}}";
        } else {
            out = "{";
            AppendMember("conclusion", check.conclusion, out);
            if (!check.breach.empty())
                AppendMember("breach", check.breach, out);
            AppendMember("capLimit", check.capLimit, out);
            out += check.exceedsCap ? ",\"exceedsCap\":true" : ",\"exceedsCap\":false";
            out += check.exceedsSpan ? ",\"exceedsSpan\":true" : ",\"exceedsSpan\":false";
            out += ",\"findings\":[";
            const char* separator = "";
            for (const std::string* finding : {&check.capSentence, &check.spanSentence,
                                               &check.waitingSentence, &check.deadlineSentence}) {
                if (finding->empty())
                    continue;
                out += separator;
                msr::AppendJsonString(*finding, out);
                separator = ",";
            }
            out += "]}";
        }
        return out.c_str();
    });
}

} // extern "C"

#pragma once

#include "evaluation/answers/answers.h"
#include "evaluation/answers/answers_reading.h"
#include "evaluation/document/report_document.h"
#include "evaluation/evaluation_result.h"
#include "evaluation/rent_index/editions.h"

#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The core's one entry for a set of answers, for every front end that gets them whole (the
// command line, Node, the web pages, a sheet's rows): admit them, then evaluate them. No
// front end chains the reading, the refusals and the evaluation itself.
namespace msr {

// What a front end says when something went wrong that no rule foresaw: an error's own
// message (a ConversionError's whole), "Zu wenig Arbeitsspeicher" when memory ran out,
// "Unerwarteter Fehler" for anything else; without the error report's full stop. Every
// front end calls it where it catches everything at its edge.
std::string FailureMessage(std::exception_ptr error);

// One set of answers, read and held against the program's refusals.
struct AdmittedAnswers {
    enum class Status {
        Admitted, // read, taken by every rule, and the required answers are there
        Missing,  // read and taken by every rule, but a required answer is missing
        Refused,  // read, but a dialog's rule refuses them (the side, the size)
        Unread,   // refused while reading: an unknown key, a value of the wrong kind
        NotJson,  // no JSON object at all (a sheet's row: no CSV)
    };
    Status status = Status::Admitted;
    Answers answers;                  // as read; the start-up values when not read
    std::vector<const char*> missing; // the required answers not given, when read
    std::string message;              // unless admitted: why, with the error report's full stop
    std::optional<std::string> caseNumber;    // "Aktenzeichen", when the answers give a valid one
    std::optional<CalendarDate> referenceDay; // "Stichtag", when the answers give one
    bool unknownKey = false;                  // refused for a key that is no input
    // Refused by a dialog's rule: the input whose field to correct ("Built1980Side" for the
    // construction-year dialog's refusal, "LivingArea" for the flat-size dialog's).
    const char* refusedInput = nullptr;

    // Whether the answers were read, so that a form may show them whatever the rules say.
    bool read() const { return status != Status::Unread && status != Status::NotJson; }
};

AdmittedAnswers AdmitAnswers(std::string_view json);
AdmittedAnswers AdmitReading(AnswersReading reading); // a row of a sheet, read by its reader

// An evaluation of admitted answers, or why there is none.
struct AnswersEvaluation {
    enum class Status {
        Evaluated, // result holds the figures, the document (if asked for) the report
        NotJson,   // the text is no JSON object (the row no CSV); nothing was evaluated
        Refused,   // refused as the program refuses; nothing was appended
    };
    Status status = Status::Evaluated;
    std::string message; // for NotJson and Refused, with the error report's full stop
    EvaluationResult result;
    EditionInForce edition; // the edition it was evaluated by
    std::optional<std::string> caseNumber;
    bool unknownKey = false; // refused for a key that is no input
};

// A refusal's message with a front end's hint where the known keys are listed, for a
// refusal of an unknown key ("; die erlaubten Schlüssel nennt --help"); others unchanged.
std::string WithUnknownKeyHint(const std::string& message, bool unknownKey, std::string_view hint);

// Evaluates the answers if they were admitted, by the edition in force on their "Stichtag",
// or on `day` where they name none (today, or the day a counsellor chose): into the
// document (which is cleared first) when one is given, else the figures alone, building no
// paragraph. An error of the evaluation (a living area the separator cannot read) is its
// refusal, as in the program; so is a day before every edition.
AnswersEvaluation EvaluateAnswers(const AdmittedAnswers& admitted,
                                  const RentIndexEditions& editions, const CalendarDate& day,
                                  const std::string& decimalSeparator,
                                  ReportDocument* document = nullptr);

} // namespace msr

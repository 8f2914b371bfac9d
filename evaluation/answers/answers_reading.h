#pragma once

#include "evaluation/answers/answers.h"
#include "evaluation/answers/calendar_date.h"

#include <cstddef>
#include <optional>
#include <string>

namespace msr {

// The longest JSON text of answers that is read: far more than any answers take (the size
// dialog's field holds at most 32767 characters), and a bound on the memory one text costs.
inline constexpr std::size_t kLargestAnswersText = std::size_t{1} << 20;

// The optional key of the answers that holds the counsellor's case number: never
// evaluated, only carried through to the output.
inline constexpr const char* kCaseNumberKey = "Aktenzeichen";

// The longest case number, in characters.
inline constexpr std::size_t kLongestCaseNumber = 100;

// The optional key of the answers that names the day whose rent index counts for them (a
// letter's day of receipt, say): "2016-03-01" or "01.03.2016". Without it, the run's day.
inline constexpr const char* kReferenceDayKey = "Stichtag";

// What became of one JSON text (or one row of a sheet) of answers.
struct AnswersReading {
    enum class Status {
        Read,    // answers holds every key of the text
        NotJson, // not JSON, not a JSON object, not UTF-8, or longer than kLargestAnswersText
                 // (for a sheet: a row that is no CSV)
        Refused, // an unknown key, a wrong type, a number out of range, a side without class
                 // 4, a case number too long
    };
    Status status = Status::Read;
    Answers answers;
    std::string message; // why it was not read, in German, without a closing full stop
    // Refused for a key that is no input: a front end may add where the known ones are listed.
    bool unknownKey = false;
    // "Aktenzeichen" as given, when given; kept when the answers are refused for another
    // reason, so that a refusal can name its case.
    std::optional<std::string> caseNumber;
    std::optional<CalendarDate> referenceDay; // "Stichtag", when given
};

} // namespace msr

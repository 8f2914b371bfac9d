#pragma once

#include "batch/batch_formats.h"
#include "batch/batch_progress.h"
#include "batch/figures_table.h"
#include "evaluation/rent_index/editions.h"

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace msr::batch {

// Every input line is one JSON object of answers, every row of a sheet one set of answers
// (evaluation/answers_sheet.h, below its header), and gives exactly one answer, in order.
// JSON Lines: the evaluation as {"paragraphs":[...],"figures":{...}}, or {"error":"<message>"}
// for a refused, unreadable or blank line. CSV: a header, then per line its number and the
// seven figures, or its number and the message. Text is no batch format. A case number of
// the answers comes back in each. The progress, if given, hears of every line. Stops at the
// first line that cannot be read or written.
struct BatchOutcome {
    enum class Failure {
        None,
        Input,    // the input cannot be read
        Output,   // the output cannot be written
        Unusable, // a sheet without a header, or with a header that is refused
    };
    Failure failure = Failure::None;
    std::string message;       // for Unusable: why, without a closing full stop
    bool unknownKey = false;   // for Unusable: the header names a column that is no input
    std::uint64_t lines = 0;   // answered, refused ones included
    std::uint64_t refused = 0; // answered with a message instead of figures
    // For a sheet not saved as UTF-8: how it was read ("als Windows-1252 gelesen"), else "".
    const char* encodingNote = "";
    bool finished() const { return failure == Failure::None; }
};
// What every row of a batch is evaluated by: the editions loaded and the day that chooses
// among them where a row names no "Stichtag".
struct BatchEditions {
    const RentIndexEditions& editions;
    CalendarDate day;
};

// With OutputFormat::Xlsx the rows go to table, and nothing to out. Where several editions
// are loaded, each row names the edition it was evaluated by.
// unknownKeyHint follows the refusal of an unknown key, saying where the known ones are
// listed ("; die erlaubten Schlüssel nennt --help").
BatchOutcome RunBatch(std::istream& in, std::ostream& out, const BatchEditions& editions,
                      const std::string& decimalSeparator, OutputFormat format = OutputFormat::Json,
                      BatchProgress* progress = nullptr, InputFormat input = InputFormat::JsonLines,
                      std::string_view unknownKeyHint = {}, FiguresTable* table = nullptr);

class SheetRows;
class BatchInput;

// The same over the rows of a workbook's sheet (batch/workbook_reading.h); a workbook that
// turns out damaged below its header stops the run with Failure::Unusable and why, after
// the rows read before.
BatchOutcome RunBatch(SheetRows& rows, std::ostream& out, const BatchEditions& editions,
                      const std::string& decimalSeparator, OutputFormat format = OutputFormat::Csv,
                      BatchProgress* progress = nullptr, std::string_view unknownKeyHint = {},
                      FiguresTable* table = nullptr);

// The same over what a user handed in (batch/batch_input.h): a workbook's rows, or the
// text read as `input` says. The one run of the evaluator, its Node build and the batch
// page.
BatchOutcome RunBatch(BatchInput& input, std::ostream& out, const BatchEditions& editions,
                      const std::string& decimalSeparator, OutputFormat format,
                      BatchProgress* progress, InputFormat textFormat,
                      std::string_view unknownKeyHint, FiguresTable* table);

} // namespace msr::batch

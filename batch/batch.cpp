#include "batch/batch.h"

#include "batch/batch_input.h"
#include "batch/evaluation_output.h"
#include "batch/figures_csv.h"
#include "batch/line_reader.h"
#include "batch/rows_ahead.h"
#include "batch/sheet_input.h"
#include "batch/sheet_rows.h"
#include "evaluation/answers/answers_json.h"
#include "evaluation/answers/answers_sheet.h"
#include "evaluation/document/report_document.h"
#include "evaluation/entry.h"
#include "evaluation/figures_record.h"

#include <string_view>
#include <utility>

namespace msr::batch {
namespace {

constexpr const char* kBlankLineMessage =
    "Leere Zeile: erwartet wird je Zeile ein JSON-Objekt mit Antworten";
constexpr const char* kEmptySheetMessage =
    "Die Tabelle ist leer: erwartet wird eine Kopfzeile mit den Namen der Antworten";

bool IsBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

// Files written on Windows end their lines in CR LF.
std::string_view WithoutCarriageReturn(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

// Writes each answer of a batch in its format, and counts them.
class BatchWriter {
public:
    BatchWriter(std::ostream& out, const BatchEditions& editions,
                const std::string& decimalSeparator, OutputFormat format,
                std::string_view unknownKeyHint, FiguresTable* table)
        : out_(out), editions_(editions), severalEditions_(editions.editions.size() > 1),
          decimalSeparator_(decimalSeparator),
          csv_(format == OutputFormat::Csv || format == OutputFormat::Xlsx),
          table_(format == OutputFormat::Xlsx ? table : nullptr), unknownKeyHint_(unknownKeyHint) {}

    bool begin() {
        if (!csv_ || table_)
            return true;
        text_.clear();
        AppendCsvHeader(text_, severalEditions_);
        return write();
    }

    // The answers of the line or row with that number; false when it cannot be written.
    bool answer(std::uint64_t number, AnswersReading reading) {
        text_.clear();
        // The table needs the figures alone: no paragraph is built for it.
        AnswersEvaluation evaluation =
            EvaluateAnswers(AdmitReading(std::move(reading)), editions_.editions, editions_.day,
                            decimalSeparator_, csv_ ? nullptr : &document_);
        evaluation.message =
            WithUnknownKeyHint(evaluation.message, evaluation.unknownKey, unknownKeyHint_);
        if (table_) {
            ++outcome_.lines;
            outcome_.refused += evaluation.status == AnswersEvaluation::Status::Evaluated ? 0 : 1;
            return AddRow(number, evaluation);
        }
        if (csv_) {
            AppendCsvEvaluation(number, evaluation, severalEditions_, decimalSeparator_, text_);
        } else {
            AppendAnswersEvaluation(evaluation, document_, severalEditions_, decimalSeparator_,
                                    text_);
            text_ += '\n';
        }
        ++outcome_.lines;
        outcome_.refused += evaluation.status == AnswersEvaluation::Status::Evaluated ? 0 : 1;
        return write();
    }

    BatchOutcome end(BatchOutcome::Failure failure) {
        if (failure == BatchOutcome::Failure::None && !out_.flush())
            failure = BatchOutcome::Failure::Output;
        outcome_.failure = failure;
        return outcome_;
    }

private:
    bool AddRow(std::uint64_t number, const AnswersEvaluation& evaluation) {
        FinalFigureTexts figures;
        std::string edition;
        return table_->add(
            RowOf(number, evaluation, severalEditions_, decimalSeparator_, figures, edition));
    }

    bool write() {
        return static_cast<bool>(
            out_.write(text_.data(), static_cast<std::streamsize>(text_.size())));
    }

    std::ostream& out_;
    const BatchEditions& editions_;
    bool severalEditions_;
    const std::string& decimalSeparator_;
    bool csv_;
    FiguresTable* table_;
    std::string_view unknownKeyHint_;
    ReportDocument document_; // 96 dpi, as the points of the output promise
    std::string text_;
    BatchOutcome outcome_;
};

AnswersReading NotRead(const char* message) {
    AnswersReading reading;
    reading.status = AnswersReading::Status::NotJson;
    reading.message = message;
    return reading;
}

BatchOutcome AnswerJsonLines(LineReader& lines, BatchWriter& writer, BatchProgress* progress) {
    using Failure = BatchOutcome::Failure;
    if (!writer.begin())
        return writer.end(Failure::Output);
    std::string_view line;
    std::uint64_t number = 0;
    std::uint64_t consumed = 0;
    while (lines.next(line, consumed)) {
        const std::string_view answers = WithoutCarriageReturn(line);
        const bool written = writer.answer(++number, IsBlank(answers) ? NotRead(kBlankLineMessage)
                                                                      : ReadAnswers(answers));
        if (!written)
            return writer.end(Failure::Output);
        if (progress)
            progress->lineDone(consumed);
    }
    return writer.end(lines.failed() ? Failure::Input : Failure::None);
}

BatchOutcome Unusable(std::string message) {
    BatchOutcome unusable;
    unusable.failure = BatchOutcome::Failure::Unusable;
    unusable.message = std::move(message);
    return unusable;
}

BatchOutcome AnswerSheetRows(LineReader& lines, BatchWriter& writer, BatchProgress* progress) {
    using Failure = BatchOutcome::Failure;
    std::string_view line;
    std::uint64_t consumed = 0;
    // The header is the first line that is not blank; it tells the separator.
    bool header = false;
    while (!header && lines.next(line, consumed))
        header = !AnswersSheet::IsBlankRecord(line);
    if (lines.failed())
        return writer.end(Failure::Input);
    if (!header)
        return Unusable(kEmptySheetMessage);
    const char separator = AnswersSheet::FindSeparator(line);
    SheetRecords records(separator);
    SheetRecord record;
    records.addLine(line);
    while (!records.next(record) && lines.next(line, consumed))
        records.addLine(line);
    if (lines.failed())
        return writer.end(Failure::Input);
    if (records.isOpen()) { // a quote in the header never closes
        records.finish();
        records.next(record);
    }
    AnswersSheet sheet;
    if (std::optional<std::string> refusal = sheet.readHeader(record.text, separator)) {
        BatchOutcome unusable = Unusable(std::move(*refusal));
        unusable.unknownKey = sheet.refusedUnknownColumn();
        return unusable;
    }
    if (!writer.begin())
        return writer.end(Failure::Output);

    // The rows below it are numbered from 1 as a spreadsheet shows them; a blank one is
    // counted, not answered.
    std::uint64_t number = 0;
    const auto answerDone = [&] {
        while (records.next(record)) {
            ++number;
            if (!AnswersSheet::IsBlankRecord(record.text, separator) &&
                !writer.answer(number, sheet.readRow(record)))
                return false;
        }
        return true;
    };
    if (!answerDone())
        return writer.end(Failure::Output);
    while (lines.next(line, consumed)) {
        records.addLine(line);
        if (!answerDone())
            return writer.end(Failure::Output);
        if (progress)
            progress->lineDone(consumed);
    }
    // A quote that never closes gives up its first line, and the lines after it are rows.
    records.finish();
    if (!answerDone())
        return writer.end(Failure::Output);
    return writer.end(lines.failed() ? Failure::Input : Failure::None);
}

// The rows of a workbook's sheet: its first row that is not blank the header, the rows
// below it numbered from 1 as the spreadsheet shows them.
BatchOutcome AnswerWorkbookRows(SheetRows& rows, BatchWriter& writer, BatchProgress* progress) {
    using Failure = BatchOutcome::Failure;
    SheetRow row;
    if (!rows.next(row))
        return Unusable(rows.failure().empty() ? kEmptySheetMessage : rows.failure());
    if (!row.refusal.empty())
        return Unusable("Die Kopfzeile kann nicht gelesen werden: " + row.refusal);
    AnswersSheet sheet;
    if (std::optional<std::string> refusal = sheet.readHeader(row.cells)) {
        BatchOutcome unusable = Unusable(std::move(*refusal));
        unusable.unknownKey = sheet.refusedUnknownColumn();
        return unusable;
    }
    if (!writer.begin())
        return writer.end(Failure::Output);
    const std::uint64_t header = row.number;
    std::uint64_t read = rows.bytesRead();
    // A row that repeats the one above is read once: a million repeats of a row of 16,384
    // cells cost a million evaluations, not the reading of 16 billion cells.
    // The header may stand again too: then its names are the first row's values.
    const std::vector<SheetCell> headerCells = row.cells;
    AnswersReading above = sheet.readRow(headerCells);
    while (rows.next(row)) {
        const std::uint64_t number = row.number > header ? row.number - header : 0;
        if (!row.repeatsAbove)
            above = row.refusal.empty() ? sheet.readRow(row.cells) : NotRead(row.refusal.c_str());
        if (!writer.answer(number, above))
            return writer.end(Failure::Output);
        if (progress)
            progress->lineDone(rows.bytesRead() - read);
        read = rows.bytesRead();
    }
    if (!rows.failure().empty()) {
        BatchOutcome outcome = writer.end(Failure::Unusable);
        outcome.message = rows.failure();
        return outcome;
    }
    return writer.end(Failure::None);
}

} // namespace

BatchOutcome RunBatch(std::istream& in, std::ostream& out, const BatchEditions& editions,
                      const std::string& decimalSeparator, OutputFormat format,
                      BatchProgress* progress, InputFormat input, std::string_view unknownKeyHint,
                      FiguresTable* table) {
    BatchWriter writer(out, editions, decimalSeparator, format, unknownKeyHint, table);
    BatchOutcome outcome;
    // One byte more than answers may take: a longer line is refused for its size all the
    // same.
    if (input == InputFormat::Sheet) {
        SheetInput text(in);
        std::istream decoded(&text);
        LineReader lines(decoded, kLargestAnswersText + 1);
        outcome = AnswerSheetRows(lines, writer, progress);
        if (text.failed() && outcome.failure != BatchOutcome::Failure::Output)
            outcome.failure = BatchOutcome::Failure::Input;
        outcome.encodingNote = EncodingNote(text.encoding());
    } else {
        LineReader lines(in, kLargestAnswersText + 1);
        outcome = AnswerJsonLines(lines, writer, progress);
    }
    // The progress line ends before a message of a failure can follow it.
    if (progress)
        progress->finish();
    return outcome;
}

BatchOutcome RunBatch(SheetRows& rows, std::ostream& out, const BatchEditions& editions,
                      const std::string& decimalSeparator, OutputFormat format,
                      BatchProgress* progress, std::string_view unknownKeyHint,
                      FiguresTable* table) {
    BatchWriter writer(out, editions, decimalSeparator, format, unknownKeyHint, table);
    const std::unique_ptr<SheetRows> ahead = ReadAhead(rows);
    BatchOutcome outcome = AnswerWorkbookRows(ahead ? *ahead : rows, writer, progress);
    if (progress)
        progress->finish();
    return outcome;
}

BatchOutcome RunBatch(BatchInput& input, std::ostream& out, const BatchEditions& editions,
                      const std::string& decimalSeparator, OutputFormat format,
                      BatchProgress* progress, InputFormat textFormat,
                      std::string_view unknownKeyHint, FiguresTable* table) {
    if (SheetRows* rows = input.workbook())
        return RunBatch(*rows, out, editions, decimalSeparator, format, progress, unknownKeyHint,
                        table);
    return RunBatch(input.text(), out, editions, decimalSeparator, format, progress, textFormat,
                    unknownKeyHint, table);
}

} // namespace msr::batch

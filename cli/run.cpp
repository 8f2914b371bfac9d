#include "cli/run.h"

#include "batch/batch.h"
#include "batch/batch_input.h"
#include "batch/evaluation_output.h"
#include "batch/figures_csv.h"
#include "batch/figures_workbook.h"
#include "cli/command_line.h"
#include "cli/edition_files.h"
#include "cli/temporary_file.h"
#include "evaluation/answers/answers_json.h"
#include "evaluation/answers/visible_text.h"
#include "evaluation/document/report_rendering.h"
#include "evaluation/entry.h"
#include "evaluation/rent_index/admission.h"
#include "evaluation/rent_index/edition_reading.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ios>
#include <optional>
#include <random>
#include <streambuf>
#include <sys/stat.h>
#include <sys/types.h>
#include <vector>

namespace msr::cli {

using batch::BatchOutcome;

namespace {

// What a run evaluates by: the editions loaded, and the day that chooses among them.
struct RunEditions {
    RentIndexEditions editions;
    CalendarDate day;
    batch::BatchEditions forBatch() const { return {editions, day}; }
};

int RunOnOptions(const Options& options, const RunEditions& editions, std::istream& standardInput,
                 std::ostream& out, std::ostream& err, const Surroundings& chosen);
int RunIntoFile(const Options& options, const RunEditions& editions, std::istream& standardInput,
                std::ostream& err, const Surroundings& chosen);

constexpr const char* kInputUnreadable = "Die Eingabe kann nicht gelesen werden";
constexpr const char* kOutputUnwritable = "Die Ausgabe kann nicht geschrieben werden";
// Where a refusal of an unknown key sends the user.
constexpr std::string_view kKeysHint = "; die erlaubten Schlüssel nennt --help";

// A file read through the C library, whose ferror() tells a read error from the end in
// every build: a stream over it turns a read error into its bad state, where a file
// stream under Node would only see the end of the file.
class FileReadBuffer : public std::streambuf {
public:
    explicit FileReadBuffer(std::FILE* file) : file_(file) {
        std::setvbuf(file_, nullptr, _IONBF, 0); // ours is the one buffer: large reads
    }
    ~FileReadBuffer() override { std::fclose(file_); }
    FileReadBuffer(const FileReadBuffer&) = delete;
    FileReadBuffer& operator=(const FileReadBuffer&) = delete;

protected:
    int_type underflow() override {
        const std::size_t read = std::fread(buffer_.data(), 1, buffer_.size(), file_);
        if (read == 0 && std::ferror(file_))
            throw std::ios_base::failure(kInputUnreadable); // the stream goes bad
        if (read == 0)
            return traits_type::eof();
        setg(buffer_.data(), buffer_.data(), buffer_.data() + read);
        return traits_type::to_int_type(buffer_[0]);
    }

    // A workbook is read where it lies: its directory at the end, its parts anywhere.
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode which) override {
        off_type base = 0;
        if (direction == std::ios_base::cur) {
            const off_t at = ftello(file_);
            if (at < 0)
                return pos_type(off_type(-1));
            base = off_type(at) - (egptr() - gptr());
        } else if (direction == std::ios_base::end) {
            if (fseeko(file_, 0, SEEK_END) != 0)
                return pos_type(off_type(-1));
            base = off_type(ftello(file_));
            setg(nullptr, nullptr, nullptr);
        }
        if (offset == 0 && direction == std::ios_base::cur)
            return pos_type(base);
        return seekpos(pos_type(base + offset), which);
    }
    pos_type seekpos(pos_type position, std::ios_base::openmode) override {
        if (off_type(position) < 0 ||
            fseeko(file_, static_cast<off_t>(off_type(position)), SEEK_SET) != 0)
            return pos_type(off_type(-1));
        std::clearerr(file_);
        setg(nullptr, nullptr, nullptr);
        return position;
    }

private:
    std::FILE* file_;
    std::array<char, std::size_t{1} << 16> buffer_{};
};

int UsageFailure(std::ostream& err, const std::string& message) {
    err << WithFullStop(message) << '\n' << UsageText();
    return kUsageOrInputFailed;
}

std::string WhyUnreadable(const std::string& file, int error) {
    std::string reason;
    if (error == ENOENT)
        reason = ": Die Datei gibt es nicht";
    else if (error == EACCES)
        reason = ": Keine Leseberechtigung";
    else if (error == EISDIR)
        reason = ": Das ist ein Verzeichnis";
    return "Die Datei \"" + WithVisibleControls(file) + "\" kann nicht gelesen werden" + reason;
}

// "3 Zeilen gelesen: 2 ausgewertet, 1 abgelehnt.", or for a sheet not saved as UTF-8
// "3 Zeilen als Windows-1252 gelesen: …".
std::string BatchSummary(const BatchOutcome& outcome) {
    const std::string read = *outcome.encodingNote ? outcome.encodingNote : "gelesen";
    return std::to_string(outcome.lines) + (outcome.lines == 1 ? " Zeile " : " Zeilen ") + read +
           ": " + std::to_string(outcome.lines - outcome.refused) + " ausgewertet, " +
           std::to_string(outcome.refused) + " abgelehnt.";
}

bool ReadsStandardInput(const Options& options) {
    return options.inputFile.empty() || options.inputFile == "-";
}

bool CopyFile(const std::filesystem::path& file, std::ostream& out) {
    std::ifstream in(file, std::ios::binary);
    return in && static_cast<bool>(out << in.rdbuf()) && static_cast<bool>(out.flush());
}

bool WriteAll(std::ostream& out, const std::string& text) {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return static_cast<bool>(out.flush());
}

// An edition that cannot be read refuses the run: every fault a line, then the usage.
int EditionsFailure(std::ostream& err, const std::vector<std::string>& faults) {
    for (const std::string& fault : faults)
        err << WithFullStop(fault) << '\n';
    err << UsageText();
    return kUsageOrInputFailed;
}

// --check-rent-index: each edition's summary on the output, or its faults on the error
// stream.
int CheckRentIndex(const std::string& fileOrFolder, std::ostream& out, std::ostream& err) {
    const std::vector<CheckedEdition> checked = CheckEditionFiles(fileOrFolder);
    if (checked.empty()) {
        err << WithFullStop("Im Ordner \"" + WithVisibleControls(fileOrFolder) +
                            "\" steht keine Ausgabe des Mietspiegels (*.json)")
            << '\n';
        return kUsageOrInputFailed;
    }
    bool allGood = true;
    std::string summaries;
    for (const CheckedEdition& edition : checked) {
        if (!edition.edition) {
            allGood = false;
            for (const std::string& fault : edition.faults)
                err << WithFullStop(fault) << '\n';
            continue;
        }
        summaries += "\"" + WithVisibleControls(edition.file) + "\": in Ordnung. " +
                     EditionSummary(*edition.edition) + '\n';
    }
    if (!WriteAll(out, summaries))
        return UsageFailure(err, kOutputUnwritable);
    return allGood ? kEvaluated : kUsageOrInputFailed;
}

// Renders an evaluation in the chosen format.
std::string Rendered(const ReportDocument& document, const msr::AnswersEvaluation& evaluation,
                     const Options& options, bool severalEditions,
                     const std::string& decimalSeparator) {
    std::string text;
    switch (options.format) {
    case OutputFormat::Json:
        batch::AppendAnswersEvaluation(evaluation, document, severalEditions, decimalSeparator,
                                       text);
        text += '\n';
        break;
    case OutputFormat::Xlsx: // a table of many rows only
    case OutputFormat::Csv:
        batch::AppendCsvHeader(text, severalEditions);
        batch::AppendCsvEvaluation(1, evaluation, severalEditions, decimalSeparator, text);
        break;
    case OutputFormat::Text:
        AppendReportText(document, text);
        break;
    }
    return text;
}

int RunSingle(std::istream& in, const Options& options, const RunEditions& editions,
              std::ostream& out, std::ostream& err, const Surroundings& surroundings) {
    const std::string& decimalSeparator = surroundings.decimalSeparator;
    std::string json;
    if (!batch::ReadUpTo(in, kLargestAnswersText, json))
        return UsageFailure(err, kInputUnreadable);
    ReportDocument document; // 96 dpi, as the points of the JSON output promise
    const msr::AnswersEvaluation evaluation = msr::EvaluateAnswers(
        msr::AdmitAnswers(json), editions.editions, editions.day, decimalSeparator, &document);
    if (evaluation.status == AnswersEvaluation::Status::NotJson)
        return UsageFailure(err, evaluation.message);
    if (evaluation.status == AnswersEvaluation::Status::Refused) {
        err << WithUnknownKeyHint(evaluation.message, evaluation.unknownKey, kKeysHint) << '\n';
        return kRefused;
    }
    if (!options.pdfFile.empty()) // the pages exactly as they print
        surroundings.writePdf(document, options.pdfFile);
    if (!WriteAll(out, Rendered(document, evaluation, options, editions.editions.size() > 1,
                                decimalSeparator)))
        return UsageFailure(err, kOutputUnwritable);
    return kEvaluated;
}

// inputBytes: the size of the input when it is a regular file, else 0. The input is told
// by its content: a workbook is read as a sheet whatever its name, a file of another kind
// refused.
int RunOnInput(std::istream& in, std::uint64_t inputBytes, const Options& given,
               const RunEditions& editions, std::ostream& out, std::ostream& err,
               const Surroundings& surroundings) {
    batch::BatchInput input(in,
                            surroundings.inflate ? surroundings.inflate : batch::InflatePortably);
    if (input.unreadable())
        return UsageFailure(err, kInputUnreadable);
    if (!input.failure().empty())
        return UsageFailure(err, input.failure());
    Options options = given;
    if (input.workbook()) {
        if (options.formatGiven && options.format == OutputFormat::Text)
            return UsageFailure(err, "Eine Arbeitsmappe wird Zeile für Zeile ausgewertet, als "
                                     "CSV oder JSON Lines; --format text ist damit nicht möglich");
        if (!options.pdfFile.empty())
            return UsageFailure(err, "--pdf schreibt die Seiten einer einzelnen Auswertung, aus "
                                     "einer Arbeitsmappe ist das nicht möglich");
        options.input = InputFormat::Sheet;
        options.batch = true;
        if (!options.formatGiven)
            options.format = OutputFormat::Csv;
        inputBytes = input.workbook()->bytes();
    }
    if (!options.batch)
        return RunSingle(input.text(), options, editions, out, err, surroundings);
    std::optional<BatchProgress> progress;
    if (surroundings.progress.terminal)
        progress.emplace(*surroundings.progress.terminal, inputBytes);
    const OutputFormat format = options.formatGiven || options.input == InputFormat::Sheet
                                    ? options.format
                                    : OutputFormat::Json;
    // A workbook is written to a file of its own (beside the output file where there is
    // one), then copied to the output.
    std::unique_ptr<batch::FiguresTable> workbook;
    std::optional<TemporaryFile> workbookFile;
    if (format == OutputFormat::Xlsx) {
        const std::filesystem::path folder =
            options.outputFile.empty()
                ? std::filesystem::temp_directory_path()
                : std::filesystem::absolute(options.outputFile).parent_path();
        workbookFile.emplace(folder /
                             (".mietspiegel-" + std::to_string(std::random_device{}()) + ".xlsx"));
        if (workbookFile->good())
            workbook = batch::FiguresWorkbook::Open(
                std::make_unique<std::ofstream>(workbookFile->path(),
                                                std::ios::binary | std::ios::trunc),
                editions.editions.size() > 1);
        if (!workbook)
            return UsageFailure(err, kOutputUnwritable);
    }
    BatchOutcome outcome =
        batch::RunBatch(input, out, editions.forBatch(), surroundings.decimalSeparator, format,
                        progress ? &*progress : nullptr, options.input, kKeysHint, workbook.get());
    if (workbook) {
        const bool written = workbook->finish();
        workbook.reset();
        if (outcome.finished() && !(written && CopyFile(workbookFile->path(), out)))
            outcome.failure = BatchOutcome::Failure::Output;
    }
    switch (outcome.failure) {
    case BatchOutcome::Failure::Input:
        return UsageFailure(err, kInputUnreadable);
    case BatchOutcome::Failure::Output:
        return UsageFailure(err, kOutputUnwritable);
    case BatchOutcome::Failure::Unusable:
        return UsageFailure(
            err, WithUnknownKeyHint(WithFullStop(outcome.message), outcome.unknownKey, kKeysHint));
    case BatchOutcome::Failure::None:
        break;
    }
    err << BatchSummary(outcome) << '\n';
    return outcome.refused > 0 ? kRefused : kEvaluated;
}

} // namespace

int RunEvaluator(const std::vector<std::string>& arguments, std::istream& standardInput,
                 std::ostream& out, std::ostream& err, const Surroundings& surroundings) {
    const CommandLine commandLine = ParseCommandLine(arguments);
    if (!commandLine.ok())
        return UsageFailure(err, commandLine.error);
    const Options& options = commandLine.options;
    Surroundings chosen = surroundings;
    if (!options.decimalSeparator.empty())
        chosen.decimalSeparator = options.decimalSeparator;
    if (options.help || options.version) {
        if (!WriteAll(out, options.help ? HelpText() : VersionText()))
            return UsageFailure(err, kOutputUnwritable);
        return kEvaluated;
    }
    if (!options.checkRentIndex.empty())
        return CheckRentIndex(options.checkRentIndex, out, err);
    if (!options.pdfFile.empty() && !chosen.writePdf)
        return UsageFailure(err, "Die Option --pdf gibt es nur im nativen Auswerter "
                                 "mietspiegel-auswertung; im Browser druckt die Seite");
    LoadedEditions loaded = LoadEditions(chosen.installedEditionFolders, options.rentIndexFiles);
    if (!loaded.faults.empty())
        return EditionsFailure(err, loaded.faults);
    const RunEditions editions{std::move(loaded.editions), options.date   ? *options.date
                                                           : chosen.today ? *chosen.today
                                                                          : Today()};
    if (!options.outputFile.empty())
        return RunIntoFile(options, editions, standardInput, err, chosen);
    return RunOnOptions(options, editions, standardInput, out, err, chosen);
}

namespace {

int RunOnOptions(const Options& options, const RunEditions& editions, std::istream& standardInput,
                 std::ostream& out, std::ostream& err, const Surroundings& chosen) {
    if (ReadsStandardInput(options))
        return RunOnInput(standardInput, chosen.progress.standardInputBytes, options, editions, out,
                          err, chosen);

    std::error_code ignored;
    if (std::filesystem::is_directory(options.inputFile, ignored))
        return UsageFailure(err, WhyUnreadable(options.inputFile, EISDIR));
    // Large reads: under Node each read is a call into JavaScript.
    std::FILE* opened = std::fopen(options.inputFile.c_str(), "rb");
    if (!opened)
        return UsageFailure(err, WhyUnreadable(options.inputFile, errno));
    FileReadBuffer buffer(opened);
    std::istream file(&buffer);
    return RunOnInput(file, RegularFileBytes(options.inputFile), options, editions, out, err,
                      chosen);
}

unsigned FileCreationMask(const Surroundings& surroundings) {
    if (surroundings.fileCreationMask)
        return *surroundings.fileCreationMask;
    const mode_t mask = umask(0);
    umask(mask);
    return static_cast<unsigned>(mask);
}

// Writes beside the target and replaces it only when the run went through (a refused row
// of a table counts as through, a refused single set of answers does not): a failed run
// keeps the old file whole, and no reader ever sees half a file.
int RunIntoFile(const Options& options, const RunEditions& editions, std::istream& standardInput,
                std::ostream& err, const Surroundings& chosen) {
    namespace fs = std::filesystem;
    const fs::path target(options.outputFile);
    const std::string unwritable = "Die Datei \"" + WithVisibleControls(options.outputFile) +
                                   "\" kann nicht geschrieben werden";
    fs::path beside = target;
    beside.replace_filename("." + target.filename().string() + "." +
                            std::to_string(std::random_device{}()) + ".neu");
    TemporaryFile temporaryFile(beside); // only its owner reads it; gone on Ctrl+C
    const fs::path& temporary = temporaryFile.path();
    std::ofstream file;
    if (temporaryFile.good())
        file.open(temporary, std::ios::binary | std::ios::trunc);
    if (!file)
        return UsageFailure(err, unwritable);
    const int status = RunOnOptions(options, editions, standardInput, file, err, chosen);
    file.close();
    std::error_code ignored;
    // A refused row of a table is through; so is a workbook told by its content, whose
    // rows are written even where the options named no sheet.
    const bool through =
        status == kEvaluated ||
        (status == kRefused && (options.batch || fs::file_size(temporary, ignored) > 0));
    if (!through || !file) {
        fs::remove(temporary, ignored);
        return through ? UsageFailure(err, unwritable) : status;
    }
    if (fs::exists(target, ignored)) { // the old file's permissions stay
        fs::permissions(temporary, fs::status(target, ignored).permissions(), ignored);
    } else { // a new file as any other the user makes, once it is whole
        fs::permissions(temporary, static_cast<fs::perms>(0666 & ~FileCreationMask(chosen)),
                        ignored);
    }
    std::error_code renamed;
    fs::rename(temporary, target, renamed);
    if (renamed)
        return UsageFailure(err, unwritable);
    temporaryFile.release();
    return status;
}

} // namespace

} // namespace msr::cli

// The batch page's WebAssembly module: the command-line evaluator's own batch run over a
// file the user chose, read as the command line reads a file of its name, with the German
// decimal comma. The table it gives is byte for byte
// the one `mietspiegel-auswertung --batch --format csv` writes in a German locale, because
// it is the same code; JavaScript only hands in the file's bytes and saves what comes back.
// While it runs (in the page's worker) it tells JavaScript how far into the file it is.
#include "batch/batch.h"
#include "batch/batch_formats.h"
#include "batch/batch_progress.h"
#include "batch/figures_workbook.h"
#include "batch/sheet_source.h"
#include "batch/zip_reading.h"
#include "evaluation/document/report_rendering.h"
#include "evaluation/entry.h"
#include "evaluation/rent_index/admission.h"
#include "web/module_editions.h"

#include <emscripten/em_js.h>
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>

namespace {

// The page shows German figures whatever the browser's language, as the command line
// does under a German locale.
constexpr const char* kGermanDecimalSeparator = ",";

// Where a refusal of an unknown column sends a browser's user.
constexpr std::string_view kColumnsHint = "; die erlaubten Spalten nennt die Vorlage Vorlage.csv";

// Reads the file's bytes where JavaScript put them, without a copy.
class MemoryBuffer : public std::streambuf {
public:
    MemoryBuffer(char* bytes, std::size_t size) { setg(bytes, bytes, bytes + size); }

protected:
    // Where it is, and back to there: a sheet's encoding is decided over the whole file.
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode) override {
        if (direction != std::ios_base::cur || offset != 0)
            return pos_type(off_type(-1));
        return pos_type(off_type(gptr() - eback()));
    }
    pos_type seekpos(pos_type position, std::ios_base::openmode) override {
        const off_type at = off_type(position);
        if (at < 0 || at > egptr() - eback())
            return pos_type(off_type(-1));
        setg(eback(), eback() + at, egptr());
        return position;
    }

public:
    // The bytes of the file read so far: a sheet's reader reads ahead by a block, and reads
    // the whole file once before its first line to decide its encoding, then goes back.
    std::size_t read() const { return static_cast<std::size_t>(gptr() - eback()); }
};

} // namespace

// Hands the bytes read so far to the page's script, which moves its progress bar; a module
// created without onBatchProgress (a test, a tool) hears nothing.
EM_JS(void, msr_batch_tell_progress, (double bytes), {
    if (Module["onBatchProgress"])
        Module["onBatchProgress"](bytes);
});

namespace {

// Tells how far into the file the run has read, at most every tenth of a second, so that
// the page's bar moves calmly and a run of short lines does not flood the page with
// messages. Counted in the file's own bytes, as it was chosen, whatever its encoding.
class PageProgress : public msr::batch::BatchProgress {
public:
    // read tells how many of the file's bytes are read so far.
    explicit PageProgress(std::function<double()> read)
        : read_(std::move(read)), told_(emscripten_get_now()) {}

    void lineDone(std::uint64_t bytes) override {
        // The clock is asked after a few kilobytes only, not after every short line.
        unclocked_ += bytes;
        if (unclocked_ < kClockEvery)
            return;
        unclocked_ = 0;
        const double now = emscripten_get_now();
        if (now - told_ < kIntervalMs)
            return;
        told_ = now;
        msr_batch_tell_progress(read_());
    }
    void finish() override { msr_batch_tell_progress(read_()); }

private:
    static constexpr double kIntervalMs = 100;
    static constexpr std::uint64_t kClockEvery = 16 * 1024;

    std::function<double()> read_;
    double told_;
    std::uint64_t unclocked_ = 0;
};

// What the last run left for JavaScript to take: the table, the counts, the message of a
// run that could not finish. It lives until the next run.
struct BatchReply {
    std::string table;
    double lines = 0;
    double refused = 0;
    std::string read = "gelesen"; // or how a sheet not saved as UTF-8 was read
    std::string failure;
};

BatchReply& Reply() {
    static BatchReply reply;
    return reply;
}

// The parts of a workbook that JavaScript inflated ahead of the run (the browser inflates
// only asynchronously), by their names; the run takes them from here.
std::map<std::string, std::string>& InflatedParts() {
    static std::map<std::string, std::string> parts;
    return parts;
}

std::optional<std::string> InflatedAhead(const msr::batch::ArchiveEntry& entry, std::string_view) {
    auto& parts = InflatedParts();
    const auto found = parts.find(entry.name);
    if (found == parts.end())
        return std::nullopt;
    return std::move(found->second);
}

// The deflated parts of a workbook that a reading may need (its XML), as JSON:
// [{"name":…,"from":…,"to":…,"size":…}], from and to the bytes' place in the file; [] for
// a file that is no zip archive.
std::string PartsToInflate(std::string_view bytes) {
    std::string json = "[";
    std::string why;
    const std::optional<msr::batch::ZipArchive> archive =
        msr::batch::StartsAsZipArchive(bytes) ? msr::batch::ZipArchive::Open(bytes, why)
                                              : std::nullopt;
    if (!archive)
        return "[]";
    for (const msr::batch::ArchiveEntry& entry : archive->entries()) {
        const std::string_view stored = archive->stored(entry);
        const std::string_view kind =
            std::string_view(entry.name).substr(entry.name.rfind('.') + 1);
        const bool xml = kind == "xml" || kind == "rels";
        if (!xml || entry.method != 8 || entry.encrypted ||
            entry.size > msr::batch::kLargestArchivePart || stored.size() != entry.compressedSize)
            continue;
        if (json.size() > 1)
            json += ',';
        json += "{\"name\":";
        msr::AppendJsonString(entry.name, json);
        const auto from = static_cast<std::size_t>(stored.data() - bytes.data());
        json += ",\"from\":" + std::to_string(from) +
                ",\"to\":" + std::to_string(from + stored.size()) +
                ",\"size\":" + std::to_string(entry.size) + "}";
    }
    return json + "]";
}

// How the command line reads a file of this name: a sheet or JSON Lines.
msr::batch::InputFormat InputFormatOf(const std::string& fileName) {
    return msr::batch::IsSheetFile(fileName) ? msr::batch::InputFormat::Sheet
                                             : msr::batch::InputFormat::JsonLines;
}

void RunOverBytes(char* bytes, std::size_t size, const std::string& fileName, bool workbook,
                  const char* today, BatchReply& reply) {
    using Failure = msr::batch::BatchOutcome::Failure;
    MemoryBuffer buffer(bytes, size);
    std::istream in(&buffer);
    const msr::batch::InputFormat input = InputFormatOf(fileName);
    // A sheet may be a workbook, whose first sheet is read as a table.
    std::optional<msr::batch::SheetSource> source;
    if (input == msr::batch::InputFormat::Sheet) {
        source.emplace(in, InflatedAhead);
        InflatedParts().clear();
        if (!source->failure().empty()) {
            reply.failure = msr::WithFullStop(source->failure());
            return;
        }
    }
    std::ostringstream out;
    // A workbook is read whole at once; its sheet's text then counts for the file's bytes.
    std::istream& sheet = source ? source->sheet() : in;
    const double textBytes =
        source ? static_cast<double>(source->workbookTextBytes().value_or(0)) : 0;
    PageProgress progress([&] {
        if (textBytes == 0)
            return static_cast<double>(buffer.read());
        const std::streamoff read =
            sheet.rdbuf()->pubseekoff(0, std::ios_base::cur, std::ios_base::in);
        const double at = static_cast<double>(std::max<std::streamoff>(read, 0));
        return static_cast<double>(size) * std::min(at / textBytes, 1.0);
    });
    const msr::RentIndexEditions& editions = msr::web::Editions();
    std::unique_ptr<msr::batch::FiguresWorkbook> table;
    if (workbook)
        table = msr::batch::FiguresWorkbook::Open(std::make_unique<std::ostringstream>(),
                                                  editions.size() > 1);
    msr::batch::BatchOutcome outcome =
        msr::batch::RunBatch(sheet, out, {editions, msr::web::Day(today)}, kGermanDecimalSeparator,
                             table ? msr::batch::OutputFormat::Xlsx : msr::batch::OutputFormat::Csv,
                             &progress, input, kColumnsHint, table.get());
    if (table && !table->finish() && outcome.finished())
        outcome.failure = Failure::Output;
    reply.table =
        table ? static_cast<std::ostringstream&>(table->out()).str() : std::move(out).str();
    reply.lines = static_cast<double>(outcome.lines);
    reply.refused = static_cast<double>(outcome.refused);
    if (*outcome.encodingNote)
        reply.read = outcome.encodingNote;
    if (outcome.failure == Failure::Unusable)
        reply.failure = msr::WithUnknownKeyHint(msr::WithFullStop(outcome.message),
                                                outcome.unknownKey, kColumnsHint);
    else if (outcome.failure == Failure::Output) // beyond a workbook's last row
        reply.failure = "Das Ergebnis passt nicht in eine Arbeitsmappe; bitte als CSV speichern.";
    else if (outcome.failure != Failure::None)
        reply.failure = "Die Datei kann nicht gelesen werden.";
}

} // namespace

extern "C" {

// Evaluates the size bytes at bytes, a sheet of answers or JSON Lines as the command line
// tells them apart by the file's name; true when the run went through to the end. The
// results stay until the next run. Module.onBatchProgress, if set, hears how many of the
// bytes have been read, now and then and once at the end.
// With workbook true the table is an .xlsx workbook, as --format xlsx writes it. today: as
// the browser's clock gives it ("2026-12-10"), the day whose edition counts for a row
// without its own "Stichtag".
EMSCRIPTEN_KEEPALIVE int msr_batch_run(char* bytes, std::size_t size, const char* fileName,
                                       int workbook, const char* today) {
    BatchReply& reply = Reply();
    reply = BatchReply{};
    try {
        RunOverBytes(bytes, size, fileName, workbook != 0, today, reply);
    } catch (...) {
        reply.failure = msr::WithFullStop(msr::FailureMessage(std::current_exception()));
    }
    return reply.failure.empty() ? 1 : 0;
}

// One edition of the page's release, handed in before any run: "" when taken, else why not.
EMSCRIPTEN_KEEPALIVE const char* msr_batch_add_edition(const char* bytes, std::size_t length,
                                                       const char* file) {
    static std::string refusal;
    try {
        refusal = msr::web::AddEdition(bytes, length, file);
    } catch (...) {
        refusal = msr::WithFullStop(msr::FailureMessage(std::current_exception()));
    }
    return refusal.c_str();
}

// The parts of the workbook of size bytes at bytes that JavaScript inflates before the run,
// as JSON (see PartsToInflate); valid until the next call.
EMSCRIPTEN_KEEPALIVE const char* msr_workbook_parts(const char* bytes, std::size_t size) {
    static std::string json;
    try {
        json = PartsToInflate(std::string_view(bytes, size));
    } catch (...) {
        json = "[]"; // the run then finds the workbook damaged, or out of memory
    }
    return json.c_str();
}

// Hands in a part that JavaScript inflated: its name and its size bytes at bytes.
EMSCRIPTEN_KEEPALIVE int msr_workbook_part(const char* name, const char* bytes, std::size_t size) {
    try {
        InflatedParts()[name].assign(bytes, size);
        return 1;
    } catch (...) {
        InflatedParts().clear();
        return 0;
    }
}

EMSCRIPTEN_KEEPALIVE const char* msr_batch_table() {
    return Reply().table.data();
}
EMSCRIPTEN_KEEPALIVE std::size_t msr_batch_table_size() {
    return Reply().table.size();
}
// Lines answered, refused ones included, and of them the refused ones.
EMSCRIPTEN_KEEPALIVE double msr_batch_lines() {
    return Reply().lines;
}
EMSCRIPTEN_KEEPALIVE double msr_batch_refused() {
    return Reply().refused;
}
// "gelesen", or for a sheet not saved as UTF-8 how it was read ("als Windows-1252 gelesen").
EMSCRIPTEN_KEEPALIVE const char* msr_batch_read() {
    return Reply().read.c_str();
}
// Why the last run could not finish, in German with its full stop; empty when it did.
EMSCRIPTEN_KEEPALIVE const char* msr_batch_failure() {
    return Reply().failure.c_str();
}

} // extern "C"

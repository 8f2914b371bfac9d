// The batch page's WebAssembly module: the command-line evaluator's own batch run over a
// file the user chose, read as the command line reads a file of its name, with the German
// decimal comma. The table it gives is byte for byte
// the one `mietspiegel-auswertung --batch --format csv` writes in a German locale, because
// it is the same code; JavaScript only hands in the file's bytes and saves what comes back.
// While it runs (in the page's worker) it tells JavaScript how far into the file it is.
#include "batch/batch.h"
#include "batch/batch_formats.h"
#include "batch/batch_input.h"
#include "batch/batch_progress.h"
#include "batch/byte_stream.h"
#include "batch/figures_workbook.h"
#include "batch/inflating.h"
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
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The page shows German figures whatever the browser's language, as the command line
// does under a German locale.
constexpr const char* kGermanDecimalSeparator = ",";

// Where a refusal of an unknown column sends a browser's user.
constexpr std::string_view kColumnsHint = "; die erlaubten Spalten nennt die Vorlage Vorlage.csv";

} // namespace

// Reads count bytes of the chosen file from at into buffer, through the page's script
// (Module.onBatchReadFile gives them, a slice of the File at a time): the number read, or
// -1 when the file cannot be read (taken away, changed meanwhile).
EM_JS(double, msr_batch_read_file, (double at, char* buffer, double count), {
    try {
        const bytes = Module["onBatchReadFile"](at, count);
        HEAPU8.set(bytes, buffer);
        return bytes.length;
    } catch (error) {
        return -1;
    }
});

namespace {

// A slice of the chosen file in memory: where it begins and its bytes, at most a mebibyte
// (each read of the file, a slice of it through the script, costs the same whatever its
// length, so a slice is read whole and the small reads are served from it).
class FileSlice {
public:
    std::uint64_t at() const { return at_; }
    char* data() { return bytes_.data(); }
    std::size_t size() const { return bytes_.size(); }
    bool holds(std::uint64_t position) const {
        return position >= at_ && position - at_ < bytes_.size();
    }
    // Reads the slice from `from` on, as far as the file goes; false when it cannot be read.
    bool load(std::uint64_t from, std::uint64_t fileSize) {
        at_ = from;
        bytes_.resize(static_cast<std::size_t>(
            std::min<std::uint64_t>(kSize, fileSize - std::min(from, fileSize))));
        if (bytes_.empty())
            return true;
        const bool read = msr_batch_read_file(static_cast<double>(from), bytes_.data(),
                                              static_cast<double>(bytes_.size())) ==
                          static_cast<double>(bytes_.size());
        if (!read)
            bytes_.clear();
        return read;
    }
    // Empty, beginning at `from`: the next load reads from there.
    void moveTo(std::uint64_t from) {
        at_ = from;
        bytes_.clear();
    }

private:
    static constexpr std::size_t kSize = std::size_t{1} << 20;

    std::uint64_t at_ = 0;
    std::vector<char> bytes_;
};

// The chosen file, read where it lies a slice at a time: as a stream for a text (which may
// go back, a sheet's encoding is decided over the whole file and its first bytes tell its
// kind) and at any place for a workbook. The module never holds the whole file.
class PageFile : public std::streambuf, public msr::batch::RandomAccessBytes {
public:
    explicit PageFile(std::uint64_t size) : size_(size) { showStreamed(); }

    std::uint64_t size() const override { return size_; }
    bool readAt(std::uint64_t at, char* buffer, std::size_t count) override {
        while (count > 0) {
            if (!placed_.holds(at) && (!placed_.load(at, size_) || !placed_.holds(at)))
                return false;
            const std::size_t offset = static_cast<std::size_t>(at - placed_.at());
            const std::size_t part = std::min(count, placed_.size() - offset);
            std::copy_n(placed_.data() + offset, part, buffer);
            at += part;
            buffer += part;
            count -= part;
        }
        return true;
    }

    // The bytes of the file read so far: a sheet's reader reads ahead by a block, and reads
    // the whole file once before its first line to decide its encoding, then goes back.
    std::uint64_t read() const {
        return streamed_.at() + static_cast<std::uint64_t>(gptr() - eback());
    }

protected:
    int_type underflow() override {
        if (!streamed_.load(read(), size_))
            throw std::ios_base::failure("Die Datei kann nicht gelesen werden");
        showStreamed();
        return streamed_.size() == 0 ? traits_type::eof() : traits_type::to_int_type(*gptr());
    }
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode which) override {
        const off_type base = direction == std::ios_base::beg   ? 0
                              : direction == std::ios_base::end ? off_type(size_)
                                                                : off_type(read());
        return seekpos(pos_type(base + offset), which);
    }
    pos_type seekpos(pos_type position, std::ios_base::openmode) override {
        const off_type at = off_type(position);
        if (at < 0 || static_cast<std::uint64_t>(at) > size_)
            return pos_type(off_type(-1));
        streamed_.moveTo(static_cast<std::uint64_t>(at));
        showStreamed();
        return position;
    }

private:
    // The stream's get area over the streamed slice.
    void showStreamed() {
        setg(streamed_.data(), streamed_.data(), streamed_.data() + streamed_.size());
    }

    std::uint64_t size_;
    FileSlice streamed_; // the text's, as the stream reads on
    FileSlice placed_;   // a workbook's, read at any place
};

} // namespace

// Hands the bytes read so far to the page's script, which moves its progress bar; a module
// created without onBatchProgress (a test, a tool) hears nothing.
EM_JS(void, msr_batch_tell_progress, (double bytes), {
    if (Module["onBatchProgress"])
        Module["onBatchProgress"](bytes);
});

// Hands a part of the CSV table to the page's script; a module created without
// onBatchTablePart (a tool) drops it.
EM_JS(void, msr_batch_table_part, (const char* bytes, std::size_t size), {
    if (Module["onBatchTablePart"])
        Module["onBatchTablePart"](HEAPU8.slice(bytes, bytes + size));
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

// The CSV table goes to the page's script in parts as the run writes it: the module never
// holds the whole table (a million refused rows are 200 MB), and the script keeps each part
// as a Blob, which the browser may keep out of the worker's memory.
class TableParts : public std::streambuf {
public:
    TableParts() : buffer_(kPartSize) { setp(buffer_.data(), buffer_.data() + buffer_.size()); }
    ~TableParts() override { hand(); }

protected:
    int_type overflow(int_type c) override {
        hand();
        if (!traits_type::eq_int_type(c, traits_type::eof()))
            sputc(traits_type::to_char_type(c));
        return traits_type::not_eof(c);
    }
    int sync() override {
        hand();
        return 0;
    }

private:
    static constexpr std::size_t kPartSize = std::size_t{1} << 20;

    void hand() {
        if (pptr() != pbase())
            msr_batch_table_part(pbase(), static_cast<std::size_t>(pptr() - pbase()));
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }

    std::vector<char> buffer_;
};

// What the last run left for JavaScript to take: the workbook (a CSV table went in parts),
// the counts, the message of a run that could not finish. It lives until the next run.
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

// How the command line reads a file of this name: a sheet or JSON Lines.
msr::batch::InputFormat InputFormatOf(const std::string& fileName) {
    return msr::batch::IsSheetFile(fileName) ? msr::batch::InputFormat::Sheet
                                             : msr::batch::InputFormat::JsonLines;
}

void RunOverFile(std::uint64_t size, const std::string& fileName, bool workbook, const char* today,
                 BatchReply& reply) {
    using Failure = msr::batch::BatchOutcome::Failure;
    PageFile file(size);
    std::istream in(&file);
    // Told by its content: a workbook is read as a sheet whatever its name.
    msr::batch::BatchInput input(in, msr::batch::InflatePortably, &file);
    if (!input.failure().empty() || input.unreadable()) {
        reply.failure = msr::WithFullStop(input.unreadable() ? "Die Datei kann nicht gelesen werden"
                                                             : input.failure());
        return;
    }
    TableParts parts;
    std::ostream out(&parts);
    // Counted in the file's own bytes: a workbook's share of its sheet read.
    msr::batch::SheetRows* rows = input.workbook();
    PageProgress progress([&] {
        if (!rows)
            return static_cast<double>(file.read());
        const double share = rows->bytes() == 0 ? 1
                                                : static_cast<double>(rows->bytesRead()) /
                                                      static_cast<double>(rows->bytes());
        return static_cast<double>(size) * std::min(share, 1.0);
    });
    const msr::RentIndexEditions& editions = msr::web::Editions();
    std::unique_ptr<msr::batch::FiguresWorkbook> table;
    if (workbook)
        table = msr::batch::FiguresWorkbook::Open(std::make_unique<std::ostringstream>(),
                                                  editions.size() > 1);
    msr::batch::BatchOutcome outcome =
        msr::batch::RunBatch(input, out, {editions, msr::web::Day(today)}, kGermanDecimalSeparator,
                             table ? msr::batch::OutputFormat::Xlsx : msr::batch::OutputFormat::Csv,
                             &progress, InputFormatOf(fileName), kColumnsHint, table.get());
    if (table && !table->finish() && outcome.finished())
        outcome.failure = Failure::Output;
    out.flush();
    if (table)
        reply.table = static_cast<std::ostringstream&>(table->out()).str();
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

// Evaluates the chosen file of size bytes, which Module.onBatchReadFile(at, count) gives a
// slice at a time: a sheet of answers or JSON Lines as the command line tells them apart by
// the file's name; true when the run went through to the end. The
// results stay until the next run. Module.onBatchProgress, if set, hears how many of the
// bytes have been read, now and then and once at the end.
// With workbook true the table is an .xlsx workbook, as --format xlsx writes it. today: as
// the browser's clock gives it ("2026-12-10"), the day whose edition counts for a row
// without its own "Stichtag".
EMSCRIPTEN_KEEPALIVE int msr_batch_run(double size, const char* fileName, int workbook,
                                       const char* today) {
    BatchReply& reply = Reply();
    reply = BatchReply{};
    try {
        RunOverFile(static_cast<std::uint64_t>(size), fileName, workbook != 0, today, reply);
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

// The workbook of the last run asked for as one (a CSV table went to onBatchTablePart).
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

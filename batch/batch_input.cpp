#include "batch/batch_input.h"

#include "batch/workbook_reading.h"
#include "batch/zip_reading.h"

#include <array>
#include <cstring>
#include <string_view>

namespace msr::batch {
namespace {

// Enough of the first bytes to tell every kind below.
constexpr std::size_t kHead = 8;

// Excel's own format before 2007, and a workbook Excel protected with a password: both in
// Microsoft's compound file, which begins so.
constexpr std::string_view kCompoundFile = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

struct ForeignKind {
    std::string_view start;
    const char* what;
};
// Files a counsellor may pick by mistake, by how they begin.
constexpr std::array<ForeignKind, 12> kForeignKinds{{
    {"%PDF", "ein PDF-Dokument"},
    {"\x89PNG", "ein Bild (PNG)"},
    {"\xFF\xD8\xFF", "ein Bild (JPEG)"},
    {"GIF8", "ein Bild (GIF)"},
    {std::string_view("II*\0", 4), "ein Bild (TIFF)"},
    {std::string_view("MM\0*", 4), "ein Bild (TIFF)"},
    {"RIFF", "ein Bild oder eine Tonaufnahme (RIFF)"},
    {"\x1F\x8B", "ein gepacktes Archiv (gzip)"},
    {"7z\xBC\xAF", "ein gepacktes Archiv (7z)"},
    {"Rar!", "ein gepacktes Archiv (RAR)"},
    {"{\\rtf", "ein Textdokument (RTF)"},
    {"\x7F"
     "ELF",
     "ein Programm"},
}};

// A stream that can seek, read where it lies.
class StreamBytes : public RandomAccessBytes {
public:
    StreamBytes(std::istream& in, std::uint64_t size) : in_(in), size_(size) {}
    std::uint64_t size() const override { return size_; }
    bool readAt(std::uint64_t at, char* buffer, std::size_t count) override {
        if (at > size_ || count > size_ - at)
            return false;
        in_.clear();
        in_.seekg(static_cast<std::streamoff>(at));
        in_.read(buffer, static_cast<std::streamsize>(count));
        return static_cast<std::size_t>(in_.gcount()) == count;
    }

private:
    std::istream& in_;
    std::uint64_t size_;
};

// The size of a stream that can seek, which is left at its start; nullopt for a pipe.
std::optional<std::uint64_t> SeekableSize(std::istream& in) {
    const std::istream::pos_type start = in.tellg();
    if (start == std::istream::pos_type(-1)) {
        in.clear(in.rdstate() & ~std::ios::failbit);
        return std::nullopt;
    }
    in.seekg(0, std::ios::end);
    const std::istream::pos_type end = in.tellg();
    in.clear();
    in.seekg(start);
    if (end == std::istream::pos_type(-1) || end < start || !in)
        return std::nullopt;
    return static_cast<std::uint64_t>(end - start);
}

bool StartsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

} // namespace

bool ReadUpTo(std::istream& in, std::uint64_t limit, std::string& bytes) {
    char chunk[1 << 16];
    bytes.clear();
    do {
        in.read(chunk, sizeof chunk);
        bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    } while (in && bytes.size() <= limit);
    return !in.bad();
}

std::optional<std::string> ForeignFileRefusal(std::string_view head) {
    if (StartsWith(head, kCompoundFile))
        return "Die Datei ist eine Arbeitsmappe im alten Excel-Format (.xls) oder mit einem "
               "Kennwort geschützt; bitte ohne Kennwort als .xlsx, .ods oder CSV speichern";
    for (const ForeignKind& kind : kForeignKinds)
        if (StartsWith(head, kind.start))
            return std::string("Die Datei ist ") + kind.what +
                   ", keine Tabelle; bitte die Tabelle als .xlsx, .ods oder CSV speichern";
    return std::nullopt;
}

BatchInput::Prefixed::Prefixed(std::string head, std::streambuf& rest)
    : head_(std::move(head)), rest_(rest) {
    setg(head_.data(), head_.data(), head_.data() + head_.size());
}

BatchInput::Prefixed::int_type BatchInput::Prefixed::underflow() {
    if (gptr() < egptr())
        return traits_type::to_int_type(*gptr());
    block_.resize(std::size_t{1} << 16);
    const std::streamsize count =
        rest_.sgetn(block_.data(), static_cast<std::streamsize>(block_.size()));
    if (count <= 0)
        return traits_type::eof();
    setg(block_.data(), block_.data(), block_.data() + count);
    return traits_type::to_int_type(block_[0]);
}

BatchInput::BatchInput(std::istream& in, const Inflater& inflate, RandomAccessBytes* bytes)
    : in_(in) {
    std::string head(kHead, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) {
        unreadable_ = true;
        return;
    }
    in.clear(in.rdstate() & ~(std::ios::failbit | std::ios::eofbit));
    if (std::optional<std::string> refusal = ForeignFileRefusal(head)) {
        failure_ = std::move(*refusal);
        return;
    }
    if (StartsAsZipArchive(head) || StartsWith(head, "PK\x05\x06")) {
        openWorkbook(head, inflate, bytes);
        return;
    }
    // A text: read from its first byte, going back where the stream can.
    in.seekg(-static_cast<std::streamoff>(head.size()), std::ios::cur);
    if (in)
        return;
    in.clear(in.rdstate() & ~std::ios::failbit);
    prefixed_ = std::make_unique<Prefixed>(std::move(head), *in.rdbuf());
    text_ = std::make_unique<std::istream>(prefixed_.get());
}

BatchInput::~BatchInput() = default;

void BatchInput::openWorkbook(const std::string& head, const Inflater& inflate,
                              RandomAccessBytes* bytes) {
    if (!bytes) {
        in_.seekg(-static_cast<std::streamoff>(head.size()), std::ios::cur);
        const std::optional<std::uint64_t> size = in_ ? SeekableSize(in_) : std::nullopt;
        if (size) {
            ownBytes_ = std::make_unique<StreamBytes>(in_, *size);
        } else { // a pipe: held in memory, up to a limit
            in_.clear(in_.rdstate() & ~std::ios::failbit);
            std::string rest;
            if (!ReadUpTo(in_, kLargestPipedWorkbook, rest)) {
                unreadable_ = true;
                return;
            }
            held_ = head + rest;
            if (held_.size() > kLargestPipedWorkbook) {
                failure_ = "Eine Arbeitsmappe auf der Standardeingabe darf höchstens " +
                           std::to_string(kLargestPipedWorkbook >> 20) +
                           " MB groß sein; bitte die Datei selbst angeben";
                return;
            }
            ownBytes_ = std::make_unique<MemoryBytes>(held_);
        }
        bytes = ownBytes_.get();
    }
    rows_ = OpenWorkbook(*bytes, inflate, failure_);
}

} // namespace msr::batch

#pragma once

#include "batch/byte_stream.h"
#include "batch/inflating.h"
#include "batch/sheet_rows.h"

#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <streambuf>
#include <string>

namespace msr::batch {

// Reads the stream to its end into `bytes`, or stops once they are longer than `limit`: the
// input is refused for its size all the same, and an endless one ends. False on a read
// error (the stream's bad state).
bool ReadUpTo(std::istream& in, std::uint64_t limit, std::string& bytes);

// A workbook handed in through a pipe is held in memory up to this size; a file is read
// where it lies.
constexpr std::uint64_t kLargestPipedWorkbook = std::uint64_t{64} << 20;

// What a user hands in, told by its content, not by its name: a text (JSON answers, JSON
// Lines, a CSV table) read as it comes; a workbook (.xlsx, .xlsm, .ods), whose first
// sheet's rows are read; or a file of another kind (an old .xls, a PDF, an image), refused
// with what it is.
class BatchInput {
public:
    // bytes: the input's bytes where they can be read at any place (a file in memory);
    // else a stream that can seek is read where it lies, and one that cannot (a pipe) is
    // held in memory when it is a workbook.
    BatchInput(std::istream& in, const Inflater& inflate, RandomAccessBytes* bytes = nullptr);
    ~BatchInput();

    // The text to read, from its first byte on; valid when it is no workbook.
    std::istream& text() { return text_ ? *text_ : in_; }
    // The workbook's rows; nullptr where the input is no workbook.
    SheetRows* workbook() { return rows_.get(); }
    // Why the input is refused (German, without full stop); empty if it is not.
    const std::string& failure() const { return failure_; }
    // Whether the input could not be read at all (the stream failed).
    bool unreadable() const { return unreadable_; }

private:
    // The bytes read to tell the kind, then the rest of a stream that cannot go back.
    class Prefixed : public std::streambuf {
    public:
        Prefixed(std::string head, std::streambuf& rest);

    protected:
        int_type underflow() override;

    private:
        std::string head_;
        std::streambuf& rest_;
        std::string block_;
    };

    void openWorkbook(const std::string& head, const Inflater& inflate, RandomAccessBytes* bytes);

    std::istream& in_;
    std::unique_ptr<Prefixed> prefixed_;
    std::unique_ptr<std::istream> text_;
    std::string held_; // a piped workbook
    std::unique_ptr<RandomAccessBytes> ownBytes_;
    std::unique_ptr<SheetRows> rows_;
    std::string failure_;
    bool unreadable_ = false;
};

// What a file of other bytes than text or a workbook is, as a refusal ("Die Datei ist ein
// PDF-Dokument, keine Tabelle; ..."); nullopt where its first bytes are none of those.
std::optional<std::string> ForeignFileRefusal(std::string_view head);

} // namespace msr::batch

#pragma once

#include <cstddef>
#include <istream>
#include <streambuf>
#include <string>
#include <vector>

namespace msr::batch {

// What a spreadsheet saved a sheet in: UTF-8 (LibreOffice, Excel's "CSV UTF-8"), UTF-16
// with its byte order mark (Excel's "Unicode-Text"), or Windows-1252 (Excel's "CSV
// (Trennzeichen-getrennt)" on a German Windows PC).
enum class SheetEncoding { Utf8, Utf16LittleEndian, Utf16BigEndian, Windows1252 };

// The text of a sheet as UTF-8, whatever it was saved in, without its byte order mark. The
// encoding is decided once for the whole input: a byte order mark names it; else it is
// UTF-8 when every byte is (the whole stream where it can be read twice, a file; else its
// first block), and Windows-1252 when not. Lines that end in CR alone end in LF.
class SheetInput : public std::streambuf {
public:
    explicit SheetInput(std::istream& source);

    // Known once the first byte has been read.
    SheetEncoding encoding() const { return encoding_; }
    // Whether the source failed to read.
    bool failed() const { return source_.bad(); }

protected:
    int_type underflow() override;

private:
    bool readBlock(); // the next bytes of the source into raw_; false at its end
    void decide();
    bool wholeIsUtf8(); // reads the rest of a file, and goes back
    void decode(const char* bytes, std::size_t size);
    void endLines();

    std::istream& source_;
    std::vector<char> raw_;
    std::size_t rawSize_ = 0;
    std::string text_;  // decoded, handed out
    std::string carry_; // the bytes of a UTF-16 unit or pair that the next block continues
    bool decided_ = false;
    bool carriageReturns_ = false; // lines end in CR alone (as on old Macs)
    SheetEncoding encoding_ = SheetEncoding::Utf8;
};

// "als Windows-1252 gelesen" and the like for the summary, or empty for UTF-8.
const char* EncodingNote(SheetEncoding encoding);

} // namespace msr::batch

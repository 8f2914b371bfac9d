#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace msr {

// Character attributes as the rich-text holder keeps them.
struct CharAttributes {
    std::string face = "MS Sans Serif";
    int twentiethsOfPoint = 160; // 8 points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    std::optional<std::uint32_t> rgb; // empty: automatic (the window-text colour)

    int points() const { return twentiethsOfPoint / 20; }
    bool operator==(const CharAttributes& o) const {
        return face == o.face && twentiethsOfPoint == o.twentiethsOfPoint && bold == o.bold &&
               italic == o.italic && underline == o.underline && strikeout == o.strikeout &&
               rgb == o.rgb;
    }
    bool operator!=(const CharAttributes& o) const { return !(*this == o); }
};

enum class ParagraphKind { Body, Heading, Warning };

struct Paragraph {
    ParagraphKind kind = ParagraphKind::Body;
    std::string text; // UTF-8, never a line break
    CharAttributes attributes;
};

// Raised when the holder cannot take a whole line.
class ReportDocumentFull : public std::runtime_error {
public:
    ReportDocumentFull() : std::runtime_error("Fehler bei Einfügen von RichEdit-Zeile") {}
};

inline constexpr std::uint32_t kWarningRed = 0xFF0000;

// The formatted evaluation text: paragraphs plus the current attributes that the next
// appended paragraph takes. Appends only ever add bold and red, never take them away.
class ReportDocument {
public:
    // Far more than an evaluation ever needs (a full report is about 9,000 characters);
    // counted in bytes of UTF-8 with CR LF counting two per paragraph.
    static constexpr std::size_t kDefaultCapacity = 1u << 20;

    explicit ReportDocument(int verticalDpi = 96, std::size_t capacity = kDefaultCapacity);

    void clear();
    void appendBody(std::string_view text);
    void appendHeading(std::string_view text);
    void appendWarning(std::string_view text);
    // Puts the insertion point back to the start; text and attributes stay as they are.
    void returnToStart() { insertionPoint_ = 0; }

    const std::vector<Paragraph>& paragraphs() const { return paragraphs_; }
    const CharAttributes& currentAttributes() const { return current_; }
    // Length in characters as the holder counts it: every paragraph ends in CR LF.
    std::size_t length() const { return length_; }
    std::size_t insertionPoint() const { return insertionPoint_; }
    std::size_t capacity() const { return capacity_; }
    int bodyTwentieths() const { return bodyTwentieths_; }
    // Every paragraph's text followed by CR LF.
    std::string plainText() const;

    // 16 pixels of a screen with the given vertical resolution, in whole points
    // (halves away from zero), held in twentieths of a point.
    static int twentiethsForSixteenPixels(int verticalDpi);

private:
    void append(ParagraphKind kind, std::string_view text);

    std::vector<Paragraph> paragraphs_;
    CharAttributes current_;
    std::size_t length_ = 0;
    std::size_t insertionPoint_ = 0;
    std::size_t capacity_;
    int bodyTwentieths_;
};

} // namespace msr

#include "evaluation/document/report_rendering.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace msr {
namespace {

void AppendFlag(const char* name, bool value, std::string& out) {
    out += ",\"";
    out += name;
    out += value ? "\":true" : "\":false";
}

void AppendColor(const CharAttributes& attributes, std::string& out) {
    out += ",\"color\":";
    if (!attributes.rgb) {
        out += "\"auto\"";
        return;
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "\"#%06x\"", static_cast<unsigned>(*attributes.rgb & 0xFFFFFF));
    out += hex;
}

// Everything of a paragraph after its text; it changes only a few times in a report.
std::string AttributesTail(const CharAttributes& attributes) {
    std::string tail = ",\"face\":";
    AppendJsonString(attributes.face, tail);
    tail += ",\"points\":";
    tail += std::to_string(attributes.points());
    AppendFlag("bold", attributes.bold, tail);
    AppendFlag("italic", attributes.italic, tail);
    AppendFlag("underline", attributes.underline, tail);
    AppendFlag("strikeout", attributes.strikeout, tail);
    AppendColor(attributes, tail);
    tail += '}';
    return tail;
}

const char* ParagraphHead(ParagraphKind kind) {
    switch (kind) {
    case ParagraphKind::Heading:
        return "{\"kind\":\"heading\",\"text\":";
    case ParagraphKind::Warning:
        return "{\"kind\":\"warning\",\"text\":";
    case ParagraphKind::Body:
        break;
    }
    return "{\"kind\":\"body\",\"text\":";
}

const char* ShortEscape(unsigned char c) {
    switch (c) {
    case '"':
        return "\\\"";
    case '\\':
        return "\\\\";
    case '\b':
        return "\\b";
    case '\f':
        return "\\f";
    case '\n':
        return "\\n";
    case '\r':
        return "\\r";
    case '\t':
        return "\\t";
    default:
        return nullptr;
    }
}

bool NeedsEscape(unsigned char c) {
    return c < 0x20 || c == '"' || c == '\\';
}

// Eight characters at a time: most of a text needs no escape at all.
constexpr std::size_t kWordSize = sizeof(std::uint64_t);
constexpr std::uint64_t kEveryByte = 0x0101010101010101u;
constexpr std::uint64_t kHighBits = 0x8080808080808080u;

std::uint64_t WordAt(std::string_view text, std::size_t at) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + at, kWordSize);
    return word;
}

// Whether a byte of the word lies below n (n at most 128).
std::uint64_t HasByteBelow(std::uint64_t word, unsigned n) {
    return (word - kEveryByte * n) & ~word & kHighBits;
}

std::uint64_t HasByte(std::uint64_t word, unsigned char byte) {
    return HasByteBelow(word ^ (kEveryByte * byte), 1);
}

bool AnyNeedsEscape(std::uint64_t word) {
    return (HasByteBelow(word, 0x20) | HasByte(word, '"') | HasByte(word, '\\')) != 0;
}

void AppendEscaped(unsigned char c, std::string& out) {
    if (const char* escape = ShortEscape(c)) {
        out += escape;
        return;
    }
    char unicode[8];
    std::snprintf(unicode, sizeof unicode, "\\u%04x", c);
    out += unicode;
}

} // namespace

void AppendParagraphsMember(const ReportDocument& document, std::string& out) {
    out += "\"paragraphs\":[";
    const CharAttributes* tailAttributes = nullptr;
    std::string tail;
    for (const Paragraph& paragraph : document.paragraphs()) {
        if (tailAttributes)
            out += ',';
        if (!tailAttributes || paragraph.attributes != *tailAttributes) {
            tailAttributes = &paragraph.attributes;
            tail = AttributesTail(paragraph.attributes);
        }
        out += ParagraphHead(paragraph.kind);
        AppendJsonString(paragraph.text, out);
        out += tail;
    }
    out += ']';
}

void AppendReportText(const ReportDocument& document, std::string& out) {
    for (const Paragraph& paragraph : document.paragraphs()) {
        out += paragraph.text;
        out += '\n';
    }
}

void AppendReportJson(const ReportDocument& document, std::string& out) {
    out += '{';
    AppendParagraphsMember(document, out);
    out += '}';
}

void AppendErrorJson(std::string_view message, std::string& out) {
    out += "{\"error\":";
    AppendJsonString(message, out);
    out += '}';
}

void AppendJsonString(std::string_view text, std::string& out) {
    out += '"';
    // Copy runs of plain characters at once; the report's texts have hardly any escapes.
    std::size_t plainFrom = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.size() - i >= kWordSize && !AnyNeedsEscape(WordAt(text, i))) {
            i += kWordSize;
            continue;
        }
        const auto c = static_cast<unsigned char>(text[i]);
        if (NeedsEscape(c)) {
            out.append(text, plainFrom, i - plainFrom);
            AppendEscaped(c, out);
            plainFrom = i + 1;
        }
        ++i;
    }
    out.append(text, plainFrom, std::string_view::npos);
    out += '"';
}

} // namespace msr

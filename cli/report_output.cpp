#include "cli/report_output.h"

#include <cstdio>

namespace msr::cli {
namespace {

const char* KindName(ParagraphKind kind) {
    switch (kind) {
    case ParagraphKind::Heading:
        return "heading";
    case ParagraphKind::Warning:
        return "warning";
    case ParagraphKind::Body:
        break;
    }
    return "body";
}

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

void AppendParagraph(const Paragraph& paragraph, std::string& out) {
    const CharAttributes& attributes = paragraph.attributes;
    out += "{\"kind\":\"";
    out += KindName(paragraph.kind);
    out += "\",\"text\":";
    AppendJsonString(paragraph.text, out);
    out += ",\"face\":";
    AppendJsonString(attributes.face, out);
    out += ",\"points\":";
    out += std::to_string(attributes.points());
    AppendFlag("bold", attributes.bold, out);
    AppendFlag("italic", attributes.italic, out);
    AppendFlag("underline", attributes.underline, out);
    AppendFlag("strikeout", attributes.strikeout, out);
    AppendColor(attributes, out);
    out += '}';
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

std::string WithFullStop(std::string message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        message += '.';
    return message;
}

void AppendText(const ReportDocument& document, std::string& out) {
    for (const Paragraph& paragraph : document.paragraphs()) {
        out += paragraph.text;
        out += '\n';
    }
}

void AppendJson(const ReportDocument& document, std::string& out) {
    out += "{\"paragraphs\":[";
    bool first = true;
    for (const Paragraph& paragraph : document.paragraphs()) {
        if (!first)
            out += ',';
        first = false;
        AppendParagraph(paragraph, out);
    }
    out += "]}";
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
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c != '"' && c != '\\')
            continue;
        out.append(text, plainFrom, i - plainFrom);
        AppendEscaped(c, out);
        plainFrom = i + 1;
    }
    out.append(text, plainFrom, std::string_view::npos);
    out += '"';
}

} // namespace msr::cli

#include "batch/xml_scanning.h"

#include "evaluation/answers/answer_fields.h"

#include <cstdint>
#include <optional>

namespace msr::batch {
namespace {

constexpr std::string_view kBlanks = " \t\r\n";

std::string_view WithoutPrefix(std::string_view name) {
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// What no text may hold stands as the replacement character.
void AppendCharacter(std::uint32_t code, std::string& out) {
    const bool valid = code != 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
    AppendUtf8(valid ? static_cast<char32_t>(code) : char32_t{0xFFFD}, out);
}

// A character reference's number ("#65", "#x41"); false when it is none.
bool CharacterReference(std::string_view reference, std::uint32_t& code) {
    if (reference.size() < 2 || reference[0] != '#')
        return false;
    const bool hex = reference[1] == 'x' || reference[1] == 'X';
    const std::string_view digits = reference.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 8)
        return false;
    code = 0;
    for (const char c : digits) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return false;
        code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
    }
    return true;
}

const char* NamedEntity(std::string_view name) {
    if (name == "amp")
        return "&";
    if (name == "lt")
        return "<";
    if (name == "gt")
        return ">";
    if (name == "quot")
        return "\"";
    if (name == "apos")
        return "'";
    return nullptr;
}

// Where a tag that begins at the start of text ends ('>'), quotes in it minded; npos when
// it never does before the next one begins.
std::size_t TagEnd(std::string_view text) {
    char quote = 0;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i;
        } else if (c == '<') {
            break; // a tag that never closed
        }
    }
    return std::string_view::npos;
}

} // namespace

void AppendXmlDecoded(std::string_view raw, std::string& out) {
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '\r') { // line ends as XML reads them: CR LF and CR alone are LF
            if (i + 1 == raw.size() || raw[i + 1] != '\n')
                out += '\n';
            continue;
        }
        if (c != '&') {
            out += c;
            continue;
        }
        const std::size_t end = raw.find(';', i);
        const std::string_view reference =
            end == std::string_view::npos ? std::string_view() : raw.substr(i + 1, end - i - 1);
        std::uint32_t code = 0;
        if (const char* named = reference.empty() ? nullptr : NamedEntity(reference)) {
            out += named;
        } else if (CharacterReference(reference, code)) {
            AppendCharacter(code, out);
        } else {
            out += c; // an entity of a document type we do not read stands as it is
            continue;
        }
        i = end;
    }
}

XmlScanner::Event XmlScanner::next() {
    if (pendingEnd_) {
        pendingEnd_ = false;
        return Event::End;
    }
    while (!rest_.empty()) {
        if (rest_.front() != '<') {
            const std::size_t end = rest_.find('<');
            text_.clear();
            AppendXmlDecoded(rest_.substr(0, end), text_);
            rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end);
            return Event::Text;
        }
        if (rest_.size() > 1 && rest_[1] == '/') {
            const std::size_t end = rest_.find('>');
            if (end == std::string_view::npos)
                return Event::Malformed;
            std::string_view name = rest_.substr(2, end - 2);
            name = name.substr(0, name.find_first_of(kBlanks));
            name_ = WithoutPrefix(name);
            rest_.remove_prefix(end + 1);
            return Event::End;
        }
        if (rest_.size() > 1 && (rest_[1] == '!' || rest_[1] == '?')) {
            const Event event = markup();
            if (event != Event::Done)
                return event;
            continue;
        }
        return startTag();
    }
    return Event::Done;
}

XmlScanner::Event XmlScanner::startTag() {
    const std::size_t end = TagEnd(rest_);
    if (end == std::string_view::npos)
        return Event::Malformed;
    std::string_view tag = rest_.substr(1, end - 1);
    rest_.remove_prefix(end + 1);
    pendingEnd_ = !tag.empty() && tag.back() == '/';
    if (pendingEnd_)
        tag.remove_suffix(1);
    const std::size_t nameEnd = tag.find_first_of(kBlanks);
    name_ = WithoutPrefix(tag.substr(0, nameEnd));
    attributes_ = nameEnd == std::string_view::npos ? std::string_view() : tag.substr(nameEnd);
    return Event::Start;
}

XmlScanner::Event XmlScanner::markup() {
    const auto passOver = [this](std::string_view closing) {
        const std::size_t end = rest_.find(closing);
        if (end == std::string_view::npos)
            return false;
        rest_.remove_prefix(end + closing.size());
        return true;
    };
    constexpr std::string_view kCdata = "<![CDATA[";
    if (rest_.substr(0, kCdata.size()) == kCdata) {
        const std::size_t end = rest_.find("]]>");
        if (end == std::string_view::npos)
            return Event::Malformed;
        text_.assign(rest_.substr(kCdata.size(), end - kCdata.size()));
        rest_.remove_prefix(end + 3);
        return Event::Text;
    }
    if (rest_.substr(0, 4) == "<!--")
        return passOver("-->") ? Event::Done : Event::Malformed;
    if (rest_[1] == '?')
        return passOver("?>") ? Event::Done : Event::Malformed;
    // A document type, with its internal subset in brackets.
    int depth = 0;
    for (std::size_t i = 2; i < rest_.size(); ++i) {
        if (rest_[i] == '[')
            ++depth;
        else if (rest_[i] == ']')
            --depth;
        else if (rest_[i] == '>' && depth <= 0) {
            rest_.remove_prefix(i + 1);
            return Event::Done;
        }
    }
    return Event::Malformed;
}

std::optional<std::string_view> XmlScanner::rawAttribute(std::string_view localName) const {
    std::string_view rest = attributes_;
    while (true) {
        const std::size_t nameStart = rest.find_first_not_of(kBlanks);
        const std::size_t equals = rest.find('=', nameStart);
        if (equals == std::string_view::npos)
            return std::nullopt;
        std::string_view name = rest.substr(nameStart, equals - nameStart);
        name = name.substr(0, name.find_first_of(kBlanks));
        const std::size_t open = rest.find_first_of("\"'", equals);
        const std::size_t close =
            open == std::string_view::npos ? open : rest.find(rest[open], open + 1);
        if (close == std::string_view::npos)
            return std::nullopt;
        if (WithoutPrefix(name) == localName)
            return rest.substr(open + 1, close - open - 1);
        rest.remove_prefix(close + 1);
    }
}

bool XmlScanner::hasAttribute(std::string_view localName) const {
    return rawAttribute(localName).has_value();
}

std::string XmlScanner::attribute(std::string_view localName) const {
    std::string value;
    if (const std::optional<std::string_view> raw = rawAttribute(localName))
        AppendXmlDecoded(*raw, value);
    return value;
}

bool XmlScanner::skipElement() {
    return walkContent([] { return Child::Enter; }, [](std::string_view) {});
}

} // namespace msr::batch

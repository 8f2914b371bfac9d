#include "batch/xml_scanning.h"

#include "evaluation/answers/answer_fields.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace msr::batch {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Where the first blank stands (npos: none); a loop, which for names and attributes a few
// bytes long is faster than find_first_of's search of the set for every byte.
std::size_t FirstBlank(std::string_view text, std::size_t from = 0) {
    for (std::size_t i = from; i < text.size(); ++i)
        if (IsBlank(text[i]))
            return i;
    return std::string_view::npos;
}

std::size_t FirstNonBlank(std::string_view text, std::size_t from = 0) {
    for (std::size_t i = from; i < text.size(); ++i)
        if (!IsBlank(text[i]))
            return i;
    return std::string_view::npos;
}

std::size_t FirstQuote(std::string_view text, std::size_t from) {
    for (std::size_t i = from; i < text.size(); ++i)
        if (text[i] == '"' || text[i] == '\'')
            return i;
    return std::string_view::npos;
}

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

constexpr std::size_t kBlock = std::size_t{1} << 16;
// The longest reference decoded: "#x10FFFF" and the named entities are shorter.
constexpr std::size_t kLongestReference = 10;

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
        // A reference is short: the search for its ';' stops soon, so that a text of bare
        // '&' takes no longer than any other.
        const std::size_t semicolon = raw.substr(i + 1, kLongestReference).find(';');
        const std::size_t end = semicolon == std::string_view::npos ? semicolon : i + 1 + semicolon;
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

std::size_t XmlScanner::Held::read(char* buffer, std::size_t capacity) {
    const std::size_t count = std::min(capacity, rest_.size());
    rest_.copy(buffer, count);
    rest_.remove_prefix(count);
    return count;
}

bool XmlScanner::readMore() {
    if (ended_)
        return false;
    // As much again as is unread: a long token is searched in few steps, each byte once.
    const std::size_t wanted = std::max(kBlock, buffer_.size() - at_);
    const std::size_t old = buffer_.size();
    buffer_.resize(old + wanted);
    const std::size_t count = in_->read(buffer_.data() + old, wanted);
    buffer_.resize(old + count);
    bytesRead_ += count;
    if (count == 0) {
        ended_ = true;
        broken_ = in_->failed();
    }
    return count > 0;
}

std::size_t XmlScanner::find(char c, std::size_t from) {
    for (;;) {
        const std::size_t found = buffer_.find(c, at_ + from);
        if (found != std::string::npos)
            return found - at_;
        from = buffer_.size() - at_;
        if (from > kLongestXmlToken || !readMore())
            return std::string_view::npos;
    }
}

std::size_t XmlScanner::find(std::string_view closing, std::size_t from) {
    for (;;) {
        const std::size_t found = buffer_.find(closing, at_ + from);
        if (found != std::string::npos)
            return found - at_;
        const std::size_t unreadSize = buffer_.size() - at_;
        from = std::max(from, unreadSize >= closing.size() ? unreadSize - closing.size() + 1 : 0);
        if (unreadSize > kLongestXmlToken || !readMore())
            return std::string_view::npos;
    }
}

std::string_view XmlScanner::innermost() const {
    return depth_ == 0 ? std::string_view() : WithoutPrefix(open_[depth_ - 1]);
}

XmlScanner::Event XmlScanner::malformed() {
    broken_ = true;
    return Event::Malformed;
}

void XmlScanner::close() {
    --depth_;
    endName_.swap(open_[depth_]);
    name_ = WithoutPrefix(endName_);
}

XmlScanner::Event XmlScanner::next() {
    if (pendingEnd_) {
        pendingEnd_ = false;
        close();
        return Event::End;
    }
    // What has been read is dropped once it is the larger part: each byte moves at most once.
    if (at_ > kBlock && at_ >= buffer_.size() / 2) {
        buffer_.erase(0, at_);
        at_ = 0;
    }
    for (;;) {
        if (broken_)
            return Event::Malformed;
        if (unread().empty() && !readMore())
            return broken_ || depth_ > 0 ? malformed() : Event::Done;
        if (unread().front() != '<') {
            const Event event = readText();
            if (event == Event::Done)
                continue; // text outside every element
            return event;
        }
        if (unread().size() < 2 && !readMore())
            return malformed();
        const char second = unread()[1];
        if (second == '/')
            return endTag();
        if (second == '!' || second == '?') {
            const Event event = markup();
            if (event != Event::Done)
                return event;
            continue;
        }
        return startTag();
    }
}

XmlScanner::Event XmlScanner::readText() {
    const std::size_t end = find('<');
    if (end == std::string_view::npos && !ended_)
        return malformed(); // too long
    const std::string_view raw = unread().substr(0, end);
    if (depth_ == 0) {
        consume(raw.size());
        return Event::Done;
    }
    text_.clear();
    AppendXmlDecoded(raw, text_);
    consume(raw.size());
    return Event::Text;
}

XmlScanner::Event XmlScanner::endTag() {
    const std::size_t end = find('>', 2);
    if (end == std::string_view::npos)
        return malformed();
    std::string_view name = unread().substr(2, end - 2);
    name = name.substr(0, FirstBlank(name));
    if (depth_ == 0 || open_[depth_ - 1] != name)
        return malformed(); // an end tag of another element than the open one
    consume(end + 1);
    close();
    return Event::End;
}

XmlScanner::Event XmlScanner::startTag() {
    // Where the tag ends ('>'), quotes in it minded: a '>' in a quoted value is passed.
    char quote = 0;
    std::size_t end = 1;
    for (std::size_t from = 1;;) {
        end = find('>', from);
        if (end == std::string_view::npos)
            return malformed();
        const char* tag = buffer_.data() + at_;
        for (; from < end; ++from) {
            const char c = tag[from];
            if (quote) {
                quote = c == quote ? 0 : quote;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '<') {
                return malformed(); // a tag that never closed
            }
        }
        if (!quote)
            break;
        from = end + 1;
    }
    std::string_view tag = unread().substr(1, end - 1);
    consume(end + 1);
    pendingEnd_ = !tag.empty() && tag.back() == '/';
    if (pendingEnd_)
        tag.remove_suffix(1);
    const std::size_t nameEnd = FirstBlank(tag);
    const std::string_view qualified = tag.substr(0, nameEnd);
    if (qualified.empty() || depth_ >= kDeepest)
        return malformed();
    if (depth_ == open_.size())
        open_.emplace_back();
    open_[depth_++].assign(qualified);
    name_ = WithoutPrefix(qualified);
    attributes_ = nameEnd == std::string_view::npos ? std::string_view() : tag.substr(nameEnd);
    return Event::Start;
}

XmlScanner::Event XmlScanner::markup() {
    const auto passOver = [this](std::string_view opening, std::string_view closing) {
        const std::size_t end = find(closing, opening.size());
        if (end == std::string_view::npos)
            return malformed();
        consume(end + closing.size());
        return Event::Done;
    };
    constexpr std::string_view kCdata = "<![CDATA[";
    constexpr std::string_view kComment = "<!--";
    while (unread().size() < kCdata.size() && readMore()) {
    }
    if (unread().substr(0, kCdata.size()) == kCdata) {
        const std::size_t end = find("]]>", kCdata.size());
        if (end == std::string_view::npos)
            return malformed();
        text_.assign(unread().substr(kCdata.size(), end - kCdata.size()));
        consume(end + 3);
        return depth_ == 0 ? Event::Done : Event::Text;
    }
    if (unread().substr(0, kComment.size()) == kComment)
        return passOver(kComment, "-->");
    if (unread()[1] == '?')
        return passOver("<?", "?>");
    // A document type, with its internal subset in brackets.
    int brackets = 0;
    for (std::size_t i = 2;; ++i) {
        if (i >= unread().size() && (i > kLongestXmlToken || !readMore()))
            return malformed();
        const char c = unread()[i];
        if (c == '[')
            ++brackets;
        else if (c == ']')
            --brackets;
        else if (c == '>' && brackets <= 0) {
            consume(i + 1);
            return Event::Done;
        }
    }
}

std::optional<std::string_view> XmlScanner::rawAttribute(std::string_view localName) const {
    std::string_view rest = attributes_;
    while (true) {
        const std::size_t nameStart = FirstNonBlank(rest);
        if (nameStart == std::string_view::npos)
            return std::nullopt;
        const std::size_t equals = rest.find('=', nameStart);
        if (equals == std::string_view::npos)
            return std::nullopt;
        std::string_view name = rest.substr(nameStart, equals - nameStart);
        name = name.substr(0, FirstBlank(name));
        const std::size_t open = FirstQuote(rest, equals);
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

#pragma once

#include "batch/byte_stream.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace msr::batch {

// Walks the XML of a workbook's part, one element or text at a time, as its bytes stream
// in: what a reader of cells needs and nothing more. Names are compared without their
// namespace prefix ("table:table-cell" is "table-cell"), as writers choose prefixes freely;
// an end tag must match its start tag. Declarations, comments, processing instructions and
// a document type are passed over; CDATA is text; the five named entities and character
// references are decoded, an unknown entity stays as it stands. Text outside an element is
// passed over too. Memory stays within one tag or text of at most kLongestXmlToken bytes
// and the names of the open elements; time is linear in the bytes.
class XmlScanner {
public:
    enum class Event { Start, End, Text, Done, Malformed };

    // A workbook's cell holds at most 32,767 characters; no tag or text of a part a
    // spreadsheet writes comes near this.
    static constexpr std::size_t kLongestXmlToken = std::size_t{4} << 20;
    static constexpr std::size_t kDeepest = 256; // elements within elements

    explicit XmlScanner(ByteStream& in) : in_(&in) {}
    // For a part held whole in memory (tests, small parts).
    explicit XmlScanner(std::string_view xml) : held_(xml), in_(&held_) {}

    // The next element's start or end, or text; an empty element gives its start and then
    // its end. Done at the end of the part, Malformed where a tag never closes, an end tag
    // does not match, the part ends inside an element, or a tag or text is too long.
    Event next();

    // The element's name without its prefix (Start, End); valid until the next event.
    std::string_view name() const { return name_; }
    // An attribute of the element that just started, by its name without prefix, decoded;
    // empty when the element has none of that name.
    std::string attribute(std::string_view localName) const;
    bool hasAttribute(std::string_view localName) const;
    // The decoded text (Text).
    const std::string& text() const { return text_; }
    // How many bytes of the part have been read.
    std::uint64_t bytesRead() const { return bytesRead_; }
    // How many elements are open: the one that just started counts.
    std::size_t depth() const { return depth_; }
    // The name of the innermost open element, without its prefix.
    std::string_view innermost() const;

    // What a walk does with an element that starts inside the one it walks.
    enum class Child {
        Enter, // look inside it: its text and its elements are walked too
        Taken, // read or passed over whole by the one who heard of it
        Failed // the part is malformed
    };
    // Walks the content of the element that just started, to its end: onStart() hears each
    // element that starts inside it (name(), attribute()) and answers with a Child;
    // onText(within) hears each text, within the name of the innermost element entered.
    // False when the part ends first or onStart fails.
    template <typename OnStart, typename OnText>
    bool walkContent(OnStart&& onStart, OnText&& onText);

    // Passes over the element that just started, its content and its end. False when the
    // part ends before it does.
    bool skipElement();

private:
    // A part held in memory, read as a stream.
    class Held : public ByteStream {
    public:
        explicit Held(std::string_view bytes) : rest_(bytes) {}
        std::size_t read(char* buffer, std::size_t capacity) override;
        bool failed() const override { return false; }

    private:
        std::string_view rest_;
    };

    std::string_view unread() const { return std::string_view(buffer_).substr(at_); }
    bool readMore();
    // Where c first stands in the unread bytes from `from` on, reading more as needed; npos
    // where the part ends first or the token grows too long.
    std::size_t find(char c, std::size_t from = 0);
    std::size_t find(std::string_view closing, std::size_t from = 0);
    void consume(std::size_t count) { at_ += count; }

    Event readText();
    Event endTag();
    void close(); // the innermost open element ends
    Event startTag();
    Event markup(); // "<!" or "<?": passed over, or text for CDATA
    Event malformed();
    std::optional<std::string_view> rawAttribute(std::string_view localName) const;

    Held held_{{}};
    ByteStream* in_;
    std::string buffer_;
    std::size_t at_ = 0; // the first unread byte of buffer_
    bool ended_ = false; // the part has no more bytes
    std::uint64_t bytesRead_ = 0;

    std::vector<std::string> open_; // the qualified names of the open elements, reused
    std::size_t depth_ = 0;         // how many of open_ are open
    std::string_view name_;
    std::string_view attributes_; // the raw attributes of the last start tag
    std::string endName_;
    std::string text_;
    bool pendingEnd_ = false; // an empty element's end is still to come
    bool broken_ = false;
};

template <typename OnStart, typename OnText>
bool XmlScanner::walkContent(OnStart&& onStart, OnText&& onText) {
    // Every element open inside the walked one was entered: a taken one is read to its end
    // by the one who took it.
    const std::size_t outer = depth();
    for (;;) {
        switch (next()) {
        case Event::Start:
            if (onStart() == Child::Failed)
                return false;
            break;
        case Event::End:
            if (depth() < outer)
                return true;
            break;
        case Event::Text:
            onText(innermost());
            break;
        case Event::Done:
        case Event::Malformed:
            return false;
        }
    }
}

// Appends text with its entities and character references decoded, as UTF-8.
void AppendXmlDecoded(std::string_view raw, std::string& out);

} // namespace msr::batch

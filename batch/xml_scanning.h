#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace msr::batch {

// Walks the XML of a workbook's part, one element or text at a time: what a reader of
// cells needs and nothing more. Names are compared without their namespace prefix
// ("table:table-cell" is "table-cell"), as writers choose prefixes freely. Declarations,
// comments, processing instructions and a document type are passed over; CDATA is text;
// the five named entities and character references are decoded, an unknown entity stays
// as it stands. Text outside an element is passed over too. The scanner reads from a view
// of the whole part, which must outlive it.
class XmlScanner {
public:
    enum class Event { Start, End, Text, Done, Malformed };

    explicit XmlScanner(std::string_view xml) : rest_(xml) {}

    // The next element's start or end, or text; an empty element gives its start and then
    // its end. Done at the end of the part, Malformed where a tag never closes.
    Event next();

    // The element's name without its prefix (Start, End).
    std::string_view name() const { return name_; }
    // An attribute of the element that just started, by its name without prefix, decoded;
    // empty when the element has none of that name.
    std::string attribute(std::string_view localName) const;
    bool hasAttribute(std::string_view localName) const;
    // The decoded text (Text).
    const std::string& text() const { return text_; }

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
    Event startTag();
    Event markup(); // "<!" or "<?": passed over, or text for CDATA
    std::optional<std::string_view> rawAttribute(std::string_view localName) const;

    std::string_view rest_;
    std::string_view name_;
    std::string_view attributes_; // the raw attributes of the last start tag
    std::string text_;
    bool pendingEnd_ = false; // an empty element's end is still to come
};

template <typename OnStart, typename OnText>
bool XmlScanner::walkContent(OnStart&& onStart, OnText&& onText) {
    std::vector<std::string_view> entered{name_};
    for (;;) {
        switch (next()) {
        case Event::Start:
            switch (onStart()) {
            case Child::Enter:
                entered.push_back(name_);
                break;
            case Child::Taken:
                break;
            case Child::Failed:
                return false;
            }
            break;
        case Event::End:
            entered.pop_back();
            if (entered.empty())
                return true;
            break;
        case Event::Text:
            onText(entered.back());
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

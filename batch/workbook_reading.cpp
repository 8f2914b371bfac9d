#include "batch/workbook_reading.h"

#include "batch/xml_scanning.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace msr::batch {
namespace {

using Event = XmlScanner::Event;
using Child = XmlScanner::Child;

// A child element read or passed over whole, or the failure of doing so.
Child Taken(bool read) {
    return read ? Child::Taken : Child::Failed;
}

void IgnoreText(std::string_view) {}

constexpr const char* kDamaged = "Die Arbeitsmappe ist beschädigt";
constexpr const char* kNoSheet = "Die Arbeitsmappe enthält keine Tabelle";
// A spreadsheet's own limits; a cell beyond them is none a spreadsheet shows.
constexpr std::uint64_t kMostRows = 1048576;
constexpr std::uint64_t kMostColumns = 16384;

// The rows of a sheet written as lines of cells. Rows and cells come in order, each with
// its place; empty ones are written only where a later one needs them to keep its place,
// so that a sheet whose formatting reaches its last row costs nothing.
class SheetTextWriter {
public:
    // False when the place lies before one already written, or a cell that is not empty
    // lies beyond a sheet's limits.
    bool cell(std::uint64_t row, std::uint64_t column, std::string_view text) {
        if (text.empty())
            return true;
        if (row >= kMostRows || column >= kMostColumns)
            return false;
        const auto place = static_cast<std::int64_t>(column);
        if (!started_ || row > row_) {
            text_.append(static_cast<std::size_t>(started_ ? row - row_ : row), '\n');
            started_ = true;
            row_ = row;
            lastColumn_ = -1;
        } else if (row < row_ || place <= lastColumn_) {
            return false;
        }
        // Column 0 has no separator before it.
        text_.append(static_cast<std::size_t>(lastColumn_ < 0 ? place : place - lastColumn_), ';');
        lastColumn_ = place;
        AppendCell(text);
        return true;
    }

    // The lines, each ended.
    std::string take() {
        if (started_)
            text_ += '\n';
        return std::move(text_);
    }

private:
    void AppendCell(std::string_view text) {
        if (text.find_first_of(";\"\r\n") == std::string_view::npos) {
            text_ += text;
            return;
        }
        text_ += '"';
        for (const char c : text) {
            if (c == '"')
                text_ += '"';
            text_ += c;
        }
        text_ += '"';
    }

    std::string text_;
    std::uint64_t row_ = 0;
    std::int64_t lastColumn_ = -1;
    bool started_ = false;
};

// The parts of an archive, unpacked when asked for; the first failure is kept.
class Parts {
public:
    Parts(const ZipArchive& archive, const Inflater& inflate)
        : archive_(archive), inflate_(inflate) {}

    // The part of that name; nullopt when the archive has none or it cannot be unpacked.
    std::optional<std::string> read(std::string_view name) {
        const ArchiveEntry* entry = archive_.find(name);
        if (!entry)
            return std::nullopt;
        std::string why;
        std::optional<std::string> part = archive_.read(*entry, inflate_, why);
        if (!part && failure.empty())
            failure = why;
        return part;
    }
    bool has(std::string_view name) const { return archive_.find(name) != nullptr; }

    std::string failure;

private:
    const ZipArchive& archive_;
    const Inflater& inflate_;
};

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// A whole number of at most 9 digits; nullopt for anything else.
std::optional<std::uint64_t> SmallNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 9 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : digits)
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    return value;
}

// ---- .xlsx (Office Open XML) ----

// A relationship of a part: its type and the part it points to.
struct Relationship {
    std::string id;
    std::string type;
    std::string target; // a path in the archive
};

// A target of a relationship, which stands relative to the folder of its source part
// ("worksheets/sheet1.xml" of "xl/workbook.xml") or from the archive's root ("/xl/...").
std::string ResolvePath(std::string_view folder, std::string_view target) {
    if (!target.empty() && target.front() == '/')
        return std::string(target.substr(1));
    std::string path(folder);
    while (target.substr(0, 3) == "../") {
        target.remove_prefix(3);
        const std::size_t slash = path.find_last_of('/', path.empty() ? 0 : path.size() - 2);
        path = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    }
    return path + std::string(target);
}

std::string FolderOf(std::string_view part) {
    const std::size_t slash = part.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(part.substr(0, slash + 1));
}

// The relationships of part ("xl/workbook.xml" has them in "xl/_rels/workbook.xml.rels").
std::vector<Relationship> RelationshipsOf(Parts& parts, std::string_view part) {
    const std::string folder = FolderOf(part);
    const std::string name = folder + "_rels/" + std::string(part.substr(folder.size())) + ".rels";
    std::vector<Relationship> relationships;
    const std::optional<std::string> xml = parts.read(name);
    if (!xml)
        return relationships;
    XmlScanner scanner(*xml);
    for (Event event; (event = scanner.next()) != Event::Done && event != Event::Malformed;)
        if (event == Event::Start && scanner.name() == "Relationship" &&
            scanner.attribute("TargetMode") != "External")
            relationships.push_back({scanner.attribute("Id"), scanner.attribute("Type"),
                                     ResolvePath(folder, scanner.attribute("Target"))});
    return relationships;
}

const Relationship* OfType(const std::vector<Relationship>& relationships, std::string_view type) {
    for (const Relationship& relationship : relationships)
        if (EndsWith(relationship.type, type))
            return &relationship;
    return nullptr;
}

// Office Open XML writes a character XML cannot hold as "_x000D_", and "_" before such a
// code as "_x005F_".
std::string WithoutCodeEscapes(std::string text) {
    std::size_t at = text.find("_x");
    if (at == std::string::npos)
        return text;
    std::string out;
    std::size_t from = 0;
    for (; at != std::string::npos; at = text.find("_x", at + 1)) {
        if (at + 7 > text.size() || text[at + 6] != '_')
            continue;
        const std::string_view hex = std::string_view(text).substr(at + 2, 4);
        if (hex.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos)
            continue;
        out.append(text, from, at - from);
        AppendXmlDecoded("&#x" + std::string(hex) + ';', out);
        from = at + 7;
        at += 6;
    }
    out.append(text, from, std::string::npos);
    return out;
}

// The text of a string item (<si>, <is>) that just started: its runs' text, without the
// phonetic guides.
bool ReadStringItem(XmlScanner& scanner, std::string& text) {
    text.clear();
    const bool read = scanner.walkContent(
        [&] { return scanner.name() == "rPh" ? Taken(scanner.skipElement()) : Child::Enter; },
        [&](std::string_view within) {
            if (within == "t")
                text += scanner.text();
        });
    text = WithoutCodeEscapes(std::move(text));
    return read;
}

std::optional<std::vector<std::string>> SharedStrings(Parts& parts, const std::string* part) {
    std::vector<std::string> strings;
    if (!part)
        return strings;
    const std::optional<std::string> xml = parts.read(*part);
    if (!xml)
        return parts.failure.empty() ? std::optional(strings) : std::nullopt;
    XmlScanner scanner(*xml);
    std::string text;
    for (Event event; (event = scanner.next()) != Event::Done;) {
        if (event == Event::Malformed)
            return std::nullopt;
        if (event == Event::Start && scanner.name() == "si") {
            if (!ReadStringItem(scanner, text))
                return std::nullopt;
            strings.push_back(std::move(text));
        }
    }
    return strings;
}

// "AB12" gives column 27 (from 0); nullopt without letters.
std::optional<std::uint64_t> ColumnOfReference(std::string_view reference) {
    std::uint64_t column = 0;
    std::size_t letters = 0;
    for (; letters < reference.size() && letters < 4; ++letters) {
        const char c = reference[letters];
        if (c < 'A' || c > 'Z')
            break;
        column = column * 26 + static_cast<std::uint64_t>(c - 'A' + 1);
    }
    if (letters == 0)
        return std::nullopt;
    return column - 1;
}

// The cell (<c>) that just started, as text; false when the part is malformed.
bool ReadXlsxCell(XmlScanner& scanner, const std::vector<std::string>& shared, std::string& text) {
    const std::string type = scanner.attribute("t");
    std::string value;
    std::string inline_;
    const bool read = scanner.walkContent(
        [&] {
            if (scanner.name() == "is")
                return Taken(ReadStringItem(scanner, inline_));
            if (scanner.name() == "v")
                return Child::Enter;
            return Taken(scanner.skipElement()); // a formula, an extension
        },
        [&](std::string_view within) {
            if (within == "v")
                value += scanner.text();
        });
    if (!read)
        return false;
    if (type == "s") {
        const std::optional<std::uint64_t> index = SmallNumber(value);
        if (!index || *index >= shared.size())
            return false;
        text = shared[static_cast<std::size_t>(*index)];
    } else if (type == "inlineStr") {
        text = std::move(inline_);
    } else if (type == "b") {
        text = value == "1" ? "TRUE" : value == "0" ? "FALSE" : value;
    } else {
        text = type == "str" ? WithoutCodeEscapes(std::move(value)) : std::move(value);
    }
    return true;
}

bool ReadXlsxSheet(std::string_view xml, const std::vector<std::string>& shared,
                   SheetTextWriter& writer) {
    XmlScanner scanner(xml);
    std::uint64_t row = 0;
    std::uint64_t nextRow = 0;
    std::uint64_t nextColumn = 0;
    std::string text;
    for (Event event; (event = scanner.next()) != Event::Done;) {
        if (event == Event::Malformed)
            return false;
        if (event != Event::Start)
            continue;
        if (scanner.name() == "row") {
            const std::optional<std::uint64_t> number = SmallNumber(scanner.attribute("r"));
            row = number && *number > 0 ? *number - 1 : nextRow;
            nextRow = row + 1;
            nextColumn = 0;
        } else if (scanner.name() == "c") {
            const std::optional<std::uint64_t> column = ColumnOfReference(scanner.attribute("r"));
            const std::uint64_t at = column ? *column : nextColumn;
            nextColumn = at + 1;
            if (!ReadXlsxCell(scanner, shared, text) || !writer.cell(row, at, text))
                return false;
        }
    }
    return true;
}

// The first sheet's part: the workbook's first <sheet> names its relationship.
std::optional<std::string> FirstSheetPart(Parts& parts, const std::string& workbook,
                                          const std::vector<Relationship>& relationships) {
    const std::optional<std::string> xml = parts.read(workbook);
    if (!xml)
        return std::nullopt;
    XmlScanner scanner(*xml);
    for (Event event; (event = scanner.next()) != Event::Done && event != Event::Malformed;) {
        if (event != Event::Start || scanner.name() != "sheet")
            continue;
        const std::string id = scanner.attribute("id");
        for (const Relationship& relationship : relationships)
            if (relationship.id == id)
                return relationship.target;
        return std::nullopt;
    }
    return std::nullopt;
}

WorkbookSheet ReadXlsx(Parts& parts) {
    const std::vector<Relationship> packageRelationships = RelationshipsOf(parts, "");
    const Relationship* office = OfType(packageRelationships, "/officeDocument");
    const std::string workbook = office ? office->target : "xl/workbook.xml";
    const std::vector<Relationship> relationships = RelationshipsOf(parts, workbook);
    const std::optional<std::string> sheetPart = FirstSheetPart(parts, workbook, relationships);
    const std::optional<std::string> sheet = sheetPart ? parts.read(*sheetPart) : std::nullopt;
    const Relationship* strings = OfType(relationships, "/sharedStrings");
    const std::optional<std::vector<std::string>> shared =
        sheet ? SharedStrings(parts, strings ? &strings->target : nullptr) : std::nullopt;
    if (!parts.failure.empty())
        return {{}, parts.failure};
    if (!sheet)
        return {{}, kNoSheet};
    SheetTextWriter writer;
    if (!shared || !ReadXlsxSheet(*sheet, *shared, writer))
        return {{}, kDamaged};
    return {writer.take(), {}};
}

// ---- .ods (OpenDocument) ----

// A count of repeated rows or columns; 1 where none is given.
std::uint64_t Repeated(const XmlScanner& scanner, std::string_view attribute) {
    const std::optional<std::uint64_t> count = SmallNumber(scanner.attribute(attribute));
    return count && *count > 0 ? *count : 1;
}

// Text as a paragraph holds it: a run of blanks is one space.
void AppendParagraphText(std::string_view text, std::string& out) {
    for (const char c : text) {
        const bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r';
        if (!blank)
            out += c;
        else if (out.empty() || out.back() != ' ')
            out += ' ';
    }
}

// The content of a paragraph (<text:p>) that just started, appended to text.
bool ReadParagraph(XmlScanner& scanner, std::string& text) {
    return scanner.walkContent(
        [&] {
            const std::string_view name = scanner.name();
            if (name == "annotation" || name == "note")
                return Taken(scanner.skipElement());
            if (name == "s")
                text.append(static_cast<std::size_t>(
                                std::min<std::uint64_t>(Repeated(scanner, "c"), kMostColumns)),
                            ' ');
            else if (name == "tab")
                text += '\t';
            else if (name == "line-break")
                text += '\n';
            return Child::Enter; // a span, a link: its text counts
        },
        [&](std::string_view) { AppendParagraphText(scanner.text(), text); });
}

// The cell (<table:table-cell>, <table:covered-table-cell>) that just started: the text it
// shows, else its value.
bool ReadOdsCell(XmlScanner& scanner, std::string& text) {
    text.clear();
    const std::string type = scanner.attribute("value-type");
    std::string value;
    if (type == "boolean")
        value = scanner.attribute("boolean-value") == "true" ? "TRUE" : "FALSE";
    else if (type == "date")
        value = scanner.attribute("date-value");
    else if (type == "time")
        value = scanner.attribute("time-value");
    else if (type == "string")
        value = scanner.attribute("string-value");
    else if (!type.empty())
        value = scanner.attribute("value");
    bool paragraphs = false;
    const bool read = scanner.walkContent(
        [&] {
            if (scanner.name() != "p" && scanner.name() != "h")
                return Taken(scanner.skipElement()); // a note, a shape, a table in the cell
            if (paragraphs)
                text += '\n';
            paragraphs = true;
            return Taken(ReadParagraph(scanner, text));
        },
        IgnoreText);
    if (!read)
        return false;
    if (!paragraphs)
        text = std::move(value);
    return true;
}

// The row (<table:table-row>) that just started: its cells, each with how often it stands.
bool ReadOdsRow(XmlScanner& scanner, std::vector<std::pair<std::uint64_t, std::string>>& cells) {
    cells.clear();
    std::string text;
    return scanner.walkContent(
        [&] {
            if (scanner.name() != "table-cell" && scanner.name() != "covered-table-cell")
                return Taken(scanner.skipElement());
            const std::uint64_t repeated = Repeated(scanner, "number-columns-repeated");
            if (!ReadOdsCell(scanner, text))
                return Child::Failed;
            cells.emplace_back(repeated, text);
            return Child::Taken;
        },
        IgnoreText);
}

bool WriteOdsRow(std::uint64_t row, const std::vector<std::pair<std::uint64_t, std::string>>& cells,
                 SheetTextWriter& writer) {
    std::uint64_t column = 0;
    for (const auto& [repeated, text] : cells) {
        for (std::uint64_t i = 0; !text.empty() && i < repeated; ++i)
            if (!writer.cell(row, column + i, text))
                return false;
        column += repeated;
    }
    return true;
}

WorkbookSheet ReadOds(Parts& parts) {
    const std::optional<std::string> content = parts.read("content.xml");
    if (!content)
        return {{}, parts.failure.empty() ? kNoSheet : parts.failure};
    XmlScanner scanner(*content);
    Event event;
    bool inSpreadsheet = false;
    while ((event = scanner.next()) != Event::Done && event != Event::Malformed) {
        if (event != Event::Start)
            continue;
        if (scanner.name() == "spreadsheet")
            inSpreadsheet = true;
        else if (inSpreadsheet && scanner.name() == "table")
            break;
    }
    if (event != Event::Start)
        return {{}, event == Event::Malformed ? kDamaged : kNoSheet};

    SheetTextWriter writer;
    std::vector<std::pair<std::uint64_t, std::string>> cells;
    std::uint64_t row = 0;
    // Rows may stand in groups (header rows, row groups): only the rows count.
    const bool read = scanner.walkContent(
        [&] {
            if (scanner.name() == "table" || scanner.name() == "shapes")
                return Taken(scanner.skipElement());
            if (scanner.name() != "table-row")
                return Child::Enter;
            const std::uint64_t repeated = Repeated(scanner, "number-rows-repeated");
            if (!ReadOdsRow(scanner, cells))
                return Child::Failed;
            const bool blank = std::all_of(cells.begin(), cells.end(),
                                           [](const auto& cell) { return cell.second.empty(); });
            for (std::uint64_t i = 0; !blank && i < repeated; ++i)
                if (!WriteOdsRow(row + i, cells, writer))
                    return Child::Failed;
            row += repeated;
            return Child::Taken;
        },
        IgnoreText);
    if (!read)
        return {{}, kDamaged};
    return {writer.take(), {}};
}

} // namespace

WorkbookSheet ReadWorkbookSheet(std::string_view bytes, const Inflater& inflate) {
    std::string why;
    const std::optional<ZipArchive> archive = ZipArchive::Open(bytes, why);
    if (!archive)
        return {{}, why};
    Parts parts(*archive, inflate);
    if (parts.has("content.xml"))
        return ReadOds(parts);
    if (parts.has("[Content_Types].xml"))
        return ReadXlsx(parts);
    return {{}, "Die Datei ist keine Arbeitsmappe (.xlsx oder .ods)"};
}

} // namespace msr::batch

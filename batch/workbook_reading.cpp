#include "batch/workbook_reading.h"

#include "batch/xlsx_number_formats.h"
#include "batch/xml_scanning.h"
#include "batch/zip_reading.h"
#include "evaluation/answers/answers_reading.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace msr::batch {
namespace {

using Event = XmlScanner::Event;
using Child = XmlScanner::Child;

constexpr const char* kDamaged = "Die Arbeitsmappe ist beschädigt";
constexpr const char* kNoSheet = "Die Arbeitsmappe enthält keine Tabelle";
constexpr const char* kNoWorkbook = "Die Datei ist keine Arbeitsmappe (.xlsx, .xlsm oder .ods)";
constexpr const char* kLocked = "Die Arbeitsmappe ist mit einem Kennwort geschützt; bitte ohne "
                                "Kennwort als .xlsx, .ods oder CSV speichern";
// The small parts (relationships, the workbook, its content types) are read whole.
constexpr std::uint64_t kLargestSmallPart = std::uint64_t{16} << 20;
// A cell's text is kept up to this many bytes: beyond, it is too long for any cell.
constexpr std::size_t kLongestCellBytes = kLongestCell * 4 + 1;
// The styles a workbook may give its cells; Excel allows 64,000.
constexpr std::size_t kMostStyles = 1 << 20;

// A child element read or passed over whole, or the failure of doing so.
Child Taken(bool read) {
    return read ? Child::Taken : Child::Failed;
}

void IgnoreText(std::string_view) {}

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

std::size_t Characters(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// Text gathered up to kLongestCellBytes: what lies beyond makes it too long for a cell all
// the same, and is not kept.
void AppendCapped(std::string_view text, std::string& out) {
    if (out.size() <= kLongestCellBytes)
        out.append(text.substr(0, kLongestCellBytes + 1 - out.size()));
}

// ---- a row, held to a spreadsheet's limits ----

void Refuse(SheetRow& row, std::string why) {
    if (row.refusal.empty())
        row.refusal = std::move(why);
    row.cells.clear();
    row.repeatsAbove = false;
}

// Gathers the cells of one row; a row beyond a limit is refused whole, and what it holds
// beyond is not kept.
class RowBuilder {
public:
    void begin(SheetRow& row, std::uint64_t number) {
        row_ = &row;
        row.number = number;
        row.cells.clear();
        row.refusal.clear();
        row.repeatsAbove = false;
        bytes_ = 0;
        ordered_ = true;
    }

    bool refused() const { return !row_->refusal.empty(); }

    void add(std::uint64_t column, std::string text) {
        if (refused() || text.empty())
            return;
        if (column >= kMostColumns)
            return Refuse(*row_, "Die Zeile reicht über Spalte XFD hinaus, die letzte Spalte "
                                 "einer Tabelle");
        const auto at = static_cast<std::size_t>(column);
        if (text.size() > kLongestCell && Characters(text) > kLongestCell)
            return Refuse(*row_, "Die Zelle in Spalte " + ColumnLetters(at) + " hat mehr als " +
                                     std::to_string(kLongestCell) +
                                     " Zeichen, mehr als eine Zelle einer Tabelle fasst");
        bytes_ += text.size() + 1;
        if (bytes_ > kLargestAnswersText)
            return Refuse(*row_, "Die Zeile ist zu groß: eine Zeile mit Antworten darf höchstens " +
                                     std::to_string(kLargestAnswersText) +
                                     " Bytes lang sein (Spalte " + ColumnLetters(at) + ")");
        ordered_ = ordered_ && (row_->cells.empty() || row_->cells.back().column < at);
        row_->cells.push_back({at, std::move(text)});
    }

    // The row's cells in the order of their columns, as the spreadsheet shows them.
    void end() {
        if (ordered_ || refused())
            return;
        std::vector<SheetCell>& cells = row_->cells;
        std::stable_sort(cells.begin(), cells.end(), [](const SheetCell& a, const SheetCell& b) {
            return a.column < b.column;
        });
        for (std::size_t i = 1; i < cells.size(); ++i)
            if (cells[i].column == cells[i - 1].column)
                return Refuse(*row_, "Die Zelle in Spalte " + ColumnLetters(cells[i].column) +
                                         " steht zweimal in der Zeile");
    }

private:
    SheetRow* row_ = nullptr;
    std::size_t bytes_ = 0;
    bool ordered_ = true;
};

const char* kBeyondLastRow = "Die Zeile liegt hinter Zeile 1048576, der letzten einer Tabelle";

// The parts of an archive, opened when asked for; the first failure is kept.
class Parts {
public:
    Parts(ZipArchive archive, const Inflater& inflate)
        : archive_(std::move(archive)), inflate_(inflate) {}

    bool has(std::string_view name) const { return archive_.find(name) != nullptr; }

    // A small part whole; nullopt where the archive has none or it cannot be read.
    std::optional<std::string> read(std::string_view name) {
        const ArchiveEntry* entry = archive_.find(name);
        if (!entry)
            return std::nullopt;
        std::string text;
        std::string why;
        if (!ReadSmallEntry(archive_, *entry, inflate_, kLargestSmallPart, text, why)) {
            keep(why);
            return std::nullopt;
        }
        return text;
    }

    // A part as a stream; nullptr where the archive has none or it cannot be opened.
    std::unique_ptr<ByteStream> open(std::string_view name, std::uint64_t* size = nullptr) {
        const ArchiveEntry* entry = archive_.find(name);
        if (!entry)
            return nullptr;
        std::string why;
        std::unique_ptr<ByteStream> stream = archive_.open(*entry, inflate_, why);
        if (!stream)
            keep(why);
        if (size)
            *size = entry->size;
        return stream;
    }

    void keep(const std::string& why) {
        if (failure.empty())
            failure = why;
    }

    std::string failure;

private:
    ZipArchive archive_;
    Inflater inflate_;
};

// ---- .xlsx (Office Open XML) ----

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
                AppendCapped(scanner.text(), text);
        });
    text = WithoutCodeEscapes(std::move(text));
    return read;
}

// The workbook's shared texts, one after the other in one block.
class SharedTexts {
public:
    bool add(std::string_view text) {
        all_ += text;
        ends_.push_back(all_.size());
        return all_.size() + ends_.size() * sizeof(std::uint64_t) <= kLargestSharedTexts;
    }
    std::optional<std::string_view> operator[](std::uint64_t index) const {
        if (index >= ends_.size())
            return std::nullopt;
        const std::uint64_t begin = index == 0 ? 0 : ends_[static_cast<std::size_t>(index - 1)];
        return std::string_view(all_).substr(static_cast<std::size_t>(begin),
                                             static_cast<std::size_t>(ends_[index] - begin));
    }

private:
    std::string all_;
    std::vector<std::uint64_t> ends_;
};

bool ReadSharedTexts(Parts& parts, const std::string* part, SharedTexts& shared) {
    if (!part)
        return true;
    std::unique_ptr<ByteStream> stream = parts.open(*part);
    if (!stream)
        return parts.failure.empty();
    XmlScanner scanner(*stream);
    std::string text;
    for (Event event; (event = scanner.next()) != Event::Done;) {
        if (event == Event::Malformed)
            return false;
        if (event == Event::Start && scanner.name() == "si") {
            if (!ReadStringItem(scanner, text))
                return false;
            if (!shared.add(text)) {
                parts.keep("Die Arbeitsmappe ist zu groß: ihre Texte nehmen mehr als " +
                           std::to_string(kLargestSharedTexts >> 20) + " MB ein");
                return false;
            }
        }
    }
    return true;
}

// How each style of the workbook shows a number: the number formats of its cellXfs.
struct Styles {
    std::vector<NumberFormat> ofStyle;
    bool date1904 = false;

    NumberFormat of(std::string_view style) const {
        const std::optional<std::uint64_t> index = SmallNumber(style);
        return index && *index < ofStyle.size() ? ofStyle[static_cast<std::size_t>(*index)]
                                                : NumberFormat{};
    }
};

bool ReadStyles(Parts& parts, const std::string* part, Styles& styles) {
    if (!part)
        return true;
    std::unique_ptr<ByteStream> stream = parts.open(*part);
    if (!stream)
        return parts.failure.empty();
    XmlScanner scanner(*stream);
    std::map<std::uint64_t, NumberFormat> codes;
    bool inCellFormats = false;
    for (Event event; (event = scanner.next()) != Event::Done;) {
        if (event == Event::Malformed)
            return false;
        if (event == Event::End && scanner.name() == "cellXfs")
            inCellFormats = false;
        if (event != Event::Start)
            continue;
        if (scanner.name() == "numFmt") {
            if (codes.size() >= kMostStyles)
                return false; // a styles part made to fill the memory
            if (const std::optional<std::uint64_t> id = SmallNumber(scanner.attribute("numFmtId")))
                codes[*id] = FormatOfCode(scanner.attribute("formatCode"));
        } else if (scanner.name() == "cellXfs") {
            inCellFormats = true;
        } else if (inCellFormats && scanner.name() == "xf") {
            if (styles.ofStyle.size() >= kMostStyles)
                return false;
            const std::uint64_t id = SmallNumber(scanner.attribute("numFmtId")).value_or(0);
            const auto code = codes.find(id);
            styles.ofStyle.push_back(
                code != codes.end() ? code->second : BuiltInFormat(static_cast<std::uint32_t>(id)));
        }
    }
    return true;
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

// The first sheet's part: the workbook's first <sheet> names its relationship.
std::optional<std::string> FirstSheetPart(const std::string& workbookXml,
                                          const std::vector<Relationship>& relationships,
                                          bool& date1904) {
    XmlScanner scanner(workbookXml);
    for (Event event; (event = scanner.next()) != Event::Done && event != Event::Malformed;) {
        if (event != Event::Start)
            continue;
        if (scanner.name() == "workbookPr") {
            const std::string value = scanner.attribute("date1904");
            date1904 = value == "1" || value == "true";
        }
        if (scanner.name() != "sheet")
            continue;
        const std::string id = scanner.attribute("id");
        for (const Relationship& relationship : relationships)
            if (relationship.id == id)
                return relationship.target;
        return std::nullopt;
    }
    return std::nullopt;
}

class XlsxRows : public SheetRows {
public:
    XlsxRows(std::unique_ptr<Parts> parts, std::unique_ptr<ByteStream> sheet, std::uint64_t size,
             SharedTexts shared, Styles styles)
        : parts_(std::move(parts)), sheet_(std::move(sheet)), scanner_(*sheet_), size_(size),
          shared_(std::move(shared)), styles_(std::move(styles)) {}

    bool next(SheetRow& row) override {
        while (!ended_) {
            const Event event = scanner_.next();
            if (event == Event::Done)
                return false;
            if (event == Event::Malformed)
                return fail(kDamaged);
            if (event != Event::Start || scanner_.name() != "row")
                continue;
            const std::optional<std::uint64_t> number = SmallNumber(scanner_.attribute("r"));
            const std::uint64_t at = number && *number > 0 ? *number : nextRow_;
            nextRow_ = at + 1;
            builder_.begin(row, at);
            if (!readRow())
                return fail(failure_.empty() ? kDamaged : failure_);
            builder_.end();
            if (row.cells.empty() && row.refusal.empty())
                continue;
            // No sheet has rows beyond its last, nor more of them: the first such row is
            // refused, and the reading ends there, so that a part of a million copies of
            // one row costs no more than a sheet's worth.
            if (at > kMostRows || ++rowsGiven_ > kMostRows) {
                Refuse(row, kBeyondLastRow);
                ended_ = true;
            }
            return true;
        }
        return false;
    }

    const std::string& failure() const override { return failure_; }
    std::uint64_t bytesRead() const override { return scanner_.bytesRead(); }
    std::uint64_t bytes() const override { return size_; }

private:
    bool fail(std::string why) {
        failure_ = std::move(why);
        return false;
    }

    bool readRow() {
        std::uint64_t nextColumn = 0;
        return scanner_.walkContent(
            [&] {
                if (scanner_.name() != "c")
                    return Taken(scanner_.skipElement());
                const std::optional<std::uint64_t> column =
                    ColumnOfReference(scanner_.attribute("r"));
                const std::uint64_t at = column ? *column : nextColumn;
                nextColumn = at + 1;
                std::string text;
                if (!readCell(text))
                    return Child::Failed;
                builder_.add(at, std::move(text));
                return Child::Taken;
            },
            IgnoreText);
    }

    // The cell (<c>) that just started, as the text it shows; false when it is damaged.
    bool readCell(std::string& text) {
        const std::string type = scanner_.attribute("t");
        const std::string style = scanner_.attribute("s");
        std::string value;
        std::string inlineText;
        const bool read = scanner_.walkContent(
            [&] {
                if (scanner_.name() == "is")
                    return Taken(ReadStringItem(scanner_, inlineText));
                if (scanner_.name() == "v")
                    return Child::Enter;
                return Taken(scanner_.skipElement()); // a formula, an extension
            },
            [&](std::string_view within) {
                if (within == "v")
                    AppendCapped(scanner_.text(), value);
            });
        if (!read)
            return false;
        if (type == "s") {
            const std::optional<std::uint64_t> index = SmallNumber(value);
            const std::optional<std::string_view> shared =
                index ? shared_[*index] : std::optional<std::string_view>();
            if (!shared)
                return false;
            text.assign(*shared);
        } else if (type == "inlineStr") {
            text = std::move(inlineText);
        } else if (type == "b") {
            text = value == "1" ? "TRUE" : value == "0" ? "FALSE" : value;
        } else if (type == "str") {
            text = WithoutCodeEscapes(std::move(value));
        } else if (type.empty() || type == "n") {
            text = value.empty() ? value : ShownNumber(value, styles_.of(style), styles_.date1904);
        } else {
            text = std::move(value); // an error ("#DIV/0!"), a date as ISO text
        }
        return true;
    }

    std::unique_ptr<Parts> parts_;
    std::unique_ptr<ByteStream> sheet_;
    XmlScanner scanner_;
    std::uint64_t size_;
    SharedTexts shared_;
    Styles styles_;
    RowBuilder builder_;
    std::uint64_t nextRow_ = 1;
    std::uint64_t rowsGiven_ = 0; // rows that are not blank, so far
    bool ended_ = false;
    std::string failure_;
};

std::unique_ptr<SheetRows> OpenXlsx(std::unique_ptr<Parts> parts, std::string& why) {
    const std::vector<Relationship> packageRelationships = RelationshipsOf(*parts, "");
    const Relationship* office = OfType(packageRelationships, "/officeDocument");
    const std::string workbook = office ? office->target : "xl/workbook.xml";
    const std::vector<Relationship> relationships = RelationshipsOf(*parts, workbook);
    const std::optional<std::string> workbookXml = parts->read(workbook);
    Styles styles;
    const std::optional<std::string> sheetPart =
        workbookXml ? FirstSheetPart(*workbookXml, relationships, styles.date1904) : std::nullopt;
    std::uint64_t size = 0;
    std::unique_ptr<ByteStream> sheet = sheetPart ? parts->open(*sheetPart, &size) : nullptr;
    const Relationship* strings = OfType(relationships, "/sharedStrings");
    const Relationship* styleSheet = OfType(relationships, "/styles");
    SharedTexts shared;
    const bool read = sheet &&
                      ReadSharedTexts(*parts, strings ? &strings->target : nullptr, shared) &&
                      ReadStyles(*parts, styleSheet ? &styleSheet->target : nullptr, styles);
    if (!parts->failure.empty()) {
        why = parts->failure;
        return nullptr;
    }
    if (!sheet) {
        why = kNoSheet;
        return nullptr;
    }
    if (!read) {
        why = kDamaged;
        return nullptr;
    }
    return std::make_unique<XlsxRows>(std::move(parts), std::move(sheet), size, std::move(shared),
                                      std::move(styles));
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
        if (out.size() > kLongestCellBytes)
            return;
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
                AppendCapped(std::string(static_cast<std::size_t>(std::min<std::uint64_t>(
                                             Repeated(scanner, "c"), kLongestCellBytes + 1)),
                                         ' '),
                             text);
            else if (name == "tab")
                AppendCapped("\t", text);
            else if (name == "line-break")
                AppendCapped("\n", text);
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
                AppendCapped("\n", text);
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

class OdsRows : public SheetRows {
public:
    OdsRows(std::unique_ptr<Parts> parts, std::unique_ptr<ByteStream> content, std::uint64_t size)
        : parts_(std::move(parts)), content_(std::move(content)), scanner_(*content_), size_(size) {
    }

    // Finds the first table of the spreadsheet; false and why where there is none.
    bool findTable(std::string& why) {
        bool inSpreadsheet = false;
        for (Event event; (event = scanner_.next()) != Event::Done;) {
            if (event == Event::Malformed) {
                why = kDamaged;
                return false;
            }
            if (event != Event::Start)
                continue;
            if (scanner_.name() == "spreadsheet") {
                inSpreadsheet = true;
            } else if (inSpreadsheet && scanner_.name() == "table") {
                tableDepth_ = scanner_.depth();
                return true;
            }
        }
        why = kNoSheet;
        return false;
    }

    bool next(SheetRow& row) override {
        if (repeatsLeft_ > 0) { // the same row again, one further down
            --repeatsLeft_;
            row.cells.clear();
            row.refusal.clear();
            row.repeatsAbove = true;
            row.number = ++number_;
            if (row.number > kMostRows)
                return beyondLastRow(row);
            return true;
        }
        while (!ended_) {
            const Event event = scanner_.next();
            if (event == Event::Malformed)
                return fail();
            if (event == Event::Done || (event == Event::End && scanner_.depth() < tableDepth_)) {
                ended_ = true;
                break;
            }
            if (event != Event::Start)
                continue;
            // Rows may stand in groups (header rows, row groups): only the rows count.
            if (scanner_.name() == "table" || scanner_.name() == "shapes") {
                if (!scanner_.skipElement())
                    return fail();
                continue;
            }
            if (scanner_.name() != "table-row")
                continue;
            const std::uint64_t repeated = Repeated(scanner_, "number-rows-repeated");
            builder_.begin(row, number_ + 1);
            if (!readRow())
                return fail();
            builder_.end();
            if (row.cells.empty() && row.refusal.empty()) {
                number_ += repeated; // blank rows, however many
                continue;
            }
            row.number = ++number_;
            repeatsLeft_ = repeated - 1;
            if (row.number > kMostRows)
                return beyondLastRow(row);
            return true;
        }
        return false;
    }

    const std::string& failure() const override { return failure_; }
    std::uint64_t bytesRead() const override { return scanner_.bytesRead(); }
    std::uint64_t bytes() const override { return size_; }

private:
    bool fail() {
        failure_ = kDamaged;
        ended_ = true;
        return false;
    }

    // The first row below the sheet's last one is refused, and the reading ends there.
    bool beyondLastRow(SheetRow& row) {
        Refuse(row, kBeyondLastRow);
        ended_ = true;
        repeatsLeft_ = 0;
        return true;
    }

    // The row (<table:table-row>) that just started: its cells, each as often as it stands.
    bool readRow() {
        std::uint64_t column = 0;
        std::string text;
        return scanner_.walkContent(
            [&] {
                if (scanner_.name() != "table-cell" && scanner_.name() != "covered-table-cell")
                    return Taken(scanner_.skipElement());
                const std::uint64_t repeated = Repeated(scanner_, "number-columns-repeated");
                if (!ReadOdsCell(scanner_, text))
                    return Child::Failed;
                for (std::uint64_t i = 0; !text.empty() && i < repeated && !builder_.refused(); ++i)
                    builder_.add(column + i, text);
                column += repeated;
                return Child::Taken;
            },
            IgnoreText);
    }

    std::unique_ptr<Parts> parts_;
    std::unique_ptr<ByteStream> content_;
    XmlScanner scanner_;
    std::uint64_t size_;
    std::size_t tableDepth_ = 0;
    RowBuilder builder_;
    std::uint64_t number_ = 0;      // the last row's number
    std::uint64_t repeatsLeft_ = 0; // how often the last row stands again
    bool ended_ = false;
    std::string failure_;
};

std::unique_ptr<SheetRows> OpenOds(std::unique_ptr<Parts> parts, std::string& why) {
    if (const std::optional<std::string> manifest = parts->read("META-INF/manifest.xml");
        manifest && manifest->find("encryption-data") != std::string::npos) {
        why = kLocked;
        return nullptr;
    }
    std::uint64_t size = 0;
    std::unique_ptr<ByteStream> content = parts->open("content.xml", &size);
    if (!content) {
        why = parts->failure.empty() ? kNoSheet : parts->failure;
        return nullptr;
    }
    auto rows = std::make_unique<OdsRows>(std::move(parts), std::move(content), size);
    if (!rows->findTable(why))
        return nullptr;
    return rows;
}

// ---- which kind of archive ----

enum class ArchiveKind { Xlsx, Ods, Other };

// The kind an archive's content says it is: an OpenDocument names its type in "mimetype",
// an Office Open XML package in its content types. why says what else it is.
ArchiveKind KindOf(Parts& parts, std::string& why) {
    if (const std::optional<std::string> type = parts.read("mimetype")) {
        if (type->rfind("application/vnd.oasis.opendocument.spreadsheet", 0) == 0)
            return ArchiveKind::Ods;
        if (type->rfind("application/vnd.oasis.opendocument", 0) == 0) {
            why = "Die Datei ist ein OpenDocument-Dokument, aber keine Tabelle; bitte die Tabelle "
                  "als .ods, .xlsx oder CSV speichern";
            return ArchiveKind::Other;
        }
    }
    if (const std::optional<std::string> types = parts.read("[Content_Types].xml")) {
        for (const char* sheet :
             {"spreadsheetml.sheet.main+xml", "spreadsheetml.template.main+xml",
              "ms-excel.sheet.macroEnabled.main+xml", "ms-excel.template.macroEnabled.main+xml"})
            if (types->find(sheet) != std::string::npos)
                return ArchiveKind::Xlsx;
        if (types->find("ms-excel.sheet.binary.macroEnabled.main") != std::string::npos) {
            why = "Die Arbeitsmappe ist im Binärformat von Excel (.xlsb) gespeichert; bitte als "
                  ".xlsx, .ods oder CSV speichern";
            return ArchiveKind::Other;
        }
        if (types->find("wordprocessingml") != std::string::npos ||
            types->find("presentationml") != std::string::npos) {
            why = "Die Datei ist ein Word- oder PowerPoint-Dokument, aber keine Tabelle; bitte "
                  "die Tabelle als .xlsx, .ods oder CSV speichern";
            return ArchiveKind::Other;
        }
        return ArchiveKind::Xlsx; // a package of its own kind: its workbook decides
    }
    if (parts.has("content.xml"))
        return ArchiveKind::Ods;
    why = parts.failure.empty() ? kNoWorkbook : parts.failure;
    return ArchiveKind::Other;
}

} // namespace

std::string ColumnLetters(std::size_t column) {
    std::string letters;
    for (std::size_t left = column + 1; left > 0; left = (left - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (left - 1) % 26));
    return letters;
}

std::unique_ptr<SheetRows> OpenWorkbook(RandomAccessBytes& bytes, const Inflater& inflate,
                                        std::string& why) {
    std::optional<ZipArchive> archive = ZipArchive::Open(bytes, why);
    if (!archive)
        return nullptr;
    auto parts = std::make_unique<Parts>(std::move(*archive), inflate);
    switch (KindOf(*parts, why)) {
    case ArchiveKind::Xlsx:
        return OpenXlsx(std::move(parts), why);
    case ArchiveKind::Ods:
        return OpenOds(std::move(parts), why);
    case ArchiveKind::Other:
        break;
    }
    return nullptr;
}

} // namespace msr::batch

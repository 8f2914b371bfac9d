#include "batch/xlsx_writing.h"

#include <cmath>
#include <iomanip>
#include <locale>
#include <sstream>

namespace msr::batch {
namespace {

constexpr std::uint32_t kLastRow = 1048576;
constexpr std::size_t kColumns = 16384;

constexpr const char* kXmlHead = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr const char* kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* kRelationships =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// The length of the UTF-8 sequence at text[at] of a character that XML 1.0 allows, or 0.
std::size_t AllowedCharacter(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u;
    };
    const unsigned lead = byte(at);
    if (lead < 0x80)
        return lead >= 0x20 || lead == '\t' || lead == '\n' || lead == '\r' ? 1 : 0;
    std::size_t length = 0;
    unsigned code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    const bool shortest = (length == 2 && code >= 0x80) || (length == 3 && code >= 0x800) ||
                          (length == 4 && code >= 0x10000);
    const bool allowed = (code >= 0x80 && code <= 0xD7FF) || (code >= 0xE000 && code <= 0xFFFD) ||
                         (code >= 0x10000 && code <= 0x10FFFF);
    return shortest && allowed ? length : 0;
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Excel reads _xHHHH_ in a text as the character HHHH; its own underscore keeps such a
// text as it is.
bool LooksLikeEscape(std::string_view text, std::size_t at) {
    if (text.substr(at, 2) != "_x" || at + 7 > text.size() || text[at + 6] != '_')
        return false;
    for (std::size_t i = at + 2; i < at + 6; ++i)
        if (!IsHexDigit(text[i]))
            return false;
    return true;
}

// The text as XML character data or attribute value: escaped, and without what XML 1.0
// forbids.
void AppendEscaped(std::string& xml, std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = AllowedCharacter(text, at);
        if (length == 0) {
            ++at;
            continue;
        }
        switch (text[at]) {
        case '&':
            xml += "&amp;";
            break;
        case '<':
            xml += "&lt;";
            break;
        case '>':
            xml += "&gt;";
            break;
        case '"':
            xml += "&quot;";
            break;
        case '\r': // a parser would read a bare CR as a line feed
            xml += "&#13;";
            break;
        case '_':
            xml += LooksLikeEscape(text, at) ? "_x005F_" : "_";
            break;
        default:
            xml.append(text.substr(at, length));
        }
        at += length;
    }
}

std::string Escaped(std::string_view text) {
    std::string xml;
    AppendEscaped(xml, text);
    return xml;
}

// The index of the style in styles.xml's cellXfs.
int StyleIndex(CellStyle style) {
    switch (style) {
    case CellStyle::General:
        break;
    case CellStyle::Bold:
        return 1;
    case CellStyle::TwoDecimals:
        return 2;
    case CellStyle::Text:
        return 3;
    case CellStyle::Wrapped:
        return 4;
    }
    return 0;
}

void AppendStyle(std::string& xml, CellStyle style) {
    if (style != CellStyle::General)
        xml += " s=\"" + std::to_string(StyleIndex(style)) + '"';
}

// A number as XML writes it: a decimal point whatever the locale, and the 15 significant
// digits that a spreadsheet keeps.
bool AppendNumber(std::string& xml, double value, std::ostringstream& digits) {
    if (!std::isfinite(value))
        return false;
    digits.str({});
    digits << value;
    xml += digits.str();
    return true;
}

bool ValidSheetName(std::string_view name) {
    std::size_t characters = 0;
    for (std::size_t at = 0; at < name.size(); ++characters) {
        const std::size_t length = AllowedCharacter(name, at);
        if (length == 0 || static_cast<unsigned char>(name[at]) < 0x20)
            return false;
        at += length;
    }
    return characters >= 1 && characters <= 31 &&
           name.find_first_of("[]:*?/\\") == std::string_view::npos && name.front() != '\'' &&
           name.back() != '\'';
}

constexpr const char* kStyles =
    R"(<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
    R"(<fonts count="2"><font><sz val="11"/><name val="Calibri"/><family val="2"/></font>)"
    R"(<font><b/><sz val="11"/><name val="Calibri"/><family val="2"/></font></fonts>)"
    R"(<fills count="2"><fill><patternFill patternType="none"/></fill>)"
    R"(<fill><patternFill patternType="gray125"/></fill></fills>)"
    R"(<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>)"
    R"(<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>)"
    R"(<cellXfs count="5"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>)"
    R"(<xf numFmtId="0" fontId="1" fillId="0" borderId="0" xfId="0" applyFont="1"/>)"
    R"(<xf numFmtId="2" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>)"
    R"(<xf numFmtId="49" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>)"
    R"(<xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0" applyAlignment="1">)"
    R"(<alignment vertical="top" wrapText="1"/></xf>)"
    R"(</cellXfs><cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/>)"
    R"(</cellStyles></styleSheet>)";

} // namespace

XlsxWriter::XlsxWriter(std::ostream& out) : zip_(out) {
    digits_.imbue(std::locale::classic());
    digits_ << std::setprecision(15);
}

std::string XlsxWriter::ColumnName(std::size_t column) {
    std::string name;
    for (std::size_t n = column + 1; n > 0; n = (n - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
    return name;
}

std::string XlsxWriter::RangeOfColumn(std::string_view sheet, std::size_t column,
                                      std::uint32_t fromRow, std::uint32_t toRow) {
    std::string quoted = "'";
    for (const char c : sheet)
        quoted += c == '\'' ? std::string("''") : std::string(1, c);
    const std::string letters = "$" + ColumnName(column) + "$";
    return quoted + "'!" + letters + std::to_string(fromRow) + ":" + letters +
           std::to_string(toRow);
}

bool XlsxWriter::fail() {
    good_ = false;
    return false;
}

bool XlsxWriter::beginSheet(const XlsxSheetLayout& layout) {
    // The first sheet is the one a spreadsheet shows: it cannot be hidden.
    if (!good_ || inSheet_ || !ValidSheetName(layout.name) || layout.columns.size() > kColumns ||
        (sheets_.empty() && layout.hidden))
        return fail();
    for (const Sheet& sheet : sheets_)
        if (sheet.name == layout.name)
            return fail();
    sheets_.push_back({layout.name, layout.hidden});
    lists_ = layout.lists;
    rows_ = 0;
    inSheet_ = true;
    std::string xml = kXmlHead;
    xml += std::string("<worksheet xmlns=\"") + kMain + "\" xmlns:r=\"" + kRelationships + "\">";
    xml += "<sheetViews><sheetView workbookViewId=\"0\"";
    xml += sheets_.size() == 1 ? " tabSelected=\"1\">" : ">";
    if (layout.freezeFirstRow)
        xml += "<pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" state=\"frozen\"/>"
               "<selection pane=\"bottomLeft\" activeCell=\"A2\" sqref=\"A2\"/>";
    xml += "</sheetView></sheetViews><sheetFormatPr defaultRowHeight=\"15\"/>";
    if (!layout.columns.empty()) {
        xml += "<cols>";
        for (std::size_t column = 0; column < layout.columns.size(); ++column) {
            const XlsxColumn& c = layout.columns[column];
            const std::string number = std::to_string(column + 1);
            xml += "<col min=\"" + number + "\" max=\"" + number + '"';
            if (c.width > 0) {
                xml += " width=\"";
                if (!AppendNumber(xml, c.width, digits_))
                    return fail();
                xml += "\" customWidth=\"1\"";
            }
            if (c.style != CellStyle::General)
                xml += " style=\"" + std::to_string(StyleIndex(c.style)) + '"';
            xml += "/>";
        }
        xml += "</cols>";
    }
    xml += "<sheetData>";
    const std::string part = "xl/worksheets/sheet" + std::to_string(sheets_.size()) + ".xml";
    return (zip_.beginEntry(part) && zip_.write(xml)) || fail();
}

bool XlsxWriter::addRow(const std::vector<XlsxCell>& cells, double height) {
    if (!good_ || !inSheet_ || rows_ == kLastRow || cells.size() > kColumns || height < 0 ||
        height > 409)
        return fail();
    const std::string row = std::to_string(++rows_);
    buffer_ = "<row r=\"" + row + '"';
    if (height > 0) {
        buffer_ += " ht=\"";
        AppendNumber(buffer_, height, digits_);
        buffer_ += "\" customHeight=\"1\"";
    }
    buffer_ += '>';
    for (std::size_t column = 0; column < cells.size(); ++column) {
        const XlsxCell& cell = cells[column];
        if (cell.kind == XlsxCell::Kind::Empty)
            continue;
        buffer_ += "<c r=\"" + ColumnName(column) + row + '"';
        AppendStyle(buffer_, cell.style);
        if (cell.kind == XlsxCell::Kind::Number) {
            buffer_ += "><v>";
            if (!AppendNumber(buffer_, cell.number, digits_))
                return fail();
            buffer_ += "</v></c>";
        } else {
            buffer_ += " t=\"inlineStr\"><is><t xml:space=\"preserve\">";
            AppendEscaped(buffer_, cell.text);
            buffer_ += "</t></is></c>";
        }
    }
    buffer_ += "</row>";
    return zip_.write(buffer_) || fail();
}

bool XlsxWriter::endSheet() {
    if (!good_ || !inSheet_)
        return fail();
    inSheet_ = false;
    std::string xml = "</sheetData>";
    if (!lists_.empty()) {
        xml += "<dataValidations count=\"" + std::to_string(lists_.size()) + "\">";
        for (const XlsxList& list : lists_) {
            if (list.column >= kColumns || list.fromRow < 1 || list.fromRow > kLastRow)
                return fail();
            const std::string column = ColumnName(list.column);
            xml += "<dataValidation type=\"list\" allowBlank=\"1\" showErrorMessage=\"1\" "
                   "errorStyle=\"warning\" sqref=\"" +
                   column + std::to_string(list.fromRow) + ':' + column + std::to_string(kLastRow) +
                   "\"><formula1>";
            AppendEscaped(xml, list.source);
            xml += "</formula1></dataValidation>";
        }
        xml += "</dataValidations>";
    }
    xml += "</worksheet>";
    lists_.clear();
    return (zip_.write(xml) && zip_.endEntry()) || fail();
}

bool XlsxWriter::finish() {
    if (!good_ || inSheet_ || sheets_.empty())
        return fail();
    std::string types = kXmlHead;
    types += "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
             "<Default Extension=\"rels\" "
             "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
             "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
             "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/"
             "vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
             "<Override PartName=\"/xl/styles.xml\" ContentType=\"application/"
             "vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>";
    std::string workbook = kXmlHead;
    workbook += std::string("<workbook xmlns=\"") + kMain + "\" xmlns:r=\"" + kRelationships +
                "\"><bookViews><workbookView activeTab=\"0\"/></bookViews><sheets>";
    std::string relations = kXmlHead;
    relations += "<Relationships "
                 "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    for (std::size_t i = 0; i < sheets_.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        types += "<Override PartName=\"/xl/worksheets/sheet" + number +
                 ".xml\" ContentType=\"application/"
                 "vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>";
        workbook += "<sheet name=\"" + Escaped(sheets_[i].name) + "\" sheetId=\"" + number +
                    (sheets_[i].hidden ? "\" state=\"hidden" : "") + "\" r:id=\"rId" + number +
                    "\"/>";
        relations += "<Relationship Id=\"rId" + number + "\" Type=\"" + kRelationships +
                     "/worksheet\" Target=\"worksheets/sheet" + number + ".xml\"/>";
    }
    types += "</Types>";
    workbook += "</sheets></workbook>";
    relations += "<Relationship Id=\"rId" + std::to_string(sheets_.size() + 1) + "\" Type=\"" +
                 kRelationships + "/styles\" Target=\"styles.xml\"/></Relationships>";
    const std::string packageRelations =
        std::string(kXmlHead) +
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"" +
        kRelationships + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
    const bool written = zip_.addEntry("[Content_Types].xml", types) &&
                         zip_.addEntry("_rels/.rels", packageRelations) &&
                         zip_.addEntry("xl/workbook.xml", workbook) &&
                         zip_.addEntry("xl/_rels/workbook.xml.rels", relations) &&
                         zip_.addEntry("xl/styles.xml", std::string(kXmlHead) + kStyles) &&
                         zip_.finish();
    good_ = false; // the workbook is closed
    return written;
}

} // namespace msr::batch

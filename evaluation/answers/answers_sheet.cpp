#include "evaluation/answers/answers_sheet.h"

#include "evaluation/answers/answer_fields.h"
#include "evaluation/answers/blanks.h"
#include "evaluation/answers/inputs.h"
#include "evaluation/answers/visible_text.h"

#include <algorithm>
#include <array>

namespace msr {
namespace {

constexpr int kCaseNumberColumn = -1;
constexpr int kUnnamedColumn = -2; // an empty header cell: its cells must stay empty
constexpr int kReferenceDayColumn = -3;
constexpr char kSeparators[] = {';', ',', '\t'};

// Where a line leaves the cell it reads: a quote opens a quoted cell only at its start.
enum class CellState { Start, Unquoted, Quoted, QuoteInQuoted };

CellState Scan(std::string_view line, char separator, CellState state) {
    for (const char c : line) {
        switch (state) {
        case CellState::Start:
            state = c == '"' ? CellState::Quoted
                             : (c == separator ? CellState::Start : CellState::Unquoted);
            break;
        case CellState::Unquoted:
            state = c == separator ? CellState::Start : CellState::Unquoted;
            break;
        case CellState::Quoted:
            state = c == '"' ? CellState::QuoteInQuoted : CellState::Quoted;
            break;
        case CellState::QuoteInQuoted: // "" is a quote; else the quote closed the cell
            state = c == '"' ? CellState::Quoted
                             : (c == separator ? CellState::Start : CellState::Unquoted);
            break;
        }
    }
    return state;
}

std::string_view WithoutCarriageReturn(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

// A record split into its fields, or where and why it is no CSV.
struct SplitRecord {
    std::vector<std::string> fields;
    std::string fault;      // why it is no CSV; empty: split
    std::size_t byte = 0;   // where, from 1
    std::size_t column = 0; // the cell of the fault
};

const char* SeparatorName(char separator) {
    switch (separator) {
    case ',':
        return "Komma";
    case '\t':
        return "Tabulator";
    default:
        return "Semikolon";
    }
}

SplitRecord Split(std::string_view record, char separator) {
    SplitRecord split;
    std::size_t at = 0;
    for (;;) {
        std::string field;
        split.column = split.fields.size();
        if (at < record.size() && record[at] == '"') {
            const std::size_t opening = at++;
            for (;;) {
                const std::size_t quote = record.find('"', at);
                if (quote == std::string_view::npos) {
                    split.fault = "Anführungszeichen nicht geschlossen";
                    split.byte = opening + 1;
                    return split;
                }
                field.append(record.substr(at, quote - at));
                at = quote + 1;
                if (at < record.size() && record[at] == '"') {
                    field += '"';
                    ++at;
                    continue;
                }
                break;
            }
            if (at < record.size() && record[at] != separator) {
                split.fault =
                    std::string(SeparatorName(separator)) + " nach dem Anführungszeichen erwartet";
                split.byte = at + 1;
                return split;
            }
        } else { // a quote inside an unquoted cell is data
            const std::size_t end = std::min(record.find(separator, at), record.size());
            field.assign(record.substr(at, end - at));
            at = end;
        }
        split.fields.push_back(std::move(field));
        if (at >= record.size())
            return split;
        ++at; // the separator
    }
}

std::string NoCsv(std::size_t byte, const std::string& reason) {
    return "Ungültige CSV-Zeile bei Byte " + std::to_string(byte) + ": " + reason;
}

// The first byte that is no UTF-8, or npos.
std::size_t FirstNonUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, i);
        if (length == 0)
            return i;
        i += length;
    }
    return std::string_view::npos;
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lowercase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = LowerAscii(c);
    return lower;
}

// The edits (a letter added, dropped or changed) that turn one name into the other, letters
// compared in any case.
std::size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const bool same = LowerAscii(a[i - 1]) == LowerAscii(b[j - 1]);
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The known column name a user most likely meant, when it is at most a third of its
// letters away; nullptr when none is that close.
const char* NearestKnownName(std::string_view name) {
    constexpr std::size_t kLongestName = 40; // longer is no misspelt name
    if (name.size() > kLongestName)
        return nullptr;
    const char* nearest = nullptr;
    std::size_t best = name.size() / 3 + 1;
    const auto consider = [&](const char* known) {
        const std::size_t distance = EditDistance(name, known);
        if (distance < best) {
            best = distance;
            nearest = known;
        }
    };
    consider(kCaseNumberKey);
    consider(kReferenceDayKey);
    for (const InputRow& input : Inputs())
        consider(input.name);
    return nearest;
}

AnswerValue Text(std::string_view cell) {
    AnswerValue value;
    value.type = AnswerValue::Type::String;
    value.text.assign(cell);
    return value;
}

// A yes/no cell as a spreadsheet writes it; anything else stays text, which is refused.
AnswerValue YesNoCell(std::string_view cell) {
    const std::string word = Lowercase(TrimBlanks(cell));
    AnswerValue value;
    value.type = AnswerValue::Type::Bool;
    if (word == "ja" || word == "x" || word == "1" || word == "wahr" || word == "true")
        value.boolean = true;
    else if (!(word == "nein" || word == "0" || word == "falsch" || word == "false"))
        value = Text(cell);
    return value;
}

// A choice cell: the number of the choice, alone or followed by a blank and that choice's
// caption as the template's drop-down list writes it ("3 Varlstadt-West"); anything else
// stays text, which is refused.
AnswerValue ChoiceCell(const InputRow& input, std::string_view cell) {
    const std::string_view trimmed = TrimBlanks(cell);
    const std::size_t digitsEnd = std::min(trimmed.find_first_not_of("0123456789"), trimmed.size());
    const std::string_view digits = trimmed.substr(0, digitsEnd);
    if (digits.empty() || digits.size() > 9)
        return Text(cell);
    AnswerValue value;
    value.type = AnswerValue::Type::Number;
    for (const char c : digits)
        value.number = value.number * 10 + (c - '0');
    if (digitsEnd == trimmed.size())
        return value;
    const char* caption = CaptionOf(input.name, static_cast<Choice>(value.number));
    if (caption == nullptr || trimmed.substr(digitsEnd) != " " + std::string(caption))
        return Text(cell);
    return value;
}

AnswerValue Cell(int column, std::string_view cell) {
    if (column == kCaseNumberColumn || column == kReferenceDayColumn)
        return Text(cell);
    switch (Inputs()[static_cast<std::size_t>(column)].kind) {
    case InputKind::Choice:
        return ChoiceCell(Inputs()[static_cast<std::size_t>(column)], cell);
    case InputKind::YesNo:
        return YesNoCell(cell);
    case InputKind::Text:
        break;
    }
    return Text(cell);
}

} // namespace

void SheetRecords::addLine(std::string_view line) {
    take(WithoutCarriageReturn(line));
    readAgain();
}

void SheetRecords::take(std::string_view line) {
    if (open_.empty()) {
        if (Scan(line, separator_, CellState::Start) != CellState::Quoted) {
            done_.push_back({std::string(line), false}); // the usual case: a row of one line
            return;
        }
        open_.emplace_back(line);
        openBytes_ = line.size();
        return;
    }
    open_.emplace_back(line);
    openBytes_ += line.size() + 1;
    if (Scan(line, separator_, CellState::Quoted) != CellState::Quoted) {
        SheetRecord record;
        record.text.reserve(openBytes_);
        for (const std::string& part : open_) {
            if (&part != &open_.front())
                record.text += '\n';
            record.text += part;
        }
        open_.clear();
        openBytes_ = 0;
        done_.push_back(std::move(record));
    } else if (openBytes_ > kLargestAnswersText) {
        giveUpFirstLine();
    }
}

void SheetRecords::giveUpFirstLine() {
    // The quote of the first line opened no cell a spreadsheet would keep: that line is a
    // row refused on its own, and the lines after it are read again, before any new one.
    done_.push_back({std::move(open_.front()), true});
    open_.pop_front();
    again_.insert(again_.begin(), std::make_move_iterator(open_.begin()),
                  std::make_move_iterator(open_.end()));
    open_.clear();
    openBytes_ = 0;
}

void SheetRecords::readAgain() {
    while (!again_.empty()) {
        const std::string line = std::move(again_.front());
        again_.pop_front();
        take(line);
    }
}

void SheetRecords::finish() {
    while (!open_.empty()) {
        giveUpFirstLine();
        readAgain();
    }
}

bool SheetRecords::next(SheetRecord& record) {
    if (done_.empty())
        return false;
    record = std::move(done_.front());
    done_.pop_front();
    return true;
}
char AnswersSheet::FindSeparator(std::string_view headerLine) {
    if (headerLine.substr(0, 3) == "\xEF\xBB\xBF")
        headerLine.remove_prefix(3);
    headerLine = WithoutCarriageReturn(headerLine);
    // Ranked by: every name known, then the known names, then the cells.
    std::array<std::size_t, 3> best{};
    char chosen = kSeparators[0];
    for (const char separator : kSeparators) {
        const SplitRecord split = Split(headerLine, separator);
        if (!split.fault.empty())
            continue;
        std::size_t known = 0;
        std::size_t named = 0;
        for (const std::string& cell : split.fields) {
            const std::string_view name = TrimBlanks(cell);
            named += name.empty() ? 0 : 1;
            known +=
                name == kCaseNumberKey || name == kReferenceDayKey || InputIndex(name) >= 0 ? 1 : 0;
        }
        const std::array<std::size_t, 3> rank{known == named && known > 0 ? 1u : 0u, known,
                                              split.fields.size()};
        if (rank > best) {
            best = rank;
            chosen = separator;
        }
    }
    return chosen;
}

std::optional<std::string> AnswersSheet::readHeader(std::string_view record, char separator) {
    separator_ = separator;
    columns_.clear();
    unknownColumn_ = false;
    if (record.substr(0, 3) == "\xEF\xBB\xBF")
        record.remove_prefix(3); // a UTF-8 byte order mark
    if (const std::size_t bad = FirstNonUtf8(record); bad != std::string_view::npos)
        return NoCsv(bad + 1, "ungültiges UTF-8 (die Tabelle muss als UTF-8 gespeichert sein)");
    const SplitRecord split = Split(record, separator_);
    if (!split.fault.empty())
        return NoCsv(split.byte, split.fault);
    return readNames(std::vector<std::string_view>(split.fields.begin(), split.fields.end()));
}

std::optional<std::string> AnswersSheet::readHeader(const std::vector<SheetCell>& cells) {
    columns_.clear();
    unknownColumn_ = false;
    std::vector<std::string_view> names;
    for (const SheetCell& cell : cells) {
        if (const std::size_t bad = FirstNonUtf8(cell.text); bad != std::string_view::npos)
            return "Ungültiges UTF-8 in der Kopfzeile, Spalte " + std::to_string(cell.column + 1);
        names.resize(cell.column, std::string_view());
        names.push_back(cell.text);
    }
    return readNames(names);
}

std::optional<std::string> AnswersSheet::readNames(const std::vector<std::string_view>& names) {
    std::vector<bool> taken(kInputCount + 2); // every input, the case number, the day
    for (const std::string_view cell : names) {
        const std::string_view name = TrimBlanks(cell);
        int column = InputIndex(name);
        if (name.empty())
            column = kUnnamedColumn;
        else if (name == kCaseNumberKey)
            column = kCaseNumberColumn;
        else if (name == kReferenceDayKey)
            column = kReferenceDayColumn;
        else if (column < 0) {
            unknownColumn_ = true;
            std::string message = UnknownKeyMessage(name);
            if (const char* meant = NearestKnownName(name))
                message += std::string(" (gemeint ist wohl \"") + meant + "\")";
            return message;
        }
        if (column != kUnnamedColumn) {
            const std::size_t place = column == kCaseNumberColumn ? kInputCount
                                      : column == kReferenceDayColumn
                                          ? kInputCount + 1
                                          : static_cast<std::size_t>(column);
            if (taken[place])
                return "Die Spalte \"" + std::string(name) + "\" steht zweimal in der Kopfzeile";
            taken[place] = true;
        }
        columns_.push_back(column);
    }
    return std::nullopt;
}

std::string AnswersSheet::columnName(std::size_t column) const {
    if (column >= columns_.size() || columns_[column] == kUnnamedColumn)
        return "Spalte " + std::to_string(column + 1);
    if (columns_[column] == kCaseNumberColumn)
        return std::string("Spalte \"") + kCaseNumberKey + "\"";
    if (columns_[column] == kReferenceDayColumn)
        return std::string("Spalte \"") + kReferenceDayKey + "\"";
    return std::string("Spalte \"") + Inputs()[static_cast<std::size_t>(columns_[column])].name +
           "\"";
}

AnswersReading AnswersSheet::readRow(std::string_view record) const {
    if (record.size() > kLargestAnswersText) {
        const SplitRecord split = Split(record, separator_);
        return NotRead(AnswersReading::Status::NotJson,
                       "Die Zeile ist zu groß: eine Zeile mit Antworten darf höchstens " +
                           std::to_string(kLargestAnswersText) + " Bytes lang sein (" +
                           columnName(split.column) + ")");
    }
    if (const std::size_t bad = FirstNonUtf8(record); bad != std::string_view::npos)
        return NotRead(AnswersReading::Status::NotJson,
                       NoCsv(bad + 1, "ungültiges UTF-8 (die Tabelle muss als UTF-8 gespeichert "
                                      "sein)"));
    SplitRecord split = Split(record, separator_);
    if (!split.fault.empty())
        return NotRead(AnswersReading::Status::NotJson,
                       "Ungültige CSV-Zeile in " + columnName(split.column) + " bei Byte " +
                           std::to_string(split.byte) + ": " + split.fault);
    std::vector<SheetCell> cells;
    for (std::size_t i = 0; i < split.fields.size(); ++i)
        if (!TrimBlanks(split.fields[i]).empty())
            cells.push_back({i, std::move(split.fields[i])});
    return answersOf(cells); // the record's size and UTF-8 were checked whole
}

AnswersReading AnswersSheet::readRow(const std::vector<SheetCell>& cells) const {
    std::size_t bytes = 0;
    for (const SheetCell& cell : cells) {
        bytes += cell.text.size() + 1;
        if (bytes > kLargestAnswersText)
            return NotRead(AnswersReading::Status::NotJson,
                           "Die Zeile ist zu groß: eine Zeile mit Antworten darf höchstens " +
                               std::to_string(kLargestAnswersText) + " Bytes lang sein (" +
                               columnName(cell.column) + ")");
        if (FirstNonUtf8(cell.text) != std::string_view::npos)
            return NotRead(AnswersReading::Status::NotJson,
                           "Ungültiges UTF-8 in " + columnName(cell.column));
    }
    return answersOf(cells);
}

AnswersReading AnswersSheet::answersOf(const std::vector<SheetCell>& cells) const {
    AnswerFields fields;
    for (const SheetCell& cell : cells) {
        if (TrimBlanks(cell.text).empty())
            continue; // no answer
        if (cell.column >= columns_.size() || columns_[cell.column] == kUnnamedColumn)
            return NotRead(AnswersReading::Status::Refused,
                           "Wert \"" + WithVisibleControls(cell.text) + "\" in Spalte " +
                               std::to_string(cell.column + 1) + " ohne Überschrift");
        const int column = columns_[cell.column];
        std::optional<AnswerValue>& slot = column == kCaseNumberColumn ? fields.caseNumber
                                           : column == kReferenceDayColumn
                                               ? fields.referenceDay
                                               : fields.inputs[static_cast<std::size_t>(column)];
        slot = Cell(column, cell.text);
    }
    return ReadFields(fields, AnswersSource::Sheet);
}

bool AnswersSheet::IsBlankRecord(std::string_view record, char separator) {
    const char blanks[] = {' ', '\t', '\r', separator == 0 ? ';' : separator,
                           separator == 0 ? ',' : ' '};
    return record.find_first_not_of(std::string_view(blanks, sizeof blanks)) ==
           std::string_view::npos;
}

} // namespace msr

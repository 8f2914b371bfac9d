#include "evaluation/answers/answers_sheet.h"

#include "evaluation/answers/answer_fields.h"
#include "evaluation/answers/blanks.h"
#include "evaluation/answers/visible_text.h"

namespace msr {
namespace {

constexpr char kSeparator = ';';
constexpr int kCaseNumberColumn = -1;
constexpr int kUnnamedColumn = -2; // an empty header cell: its cells must stay empty

std::size_t QuoteCount(std::string_view line) {
    std::size_t count = 0;
    for (const char c : line)
        count += c == '"' ? 1 : 0;
    return count;
}

// A record split into its fields, or where and why it is no CSV.
struct SplitRecord {
    std::vector<std::string> fields;
    std::string fault; // empty: split
};

std::string NoCsv(std::size_t at, const char* reason) {
    return "Ungültige CSV-Zeile bei Byte " + std::to_string(at + 1) + ": " + reason;
}

SplitRecord Split(std::string_view record) {
    SplitRecord split;
    std::size_t at = 0;
    for (;;) {
        std::string field;
        if (at < record.size() && record[at] == '"') {
            const std::size_t opening = at++;
            for (;;) {
                const std::size_t quote = record.find('"', at);
                if (quote == std::string_view::npos) {
                    split.fault = NoCsv(opening, "Anführungszeichen nicht geschlossen");
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
            if (at < record.size() && record[at] != kSeparator) {
                split.fault = NoCsv(at, "Semikolon nach dem Anführungszeichen erwartet");
                return split;
            }
        } else {
            const std::size_t end = std::min(record.find(kSeparator, at), record.size());
            field.assign(record.substr(at, end - at));
            at = end;
        }
        split.fields.push_back(std::move(field));
        if (at >= record.size())
            return split;
        ++at; // the separator
    }
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

std::string Lowercase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
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

// A choice cell: the number of the choice; anything else stays text, which is refused.
AnswerValue ChoiceCell(std::string_view cell) {
    const std::string_view digits = TrimBlanks(cell);
    if (digits.empty() || digits.size() > 9 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos)
        return Text(cell);
    AnswerValue value;
    value.type = AnswerValue::Type::Number;
    for (const char c : digits)
        value.number = value.number * 10 + (c - '0');
    return value;
}

AnswerValue Cell(int column, std::string_view cell) {
    if (column == kCaseNumberColumn)
        return Text(cell);
    switch (Inputs()[static_cast<std::size_t>(column)].kind) {
    case InputKind::Choice:
        return ChoiceCell(cell);
    case InputKind::YesNo:
        return YesNoCell(cell);
    case InputKind::Text:
        break;
    }
    return Text(cell);
}

} // namespace

bool SheetRecords::addLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (!open_)
        record_.clear();
    else if (record_.size() <= kLargestAnswersText)
        record_ += '\n';
    if (record_.size() <= kLargestAnswersText)
        record_.append(line.substr(0, kLargestAnswersText + 1 - record_.size()));
    // Quotes come in pairs in a closed record, "" inside a field too.
    if (QuoteCount(line) % 2 == 1)
        open_ = !open_;
    return !open_;
}

std::optional<std::string> AnswersSheet::readHeader(std::string_view record) {
    columns_.clear();
    unknownColumn_ = false;
    if (record.substr(0, 3) == "\xEF\xBB\xBF")
        record.remove_prefix(3); // a UTF-8 byte order mark
    if (const std::size_t bad = FirstNonUtf8(record); bad != std::string_view::npos)
        return NoCsv(bad, "ungültiges UTF-8 (die Tabelle muss als UTF-8 gespeichert sein)");
    SplitRecord split = Split(record);
    if (!split.fault.empty())
        return split.fault;
    for (const std::string& cell : split.fields) {
        const std::string_view name = TrimBlanks(cell);
        int column = InputIndex(name);
        if (name.empty())
            column = kUnnamedColumn;
        else if (name == kCaseNumberKey)
            column = kCaseNumberColumn;
        else if (column < 0) {
            unknownColumn_ = true;
            return UnknownKeyMessage(name);
        }
        for (const int earlier : columns_)
            if (column != kUnnamedColumn && earlier == column)
                return "Die Spalte \"" + std::string(name) + "\" steht zweimal in der Kopfzeile";
        columns_.push_back(column);
    }
    return std::nullopt;
}

AnswersReading AnswersSheet::readRow(std::string_view record) const {
    if (record.size() > kLargestAnswersText)
        return NotRead(AnswersReading::Status::NotJson,
                       "Die Zeile ist zu groß: eine Zeile mit Antworten darf höchstens " +
                           std::to_string(kLargestAnswersText) + " Bytes lang sein");
    if (const std::size_t bad = FirstNonUtf8(record); bad != std::string_view::npos)
        return NotRead(AnswersReading::Status::NotJson,
                       NoCsv(bad, "ungültiges UTF-8 (die Tabelle muss als UTF-8 gespeichert "
                                  "sein)"));
    const SplitRecord split = Split(record);
    if (!split.fault.empty())
        return NotRead(AnswersReading::Status::NotJson, split.fault);
    AnswerFields fields;
    for (std::size_t i = 0; i < split.fields.size(); ++i) {
        const std::string& cell = split.fields[i];
        if (TrimBlanks(cell).empty())
            continue; // no answer
        if (i >= columns_.size() || columns_[i] == kUnnamedColumn)
            return NotRead(AnswersReading::Status::Refused,
                           "Wert \"" + WithVisibleControls(cell) + "\" in Spalte " +
                               std::to_string(i + 1) + " ohne Überschrift");
        const int column = columns_[i];
        std::optional<AnswerValue>& slot = column == kCaseNumberColumn
                                               ? fields.caseNumber
                                               : fields.inputs[static_cast<std::size_t>(column)];
        slot = Cell(column, cell);
    }
    return ReadFields(fields, AnswersSource::Sheet);
}

bool AnswersSheet::IsBlankRecord(std::string_view record) {
    return record.find_first_not_of(" \t;") == std::string_view::npos;
}

} // namespace msr

// Makes the template workbook Vorlage.xlsx from the template sheet Vorlage.csv and the core's
// table of inputs, at build time:
//   make-template-workbook Vorlage.csv Vorlage.xlsx
// The first sheet has the CSV's header and example rows; each input's column offers its
// values in a drop-down list (a choice as "3 Varlstadt-West", yes/no as ja or nein), and
// "Aktenzeichen" and "LivingArea" are text columns, so 0815 stays 0815. The second sheet,
// "Erläuterungen", names each column's dialog and caption as --help does, and holds the
// choices that the lists offer.

#include "batch/xlsx_writing.h"
#include "cli/command_line.h"
#include "evaluation/answers/answers_sheet.h"
#include "evaluation/answers/choice_captions.h"
#include "evaluation/answers/inputs.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

using msr::batch::CellStyle;
using msr::batch::XlsxCell;

constexpr const char* kExplanations = "Erläuterungen";
constexpr std::size_t kCaptionColumn = 2; // of the explanations
constexpr double kCaptionWidth = 90;

std::size_t Characters(const std::string& text) {
    std::size_t count = 0;
    for (const char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

// A choice as its list offers it: "3 Varlstadt-West".
std::string ChoiceText(const msr::InputRow& input, msr::Choice choice) {
    return std::to_string(choice) + ' ' + msr::CaptionOf(input.name, choice);
}

std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> cells(1);
    for (const char c : line) {
        if (c == ';')
            cells.emplace_back();
        else
            cells.back() += c;
    }
    return cells;
}

// The explanations: a row per input (a choice input's first choice on it, its further
// choices on rows of their own); the rows of each choice input's list.
struct Explanations {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> choiceRows; // per input, from 1
};

Explanations Explain() {
    Explanations e;
    e.rows.push_back({"Spalte", "Dialog", "Angabe"});
    e.rows.push_back({msr::kCaseNumberKey, "", msr::cli::CaseNumberHelp()});
    for (const msr::InputRow& input : msr::Inputs()) {
        if (input.kind != msr::InputKind::Choice) {
            e.rows.push_back({input.name, input.dialog, msr::cli::KeyHelp(input)});
            e.choiceRows.emplace_back(0, 0);
            continue;
        }
        const auto first = static_cast<std::uint32_t>(e.rows.size() + 1);
        for (msr::Choice choice = 1; choice <= input.choiceCount; ++choice)
            e.rows.push_back({choice == 1 ? input.name : "", choice == 1 ? input.dialog : "",
                              ChoiceText(input, choice)});
        e.choiceRows.emplace_back(first, static_cast<std::uint32_t>(e.rows.size()));
    }
    return e;
}

// An example row of the sheet as the lists write it: the core reads it, and each answer
// given is written back in its list's form.
bool ExampleRow(const msr::AnswersSheet& sheet, const std::string& line,
                std::vector<std::string>& row) {
    const msr::AnswersReading reading = sheet.readRow(line);
    const std::vector<std::string> cells = Cells(line);
    if (reading.status != msr::AnswersReading::Status::Read || cells.size() != msr::kInputCount + 1)
        return false;
    row.assign(1, cells[0]);
    for (std::size_t i = 0; i < msr::kInputCount; ++i) {
        const msr::InputRow& input = msr::Inputs()[i];
        const std::string& cell = cells[i + 1];
        if (cell.empty() || input.kind == msr::InputKind::Text)
            row.push_back(cell);
        else if (input.kind == msr::InputKind::Choice)
            row.push_back(ChoiceText(input, reading.answers.*input.choice));
        else
            row.push_back(reading.answers.*input.yesNo ? "ja" : "nein");
    }
    return true;
}

bool WriteTemplate(std::istream& csv, std::ostream& out) {
    std::string header;
    std::getline(csv, header);
    std::string expected = msr::kCaseNumberKey;
    for (const msr::InputRow& input : msr::Inputs())
        expected += std::string(";") + input.name;
    msr::AnswersSheet sheet;
    if (header != expected || sheet.readHeader(header)) {
        std::cerr << "Die Kopfzeile der Vorlage ist nicht \"" << expected << "\"\n";
        return false;
    }
    const Explanations explanations = Explain();
    msr::batch::XlsxSheetLayout layout;
    layout.name = "Wohnungen";
    layout.freezeFirstRow = true;
    layout.columns.push_back({16, CellStyle::Text});
    std::vector<XlsxCell> names{XlsxCell::Text(msr::kCaseNumberKey, CellStyle::Bold)};
    for (std::size_t i = 0; i < msr::kInputCount; ++i) {
        const msr::InputRow& input = msr::Inputs()[i];
        names.push_back(XlsxCell::Text(input.name, CellStyle::Bold));
        const double width = std::string(input.name).size() + 4.0;
        switch (input.kind) {
        case msr::InputKind::Choice: {
            const auto [first, last] = explanations.choiceRows[i];
            layout.columns.push_back({std::max(width, 24.0), CellStyle::Text});
            layout.lists.push_back({i + 1, 2,
                                    msr::batch::XlsxWriter::RangeOfColumn(
                                        kExplanations, kCaptionColumn, first, last)});
            break;
        }
        case msr::InputKind::YesNo:
            layout.columns.push_back({width, CellStyle::Text});
            layout.lists.push_back({i + 1, 2, "\"ja,nein\""});
            break;
        case msr::InputKind::Text:
            layout.columns.push_back({width, CellStyle::Text});
            break;
        }
    }
    msr::batch::XlsxWriter writer(out);
    if (!writer.beginSheet(layout) || !writer.addRow(names))
        return false;
    for (std::string line; std::getline(csv, line);) {
        std::vector<std::string> example;
        if (!ExampleRow(sheet, line, example)) {
            std::cerr << "Die Beispielzeile \"" << line << "\" lässt sich nicht lesen\n";
            return false;
        }
        std::vector<XlsxCell> cells;
        for (const std::string& cell : example)
            cells.push_back(XlsxCell::Text(cell, CellStyle::Text));
        if (!writer.addRow(cells))
            return false;
    }
    msr::batch::XlsxSheetLayout explained;
    explained.name = kExplanations;
    explained.freezeFirstRow = true;
    explained.columns = {
        {20, CellStyle::Wrapped}, {28, CellStyle::Wrapped}, {kCaptionWidth, CellStyle::Wrapped}};
    if (!writer.endSheet() || !writer.beginSheet(explained))
        return false;
    for (std::size_t r = 0; r < explanations.rows.size(); ++r) {
        std::vector<XlsxCell> cells;
        for (const std::string& text : explanations.rows[r])
            cells.push_back(XlsxCell::Text(text, r == 0 ? CellStyle::Bold : CellStyle::Wrapped));
        // As many lines as the explanation fills in its column, which Calc does not work
        // out when it opens the file.
        const std::size_t lines = Characters(explanations.rows[r][kCaptionColumn]) /
                                      static_cast<std::size_t>(kCaptionWidth * 0.95) +
                                  1;
        if (!writer.addRow(cells, 15.0 * static_cast<double>(lines)))
            return false;
    }
    return writer.endSheet() && writer.finish();
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::cerr << "Aufruf: make-template-workbook Vorlage.csv Vorlage.xlsx\n";
        return 2;
    }
    std::ifstream csv(argv[1], std::ios::binary);
    const std::string part = std::string(argv[2]) + ".part";
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    bool written = csv && out && WriteTemplate(csv, out);
    out.close();
    written = written && !out.fail() && std::rename(part.c_str(), argv[2]) == 0;
    if (!written) {
        std::remove(part.c_str());
        std::cerr << "Die Vorlage " << argv[2] << " kann nicht geschrieben werden\n";
        return 1;
    }
    return 0;
}

#include "batch/batch.h"
#include "batch/batch_input.h"
#include "batch/byte_stream.h"
#include "batch/figures_workbook.h"
#include "batch/inflating.h"
#include "batch/workbook_reading.h"
#include "batch/zip_reading.h"
#include "batch/zip_writing.h"
#include "evaluation/document/report_rendering.h"
#include "evaluation/entry.h"
#include "evaluation/figures_record.h"
#include "tests/samples/built_in_edition.h"

#include <QtTest>

#include <sstream>
#include <string>

namespace {

const char* const kClass1 = R"({"YearClass":1,"LivingArea":"45","CityArea":1})";
const char* const kClass7 = R"({"YearClass":7,"LivingArea":"130","CityArea":7})";

QStringList RunLines(const std::string& input) {
    std::istringstream in(input);
    std::ostringstream out;
    const bool ran =
        msr::batch::RunBatch(in, out, {msr::test::BuiltInEditions(), msr::test::kSomeDay}, ",")
            .finished();
    if (!ran)
        return {"run failed"};
    const QString output = QString::fromStdString(out.str());
    if (!output.isEmpty() && !output.endsWith('\n'))
        return {"last line not ended"};
    QStringList lines = output.split('\n');
    lines.removeLast();
    return lines;
}

QString SingleJson(const char* answers) {
    msr::ReportDocument document;
    const msr::AnswersEvaluation evaluation =
        msr::EvaluateAnswers(msr::AdmitAnswers(answers), msr::test::BuiltInEditions(),
                             msr::test::kSomeDay, ",", &document);
    std::string out;
    msr::AppendReportJson(document, msr::FormatFinalFigures(evaluation.result, ","),
                          evaluation.edition, false, ",", out);
    return QString::fromStdString(out);
}

QString ErrorOf(const QString& line) {
    return QJsonDocument::fromJson(line.toUtf8()).object().value("error").toString();
}

// A zip archive of stored (uncompressed) files, as our own workbooks are written.
std::string StoredZip(const std::vector<std::pair<std::string, std::string>>& files) {
    std::ostringstream archive;
    msr::batch::ZipWriter writer(archive, msr::batch::ZipWriter::Method::Stored);
    for (const auto& [name, data] : files)
        writer.addEntry(name, data);
    writer.finish();
    return archive.str();
}

// An .xlsx of one sheet (a second one after it) with its shared strings, as Excel lays out.
std::string Xlsx(const char* sheetData, const char* sharedStrings) {
    const std::string rels = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    return StoredZip({
        {"[Content_Types].xml", "<Types/>"},
        {"_rels/.rels", "<Relationships><Relationship Id=\"rId1\" Type=\"" + rels +
                            "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
        {"xl/workbook.xml", "<?xml version=\"1.0\"?><workbook xmlns:r=\"" + rels +
                                "\"><sheets><sheet name=\"Antworten\" sheetId=\"1\" "
                                "r:id=\"rId3\"/><sheet name=\"B\" sheetId=\"2\" r:id=\"rId1\"/>"
                                "</sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships><Relationship Id=\"rId1\" Type=\"" + rels +
             "/worksheet\" Target=\"worksheets/sheet2.xml\"/><Relationship Id=\"rId2\" Type=\"" +
             rels +
             "/sharedStrings\" Target=\"/xl/sharedStrings.xml\"/><Relationship "
             "Id=\"rId3\" Type=\"" +
             rels +
             "/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
             "</Relationships>"},
        {"xl/sharedStrings.xml", std::string("<sst>") + sharedStrings + "</sst>"},
        {"xl/worksheets/sheet1.xml",
         std::string("<worksheet><sheetData>") + sheetData + "</sheetData></worksheet>"},
        {"xl/worksheets/sheet2.xml", "<worksheet><sheetData><row><c t=\"inlineStr\"><is><t>"
                                     "zweites Blatt</t></is></c></row></sheetData></worksheet>"},
    });
}

// An .ods of one table (a second one after it).
std::string Ods(const char* rows) {
    return StoredZip({
        {"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
        {"content.xml",
         std::string("<office:document-content xmlns:office=\"o\" xmlns:table=\"t\" "
                     "xmlns:text=\"x\"><office:body><office:spreadsheet>"
                     "<table:table table:name=\"Antworten\"><table:table-column/>") +
             rows +
             "</table:table><table:table><table:table-row><table:table-cell><text:p>zweites"
             "</text:p></table:table-cell></table:table-row></table:table>"
             "</office:spreadsheet></office:body></office:document-content>"},
    });
}

// A workbook's first sheet as the lines a CSV table of it holds: each row on the line of
// its number (blank rows blank lines), its cells between ';', a refused row as "!" and why,
// a row that repeats the one above as "=" (it holds no cells of its own).
struct WorkbookRead {
    std::string text;
    std::string failure;
};

WorkbookRead ReadWorkbook(const std::string& bytes) {
    msr::batch::MemoryBytes memory(bytes);
    WorkbookRead read;
    const std::unique_ptr<msr::batch::SheetRows> rows =
        msr::batch::OpenWorkbook(memory, msr::batch::InflatePortably, read.failure);
    if (!rows)
        return read;
    msr::batch::SheetRow row;
    std::uint64_t last = 0;
    while (rows->next(row)) {
        read.text.append(static_cast<std::size_t>(row.number - last - 1), '\n');
        last = row.number;
        if (!row.refusal.empty())
            read.text += "!" + row.refusal;
        if (row.repeatsAbove)
            read.text += "=";
        std::size_t separators = 0; // a cell of column c stands after c of them
        for (const msr::SheetCell& cell : row.cells) {
            read.text.append(cell.column - separators, ';');
            separators = cell.column;
            const bool quoted = cell.text.find_first_of(";\"\r\n") != std::string::npos;
            std::string text = cell.text;
            for (std::size_t at = 0; (at = text.find('"', at)) != std::string::npos; at += 2)
                text.insert(at, 1, '"');
            read.text += quoted ? "\"" + text + "\"" : text;
        }
        read.text += '\n';
    }
    read.failure = rows->failure();
    return read;
}

// Each output's figures, found by the heading a reader of the output goes by (not by the
// place the writer put them), against the core's figures of the same answers.
struct Heading {
    const char* heading; // of the CSV table and the workbook
    const char* json;    // the path of the figure in the JSON
    std::string msr::FinalFigureTexts::*figure;
};
const Heading kHeadings[] = {
    {"Untergrenze je m\xC2\xB2", "perSquareMetre.low", &msr::FinalFigureTexts::lowPerSquareMetre},
    {"Mittelwert je m\xC2\xB2", "perSquareMetre.mean", &msr::FinalFigureTexts::meanPerSquareMetre},
    {"Obergrenze je m\xC2\xB2", "perSquareMetre.high", &msr::FinalFigureTexts::highPerSquareMetre},
    {"Wohnfl\xC3\xA4"
     "che m\xC2\xB2",
     "livingArea", &msr::FinalFigureTexts::livingArea},
    {"Untergrenze gesamt", "total.low", &msr::FinalFigureTexts::totalLow},
    {"Mittelwert gesamt", "total.mean", &msr::FinalFigureTexts::totalMean},
    {"Obergrenze gesamt", "total.high", &msr::FinalFigureTexts::totalHigh},
};

// The cells of a CSV line (';', quotes as written).
QStringList CsvCells(const QString& line) {
    QStringList cells;
    QString cell;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            cell += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ';' && !quoted) {
            cells << cell;
            cell.clear();
        } else {
            cell += c;
        }
    }
    return cells << cell;
}

struct SheetRun {
    msr::batch::BatchOutcome outcome;
    std::string table;
};

SheetRun RunSheet(const QByteArray& sheet) {
    std::istringstream in(sheet.toStdString());
    std::ostringstream out;
    SheetRun run;
    run.outcome = msr::batch::RunBatch(in, out, {msr::test::BuiltInEditions(), msr::test::kSomeDay},
                                       ",", msr::batch::OutputFormat::Csv, nullptr,
                                       msr::batch::InputFormat::Sheet);
    run.table = out.str();
    return run;
}

// The rows of the sheet that every dialect below saves: an umlaut and a euro sign, the
// separator of another dialect inside a quoted cell, a row that is refused.
QString Sheet(QChar separator, const QString& lineEnd) {
    const QStringList rows = {
        "Aktenzeichen|YearClass|Built1980Side|LivingArea|CityArea",
        "Müller € 5|4|1|75|3",
        "\"Schäfer; 2. OG, links\"|1||45|1",
        "Groß|4||60|3",
    };
    return rows.join(lineEnd).replace('|', separator) + lineEnd;
}

QByteArray Windows1252(const QString& text) {
    QByteArray bytes;
    for (const QChar c : text)
        bytes += c.unicode() == 0x20AC ? '\x80' : static_cast<char>(c.unicode());
    return bytes;
}

QByteArray Utf16(const QString& text, bool littleEndian) {
    QByteArray bytes = littleEndian ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (const QChar c : text) {
        const char low = static_cast<char>(c.unicode() & 0xFF);
        const char high = static_cast<char>(c.unicode() >> 8);
        bytes += littleEndian ? QByteArray{} + low + high : QByteArray{} + high + low;
    }
    return bytes;
}

} // namespace

class TestBatch : public QObject {
    Q_OBJECT

private slots:
    void answersEveryLineInOrder();
    void answersLastLineWithoutNewline();
    void readsWindowsLineEnds();
    void writesNothingForNoInput();
    void reportsFailedOutput();
    void readsEverySpreadsheetsDialect_data();
    void readsEverySpreadsheetsDialect();
    void keepsTheRowsAfterAFaultyRow_data();
    void keepsTheRowsAfterAFaultyRow();
    void writesNoTextAsAFormula_data();
    void writesNoTextAsAFormula();
    void everyOutputReadsBackByItsHeadings();
    void evaluatesARepeatedRowAsOftenAsItStands();
    void readsAWorkbooksFirstSheetCellForCell_data();
    void readsAWorkbooksFirstSheetCellForCell();
};

void TestBatch::answersEveryLineInOrder() {
    const std::string input = std::string(kClass1) + "\n" + "{\"YearClass\":1,\n" + // broken
                              "{\"YearClass\":1}\n" +                               // refused
                              "\n" +                                                // blank
                              "  \t\n" +                                            // blank too
                              "{\"LivingArea\":\"55,5\"}\n" + // refused by the dialog
                              kClass7 + "\n";

    const QStringList lines = RunLines(input);

    QCOMPARE(lines.size(), 7);
    QCOMPARE(lines[0], SingleJson(kClass1));
    QCOMPARE(ErrorOf(lines[1]), QString("Ungültiges JSON bei Byte 15: Objekt nicht mit } "
                                        "abgeschlossen."));
    QVERIFY(ErrorOf(lines[2]).startsWith("Sie müssen vor der Auswertung"));
    QCOMPARE(ErrorOf(lines[3]),
             QString("Leere Zeile: erwartet wird je Zeile ein JSON-Objekt mit Antworten."));
    QCOMPARE(lines[4], lines[3]);
    QCOMPARE(ErrorOf(lines[5]), QString("'55,5' ist kein gültiger Integerwert."));
    QCOMPARE(lines[6], SingleJson(kClass7));
    QVERIFY(lines[6] != lines[0]);
}

void TestBatch::answersLastLineWithoutNewline() {
    const QStringList lines = RunLines(std::string(kClass1) + "\n" + kClass7);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[1], SingleJson(kClass7));
}

void TestBatch::readsWindowsLineEnds() {
    const QStringList lines = RunLines(std::string(kClass1) + "\r\n\r\n");
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], SingleJson(kClass1));
    QVERIFY(ErrorOf(lines[1]).startsWith("Leere Zeile"));
}

void TestBatch::writesNothingForNoInput() {
    QCOMPARE(RunLines(""), QStringList{});
}

void TestBatch::reportsFailedOutput() {
    std::istringstream in(kClass1);
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    QVERIFY(!msr::batch::RunBatch(in, out, {msr::test::BuiltInEditions(), msr::test::kSomeDay}, ",")
                 .finished());
}

void TestBatch::readsEverySpreadsheetsDialect_data() {
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<QString>("note");
    const QString semicolons = Sheet(';', "\n");
    QTest::newRow("UTF-8, semicolons, LF") << semicolons.toUtf8() << "";
    QTest::newRow("UTF-8 with BOM, CR LF") << "\xEF\xBB\xBF" + Sheet(';', "\r\n").toUtf8() << "";
    QTest::newRow("LibreOffice's commas") << Sheet(',', "\n").toUtf8() << "";
    QTest::newRow("Tabs, CR alone") << Sheet('\t', "\r").toUtf8() << "";
    QTest::newRow("a BOM before blank rows")
        << "\xEF\xBB\xBF;;;\r\n\r\n,,\r\n" + Sheet(';', "\r\n").toUtf8() << "";
    QTest::newRow("Excel's CSV: Windows-1252, CR LF")
        << Windows1252(Sheet(';', "\r\n")) << "als Windows-1252 gelesen";
    QTest::newRow("Excel's Unicode-Text: UTF-16 LE, Tabs")
        << Utf16(Sheet('\t', "\r\n"), true) << "als UTF-16 gelesen";
    QTest::newRow("UTF-16 BE") << Utf16(semicolons, false) << "als UTF-16 gelesen";
}

void TestBatch::readsEverySpreadsheetsDialect() {
    QFETCH(QByteArray, sheet);
    QFETCH(QString, note);
    const SheetRun expected = RunSheet(Sheet(';', "\n").toUtf8());
    QCOMPARE(expected.outcome.lines, 3u);
    QCOMPARE(expected.outcome.refused, 1u);

    const SheetRun run = RunSheet(sheet);

    QVERIFY(run.outcome.finished());
    QCOMPARE(QString::fromStdString(run.table), QString::fromStdString(expected.table));
    QCOMPARE(QString(run.outcome.encodingNote), note);
}

void TestBatch::keepsTheRowsAfterAFaultyRow_data() {
    QTest::addColumn<QByteArray>("rows");
    QTest::addColumn<QStringList>("faults"); // per row: a part of its message, or "" for figures
    const QByteArray good = "AZ;4;1;75;3\n";
    const QByteArray longCell(std::size_t{1} << 20, 'A');
    QTest::newRow("a quote inside an unquoted cell")
        << good + "AZ 5\" Zoll;4;1;75;3\n" + good << QStringList{"", "", ""};
    QTest::newRow("a quote that never closes")
        << good + "\"AZ 5;4;1;75;3\n" + good + good
        << QStringList{"",
                       "Spalte \"\"Aktenzeichen\"\" bei Byte 1: Anführungszeichen nicht "
                       "geschlossen",
                       "", ""};
    const QByteArray halfCell(std::size_t{700} << 10, 'A');
    QTest::newRow("a quoted cell too long, over two lines")
        << good + "\"" + halfCell + "\n" + halfCell + "\";4;1;75;3\n" + good
        << QStringList{"", "Die Zeile ist zu groß", ""};
    QTest::newRow("a quote open beyond the size of a row")
        << good + "\"" + halfCell + "\n" + halfCell + "\n" + good
        << QStringList{"", "Anführungszeichen nicht geschlossen", "Aktenzeichen", ""};
    QTest::newRow("an unquoted cell too long")
        << longCell + longCell + ";4;1;75;3\n" + good
        << QStringList{"Die Zeile ist zu groß: eine Zeile mit Antworten darf höchstens 1048576 "
                       "Bytes lang sein (Spalte \"\"Aktenzeichen\"\")",
                       ""};
    QTest::newRow("a line break in a quoted cell is one row")
        << "\"A\nB\";4;1;75;3\n" + good
        << QStringList{"höchstens 100 Zeichen ohne Steuerzeichen", ""};
}

void TestBatch::keepsTheRowsAfterAFaultyRow() {
    QFETCH(QByteArray, rows);
    QFETCH(QStringList, faults);

    const SheetRun run =
        RunSheet("Aktenzeichen;YearClass;Built1980Side;LivingArea;CityArea\n" + rows);

    QVERIFY(run.outcome.finished());
    QCOMPARE(run.outcome.lines, static_cast<std::uint64_t>(faults.size()));
    QStringList table = QString::fromStdString(run.table).split("\n");
    QCOMPARE(table.takeLast(), QString());
    table.removeFirst(); // the header
    QCOMPARE(table.size(), faults.size());
    for (qsizetype i = 0; i < faults.size(); ++i) {
        QVERIFY2(table[i].startsWith(QString("\"%1\";").arg(i + 1)), qPrintable(table[i].left(80)));
        if (faults[i].isEmpty())
            QVERIFY2(table[i].endsWith(";\"\""), qPrintable(table[i].left(200)));
        else
            QVERIFY2(table[i].contains(faults[i]), qPrintable(table[i].right(200)));
    }
}

void TestBatch::writesNoTextAsAFormula_data() {
    QTest::addColumn<QByteArray>("caseNumber"); // as the sheet holds it
    QTest::addColumn<QString>("cell");          // as the table writes it
    QTest::newRow("a sum") << QByteArray("=1+1") << "\"'=1+1\"";
    QTest::newRow("a link") << QByteArray("\"=HYPERLINK(\"\"http://x.example\"\";\"\"Klick\"\")\"")
                            << "\"'=HYPERLINK(\"\"http://x.example\"\";\"\"Klick\"\")\"";
    QTest::newRow("plus") << QByteArray("+49 30 1") << "\"'+49 30 1\"";
    QTest::newRow("minus") << QByteArray("-2+3") << "\"'-2+3\"";
    QTest::newRow("at") << QByteArray("@SUMME(A1)") << "\"'@SUMME(A1)\"";
    QTest::newRow("a sign inside stays") << QByteArray("AZ-1=2") << "\"AZ-1=2\"";
}

void TestBatch::writesNoTextAsAFormula() {
    QFETCH(QByteArray, caseNumber);
    QFETCH(QString, cell);

    const SheetRun run = RunSheet("Aktenzeichen;YearClass;Built1980Side;LivingArea;CityArea\n" +
                                  caseNumber + ";4;1;75;3\n" + caseNumber + ";4;1;75\n");

    const QStringList table = QString::fromStdString(run.table).split("\n");
    QCOMPARE(table.size(), 4);
    QVERIFY2(table[1].startsWith("\"1\";" + cell + ";\"4,73\""), qPrintable(table[1]));
    QVERIFY2(table[2].startsWith("\"2\";" + cell + ";\"\""), qPrintable(table[2]));
}

void TestBatch::everyOutputReadsBackByItsHeadings() {
    const std::vector<std::string> answers = {
        R"({"YearClass":1,"LivingArea":"45","CityArea":1})",
        R"({"YearClass":7,"LivingArea":"130","CityArea":7,"Terrace":true,"GuestToilet":true})",
        R"({"YearClass":4,"Built1980Side":2,"LivingArea":"48","CityArea":3,"IsApartment":true})",
    };
    std::vector<msr::FinalFigureTexts> expected;
    std::string lines;
    for (const std::string& line : answers) {
        expected.push_back(msr::FormatFinalFigures(
            msr::EvaluateAnswers(msr::AdmitAnswers(line), msr::test::BuiltInEditions(),
                                 msr::test::kSomeDay, ",")
                .result,
            ","));
        lines += line + "\n";
    }
    bool finished = true;
    const auto run = [&](msr::batch::OutputFormat format, msr::batch::FiguresTable* table) {
        std::istringstream in(lines);
        std::ostringstream out;
        finished =
            finished &&
            msr::batch::RunBatch(in, out, {msr::test::BuiltInEditions(), msr::test::kSomeDay}, ",",
                                 format, nullptr, msr::batch::InputFormat::JsonLines, {}, table)
                .finished();
        return out.str();
    };
    const QStringList csv = QString::fromStdString(run(msr::batch::OutputFormat::Csv, nullptr))
                                .split('\n', Qt::SkipEmptyParts);
    QCOMPARE(csv.size(), 4);
    const QStringList csvHeadings = CsvCells(csv[0]);
    const QStringList json = QString::fromStdString(run(msr::batch::OutputFormat::Json, nullptr))
                                 .split('\n', Qt::SkipEmptyParts);
    QCOMPARE(json.size(), 3);
    // The workbook, read back by the program's own reader of workbooks.
    std::unique_ptr<msr::batch::FiguresWorkbook> workbook =
        msr::batch::FiguresWorkbook::Open(std::make_unique<std::ostringstream>(), false);
    run(msr::batch::OutputFormat::Xlsx, workbook.get());
    QVERIFY(finished);
    QVERIFY(workbook->finish());
    const std::string bytes = static_cast<std::ostringstream&>(workbook->out()).str();
    msr::batch::MemoryBytes memory(bytes);
    std::string why;
    const auto rows = msr::batch::OpenWorkbook(memory, msr::batch::InflatePortably, why);
    QVERIFY2(rows, why.c_str());
    std::vector<std::vector<std::string>> sheet;
    for (msr::batch::SheetRow row; rows->next(row);) {
        std::vector<std::string> cells;
        for (const msr::SheetCell& cell : row.cells) {
            cells.resize(cell.column);
            cells.push_back(cell.text);
        }
        sheet.push_back(cells);
    }
    QCOMPARE(sheet.size(), std::size_t{4});

    for (const Heading& heading : kHeadings) {
        const int csvColumn = csvHeadings.indexOf(QString::fromUtf8(heading.heading));
        const auto sheetColumn =
            std::find(sheet[0].begin(), sheet[0].end(), heading.heading) - sheet[0].begin();
        QVERIFY2(csvColumn >= 0, heading.heading);
        QVERIFY2(sheetColumn < static_cast<long>(sheet[0].size()), heading.heading);
        const QStringList path = QString(heading.json).split('.');
        for (std::size_t row = 0; row < expected.size(); ++row) {
            const QString figure = QString::fromStdString(expected[row].*heading.figure);
            QCOMPARE(CsvCells(csv[static_cast<int>(row) + 1])[csvColumn], figure);
            QJsonValue value = QJsonDocument::fromJson(json[static_cast<int>(row)].toUtf8())
                                   .object()
                                   .value("figures");
            for (const QString& key : path)
                value = value.toObject().value(key);
            QCOMPARE(QString::number(value.toDouble(), 'f', 2), QString(figure).replace(',', '.'));
            const std::vector<std::string>& cells = sheet[row + 1];
            QCOMPARE(QString::fromStdString(cells.at(static_cast<std::size_t>(sheetColumn))),
                     QString(figure).replace(',', '.'));
        }
    }
}

void TestBatch::readsAWorkbooksFirstSheetCellForCell_data() {
    QTest::addColumn<QByteArray>("workbook");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("failure");
    const auto row = [](const char* name, const std::string& workbook, const char* text,
                        const char* failure = "") {
        QTest::newRow(name) << QByteArray::fromStdString(workbook) << QString::fromUtf8(text)
                            << QString::fromUtf8(failure);
    };
    row("xlsx: shared, rich and inline strings, numbers, yes/no, a formula's text",
        Xlsx("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
             "</row><row r=\"3\"><c r=\"A3\" t=\"s\"><v>2</v></c><c r=\"B3\"><v>52.5</v></c>"
             "<c r=\"C3\" t=\"b\"><v>1</v></c><c r=\"E3\" t=\"str\"><f>A1&amp;\"\"</f>"
             "<v>x_x000D_y</v></c><c r=\"F3\" t=\"inlineStr\"><is><t>0815</t></is></c></row>"
             "<row><c t=\"s\"><v>3</v></c></row>",
             "<si><t>Aktenzeichen</t></si><si><t xml:space=\"preserve\">Year&#67;lass</t></si>"
             "<si><r><rPr><b/></rPr><t>M\xC3\xBC</t></r><r><t>ller; \"2\"</t></r>"
             "<rPh><t>\xE3\x83\x9F</t></rPh></si><si><t><![CDATA[a<b]]></t></si>"),
        "Aktenzeichen;YearClass\n\n\"M\xC3\xBCller; \"\"2\"\"\";52.5;TRUE;;\"x\ry\";0815\n"
        "a<b\n");
    row("ods: repeated cells and rows, spaces, paragraphs, notes",
        Ods("<table:table-row><table:table-cell office:value-type=\"string\"><text:p>a"
            "<text:s text:c=\"2\"/>b<text:tab/>c</text:p><office:annotation><text:p>Notiz"
            "</text:p></office:annotation></table:table-cell><table:table-cell "
            "table:number-columns-repeated=\"2\" office:value-type=\"float\" "
            "office:value=\"52.5\"><text:p>52,50</text:p></table:table-cell>"
            "<table:covered-table-cell/><table:table-cell office:value-type=\"float\" "
            "office:value=\"3\"/></table:table-row>"
            "<table:table-row table:number-rows-repeated=\"2\"><table:table-cell "
            "table:number-columns-repeated=\"1024\"/></table:table-row>"
            "<table:table-row-group><table:table-row table:number-rows-repeated=\"2\">"
            "<table:table-cell><text:p>Zeile</text:p><text:p><text:span>zwei</text:span>"
            "</text:p></table:table-cell></table:table-row></table:table-row-group>"
            "<table:table-row table:number-rows-repeated=\"1048570\"><table:table-cell "
            "table:number-columns-repeated=\"16384\"/></table:table-row>"),
        "a  b\tc;52,50;52,50;;3\n\n\n\"Zeile\nzwei\"\n=\n");
    row("not a zip archive after its first bytes", "PK\x03\x04 und sonst nichts", "",
        "Die Arbeitsmappe ist besch\xC3\xA4\x64igt");
    row("an archive of something else", StoredZip({{"word/document.xml", "<w/>"}}), "",
        "Die Datei ist keine Arbeitsmappe (.xlsx, .xlsm oder .ods)");
    row("a workbook without its sheet",
        StoredZip({{"[Content_Types].xml", "<Types/>"}, {"xl/workbook.xml", "<workbook/>"}}), "",
        "Die Arbeitsmappe enth\xC3\xA4lt keine Tabelle");
    row("a shared string that is not there",
        Xlsx("<row><c t=\"s\"><v>7</v></c></row>", "<si><t>a</t></si>"), "",
        "Die Arbeitsmappe ist besch\xC3\xA4\x64igt");
    row("a cell beyond the last column", Xlsx("<row><c r=\"XFE1\"><v>1</v></c></row>", ""),
        "!Die Zeile reicht \xC3\xBC"
        "ber Spalte XFD hinaus, die letzte Spalte einer Tabelle\n");
    row("a tag that never closes", Ods("<table:table-row><table:table-cell"), "",
        "Die Arbeitsmappe ist besch\xC3\xA4\x64igt");
    std::string changed = Xlsx("<row><c><v>1</v></c></row>", "");
    changed[changed.find("<v>1</v>") + 3] = '2'; // its checksum no longer holds
    // Streamed, the rows before the part's end are read before its checksum fails.
    row("a part whose checksum fails", changed, "2\n", "Die Arbeitsmappe ist besch\xC3\xA4\x64igt");
    std::string locked = Xlsx("<row><c><v>1</v></c></row>", "");
    for (std::size_t at = locked.find("PK\x01\x02"); at != std::string::npos;
         at = locked.find("PK\x01\x02", at + 1))
        locked[at + 8] = 1; // encrypted, as a zip tool's password leaves it
    row("a password on its parts", locked, "",
        "Die Arbeitsmappe ist mit einem Kennwort gesch\xC3\xBCtzt");
}

// A spreadsheet may save equal rows once with a count: each stands in the table with its
// own number and the same figures (the header too, whose names are then values).
void TestBatch::evaluatesARepeatedRowAsOftenAsItStands() {
    const auto cells = [](std::initializer_list<const char*> texts) {
        std::string row;
        for (const char* text : texts)
            row +=
                std::string("<table:table-cell><text:p>") + text + "</text:p></table:table-cell>";
        return row;
    };
    const std::string rows =
        "<table:table-row table:number-rows-repeated=\"2\">" +
        cells({"YearClass", "LivingArea", "CityArea"}) +
        "</table:table-row><table:table-row table:number-rows-repeated=\"3\">" +
        cells({"2", "75", "3"}) + "</table:table-row><table:table-row>" + cells({"1", "60", "1"}) +
        "</table:table-row>";
    const std::string workbook = Ods(rows.c_str());
    msr::batch::MemoryBytes memory(workbook);
    std::istringstream in(workbook);
    msr::batch::BatchInput input(in, msr::batch::InflatePortably, &memory);
    QVERIFY(input.workbook());
    std::ostringstream out;
    const msr::batch::BatchOutcome outcome = msr::batch::RunBatch(
        input, out, {msr::test::BuiltInEditions(), msr::test::kSomeDay}, ",",
        msr::batch::OutputFormat::Csv, nullptr, msr::batch::InputFormat::Sheet, {}, nullptr);
    QVERIFY(outcome.finished());
    const QStringList table = QString::fromStdString(out.str()).split("\n", Qt::SkipEmptyParts);
    QCOMPARE(table.size(), 6);
    QVERIFY2(table[1].startsWith("\"1\";\"\";\"\";") && table[1].contains("YearClass"),
             qPrintable(table[1]));
    const QString figures = "\"3,83\";\"4,60\";\"5,30\";\"75,00\"";
    for (int line = 2; line <= 4; ++line)
        QVERIFY2(table[line].startsWith(QString("\"%1\";\"\";").arg(line) + figures),
                 qPrintable(table[line]));
    QVERIFY2(table[5].startsWith("\"5\";\"\";\"4,35\""), qPrintable(table[5]));
}

// The first sheet of a workbook becomes the lines a CSV table of it holds: each row in its
// place (blank rows kept, so that the rows keep the numbers the spreadsheet shows), each
// cell the text it shows; a damaged workbook is refused with the reason.
void TestBatch::readsAWorkbooksFirstSheetCellForCell() {
    QFETCH(QByteArray, workbook);
    QFETCH(QString, text);
    QFETCH(QString, failure);
    const WorkbookRead sheet = ReadWorkbook(workbook.toStdString());
    QCOMPARE(QString::fromStdString(sheet.failure), failure);
    QCOMPARE(QString::fromStdString(sheet.text), text);
}

QTEST_APPLESS_MAIN(TestBatch)
#include "test_batch.moc"

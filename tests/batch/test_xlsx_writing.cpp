// The workbook writer read back as a spreadsheet would: the zip's directory, its checksums
// and sizes, and the XML of the cells.

#include "batch/xlsx_writing.h"
#include "batch/zip_writing.h"

#include <QtTest>

#include <zlib.h>

#include <map>
#include <sstream>
#include <streambuf>
#include <string>

namespace {

std::uint64_t Read(const std::string& bytes, std::size_t at, int size) {
    std::uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes.at(at + static_cast<std::size_t>(i)));
    return value;
}

// A raw deflate stream inflated by zlib, which knows nothing of our deflater; "" when it is
// no complete stream or inflates to other than size bytes.
std::string InflatedByZlib(const std::string& compressed, std::size_t size) {
    std::string inflated(size + 1, '\0');
    z_stream stream{};
    inflateInit2(&stream, -MAX_WBITS);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    stream.next_out = reinterpret_cast<Bytef*>(inflated.data());
    stream.avail_out = static_cast<uInt>(inflated.size());
    const int status = inflate(&stream, Z_FINISH);
    const bool whole =
        status == Z_STREAM_END && stream.total_out == size && stream.total_in == compressed.size();
    inflateEnd(&stream);
    inflated.resize(size);
    return whole ? inflated : "";
}

// The entries of a zip by its central directory, stored or deflated; each local header must
// agree with it, and each checksum with the bytes.
std::map<std::string, std::string> Unzip(const std::string& zip) {
    std::map<std::string, std::string> entries;
    const std::size_t end = zip.size() - 22;
    if (Read(zip, end, 4) != 0x06054B50)
        return {{"", "no end of central directory"}};
    std::size_t at = Read(zip, end + 16, 4);
    for (std::uint64_t n = Read(zip, end + 10, 2); n > 0; --n) {
        const std::uint64_t method = Read(zip, at + 10, 2);
        const std::uint64_t crc = Read(zip, at + 16, 4);
        const std::uint64_t compressedSize = Read(zip, at + 20, 4);
        const std::uint64_t size = Read(zip, at + 24, 4);
        const std::size_t nameLength = Read(zip, at + 28, 2);
        const std::string name = zip.substr(at + 46, nameLength);
        const std::size_t local = Read(zip, at + 42, 4);
        at += 46 + nameLength;
        if (Read(zip, local, 4) != 0x04034B50 || Read(zip, local + 14, 4) != crc ||
            Read(zip, local + 18, 4) != compressedSize || Read(zip, local + 22, 4) != size ||
            zip.substr(local + 30, nameLength) != name || Read(zip, local + 8, 2) != method)
            return {{name, "local header disagrees"}};
        const std::string stored = zip.substr(local + 30 + nameLength, compressedSize);
        if (method != 0 && method != 8)
            return {{name, "unknown method"}};
        const std::string data = method == 0 ? stored : InflatedByZlib(stored, size);
        if (msr::batch::Crc32(0, data) != crc)
            return {{name, "checksum wrong"}};
        entries[name] = data;
    }
    return entries;
}

// Takes any number of bytes and keeps none; seeks anywhere.
class Nowhere : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return c == traits_type::eof() ? 0 : c; }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
    pos_type seekoff(off_type, std::ios_base::seekdir, std::ios_base::openmode) override {
        return 0;
    }
    pos_type seekpos(pos_type position, std::ios_base::openmode) override { return position; }
};

using msr::batch::CellStyle;
using msr::batch::XlsxCell;
using msr::batch::XlsxSheetLayout;
using msr::batch::XlsxWriter;

} // namespace

class TestXlsxWriting : public QObject {
    Q_OBJECT
private slots:
    void computesTheZipChecksum_data();
    void computesTheZipChecksum();
    void writesEveryEntryReadably();
    void deflatesWhatZlibInflates_data();
    void deflatesWhatZlibInflates();
    void writesEachCellAsXml_data();
    void writesEachCellAsXml();
    void refusesWhatSpreadsheetsRefuse_data();
    void refusesWhatSpreadsheetsRefuse();
    void stopsAfterTheLastRow();
};

void TestXlsxWriting::computesTheZipChecksum_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<quint32>("crc");
    QTest::newRow("nothing") << QByteArray() << quint32{0};
    QTest::newRow("the check value") << QByteArray("123456789") << quint32{0xCBF43926};
    QByteArray everyByte;
    for (int byte = 0; byte < 256; ++byte)
        everyByte += static_cast<char>(byte);
    QTest::newRow("every byte") << everyByte << quint32{0x29058C73}; // as zlib's crc32()
}

void TestXlsxWriting::computesTheZipChecksum() {
    QFETCH(QByteArray, bytes);
    QFETCH(quint32, crc);
    const std::string text = bytes.toStdString();
    QCOMPARE(msr::batch::Crc32(0, text), crc);
    const std::size_t half = text.size() / 2;
    QCOMPARE(msr::batch::Crc32(msr::batch::Crc32(0, text.substr(0, half)), text.substr(half)), crc);
}

void TestXlsxWriting::writesEveryEntryReadably() {
    const std::string prefix = "not the archive's";
    std::stringstream out;
    out << prefix; // the archive starts where the stream stands
    msr::batch::ZipWriter zip(out);
    QVERIFY(zip.beginEntry("xl/worksheets/sheet1.xml"));
    for (int i = 0; i < 1000; ++i)
        QVERIFY(zip.write("<row/>"));
    QVERIFY(zip.endEntry());
    QVERIFY(zip.addEntry("leer", "") && zip.addEntry("Erläuterungen.xml", "ä") && zip.finish());
    const auto entries = Unzip(out.str().substr(prefix.size()));
    QCOMPARE(entries.size(), std::size_t{3});
    std::string rows;
    for (int i = 0; i < 1000; ++i)
        rows += "<row/>";
    QCOMPARE(entries.at("xl/worksheets/sheet1.xml"), rows);
    QCOMPARE(entries.at("leer"), std::string());
    QCOMPARE(entries.at("Erläuterungen.xml"), std::string("ä"));

    msr::batch::ZipWriter outOfTurn(out);
    QVERIFY(!outOfTurn.write("before any entry"));
    QVERIFY(!outOfTurn.addEntry("a", "b") && !outOfTurn.finish()); // stopped for good
}

// Every input zlib inflates back to its bytes, fed at once or a byte at a time, and the
// sheet's XML comes out about as small as zlib's own default level makes it.
void TestXlsxWriting::deflatesWhatZlibInflates_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<double>("mostOfZlibsSize"); // 0: no comparison
    std::string rows;
    for (int row = 2; row < 20000; ++row)
        rows += "<row r=\"" + std::to_string(row) + "\"><c r=\"A" + std::to_string(row) +
                "\" t=\"inlineStr\"><is><t>AZ-" + std::to_string(row * 7919 % 100003) +
                "</t></is></c><c r=\"B" + std::to_string(row) + "\" s=\"2\"><v>" +
                std::to_string(row % 97 * 13.25) + "</v></c></row>";
    std::string noise;
    std::uint32_t state = 1;
    for (int i = 0; i < 300000; ++i) {
        state = state * 1103515245u + 12345u;
        noise += static_cast<char>(state >> 24);
    }
    std::string farApart = noise.substr(0, 32768 - 300) + noise.substr(0, 1000);
    QTest::newRow("nothing") << QByteArray() << 0.0;
    QTest::newRow("one byte") << QByteArray("a") << 0.0;
    QTest::newRow("two bytes") << QByteArray("ab") << 0.0;
    QTest::newRow("one byte repeated") << QByteArray(100000, 'x') << 0.0;
    QByteArray everyByte;
    for (int i = 0; i < 256 * 3; ++i)
        everyByte += static_cast<char>(i % 256);
    QTest::newRow("every byte") << everyByte << 0.0;
    QTest::newRow("noise") << QByteArray::fromStdString(noise) << 0.0;
    QTest::newRow("a match near the window's end") << QByteArray::fromStdString(farApart) << 0.0;
    QTest::newRow("a sheet's rows") << QByteArray::fromStdString(rows) << 1.15;
}

void TestXlsxWriting::deflatesWhatZlibInflates() {
    QFETCH(QByteArray, bytes);
    QFETCH(double, mostOfZlibsSize);
    const std::string text = bytes.toStdString();
    const std::string compressed = msr::batch::Deflate(text);
    QCOMPARE(InflatedByZlib(compressed, text.size()).size(), text.size());
    QVERIFY(InflatedByZlib(compressed, text.size()) == text);

    msr::batch::Deflater deflater;
    std::string piecewise;
    for (const char byte : text.substr(0, 70000))
        deflater.write(std::string_view(&byte, 1), piecewise);
    deflater.finish(piecewise);
    QVERIFY(InflatedByZlib(piecewise, std::min<std::size_t>(text.size(), 70000)) ==
            text.substr(0, 70000));

    if (mostOfZlibsSize > 0) {
        uLongf zlibSize = compressBound(static_cast<uLong>(text.size()));
        std::string zlib(zlibSize, '\0');
        compress2(reinterpret_cast<Bytef*>(zlib.data()), &zlibSize,
                  reinterpret_cast<const Bytef*>(text.data()), static_cast<uLong>(text.size()),
                  Z_DEFAULT_COMPRESSION);
        QVERIFY2(static_cast<double>(compressed.size()) <=
                     mostOfZlibsSize * static_cast<double>(zlibSize),
                 (std::to_string(compressed.size()) + " against zlib's " + std::to_string(zlibSize))
                     .c_str());
    }
}

void TestXlsxWriting::writesEachCellAsXml_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("xml");
    const QByteArray inline_ = "<c r=\"B1\" s=\"3\" t=\"inlineStr\"><is><t xml:space=\"preserve\">";
    QTest::newRow("a formula stays text") << QByteArray("=1+1") << inline_ + "=1+1</t>";
    QTest::newRow("markup") << QByteArray("<a href=\"x\">&amp;</a>")
                            << inline_ + "&lt;a href=&quot;x&quot;&gt;&amp;amp;&lt;/a&gt;</t>";
    QTest::newRow("leading zeros and blanks") << QByteArray(" 0815 ") << inline_ + " 0815 </t>";
    QTest::newRow("control characters left out")
        << QByteArray("a\x01\x1b[31mb\x7f\tc\nd") << inline_ + "a[31mb\x7f\tc\nd</t>";
    QTest::newRow("a carriage return kept") << QByteArray("a\rb") << inline_ + "a&#13;b</t>";
    QTest::newRow("no UTF-8 left out")
        << QByteArray("75 m\xB2 \xC3\xA4 \xED\xA0\x80 \xEF\xBF\xBF \xF0\x9F\x98\x80")
        << inline_ + "75 m \xC3\xA4   \xF0\x9F\x98\x80</t>";
    QTest::newRow("Excel's escapes kept as typed")
        << QByteArray("_x0041_ _x41_") << inline_ + "_x005F_x0041_ _x41_</t>";
}

void TestXlsxWriting::writesEachCellAsXml() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, xml);
    std::stringstream out;
    XlsxWriter writer(out);
    XlsxSheetLayout layout;
    layout.name = "Zahlen & Texte";
    layout.lists.push_back({1, 2, XlsxWriter::RangeOfColumn("Liste's", 27, 2, 9)});
    const std::string cellText = text.toStdString();
    QVERIFY(writer.beginSheet(layout));
    QVERIFY(writer.addRow({XlsxCell::Number(4.73, CellStyle::TwoDecimals),
                           XlsxCell::Text(cellText, CellStyle::Text), XlsxCell(),
                           XlsxCell::Number(2147484000.0)}));
    QVERIFY(writer.addRow({XlsxCell::Text("zwei Zeilen", CellStyle::Wrapped)}, 30));
    QVERIFY(writer.endSheet());
    layout.name = "Liste's";
    layout.hidden = true;
    QVERIFY(writer.beginSheet(layout) && writer.endSheet() && writer.finish());
    const auto entries = Unzip(out.str());
    const std::string sheet = entries.at("xl/worksheets/sheet1.xml");
    QVERIFY2(sheet.find(xml.toStdString()) != std::string::npos, sheet.c_str());
    QVERIFY(sheet.find("<c r=\"A1\" s=\"2\"><v>4.73</v></c>") != std::string::npos);
    QVERIFY(sheet.find("<c r=\"D1\"><v>2147484000</v></c>") != std::string::npos);
    QVERIFY(sheet.find("sqref=\"B2:B1048576\"><formula1>'Liste''s'!$AB$2:$AB$9</formula1>") !=
            std::string::npos);
    QVERIFY(sheet.find("<row r=\"2\" ht=\"30\" customHeight=\"1\"><c r=\"A2\" s=\"4\"") !=
            std::string::npos);
    QVERIFY(entries.at("xl/styles.xml").find("<alignment vertical=\"top\" wrapText=\"1\"/>") !=
            std::string::npos);
    const std::string workbook = entries.at("xl/workbook.xml");
    QVERIFY(workbook.find("<sheet name=\"Zahlen &amp; Texte\" sheetId=\"1\" r:id=\"rId1\"/>") !=
            std::string::npos);
    QVERIFY(
        workbook.find("<sheet name=\"Liste's\" sheetId=\"2\" state=\"hidden\" r:id=\"rId2\"/>") !=
        std::string::npos);
    for (const char* part : {"[Content_Types].xml", "_rels/.rels", "xl/_rels/workbook.xml.rels",
                             "xl/styles.xml", "xl/worksheets/sheet2.xml"})
        QVERIFY2(entries.count(part), part);
}

void TestXlsxWriting::refusesWhatSpreadsheetsRefuse_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<bool>("firstHidden");
    QTest::addColumn<QString>("second");
    QTest::newRow("good names") << "Wohnungen" << false << "Erläuterungen";
    QTest::newRow("no name") << "" << false << "";
    QTest::newRow("32 characters") << "Wohnungen" << false << QString(32, QChar(0xE4));
    QTest::newRow("a slash") << "Wohnungen" << false << "1/2";
    QTest::newRow("quoted") << "'Wohnungen'" << false << "";
    QTest::newRow("a tab") << "Wohnungen\t" << false << "";
    QTest::newRow("the first hidden") << "Wohnungen" << true << "";
    QTest::newRow("a name twice") << "Wohnungen" << false << "Wohnungen";
}

void TestXlsxWriting::refusesWhatSpreadsheetsRefuse() {
    QFETCH(QString, first);
    QFETCH(bool, firstHidden);
    QFETCH(QString, second);
    std::stringstream out;
    XlsxWriter writer(out);
    XlsxSheetLayout layout;
    layout.name = first.toStdString();
    layout.hidden = firstHidden;
    const bool good = QTest::currentDataTag() == QByteArray("good names");
    bool written = writer.beginSheet(layout) && writer.endSheet();
    if (!second.isEmpty()) {
        layout.name = second.toStdString();
        layout.hidden = false;
        written = written && writer.beginSheet(layout) && writer.endSheet();
    }
    QCOMPARE(written && writer.finish(), good);
    QVERIFY(!writer.addRow({})); // stopped or finished: nothing more
}

void TestXlsxWriting::stopsAfterTheLastRow() {
    Nowhere nowhere;
    std::ostream out(&nowhere);
    XlsxWriter writer(out);
    XlsxSheetLayout layout;
    layout.name = "Auswertung";
    QVERIFY(writer.beginSheet(layout));
    bool written = true;
    for (int row = 0; row < 1048576; ++row)
        written = written && writer.addRow({});
    QVERIFY(written);
    QVERIFY(!writer.addRow({}));
    QVERIFY(!writer.endSheet() && !writer.finish());
}

QTEST_APPLESS_MAIN(TestXlsxWriting)
#include "test_xlsx_writing.moc"

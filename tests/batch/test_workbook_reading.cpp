// The readers beneath a workbook, each on its own: deflate against zlib, the zip archive's
// directory (ZIP64, data descriptors), the XML scanner's events, the number formats of an
// .xlsx, and the Windows-1252 table of a CSV sheet against the C library's.
#include "batch/byte_stream.h"
#include "batch/inflating.h"
#include "batch/sheet_input.h"
#include "batch/workbook_reading.h"
#include "batch/xlsx_number_formats.h"
#include "batch/xml_scanning.h"
#include "batch/zip_reading.h"
#include "cli/zlib_inflating.h"

#include <QtTest>

#include <iconv.h>
#include <zlib.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>

namespace {

using msr::batch::ByteStream;

// Bytes handed out a few at a time, as a slow source gives them: every reader must give
// the same as from one block.
class Trickle : public ByteStream {
public:
    Trickle(std::string bytes, std::size_t step) : bytes_(std::move(bytes)), step_(step) {}
    std::size_t read(char* buffer, std::size_t capacity) override {
        const std::size_t count = std::min({capacity, step_, bytes_.size() - at_});
        bytes_.copy(buffer, count, at_);
        at_ += count;
        return count;
    }
    bool failed() const override { return false; }

private:
    std::string bytes_;
    std::size_t step_;
    std::size_t at_ = 0;
};

std::string Deflated(const std::string& data, int level, int strategy) {
    z_stream stream{};
    deflateInit2(&stream, level, Z_DEFLATED, -MAX_WBITS, 8, strategy);
    std::string out(deflateBound(&stream, static_cast<uLong>(data.size())) + 16, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

// All the stream gives, and whether it failed.
std::pair<std::string, bool> Drain(ByteStream& stream, std::size_t piece = 1000) {
    std::string all;
    std::string buffer(piece, '\0');
    for (std::size_t count; (count = stream.read(buffer.data(), buffer.size())) > 0;)
        all.append(buffer, 0, count);
    return {all, stream.failed()};
}

std::string Inflated(const std::string& compressed, bool& failed, std::size_t step = 1 << 16) {
    Trickle source(compressed, step);
    const auto inflate = msr::batch::InflatePortably(source);
    auto [all, broken] = Drain(*inflate, 777);
    failed = broken;
    return all;
}

// The events of a scan as text: <name, </name, "text", and ! where it is malformed.
std::string Events(msr::batch::XmlScanner& scanner) {
    using Event = msr::batch::XmlScanner::Event;
    std::string trace;
    for (;;) {
        switch (scanner.next()) {
        case Event::Start:
            trace += "<" + std::string(scanner.name());
            if (scanner.hasAttribute("v"))
                trace += "[" + scanner.attribute("v") + "]";
            break;
        case Event::End:
            trace += "</" + std::string(scanner.name());
            break;
        case Event::Text:
            trace += "\"" + scanner.text() + "\"";
            break;
        case Event::Done:
            return trace;
        case Event::Malformed:
            return trace + "!";
        }
    }
}

// A zip archive as Python's zipfile writes it, the entry's sizes in a data descriptor after
// its bytes (as a writer streaming to a pipe does), or in ZIP64 fields.
std::string Archive(const std::string& name, const std::string& data, bool descriptor, bool zip64) {
    std::string out;
    const auto little = [&](std::uint64_t value, int width) {
        for (int i = 0; i < width; ++i)
            out += static_cast<char>(value >> (8 * i) & 0xFF);
    };
    const std::uint32_t crc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
    const std::string deflated = Deflated(data, 6, Z_DEFAULT_STRATEGY);
    const std::uint32_t stated = zip64 ? 0xFFFFFFFF : 0;
    little(0x04034b50, 4);
    little(45, 2);
    little(descriptor ? 8 : 0, 2);
    little(8, 2);
    little(0, 4);
    little(descriptor ? 0 : crc, 4);
    little(descriptor ? 0 : (zip64 ? stated : deflated.size()), 4);
    little(descriptor ? 0 : (zip64 ? stated : data.size()), 4);
    little(name.size(), 2);
    little(zip64 ? 20 : 0, 2);
    out += name;
    if (zip64) {
        little(1, 2);
        little(16, 2);
        little(data.size(), 8);
        little(deflated.size(), 8);
    }
    out += deflated;
    if (descriptor) {
        little(0x08074b50, 4);
        little(crc, 4);
        little(deflated.size(), 4);
        little(data.size(), 4);
    }
    const std::size_t directory = out.size();
    little(0x02014b50, 4);
    little(45, 2);
    little(45, 2);
    little(descriptor ? 8 : 0, 2);
    little(8, 2);
    little(0, 4);
    little(crc, 4);
    little(zip64 ? stated : deflated.size(), 4);
    little(zip64 ? stated : data.size(), 4);
    little(name.size(), 2);
    little(zip64 ? 28 : 0, 2);
    little(0, 2);
    little(0, 2);
    little(0, 2);
    little(0, 4);
    little(zip64 ? stated : 0, 4);
    out += name;
    if (zip64) {
        little(1, 2);
        little(24, 2);
        little(data.size(), 8);
        little(deflated.size(), 8);
        little(0, 8);
    }
    const std::size_t directorySize = out.size() - directory;
    if (zip64) {
        const std::size_t record = out.size();
        little(0x06064b50, 4);
        little(44, 8);
        little(45, 2);
        little(45, 2);
        little(0, 4);
        little(0, 4);
        little(1, 8);
        little(1, 8);
        little(directorySize, 8);
        little(directory, 8);
        little(0x07064b50, 4);
        little(0, 4);
        little(record, 8);
        little(1, 4);
    }
    little(0x06054b50, 4);
    little(0, 4);
    little(zip64 ? 0xFFFF : 1, 2);
    little(zip64 ? 0xFFFF : 1, 2);
    little(zip64 ? 0xFFFFFFFF : directorySize, 4);
    little(zip64 ? 0xFFFFFFFF : directory, 4);
    little(0, 2);
    return out;
}

} // namespace

class TestWorkbookReading : public QObject {
    Q_OBJECT

private slots:
    void inflatesAsZlibDoes_data();
    void inflatesAsZlibDoes();
    void refusesDeflateThatIsNone();
    void readsEntriesOfEveryLayout();
    void scansXmlAsItStreams_data();
    void scansXmlAsItStreams();
    void showsNumbersAsTheirFormatSays_data();
    void showsNumbersAsTheirFormatSays();
    void knowsTheBuiltInFormats();
    void readsWindows1252AsTheCLibraryDoes();
};

void TestWorkbookReading::inflatesAsZlibDoes_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("strategy");
    std::mt19937 random(5);
    std::string noise(300000, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    std::string xml;
    for (int row = 0; row < 20000; ++row)
        xml += "<row r=\"" + std::to_string(row) + "\"><c t=\"s\"><v>" +
               std::to_string(row * 7 % 1000) + "</v></c></row>";
    const std::string runs = std::string(100000, 'a') + std::string(70000, '\0') + "end";
    const struct {
        const char* name;
        std::string data;
    } inputs[] = {{"empty", ""}, {"noise", noise}, {"sheet XML", xml}, {"long runs", runs}};
    const struct {
        const char* name;
        int level;
        int strategy;
    } ways[] = {{"stored blocks", 0, Z_DEFAULT_STRATEGY},
                {"fixed codes", 6, Z_FIXED},
                {"dynamic codes", 9, Z_DEFAULT_STRATEGY},
                {"Huffman only", 6, Z_HUFFMAN_ONLY},
                {"runs", 6, Z_RLE},
                {"fastest", 1, Z_DEFAULT_STRATEGY}};
    for (const auto& input : inputs)
        for (const auto& way : ways)
            QTest::addRow("%s, %s", input.name, way.name)
                << QByteArray::fromStdString(input.data) << way.level << way.strategy;
}

// The portable inflater gives zlib's bytes for every kind of block, fed a block or a byte
// at a time.
void TestWorkbookReading::inflatesAsZlibDoes() {
    QFETCH(QByteArray, data);
    QFETCH(int, level);
    QFETCH(int, strategy);
    const std::string compressed = Deflated(data.toStdString(), level, strategy);
    for (const std::size_t step : {std::size_t{1} << 16, std::size_t{1}, std::size_t{7}}) {
        bool failed = true;
        const std::string inflated = Inflated(compressed, failed, step);
        QVERIFY(!failed);
        QVERIFY(inflated == data.toStdString());
    }
    Trickle source(compressed, 1 << 16);
    const auto zlib = msr::cli::InflateWithZlib(source);
    QVERIFY(Drain(*zlib).first == data.toStdString());
}

void TestWorkbookReading::refusesDeflateThatIsNone() {
    const std::string compressed =
        Deflated(std::string(50000, 'x') + "tail", 9, Z_DEFAULT_STRATEGY);
    bool failed = false;
    Inflated(compressed.substr(0, compressed.size() / 2), failed);
    QVERIFY2(failed, "a stream cut short");
    Inflated("\x07", failed); // block type 3
    QVERIFY2(failed, "a block of no type");
    // A fixed block that copies from before its first byte: length 3, distance 1.
    Inflated(std::string("\x03\x02", 2), failed);
    QVERIFY2(failed, "a copy before the first byte");
    Inflated(std::string("\x01\x05\x00\xFB\xFF", 5) + "12345", failed); // stored, NLEN wrong
    QVERIFY2(failed, "a stored block whose length does not match its complement");
}

// An entry is found and read whole from every layout a spreadsheet or zip tool writes, and
// one whose bytes do not match its checksum or size fails.
void TestWorkbookReading::readsEntriesOfEveryLayout() {
    const std::string data = "<sst>" + std::string(5000, 'y') + "</sst>";
    for (const bool descriptor : {false, true}) {
        for (const bool zip64 : {false, true}) {
            const std::string bytes = Archive("xl/sharedStrings.xml", data, descriptor, zip64);
            msr::batch::MemoryBytes memory(bytes);
            std::string why;
            const auto archive = msr::batch::ZipArchive::Open(memory, why);
            QVERIFY2(archive, why.c_str());
            const msr::batch::ArchiveEntry* entry = archive->find("xl/sharedStrings.xml");
            QVERIFY(entry);
            QCOMPARE(entry->size, data.size());
            std::string text;
            QVERIFY(
                ReadSmallEntry(*archive, *entry, msr::batch::InflatePortably, 1 << 20, text, why));
            QVERIFY(text == data);
        }
    }
    std::string forged = Archive("a.xml", data, false, false);
    const std::size_t central = forged.find("PK\x01\x02");
    forged[central + 24] = 100; // says 100 bytes; inflates to more
    forged[central + 25] = 0;
    msr::batch::MemoryBytes memory(forged);
    std::string why;
    const auto archive = msr::batch::ZipArchive::Open(memory, why);
    QVERIFY(archive);
    const auto stream = archive->open(archive->entries().front(), msr::batch::InflatePortably, why);
    QVERIFY(stream);
    const auto [read, failed] = Drain(*stream);
    QVERIFY(failed);
    QVERIFY2(read.size() <= 1000, "read on beyond the size it says");
}

void TestWorkbookReading::scansXmlAsItStreams_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("events");
    const auto row = [](const char* name, const char* xml, const char* events) {
        QTest::newRow(name) << QByteArray(xml) << QString::fromUtf8(events);
    };
    row("elements, text, an empty element", "<a><b v='1'>x</b><c/></a>", "<a<b[1]\"x\"</b<c</c</a");
    row("prefixes dropped, declarations, comments, instructions passed over",
        "<?xml version=\"1.0\"?><!DOCTYPE a [<!ENTITY e \"x\">]><!-- <b> --><p:a><?pi x?>"
        "<![CDATA[<b>&amp;]]></p:a>",
        "<a\"<b>&amp;\"</a");
    row("entities and references; a bare & stays",
        "<a v=\"&lt;&#x41;&#66;\">&amp;&quot; & &x; "
        "&#0;</a>",
        "<a[<AB]\"&\" & &x; \xEF\xBF\xBD\"</a");
    row("a '>' inside a quoted attribute", "<a v=\"1>2\"/>", "<a[1>2]</a");
    row("line ends as XML reads them", "<a>1\r\n2\r3</a>", "<a\"1\n2\n3\"</a");
    row("text outside every element passed over", "  <a/>\n", "<a</a");
    row("an end tag of another element", "<a><b></a></b>", "<a<b!");
    row("the part ends inside an element", "<a><b>text", "<a<b\"text\"!");
    row("a tag that never closes", "<a><b v=\"1\"", "<a!");
    row("an end tag without its start", "</a>", "!");
}

// The same events whether the part arrives whole or a byte at a time, and end tags matched
// to their start.
void TestWorkbookReading::scansXmlAsItStreams() {
    QFETCH(QByteArray, xml);
    QFETCH(QString, events);
    msr::batch::XmlScanner whole(std::string_view(xml.constData(), xml.size()));
    QCOMPARE(QString::fromStdString(Events(whole)), events);
    Trickle trickle(xml.toStdString(), 1);
    msr::batch::XmlScanner streamed(trickle);
    QCOMPARE(QString::fromStdString(Events(streamed)), events);
}

void TestWorkbookReading::showsNumbersAsTheirFormatSays_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("date1904");
    QTest::addColumn<QString>("shown");
    const auto row = [](const char* stored, const char* code, const char* shown,
                        bool date1904 = false) {
        QTest::addRow("%s as %s", stored, code) << stored << code << date1904 << shown;
    };
    row("3.0", "General", "3");
    row("5.2E1", "General", "52");
    row("52.5", "General", "52.5");
    row("1E-3", "General", "0.001");
    row("0.30000000000000004", "General", "0.3");
    row("123456789012345678", "General", "1.23456789012346E+17");
    row("-0.0", "General", "0");
    row("52.5", "0.00", "52.50");
    row("52.555", "#,##0.00", "52.56");
    row("0.255", "0%", "26%");
    row("45296", "DD.MM.YYYY", "05.01.2024");
    row("45296", "[$-407]d/ m/ yy;@", "05.01.2024");
    row("45296.5", "dd.mm.yyyy hh:mm", "05.01.2024 12:00:00");
    row("0.75", "hh:mm:ss", "18:00:00");
    row("1", "DD.MM.YYYY", "31.12.1899");
    row("0", "DD.MM.YYYY", "01.01.1904", true);
    row("45296", "\"Tag \"0", "45296");
    row("75", "@", "75");
    row("abc", "0.00", "abc");
}

// An .xlsx stores a number and a format; the cell shows what a spreadsheet shows.
void TestWorkbookReading::showsNumbersAsTheirFormatSays() {
    QFETCH(QString, stored);
    QFETCH(QString, code);
    QFETCH(bool, date1904);
    QFETCH(QString, shown);
    const msr::batch::NumberFormat format = msr::batch::FormatOfCode(code.toStdString());
    QCOMPARE(
        QString::fromStdString(msr::batch::ShownNumber(stored.toStdString(), format, date1904)),
        shown);
}

// The formats every .xlsx knows by number alone, as Excel and LibreOffice write them.
void TestWorkbookReading::knowsTheBuiltInFormats() {
    const auto shown = [](std::uint32_t id, const char* stored) {
        return QString::fromStdString(
            msr::batch::ShownNumber(stored, msr::batch::BuiltInFormat(id), false));
    };
    QCOMPARE(shown(0, "3.0"), QString("3"));
    QCOMPARE(shown(2, "52.5"), QString("52.50"));
    QCOMPARE(shown(10, "0.125"), QString("12.50%"));
    QCOMPARE(shown(14, "45296"), QString("05.01.2024"));
    QCOMPARE(shown(20, "0.5"), QString("12:00:00"));
    QCOMPARE(shown(22, "45296.25"), QString("05.01.2024 06:00:00"));
    QCOMPARE(shown(49, "75"), QString("75"));
}

// Every byte of Windows-1252's upper half as the C library's table reads it; the five it
// leaves free stay C1 controls, as Windows converts them.
void TestWorkbookReading::readsWindows1252AsTheCLibraryDoes() {
    iconv_t reference = iconv_open("UTF-8", "WINDOWS-1252");
    QVERIFY(reference != reinterpret_cast<iconv_t>(-1));
    // Not valid UTF-8 anywhere, so the sheet is read as Windows-1252.
    std::string sheet;
    for (int byte = 0x80; byte <= 0xFF; ++byte)
        sheet += static_cast<char>(byte);
    std::istringstream in(sheet);
    msr::batch::SheetInput input(in);
    std::istream decoded(&input);
    std::string read((std::istreambuf_iterator<char>(decoded)), std::istreambuf_iterator<char>());
    QCOMPARE(input.encoding(), msr::batch::SheetEncoding::Windows1252);
    std::string expected;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        char from = static_cast<char>(byte);
        char* in = &from;
        std::size_t inLeft = 1;
        char out[8];
        char* to = out;
        std::size_t outLeft = sizeof out;
        if (iconv(reference, &in, &inLeft, &to, &outLeft) == static_cast<std::size_t>(-1)) {
            // unassigned in the C library's table: the C1 control of that number
            expected += static_cast<char>(0xC2);
            expected += static_cast<char>(byte);
        } else {
            expected.append(out, static_cast<std::size_t>(to - out));
        }
    }
    iconv_close(reference);
    QVERIFY2(read == expected, "a byte of 0x80..0xFF is read as another character");
}

QTEST_APPLESS_MAIN(TestWorkbookReading)
#include "test_workbook_reading.moc"

#include "tests/core_check/core_check.h"

#include "evaluation/document/report_document.h"

using msr::CharAttributes;
using msr::ReportDocument;

namespace {

CHECK_TEST(firstBodyAfterClearingStartsFromTheDefaults) {
    ReportDocument document;
    CHECK_EQ(document.currentAttributes().face, std::string("MS Sans Serif"));
    CHECK_EQ(document.currentAttributes().points(), 8);
    document.appendBody("Text");
    const CharAttributes& a = document.paragraphs().at(0).attributes;
    CHECK_EQ(a.face, std::string("Arial"));
    CHECK_EQ(a.twentiethsOfPoint, 240);
    CHECK(!a.bold && !a.italic && !a.underline && !a.strikeout);
    CHECK(!a.rgb.has_value());
}

CHECK_TEST(boldAndRedAreNeverTakenAway) {
    ReportDocument document;
    document.appendHeading("Überschrift");
    document.appendBody("nach der Überschrift");
    document.appendWarning("Warnung");
    document.appendHeading("nach der Warnung");
    document.appendBody("am Ende");
    const auto& p = document.paragraphs();
    CHECK_EQ(p.size(), std::size_t(5));
    CHECK(p[0].attributes.bold && !p[0].attributes.rgb);
    CHECK(p[1].attributes.bold && !p[1].attributes.rgb);
    CHECK(p[1].kind == msr::ParagraphKind::Body);
    for (std::size_t i = 2; i < p.size(); ++i) {
        CHECK_ROW(p[i].text);
        CHECK(p[i].attributes.bold);
        CHECK_EQ(p[i].attributes.rgb.value_or(0), msr::kWarningRed);
    }
}

CHECK_TEST(clearingForgetsEveryAttribute) {
    ReportDocument document;
    document.appendWarning("rot");
    document.returnToStart();
    document.clear();
    CHECK(document.paragraphs().empty());
    CHECK_EQ(document.length(), std::size_t(0));
    CHECK(document.currentAttributes() == CharAttributes{});
    document.appendBody("wieder");
    CHECK(!document.paragraphs()[0].attributes.bold);
    CHECK(!document.paragraphs()[0].attributes.rgb);
}

CHECK_TEST(emptyTextIsABlankLineWithAttributes) {
    ReportDocument document;
    document.appendHeading("");
    CHECK_EQ(document.paragraphs().size(), std::size_t(1));
    CHECK_EQ(document.paragraphs()[0].text, std::string());
    CHECK(document.paragraphs()[0].attributes.bold);
    CHECK_EQ(document.plainText(), std::string("\r\n"));
}

struct ResolutionRow {
    const char* name;
    int dpi;
    int twentieths;
};

const ResolutionRow kResolutions[] = {
    {"96 dpi", 96, 240},   {"120 dpi", 120, 200},         {"144 dpi", 144, 160},
    {"72 dpi", 72, 320},   {"halves round up", 128, 180}, // 9 points exactly
    {"100 dpi", 100, 240},                                // 11.52 points
};

CHECK_TEST(sizeFollowsTheScreenResolution) {
    for (const ResolutionRow& row : kResolutions) {
        CHECK_ROW(row.name);
        ReportDocument document(row.dpi);
        document.appendBody("a");
        document.appendHeading("b");
        document.appendWarning("c");
        for (const msr::Paragraph& p : document.paragraphs())
            CHECK_EQ(p.attributes.twentiethsOfPoint, row.twentieths);
    }
}

CHECK_TEST(countsEveryLineEndAsTwoCharacters) {
    ReportDocument document;
    document.appendBody("abc");
    document.appendBody("");
    CHECK_EQ(document.length(), std::size_t(7));
    CHECK_EQ(document.insertionPoint(), std::size_t(7));
    document.returnToStart();
    CHECK_EQ(document.insertionPoint(), std::size_t(0));
    CHECK_EQ(document.plainText(), std::string("abc\r\n\r\n"));
}

CHECK_TEST(refusesALineBeyondItsCapacity) {
    ReportDocument document(96, 10);
    document.appendBody("123456"); // 8 characters with its line end
    std::string refusal = "accepted";
    try {
        document.appendWarning("12");
    } catch (const msr::ReportDocumentFull& e) {
        refusal = e.what();
    }
    CHECK_EQ(refusal, std::string("Fehler bei Einfügen von RichEdit-Zeile"));
    // The paragraphs appended until then stay; the failed line left nothing behind.
    CHECK_EQ(document.paragraphs().size(), std::size_t(1));
    CHECK_EQ(document.length(), std::size_t(8));
    document.appendBody(""); // exactly fills the capacity
    CHECK_EQ(document.length(), std::size_t(10));
}

} // namespace

CHECK_MAIN()

#include "printed_words.h"

#include "report/page_bands.h"

#include <QRegularExpression>

#include <algorithm>

namespace msr::test {
namespace {

QString SortedLetters(QString text) {
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    std::sort(text.begin(), text.end());
    return text;
}

} // namespace

QString ExpectedLetters(const msr::ReportDocument& document, int pageCount) {
    QString all;
    for (const msr::Paragraph& paragraph : document.paragraphs())
        all += QString::fromStdString(paragraph.text);
    for (int page = 1; page <= pageCount; ++page)
        all += QString::fromUtf8(msr::report::kReportTitle) + msr::report::PageNumberText(page);
    all += QString::fromUtf8(msr::report::kFirstCaption) +
           QString::fromUtf8(msr::report::kSecondCaption);
    return SortedLetters(all);
}

QString PrintedLetters(const std::vector<PdfPage>& pages) {
    QString all;
    for (const PdfPage& page : pages)
        all += page.texts().join(QString());
    return SortedLetters(all);
}

QStringList WordsOutside(const PdfPage& page, const QRectF& area) {
    QStringList outside;
    for (const PdfWord& word : page.words)
        if (!area.contains(word.box))
            outside << word.text;
    return outside;
}

} // namespace msr::test

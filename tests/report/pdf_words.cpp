#include "pdf_words.h"

#include <QProcess>
#include <QStandardPaths>
#include <QXmlStreamReader>

namespace msr::test {
namespace {

double PointsToMm(double points) {
    return points * 25.4 / 72.0;
}

double MmAttribute(const QXmlStreamAttributes& attributes, const char* name) {
    return PointsToMm(attributes.value(QLatin1String(name)).toDouble());
}

} // namespace

QStringList PdfPage::texts() const {
    QStringList result;
    for (const PdfWord& word : words)
        result << word.text;
    return result;
}

const PdfWord* PdfPage::find(const QString& text) const {
    for (const PdfWord& word : words)
        if (word.text == text)
            return &word;
    return nullptr;
}

bool HavePdfToText() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

std::vector<PdfPage> ReadPdfWords(const QString& fileName) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-bbox"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                   fileName, QStringLiteral("-")});
    process.waitForFinished(30000);
    QXmlStreamReader xml(process.readAllStandardOutput());
    std::vector<PdfPage> pages;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.name() == QLatin1String("page")) {
            pages.push_back(
                {MmAttribute(attributes, "width"), MmAttribute(attributes, "height"), {}});
        } else if (xml.name() == QLatin1String("word") && !pages.empty()) {
            const QPointF topLeft(MmAttribute(attributes, "xMin"), MmAttribute(attributes, "yMin"));
            const QPointF bottomRight(MmAttribute(attributes, "xMax"),
                                      MmAttribute(attributes, "yMax"));
            pages.back().words.push_back({xml.readElementText(), QRectF(topLeft, bottomRight)});
        }
    }
    return pages;
}

} // namespace msr::test

#pragma once

#include <QRectF>
#include <QString>
#include <QStringList>

#include <vector>

namespace msr::test {

// A word of a PDF page as poppler extracts it, its box in millimetres from the page's
// top-left corner.
struct PdfWord {
    QString text;
    QRectF box;
};

struct PdfPage {
    double widthMm = 0;
    double heightMm = 0;
    std::vector<PdfWord> words;

    QStringList texts() const;
    // The first word with this text, or nullptr.
    const PdfWord* find(const QString& text) const;
};

// Whether pdftotext (poppler-utils) is installed.
bool HavePdfToText();
// The words of every page of the file, from `pdftotext -bbox`.
std::vector<PdfPage> ReadPdfWords(const QString& fileName);

} // namespace msr::test

#pragma once

#include "pdf_words.h"

#include "evaluation/document/report_document.h"

#include <QString>

#include <vector>

namespace msr::test {

// Every character that the printed report must show, in a fixed order: the words of
// the document, of each page's header and footer ("Auswertung Seite N") and the first
// page's caption. Comparing characters, not words, allows a line to break inside a
// word (after a slash).
QString ExpectedLetters(const msr::ReportDocument& document, int pageCount);
// The same of what a PDF shows.
QString PrintedLetters(const std::vector<PdfPage>& pages);

// Words of a page that reach beyond the rectangle (mm from the paper's corner).
QStringList WordsOutside(const PdfPage& page, const QRectF& area);

} // namespace msr::test

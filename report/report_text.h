#pragma once

#include "evaluation/document/report_document.h"

#include <QTextCharFormat>

class QTextDocument;

namespace msr::report {

// The character format of a paragraph: face, size, style and colour as the report
// document holds them. Automatic colour sets no foreground, so the painter's text
// colour applies.
QTextCharFormat ToCharFormat(const msr::CharAttributes& attributes);

// Replaces the content of target by the report document: one block per paragraph, in
// order, each with its own attributes. Empty paragraphs keep their height as blank
// lines, so the text flows exactly as the document reads.
void FillTextDocument(const msr::ReportDocument& source, QTextDocument& target);

} // namespace msr::report

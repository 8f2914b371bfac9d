#pragma once

#include "evaluation/document/report_document.h"
#include "tests/samples/sample_answers.h"

namespace msr::test {

msr::ReportDocument EvaluatedDocument(const msr::Answers& answers);

// A heading and three body paragraphs: far less than a page.
msr::ReportDocument ShortDocument();
// The given number of numbered body paragraphs, each long enough to wrap.
msr::ReportDocument LongDocument(int paragraphs);
// The same with the given number of empty paragraphs after each, as the report's
// sections have: page breaks fall on empty lines too.
msr::ReportDocument SpacedDocument(int paragraphs, int emptyAfterEach);

} // namespace msr::test

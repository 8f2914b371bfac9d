#pragma once

#include "evaluation/answers.h"
#include "evaluation/report_document.h"

namespace msr::test {

// The three answers "Auswerten" insists on, and nothing else.
msr::Answers MandatoryAnswers();
// Every question answered, so every section has findings.
msr::Answers AllFeaturesAnswers();
msr::ReportDocument EvaluatedDocument(const msr::Answers& answers);

// A heading and three body paragraphs: far less than a page.
msr::ReportDocument ShortDocument();
// The given number of numbered body paragraphs, each long enough to wrap.
msr::ReportDocument LongDocument(int paragraphs);

} // namespace msr::test

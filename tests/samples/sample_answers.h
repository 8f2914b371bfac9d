#pragma once

#include "evaluation/answers/answers.h"

// Answer sets shared by the tests and the benchmarks.
namespace msr::test {

// The three answers "Auswerten" insists on, and nothing else.
msr::Answers MandatoryAnswers();
// Every question answered, so every section has findings.
msr::Answers AllFeaturesAnswers();

} // namespace msr::test

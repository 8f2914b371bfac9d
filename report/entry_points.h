#pragma once

#include "evaluation/answers/answers.h"

#include <functional>
#include <string>

// The argument-free entry points the program's people know. They work on the report
// document of the global report window Form8 and read the answers through the source
// that start-up installs (the dialogs); tests install a value of their own.

void SetAnswersSource(std::function<msr::Answers()> source);

// Appends the whole evaluation of the current answers to Form8's document.
void BuildEvaluationReport();

void AppendBodyParagraph(const std::string& text);
void AppendHeadingParagraph(const std::string& text);
void AppendWarningParagraph(const std::string& text);

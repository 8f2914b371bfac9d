#pragma once

#include "evaluation/figures_record.h"
#include "evaluation/report_document.h"

#include <string>
#include <string_view>

namespace msr::cli {

// The standard error report's rule: a full stop is added when the message is not empty
// and its last character lies above the full stop in the character table.
std::string WithFullStop(std::string message);

// Every paragraph's text followed by a newline.
void AppendText(const ReportDocument& document, std::string& out);

// {"paragraphs":[{"kind":..,"text":..,"face":..,"points":..,"bold":..,"italic":..,
// "underline":..,"strikeout":..,"color":"auto"|"#rrggbb"}]} on one line, no newline.
void AppendJson(const ReportDocument& document, std::string& out);

// The same with the figures of the final calculation beside the paragraphs:
// {"paragraphs":[...],"figures":{"perSquareMetre":{..},"livingArea":..,"total":{..}}}.
void AppendJson(const ReportDocument& document, const FinalFigureTexts& figures,
                const std::string& decimalSeparator, std::string& out);

// {"error":"<message>"} on one line, no newline.
void AppendErrorJson(std::string_view message, std::string& out);

// The text as a JSON string literal, quotes included.
void AppendJsonString(std::string_view text, std::string& out);

} // namespace msr::cli

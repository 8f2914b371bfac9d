#pragma once

#include "evaluation/report_document.h"

#include <string>
#include <string_view>

namespace msr::cli {

// Every paragraph's text followed by a newline.
void AppendText(const ReportDocument& document, std::string& out);

// {"paragraphs":[{"kind":..,"text":..,"face":..,"points":..,"bold":..,"italic":..,
// "underline":..,"strikeout":..,"color":"auto"|"#rrggbb"}]} on one line, no newline.
void AppendJson(const ReportDocument& document, std::string& out);

// {"error":"<message>"} on one line, no newline.
void AppendErrorJson(std::string_view message, std::string& out);

// The text as a JSON string literal, quotes included.
void AppendJsonString(std::string_view text, std::string& out);

} // namespace msr::cli

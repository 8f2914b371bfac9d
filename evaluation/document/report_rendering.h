#pragma once

#include "evaluation/document/report_document.h"

#include <string>
#include <string_view>

// The report document as the evaluators without a window give it out (the command line,
// the web page's WebAssembly module), so that both write the same bytes. Each adds to a string
// the caller keeps, which spares a batch of evaluations an allocation each.
namespace msr {

// Every paragraph's text followed by a newline.
void AppendReportText(const ReportDocument& document, std::string& out);

// {"paragraphs":[{"kind":..,"text":..,"face":..,"points":..,"bold":..,"italic":..,
// "underline":..,"strikeout":..,"color":"auto"|"#rrggbb"}]} on one line, no newline.
void AppendReportJson(const ReportDocument& document, std::string& out);

// "paragraphs":[...], the member of the objects above, for an object with more members.
void AppendParagraphsMember(const ReportDocument& document, std::string& out);

// {"error":"<message>"} on one line, no newline.
void AppendErrorJson(std::string_view message, std::string& out);

// The text as a JSON string literal, quotes included.
void AppendJsonString(std::string_view text, std::string& out);

} // namespace msr

#include "evaluation/document/report_document.h"

#include <cmath>

namespace msr {
namespace {

constexpr const char* kReportFace = "Arial";
constexpr int kBodyPixelHeight = 16;
constexpr std::size_t kLineEndLength = 2; // CR LF

} // namespace

ReportDocument::ReportDocument(int verticalDpi, std::size_t capacity)
    : capacity_(capacity), bodyTwentieths_(twentiethsForSixteenPixels(verticalDpi)) {}

int ReportDocument::twentiethsForSixteenPixels(int verticalDpi) {
    if (verticalDpi <= 0)
        verticalDpi = 96;
    const double points = std::round(kBodyPixelHeight * 72.0 / verticalDpi);
    return static_cast<int>(points) * 20;
}

void ReportDocument::clear() {
    paragraphs_.clear();
    current_ = CharAttributes{};
    length_ = 0;
    insertionPoint_ = 0;
}

void ReportDocument::appendBody(std::string_view text) {
    append(ParagraphKind::Body, text);
}

void ReportDocument::appendHeading(std::string_view text) {
    append(ParagraphKind::Heading, text);
}

void ReportDocument::appendWarning(std::string_view text) {
    append(ParagraphKind::Warning, text);
}

void ReportDocument::append(ParagraphKind kind, std::string_view text) {
    if (current_.face != kReportFace)
        current_.face = kReportFace;
    current_.twentiethsOfPoint = bodyTwentieths_;
    if (kind != ParagraphKind::Body)
        current_.bold = true;
    if (kind == ParagraphKind::Warning)
        current_.rgb = kWarningRed;

    const std::size_t added = text.size() + kLineEndLength;
    if (length_ > capacity_ || added > capacity_ - length_)
        throw ReportDocumentFull();
    paragraphs_.push_back(Paragraph{kind, std::string(text), current_});
    length_ += added;
    insertionPoint_ = length_;
}

std::string ReportDocument::plainText() const {
    std::string text;
    text.reserve(length_);
    for (const Paragraph& paragraph : paragraphs_) {
        text += paragraph.text;
        text += "\r\n";
    }
    return text;
}

} // namespace msr

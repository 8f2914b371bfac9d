#pragma once

// The report definition: an A4 portrait page with a page header, the title band that
// holds the evaluation text and a page footer. Lengths are millimetres from the
// paper's top-left corner unless a name says otherwise.

namespace msr::report {

// The pages are laid out in units of 1/720 inch: fine enough for placing items to a
// hundredth of a millimetre, and a whole number of units per point, so every font
// size of the report is exact.
inline constexpr double kLayoutDpi = 720.0;
inline constexpr double kUnitsPerPoint = kLayoutDpi / 72.0;

constexpr double FromMm(double mm) {
    return mm * kLayoutDpi / 25.4;
}
constexpr double ToMm(double units) {
    return units * 25.4 / kLayoutDpi;
}

namespace page {

inline constexpr double kPaperWidth = 210.0;
inline constexpr double kPaperHeight = 297.0;
inline constexpr double kMargin = 10.0;
inline constexpr double kPrintableWidth = kPaperWidth - 2 * kMargin;

// Page header band, printed on every page.
inline constexpr double kHeaderTop = kMargin;
inline constexpr double kHeaderHeight = 15.61;
inline constexpr double kHeaderBottom = kHeaderTop + kHeaderHeight;

// Title band: the document item and, on the first page, the two caption labels.
inline constexpr double kTitleBandTop = kHeaderBottom;
inline constexpr double kDocumentLeft = kMargin + 33.87;
inline constexpr double kDocumentTop = kTitleBandTop + 10.58;
inline constexpr double kDocumentWidth = 150.55;

// Page footer band, at the foot of every page.
inline constexpr double kFooterHeight = 14.82;
inline constexpr double kFooterTop = kPaperHeight - kMargin - kFooterHeight;

// The text may run down to just above the footer's rule; a little air keeps the
// descenders of the last line off it. Continuation pages start their text where the
// first page does, so every page reads the same.
inline constexpr double kTextBottom = kFooterTop - 1.0;
inline constexpr double kTextHeightPerPage = kTextBottom - kDocumentTop;

// The header and footer rules: a fine black line, as thin as one screen pixel.
inline constexpr double kRuleWidth = 0.26;

struct Box {
    double left;
    double top;
    double width;
    double height;
};

// Items of the bands, placed on the paper.
inline constexpr Box kHeaderPicture{kMargin + 1.59, kHeaderTop + 1.59, 25.66, 11.38};
inline constexpr Box kFooterPicture{kMargin + 1.59, kFooterTop + 1.85, 26.19, 12.70};
inline constexpr double kTitleLabelLeft = kMargin + 33.87;
inline constexpr double kTitleLabelTop = kHeaderTop + 6.35;
inline constexpr double kCaptionLeft = kMargin + 1.59;
inline constexpr double kFirstCaptionTop = kTitleBandTop + 123.83;
inline constexpr double kSecondCaptionTop = kTitleBandTop + 129.12;
// The page-number field is right-aligned: its right edge stays put as the number grows.
inline constexpr double kPageNumberRight = kMargin + 191.56;
inline constexpr double kPageNumberTop = kFooterTop + 7.14;

// Font sizes of the band labels, in points.
inline constexpr int kTitlePoints = 13;
inline constexpr int kCaptionPoints = 11;
inline constexpr int kPageNumberPoints = 12;

} // namespace page
} // namespace msr::report

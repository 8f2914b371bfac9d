#pragma once

#include <string>

namespace msr::report {

// The information dialog's text: 23 paragraphs.
inline constexpr int kInfoParagraphCount = 23;

// Paragraph number (from 1) as UTF-8.
std::string InfoParagraph(int number);

// Paragraphs 10 to 16 (the bodies that made the rent index, and an empty line) carry
// a bullet.
inline constexpr int kFirstBulletedParagraph = 10;
inline constexpr int kLastBulletedParagraph = 16;

// How far right of its bullet a bulleted paragraph's text starts, in points.
inline constexpr double kBulletOffsetPoints = 10.0;

} // namespace msr::report

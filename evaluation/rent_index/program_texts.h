#pragma once

#include <string>

// The program's texts outside the report: the information dialog's text and the reset's
// question with its answers. The desktop's dialogs and the web page both show them from
// here.
namespace msr {

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

// "Werte zurücksetzen" asks this first; only "Ja" resets.
inline constexpr const char* kResetQuestion =
    "Wollen Sie wirklich alle Daten zurücksetzen? Ihre bisherigen Eingaben gehen dann "
    "verloren.";
inline constexpr const char* kAnswerYes = "Ja";
inline constexpr const char* kAnswerNo = "Nein";

} // namespace msr

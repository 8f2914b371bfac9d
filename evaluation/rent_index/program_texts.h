#pragma once

// The program's texts outside the report: the reset's question with its answers. The
// desktop's dialogs and the web page both show them from here; the information text is
// the edition's (edition.h).
namespace msr {

// How far right of its bullet a bulleted paragraph's text starts, in points.
inline constexpr double kBulletOffsetPoints = 10.0;

// "Werte zurücksetzen" asks this first; only "Ja" resets.
inline constexpr const char* kResetQuestion =
    "Wollen Sie wirklich alle Daten zurücksetzen? Ihre bisherigen Eingaben gehen dann "
    "verloren.";
inline constexpr const char* kAnswerYes = "Ja";
inline constexpr const char* kAnswerNo = "Nein";

} // namespace msr

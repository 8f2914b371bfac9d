#pragma once

#include <QString>

class QPainter;

namespace msr::report {

inline constexpr const char* kReportTitle = "Mietspiegelrechner - KWL Hausgilde Varlstadt e. V.";
inline constexpr const char* kFirstCaption = "Auswertung";
inline constexpr const char* kSecondCaption = "Ihrer Angaben:";
inline constexpr const char* kPageNumberPrefix = "Auswertung Seite ";

// "Auswertung Seite " and the page number, counted from 1.
QString PageNumberText(int pageNumber);

// Paints what surrounds the text: the page header with picture, title and rule, the
// page footer with rule, picture and page number, and on the first page the caption
// beside the text. The painter works in layout units from the paper's corner.
void PaintPageBands(QPainter& painter, int pageNumber);

} // namespace msr::report

#pragma once

#include <QImage>

class QPainter;

namespace msr::report {

// The association's artwork, drawn by the program rather than shipped as files.
enum class Artwork {
    Header,     // a house beside the letters "KWL": the page header
    Footer,     // the letters "KWL" sheltered by a roof: the page footer
    Information // the header's house and letters on a card: the information dialog
};

// Every picture is 92 x 45 pixels.
inline constexpr int kArtworkWidth = 92;
inline constexpr int kArtworkHeight = 45;

// Draws the artwork in a 92 x 45 coordinate system whose origin is the painter's;
// the letters are outlines, so a PDF carries no stray text in its pictures.
void PaintArtwork(QPainter& painter, Artwork artwork);

// The artwork as a 92 x 45 picture of at most 256 colours.
QImage ArtworkPicture(Artwork artwork);

} // namespace msr::report

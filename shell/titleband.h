// The chapter title band across the top of the window: a teal band naming
// the chapter on display, its letters running from pale yellow to white.
// It carries the print and close buttons at its right end.
//
// tito_Paint draws the title on any canvas the size of the band: the band
// control of the window paints itself through it. The print handler draws
// the band straight onto the page with paintTitleBand, as a box and text.
#pragma once

#include "toolkit/canvas.h"

#include <QColor>
#include <QRectF>
#include <QString>

#include <cstdint>

namespace abrevel {

// The band's size in pixels (its design size: 11685 × 615 twips) and colour.
inline constexpr int TitleBandWidth = 779;
inline constexpr int TitleBandHeight = 41;
QColor titleBandColor(); // RGB(0, 128, 128)

// The title of a chapter; any number outside 1 to 19 has the default title.
QString chapterTitle(int chapter);

// Paints the band: clears it to the band colour, then prints the chapter's
// title one character at a time, 30 pixels from the left edge, vertically
// centred on the band's height and raised by 2 pixels, in bold Arial of
// 16 points for chapter 6 (the longest title) and 18 points otherwise. The
// i-th of L characters is drawn in RGB(255, 255, c), c = i / L × 100 + 155
// rounded halves to even.
void tito_Paint(Canvas &band, std::int16_t chapter);

// The same band drawn on a page: a box of the band colour over the given
// rectangle and the title in it, its offsets (30 and 2 band pixels) times
// s target pixels, its font sizes in points as on the window.
void paintTitleBand(Canvas &paper, std::int16_t chapter, const QRectF &band, double s);

} // namespace abrevel

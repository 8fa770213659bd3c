// The eight small primitives that page drawers call for headings, inline
// runs (bold, italic, exponents, indices, Symbol-font glyphs, vectors) and
// colour gradients. Each draws on the page's target at the current position.
//
// PrintHeading, PrintBold, PrintItalic and PrintSymbol skip any failing
// step and carry on. PrintSuperscript, PrintSubscript, PrintVector and
// DrawGradient stop at their first error and hand it to the calling drawer,
// whose own error rule then applies (Page::step): the rest of the primitive
// is left undone, for example the position or the font size not restored.
#pragma once

#include "toolkit/page.h"

#include <QString>

namespace abrevel {

// Refreshes AppFolder; sets Arial 14 bold, not italic, not underlined,
// black; prints the text and ends the line. The heading style stays in force.
void PrintHeading(Page &p, const QString &text);

// Prints the text 3 × scale higher in 8 points without ending the line, then
// restores the line's Y and the font size (as a rounded whole number).
void PrintSuperscript(Page &p, const QString &text);
// The same, 5 × scale lower.
void PrintSubscript(Page &p, const QString &text);

// Turns bold (italic) on, prints the text without ending the line, and turns
// it off again, whatever it was before.
void PrintBold(Page &p, const QString &text);
void PrintItalic(Page &p, const QString &text);

// Prints Symbol-font characters without ending the line, lowered or raised
// so that the bottoms of the two fonts' text cells coincide, then restores
// the Y position and the font name (size, bold and italic are kept).
void PrintSymbol(Page &p, const QString &text);

// Prints the text without ending the line and draws a right-pointing arrow
// over it, one scale unit beyond it on each side and above its cell.
void PrintVector(Page &p, const QString &text);

// One horizontal line per Y from y1 to y2 between x1 and x2, its colour
// running linearly from (r1, g1, b1) to (r2, g2, b2), with a 1-pixel pen;
// DrawWidth comes back afterwards. y1 = y2 divides zero by zero: an error
// before anything is drawn. The arguments are stored as 16-bit integers.
void DrawGradient(Page &p, double x1, double y1, double x2, double y2, int r1, int g1, int b1,
                  int r2, int g2, int b2);

} // namespace abrevel

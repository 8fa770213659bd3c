// The layout devices every screen is composed of: screen start, blank lines
// and gaps, bullets, inline formulas, centred text, pictures, arrowheads,
// tinted panels and circles. A drawer reads top to bottom as its screen is
// described; the devices carry what recurs.
//
// Notation shared by the drawers: W = target width (ScaleWidth), s = drawing
// scale, M = left margin W / 20, Y0 = running line position on entry,
// TW/TH = text width/height in the current font, L = TH("W").
//
// Every device that can fail runs its statements through Page::step, so it
// follows the error rule of the drawer that calls it.
#pragma once

#include "toolkit/page.h"
#include "toolkit/primitives.h"

#include <QColor>
#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

namespace abrevel {

// ----- Measures -------------------------------------------------------------
double W(const Page &p);                       // target width
double M(const Page &p);                       // left margin, W / 20
double L(const Page &p);                       // TH("W") in the current font
double TW(const Page &p, const QString &text); // TextWidth
double TH(const Page &p, const QString &text); // TextHeight
std::int16_t I16(double value);                // a 16-bit local (toInt16)

// ----- Screen start, spacing, screen end -------------------------------------
// CurrentX = M, CurrentY = Y0, then the heading (which ends its line).
void ScreenStart(Page &p, const QString &heading);
// Two headings on one line: the left at M, the right at W / 2.
void HeadingsSideBySide(Page &p, const QString &left, const QString &right);
// Arial 10, not bold: the body font.
void BodyFont(Page &p);
// n empty Prints in the current font.
void BlankLines(Page &p, int n);
// A blank line printed only on paper (drawing scale other than 1).
void PrinterBlankLine(Page &p);
// CurrentY moves down by half a line of the current font.
void HalfLineGap(Page &p);
// The running line position takes CurrentY, so that the next screen of a
// printed chapter starts below this one.
void StoreLine(Page &p);

// ----- Text ------------------------------------------------------------------
enum class End { Line, Run }; // end the line after the text, or stay on it

// Prints a line of runs (see content/texts.h for the marks: *italic*,
// **bold**, ^{exp}, ^5{exp}, ^L{exp}, _{ind}, {S:sym}, {V:vec}) at the
// current position.
void PrintRich(Page &p, const QString &text, End end = End::Line);
// How high PrintExponent lifts its exponent above the line top.
enum class Raise {
  ThreeUnits,      // 3 × s: the exponent of a built fraction's denominator
  FiveUnits,       // 5 × s
  ThreeTenthsLine, // 0.3 × TH("W") measured in the exponent's 8 points
};
// An exponent in 8 points, raised above the line whose top is lineTop and
// printed without ending the line (runs marked as for PrintRich, so that a
// letter exponent is *italic*). The font then returns to size 10 and the
// position to lineTop, X just after the exponent, so that the line goes on.
void PrintExponent(Page &p, double lineTop, const QString &exponent, Raise raise);
// Each line at CurrentX = x, ended.
void PrintLines(Page &p, double x, const QStringList &lines);
// A bulleted line at x: the bullet glyph, then the text. Text that starts
// with a space follows a bare "·" (its space is an Arial space); other text
// follows "· " (a Symbol-font space). Continuation lines go at x as well.
void PrintBullet(Page &p, double x, const QString &text, End end = End::Line);
// A bulleted paragraph: the first line with its bullet, the others at x.
void PrintBulletParagraph(Page &p, double x, const QStringList &lines);

// Centred text. The measuring template stands for the text when given.
void PrintCentredOnPage(Page &p, const QString &text, End end = End::Line,
                        const QString &measure = QString());
void PrintCentredOn(Page &p, double centre, const QString &text, End end = End::Line,
                    const QString &measure = QString());
void PrintCentredInBox(Page &p, double x1, double x2, const QString &text, End end = End::Line,
                       const QString &measure = QString());
// A built fraction over a rule of the given width from x at height yRule:
// the numerator on the line just above the rule, the denominator on the
// line just below, each centred on the rule (runs marked as for PrintRich),
// then the rule itself. The position is left at the rule's right end.
void PrintFraction(Page &p, double x, double yRule, double width, const QString &numerator,
                   const QString &denominator, const QColor &rule = QColor(0, 0, 0));

// ----- Tables --------------------------------------------------------------------
// The edges of a ruled table, left to right and top to bottom; the first and
// last of each are its frame, those between its rules.
struct TableGrid {
  std::vector<double> columns;
  std::vector<double> rows;
};
// A ruled table on a shadow, drawn before its cells' text so that the text
// lies on white: the shadow, a filled box in QBColor(7) 3 × s lower right;
// the body, a filled box in QBColor(15); the inner row rules whose edge
// indices are listed in lightRows, in QBColor(14); then in QBColor(9) the
// outline, the other inner row rules and the column rules.
void ShadowedTable(Page &p, const TableGrid &grid, const std::vector<int> &lightRows = {});
// Puts the position where a text measured by the template starts when it is
// centred in the cell of the given column and row (counted from 0).
void StartInCell(Page &p, const TableGrid &grid, int column, int row, const QString &measure);

// ----- Pictures ------------------------------------------------------------------
// The size (screen pixels) a layout reads after a load; empty when nothing
// could be read at all.
using PictureSize = QSize;

// Keyed picture, first half: loads the file (into Image1 first when
// measureInImage1), puts it in the image list and composes it in the buffer
// over the page background (the window's colour at scale 1, white on paper). Returns the image
// list's image size (the size of its place when the file cannot be loaded).
PictureSize PrepareKeyed(Page &p, const QString &file, bool measureInImage1 = true);
// Keyed picture, second half: paints the buffer at (x, y), natural size;
// nothing (an error) when no picture was composed in it.
void PaintKeyed(Page &p, double x, double y);
// Keyed picture centred on the page, its top at CurrentY: Image1's width
// places it, and CurrentY then moves down by the image list's height × s
// (its place's height when the picture could not be loaded). Returns its
// left edge.
std::int16_t KeyedPictureCentred(Page &p, const QString &file);

// Measured picture: loads the file into Image1 and returns its size.
PictureSize MeasurePicture(Page &p, const QString &file);
// Paints a fresh load of the file at (x, y), natural size.
void PaintFile(Page &p, const QString &file, double x, double y);
// Paints Image1's picture at (x, y), natural size, or stretched to w × h.
void PaintImage1(Page &p, double x, double y);
void PaintImage1(Page &p, double x, double y, double w, double h);

// Pre-scaled transparent picture, first half: loads the file into Image1
// scaled by s through the buffer; returns Image1's (already scaled) size.
// A file that cannot be loaded leaves the image list empty (nothing to
// draw), and Image1 and the image list with the size of its place, scaled.
PictureSize PrepareScaledTransparent(Page &p, const QString &file);
// Second half: draws Image1's picture transparently at (x, y).
void DrawScaledTransparent(Page &p, double x, double y);

// Releases every picture a drawer loaded; shrinks the buffer when it was used.
void PictureCleanUp(Page &p, bool bufferUsed);

// ----- Shapes --------------------------------------------------------------------
enum class Pointing { Down, Up, Right, Left };
// Two strokes 6 × s back from the tip and 3 × s to either side.
void ArrowHead(Page &p, double tipX, double tipY, Pointing dir, const QColor &color);
// A filled box in bright white, first layer of a tinted panel.
void WhiteBox(Page &p, double x1, double y1, double x2, double y2);
// Tints a panel already drawn: DrawGradient in mask pen over the rectangle,
// so that white takes the colours and black text stays black; copy pen after.
void TintPanel(Page &p, double x1, double y1, double x2, double y2, const QColor &top,
               const QColor &bottom);
// Tints a box already drawn with one colour: a filled box in mask pen over
// the rectangle, so that white takes the colour and black text stays black;
// copy pen after. Drawn after the text it lies under.
void Highlight(Page &p, double x1, double y1, double x2, double y2, const QColor &colour);
// A circle or ellipse filled with fill and outlined with outline.
void FilledCircle(Page &p, double cx, double cy, double r, const QColor &outline,
                  const QColor &fill, double aspect = 1.0);

} // namespace abrevel

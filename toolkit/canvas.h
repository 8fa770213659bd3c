// The drawing target: one surface that page drawers draw on, with the
// immediate-mode drawing model the sheets are written in (a current
// position, a current font and colours, Print, Line, Circle, PaintPicture).
//
// Canvas holds that model once; a backend only measures and paints:
//  - RasterCanvas paints into an image (the window's page, the printed page);
//  - RecordingCanvas logs every operation with fixed font metrics (tests).
// Page drawers only ever see a Canvas and never know which one it is.
//
// Coordinates are pixels of the target, origin top left, Y down, kept in
// floating point as the drawers hand them over.
#pragma once

#include "toolkit/fonts.h"
#include "toolkit/screentext.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <algorithm>
#include <optional>

namespace abrevel {

class Picture;

// The three forms of Line: a plain line, a box outline ("B") and a box
// filled with the line colour ("BF").
enum class LineForm { Line, Box, FilledBox };

// DrawMode values the sheets use.
inline constexpr int MaskPen = 9;  // new colour AND what is there
inline constexpr int CopyPen = 13; // new colour replaces what is there

class Canvas {
public:
  virtual ~Canvas() = default;

  // ----- Drawing state -------------------------------------------------
  double CurrentX = 0;
  double CurrentY = 0;
  // Size, Bold, Italic and Underline are set directly; the name goes through
  // SetFontName, which refuses a font the platform lacks.
  FontSpec Font;
  QColor ForeColor = QColor(0, 0, 0);
  QColor BackColor = QColor(255, 255, 255);
  double DrawWidth = 1; // pen width in target pixels
  int DrawMode = CopyPen;
  int DrawStyle = 0; // 0 solid, 1 dashed (dashes need DrawWidth 1)
  int FillStyle = 1; // 0 solid, 1 transparent
  QColor FillColor = QColor(0, 0, 0);

  // Where the words and pictures drawn are told as well, for readers who
  // cannot see the surface (none by default), and what the primitive now
  // drawing marks its runs as (TextMark flags; see MarkText).
  ScreenText *textLog = nullptr;
  unsigned textMarks = PlainText;

  // A font name the platform lacks is an error and leaves the name as it was.
  void SetFontName(const QString &name);

  // ----- Text ----------------------------------------------------------
  // Prints at (CurrentX, CurrentY) in the current font and ForeColor, then
  // ends the line: CurrentX = 0, CurrentY moves down one line of the font.
  // The empty Print is a blank line.
  void Print(const QString &text = QString());
  // Prints without ending the line: CurrentX moves past the text.
  void PrintRun(const QString &text);

  // Width of the widest line of the text, in target pixels.
  double TextWidth(const QString &text) const;
  // Height of the text: one line of the current font per line of the text.
  double TextHeight(const QString &text) const;

  // ----- Shapes ----------------------------------------------------------
  // A line (or box) from (x1, y1) to (x2, y2) in the given colour, ForeColor
  // when none is given, DrawWidth wide. Leaves the position at (x2, y2).
  void Line(double x1, double y1, double x2, double y2, std::optional<QColor> color = std::nullopt,
            LineForm form = LineForm::Line);
  // A circle of radius r centred on (x, y); with an aspect below 1 the
  // radius is horizontal and the height aspect times it, above 1 the radius
  // is vertical. Filled with FillColor when FillStyle is 0. Leaves the
  // position at the centre.
  void Circle(double x, double y, double r, std::optional<QColor> color = std::nullopt,
              double aspect = 1.0);

  // ----- Pictures ----------------------------------------------------------
  // At natural size: the picture's screen size times PixelsPerScreenPixel().
  void PaintPicture(const Picture &picture, double x, double y);
  // Stretched to w by h target pixels; a negative w draws a mirrored copy
  // extending leftwards from x.
  void PaintPicture(const Picture &picture, double x, double y, double w, double h);
  // Draws an image pixel for pixel into the target's own device context,
  // its transparent pixels letting what is beneath show (image list draw).
  // The file it came from, if known, names it to the text log.
  void DrawTransparent(const QImage &image, double x, double y, const QString &source = {});

  // Erases the surface to BackColor and puts the position at (0, 0).
  void Cls();

  virtual double ScaleWidth() const = 0;
  virtual double ScaleHeight() const = 0;
  // Target pixels per screen pixel: 1 on the window, dpi / 96 on paper.
  virtual double PixelsPerScreenPixel() const = 0;

  // One line of the given font, in target pixels.
  double lineHeightOf(const FontSpec &font) const { return lineHeight(font); }

  // The lowest point that text, shapes and pictures have reached since the
  // last ResetInkBottom() (0 when nothing was drawn): where a screen that
  // stopped half-way ends on paper.
  double InkBottom() const { return m_inkBottom; }
  void ResetInkBottom() { m_inkBottom = 0; }

protected:
  struct Pen {
    QColor color;
    double width = 1;
    bool dashed = false;
    bool mask = false; // DrawMode 9
  };

  virtual bool hasFont(const QString &name) const;
  virtual double lineHeight(const FontSpec &font) const = 0;
  virtual double textWidth(const FontSpec &font, const QString &shown) const = 0;
  // Draws one line of text with its cell's top left corner at (x, y).
  virtual void paintText(double x, double y, const FontSpec &font, const QColor &color,
                         const QString &shown) = 0;
  virtual void paintLine(QPointF a, QPointF b, const Pen &pen) = 0;
  virtual void paintBox(const QRectF &box, const Pen &pen, bool filled) = 0;
  virtual void paintEllipse(QPointF centre, double rx, double ry, const Pen &pen,
                            std::optional<QColor> fill) = 0;
  virtual void paintImage(const QImage &image, const QRectF &target, bool mirrored,
                          const QString &source) = 0;
  virtual void paintTransparent(const QImage &image, QPointF at) = 0;
  virtual void clear(const QColor &color) = 0;

private:
  Pen currentPen(const QColor &color) const;
  void inked(double bottom) { m_inkBottom = std::max(m_inkBottom, bottom); }

  double m_inkBottom = 0;
};

// Marks the runs drawn during its life (on top of the marks in force), for
// the text log: a heading, an exponent and so on.
class MarkText {
public:
  MarkText(Canvas &canvas, unsigned marks) : m_canvas(canvas), m_saved(canvas.textMarks) {
    canvas.textMarks |= marks;
  }
  ~MarkText() { m_canvas.textMarks = m_saved; }
  MarkText(const MarkText &) = delete;
  MarkText &operator=(const MarkText &) = delete;

private:
  Canvas &m_canvas;
  unsigned m_saved;
};

} // namespace abrevel

// The texts of a drawing, drawn as text.
//
// Qt's SVG renderer turns every text of a drawing into glyph outlines: on a
// PDF page the words of a picture could then be neither searched nor
// copied, and each letter costs a path. TextSeparatedDrawing takes out of a
// drawing the texts it can reproduce exactly (their font, colour, anchor
// and transform) and keeps the rest of the drawing as SVG; drawTextRun then
// lays each text out as the renderer does and draws it with the painter's
// own text, which a PDF page keeps as text in an embedded font.
//
// The order of painting is kept: the shapes are split into layers, and the
// texts taken out after the shapes of a layer are drawn before the next
// layer. A text with anything unusual (an attribute or a value it does not
// know, a child element other than a plain tspan, a use of it elsewhere)
// stays in the drawing, for the renderer to draw.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QList>
#include <QPointF>
#include <QString>
#include <QTransform>

#include <optional>

class QPainter;

namespace abrevel {

// A piece of a text in one font and colour: the characters of the text
// element itself, or a tspan.
struct SvgTextSpan {
  QString text;
  QString family;
  double size = 0; // user units
  int weight = QFont::Normal;
  bool italic = false;
  QColor fill;
  bool tspan = false;    // a tspan rather than the text element's own characters
  bool preserve = false; // its spaces kept as written rather than gathered
};

// One text element, in the drawing's user units.
struct SvgTextRun {
  QTransform transform; // of the text and its groups
  QPointF at;           // the start of its baseline before the anchor
  Qt::Alignment anchor = Qt::AlignLeft;
  double size = 0; // the text element's own font size
  QList<SvgTextSpan> spans;
};

struct TextSeparatedDrawing {
  // The drawing without the texts taken out, in layers painted in turn;
  // texts[i] are drawn after layers[i].
  QList<QByteArray> layers;
  QList<QList<SvgTextRun>> texts;
};

// Splits the drawing; nothing when it cannot be read.
std::optional<TextSeparatedDrawing> separateTexts(const QByteArray &svg);

// Draws a text in the painter's user units of the drawing, laid out as
// Qt's renderer lays it out, starting from the painter's current font.
void drawTextRun(QPainter &painter, const SvgTextRun &run);

} // namespace abrevel

// The recording backend: keeps a log of every operation with its resolved
// coordinates, colour and font, and draws nothing. Its font metrics are
// fixed, so that layouts can be checked to the pixel whatever fonts are
// installed:
//
//   em           = Size × dpi / 72 (a 10-point font is 13.33 px at 96 dpi)
//   line height  = 1.2 em for every font but Symbol, 1.25 em for Symbol
//                  (10 pt at 96 dpi: 16 px; 14 pt: 22.4 px; 8 pt: 12.8 px)
//   text width   = 0.5 em per character, 0.6 em in bold, whatever the
//                  character (10 pt: "W" is 6.67 px wide, 8 in bold)
//
// Fonts it knows: "Arial" and "Symbol".
//
// With Metrics::Installed it measures text on the installed faces instead,
// exactly as the raster backend does: for checks that a page fits with the
// fonts it will really be drawn in.
#pragma once

#include "toolkit/canvas.h"

#include <vector>

namespace abrevel {

struct DrawOp {
  enum Kind { Text, Line, Box, FilledBox, Ellipse, Image, Transparent, Clear };
  Kind kind = Text;
  // Text and Transparent: top left corner in x1, y1. Line and boxes: the two
  // corners. Ellipse: the centre in x1, y1 and the radii in x2, y2. Image:
  // the target rectangle from (x1, y1) to (x2, y2).
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  QString text; // as drawn (Symbol-font text already in Unicode); Image: source file
  FontSpec font;
  QColor color; // text, pen or clearing colour
  double width = 1;
  bool dashed = false;
  bool mask = false;
  std::optional<QColor> fill;
  bool mirrored = false;
  QImage image; // Image and Transparent
};

class RecordingCanvas : public Canvas {
public:
  enum class Metrics { Fixed, Installed };

  explicit RecordingCanvas(double width = 800, double height = 600, double dpi = 96.0,
                           Metrics metrics = Metrics::Fixed);

  const std::vector<DrawOp> &ops() const { return m_ops; }
  void clearLog() { m_ops.clear(); }

  double ScaleWidth() const override { return m_width; }
  double ScaleHeight() const override { return m_height; }
  double PixelsPerScreenPixel() const override { return m_dpi / 96.0; }

protected:
  double lineHeight(const FontSpec &font) const override;
  double textWidth(const FontSpec &font, const QString &shown) const override;
  void paintText(double x, double y, const FontSpec &font, const QColor &color,
                 const QString &shown) override;
  void paintLine(QPointF a, QPointF b, const Pen &pen) override;
  void paintBox(const QRectF &box, const Pen &pen, bool filled) override;
  void paintEllipse(QPointF centre, double rx, double ry, const Pen &pen,
                    std::optional<QColor> fill) override;
  void paintImage(const QImage &image, const QRectF &target, bool mirrored,
                  const QString &source) override;
  void paintTransparent(const QImage &image, QPointF at) override;
  void clear(const QColor &color) override;

private:
  double em(const FontSpec &font) const { return font.Size * m_dpi / 72.0; }
  DrawOp shapeOp(DrawOp::Kind kind, const Pen &pen) const;

  double m_width;
  double m_height;
  double m_dpi;
  Metrics m_metrics;
  std::vector<DrawOp> m_ops;
};

} // namespace abrevel

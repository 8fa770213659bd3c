// The raster backend: draws into an image with QPainter. The window's page
// and the printed page are both raster, so that mask pen (a bitwise AND of
// the pen with what is beneath) behaves the same on screen and on paper.
#pragma once

#include "toolkit/canvas.h"

#include <QFont>
#include <QImage>
#include <QPainter>

namespace abrevel {

class RasterCanvas : public Canvas {
public:
  // A surface of the given size in pixels at the given resolution: 96 dots
  // per inch is a screen pixel, anything above is paper. With a pixel ratio
  // above 1 the surface keeps its size in pixels for everything drawn on it
  // (a high-density screen, a screen rendered larger) while its image holds
  // ratio times as many pixels each way: the same layout, drawn finer.
  RasterCanvas(QSize size, double dpi = 96.0, double pixelRatio = 1.0);

  // The surface; drawing still in progress is finished first.
  const QImage &image() const {
    finish();
    return m_image;
  }
  QImage &image() {
    finish();
    return m_image;
  }
  double dpi() const { return m_dpi; }
  double pixelRatio() const { return m_ratio; }
  // The size in pixels the drawers see; the image is pixelRatio() times it.
  QSize size() const { return m_size; }
  // Resizes the surface, erased to BackColor.
  void resize(QSize size, double pixelRatio = 1.0);

  double ScaleWidth() const override { return m_size.width(); }
  double ScaleHeight() const override { return m_size.height(); }
  double PixelsPerScreenPixel() const override { return m_dpi / 96.0; }

protected:
  bool hasFont(const QString &name) const override;
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
  // One painter stays open on the surface from one operation to the next
  // (opening one per line or per run of text costs more than drawing it);
  // each operation sets every painter state it depends on.
  QPainter &painter();
  void finish() const;

  QImage m_image;
  QSize m_size;
  double m_dpi;
  double m_ratio;
  mutable QPainter m_painter;
  QPainter::RenderHints m_freshHints;
};

} // namespace abrevel

#include "toolkit/rastercanvas.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace abrevel {

namespace {

QPen qtPen(const QColor &color, double width, bool dashed) {
  QPen pen(color);
  pen.setWidthF(width <= 1 ? 0.0 : width); // 0 is Qt's one-pixel cosmetic pen
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  if (dashed)
    pen.setStyle(Qt::DashLine);
  return pen;
}

void setMode(QPainter &p, bool mask) {
  p.setCompositionMode(mask ? QPainter::RasterOp_SourceAndDestination
                            : QPainter::CompositionMode_SourceOver);
}

} // namespace

RasterCanvas::RasterCanvas(QSize size, double dpi)
    : m_image(size, QImage::Format_RGB32), m_dpi(dpi) {
  const int dpm = static_cast<int>(std::lround(dpi / 0.0254));
  m_image.setDotsPerMeterX(dpm);
  m_image.setDotsPerMeterY(dpm);
  m_image.fill(BackColor);
}

void RasterCanvas::resize(QSize size) {
  if (size == m_image.size())
    return;
  QImage fresh(size, QImage::Format_RGB32);
  fresh.setDotsPerMeterX(m_image.dotsPerMeterX());
  fresh.setDotsPerMeterY(m_image.dotsPerMeterY());
  fresh.fill(BackColor);
  m_image = std::move(fresh);
}

bool RasterCanvas::hasFont(const QString &name) const {
  return Canvas::hasFont(name) || QFontDatabase::hasFamily(name);
}

double RasterCanvas::lineHeight(const FontSpec &font) const {
  return installedLineHeight(font, m_dpi);
}

double RasterCanvas::textWidth(const FontSpec &font, const QString &shown) const {
  return installedTextWidth(font, m_dpi, shown);
}

void RasterCanvas::paintText(double x, double y, const FontSpec &font, const QColor &color,
                             const QString &shown) {
  QPainter p(&m_image);
  p.setRenderHint(QPainter::TextAntialiasing);
  const QFont f = qtFont(font, m_dpi);
  p.setFont(f);
  p.setPen(color);
  p.drawText(QPointF(x, y + QFontMetrics(f).ascent()), shown);
}

void RasterCanvas::paintLine(QPointF a, QPointF b, const Pen &pen) {
  QPainter p(&m_image);
  setMode(p, pen.mask);
  p.setPen(qtPen(pen.color, pen.width, pen.dashed));
  p.drawLine(a, b);
}

void RasterCanvas::paintBox(const QRectF &box, const Pen &pen, bool filled) {
  QPainter p(&m_image);
  setMode(p, pen.mask);
  if (filled) {
    // Both corners are inside the box, as for an outline.
    p.fillRect(QRectF(box.topLeft(), box.size() + QSizeF(1, 1)), pen.color);
    return;
  }
  p.setPen(qtPen(pen.color, pen.width, pen.dashed));
  p.setBrush(Qt::NoBrush);
  p.drawRect(box);
}

void RasterCanvas::paintEllipse(QPointF centre, double rx, double ry, const Pen &pen,
                                std::optional<QColor> fill) {
  QPainter p(&m_image);
  setMode(p, pen.mask);
  p.setRenderHint(QPainter::Antialiasing, !pen.mask);
  p.setPen(qtPen(pen.color, pen.width, pen.dashed));
  p.setBrush(fill ? QBrush(*fill) : QBrush(Qt::NoBrush));
  p.drawEllipse(centre, rx, ry);
}

void RasterCanvas::paintImage(const QImage &image, const QRectF &target, bool mirrored,
                              const QString &) {
  QPainter p(&m_image);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(target, mirrored ? image.mirrored(true, false) : image);
}

void RasterCanvas::paintTransparent(const QImage &image, QPointF at) {
  QPainter p(&m_image);
  p.drawImage(at, image);
}

void RasterCanvas::clear(const QColor &color) { m_image.fill(color); }

} // namespace abrevel

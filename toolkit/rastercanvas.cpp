#include "toolkit/rastercanvas.h"

#include "toolkit/picturepaint.h"

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

QPainter &RasterCanvas::painter() {
  if (!m_painter.isActive()) {
    m_painter.begin(&m_image);
    m_freshHints = m_painter.renderHints();
  }
  // The state of a painter freshly opened on the surface, which every
  // operation starts from.
  m_painter.setRenderHints(QPainter::RenderHints::fromInt(~0), false);
  m_painter.setRenderHints(m_freshHints);
  m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  m_painter.setBrush(Qt::NoBrush);
  return m_painter;
}

void RasterCanvas::finish() const {
  if (m_painter.isActive())
    m_painter.end();
}

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
  finish();
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
  QPainter &p = painter();
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setFont(qtFont(font, m_dpi));
  p.setPen(color);
  p.drawText(QPointF(x, y + installedAscent(font, m_dpi)), shown);
}

void RasterCanvas::paintLine(QPointF a, QPointF b, const Pen &pen) {
  // A horizontal stroke of the one-pixel solid pen (a gradient is made of
  // hundreds of them) is set straight into the pixels: the same pixels
  // Qt's cosmetic stroker covers, the row under y from the rounded left end
  // up to, not including, the rounded right end, without the cost of the
  // painter's general path, which in mask pen is large.
  if (a.y() == b.y() && a.x() != b.x() && a.y() >= 0 && pen.width <= 1 && !pen.dashed &&
      pen.color.alpha() == 255) {
    finish();
    const int row = static_cast<int>(std::floor(a.y()));
    if (row >= m_image.height())
      return;
    const int from = std::max(0, static_cast<int>(std::floor(std::min(a.x(), b.x()) + 0.5)));
    const int to =
        std::min(m_image.width(), static_cast<int>(std::floor(std::max(a.x(), b.x()) + 0.5)));
    auto *line = reinterpret_cast<QRgb *>(m_image.scanLine(row));
    const QRgb colour = pen.color.rgb() | 0xFF000000u;
    for (int x = from; x < to; ++x)
      line[x] = pen.mask ? (line[x] & colour) : colour;
    return;
  }
  QPainter &p = painter();
  setMode(p, pen.mask);
  p.setPen(qtPen(pen.color, pen.width, pen.dashed));
  p.drawLine(a, b);
}

void RasterCanvas::paintBox(const QRectF &box, const Pen &pen, bool filled) {
  QPainter &p = painter();
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
  QPainter &p = painter();
  setMode(p, pen.mask);
  p.setRenderHint(QPainter::Antialiasing, !pen.mask);
  p.setPen(qtPen(pen.color, pen.width, pen.dashed));
  p.setBrush(fill ? QBrush(*fill) : QBrush(Qt::NoBrush));
  p.drawEllipse(centre, rx, ry);
}

void RasterCanvas::paintImage(const QImage &image, const QRectF &target, bool mirrored,
                              const QString &source) {
  paintPictureImage(painter(), image, target, mirrored, source);
}

void RasterCanvas::paintTransparent(const QImage &image, QPointF at) {
  QPainter &p = painter();
  p.drawImage(at, image);
}

void RasterCanvas::clear(const QColor &color) {
  finish();
  m_image.fill(color);
}

} // namespace abrevel

#include "toolkit/rastercanvas.h"

#include "toolkit/picturepaint.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace abrevel {

namespace {

// A pen one pixel wide is Qt's cosmetic pen (width 0), which is one device
// pixel whatever the scale: on a finer image it is a pen one pixel of the
// surface wide instead.
QPen qtPen(const QColor &color, double width, bool dashed, double ratio) {
  QPen pen(color);
  pen.setWidthF(width > 1 ? width : ratio == 1.0 ? 0.0 : 1.0);
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

namespace {

// The image of a surface of the given size: ratio times its pixels, the
// last one cut where the ratio is not whole.
QImage surfaceImage(QSize size, double ratio) {
  QImage image(QSize(static_cast<int>(std::ceil(size.width() * ratio - 1e-9)),
                     static_cast<int>(std::ceil(size.height() * ratio - 1e-9))),
               QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  return image;
}

} // namespace

RasterCanvas::RasterCanvas(QSize size, double dpi, double pixelRatio)
    : m_image(surfaceImage(size, pixelRatio)), m_size(size), m_dpi(dpi), m_ratio(pixelRatio) {
  const int dpm = static_cast<int>(std::lround(dpi / 0.0254));
  m_image.setDotsPerMeterX(dpm);
  m_image.setDotsPerMeterY(dpm);
  m_image.fill(BackColor);
}

void RasterCanvas::resize(QSize size, double pixelRatio) {
  if (size == m_size && pixelRatio == m_ratio)
    return;
  finish();
  QImage fresh = surfaceImage(size, pixelRatio);
  fresh.setDotsPerMeterX(m_image.dotsPerMeterX());
  fresh.setDotsPerMeterY(m_image.dotsPerMeterY());
  fresh.fill(BackColor);
  m_image = std::move(fresh);
  m_size = size;
  m_ratio = pixelRatio;
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
  // On a finer image the same pixels of the surface are covered, each by
  // its block of image pixels.
  if (a.y() == b.y() && a.x() != b.x() && a.y() >= 0 && pen.width <= 1 && !pen.dashed &&
      pen.color.alpha() == 255) {
    finish();
    const int row = static_cast<int>(std::floor(a.y()));
    if (row >= m_size.height())
      return;
    const int from = std::max(0, static_cast<int>(std::floor(std::min(a.x(), b.x()) + 0.5)));
    const int to =
        std::min(m_size.width(), static_cast<int>(std::floor(std::max(a.x(), b.x()) + 0.5)));
    const auto device = [this](int pixel, int limit) {
      return std::min(limit, static_cast<int>(std::lround(pixel * m_ratio)));
    };
    const int left = device(from, m_image.width()), right = device(to, m_image.width());
    const QRgb colour = pen.color.rgb() | 0xFF000000u;
    for (int y = device(row, m_image.height()); y < device(row + 1, m_image.height()); ++y) {
      auto *line = reinterpret_cast<QRgb *>(m_image.scanLine(y));
      for (int x = left; x < right; ++x)
        line[x] = pen.mask ? (line[x] & colour) : colour;
    }
    return;
  }
  QPainter &p = painter();
  setMode(p, pen.mask);
  p.setPen(qtPen(pen.color, pen.width, pen.dashed, m_ratio));
  if (pen.width <= 1 && m_ratio != 1.0) {
    // The one-pixel pen covers the pixels right of and below the line, as
    // the cosmetic pen does on the screen's own pixels.
    const QPointF across(a.y() == b.y() ? 0.0 : 0.5, a.x() == b.x() ? 0.0 : 0.5);
    p.drawLine(a + across, b + across);
    return;
  }
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
  p.setPen(qtPen(pen.color, pen.width, pen.dashed, m_ratio));
  p.setBrush(Qt::NoBrush);
  // The one-pixel outline on its pixels, as for a line.
  p.drawRect(pen.width <= 1 && m_ratio != 1.0 ? box.translated(0.5, 0.5) : box);
}

void RasterCanvas::paintEllipse(QPointF centre, double rx, double ry, const Pen &pen,
                                std::optional<QColor> fill) {
  QPainter &p = painter();
  setMode(p, pen.mask);
  p.setRenderHint(QPainter::Antialiasing, !pen.mask);
  p.setPen(qtPen(pen.color, pen.width, pen.dashed, m_ratio));
  p.setBrush(fill ? QBrush(*fill) : QBrush(Qt::NoBrush));
  p.drawEllipse(centre, rx, ry);
}

void RasterCanvas::paintImage(const QImage &image, const QRectF &target, bool mirrored,
                              const QString &source) {
  paintPictureImage(painter(), image, target, mirrored, source);
}

void RasterCanvas::paintTransparent(const QImage &image, QPointF at) {
  QPainter &p = painter();
  // Pixel for pixel of the surface: the drawing of its picture file where
  // the image is larger than the file or the surface finer than the image,
  // otherwise the image, enlarged smoothly on a finer surface.
  if (paintVectorSource(p, image, QRectF(at, QSizeF(image.size())), false, QString()))
    return;
  if (m_ratio != 1.0)
    p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(at, image);
}

void RasterCanvas::clear(const QColor &color) {
  finish();
  m_image.fill(color);
}

} // namespace abrevel

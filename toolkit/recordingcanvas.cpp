#include "toolkit/recordingcanvas.h"

namespace abrevel {

RecordingCanvas::RecordingCanvas(double width, double height, double dpi, Metrics metrics)
    : m_width(width), m_height(height), m_dpi(dpi), m_metrics(metrics) {}

double RecordingCanvas::lineHeight(const FontSpec &font) const {
  if (m_metrics == Metrics::Installed)
    return installedLineHeight(font, m_dpi);
  const bool symbol = font.Name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0;
  return em(font) * (symbol ? 1.25 : 1.2);
}

double RecordingCanvas::textWidth(const FontSpec &font, const QString &shown) const {
  if (m_metrics == Metrics::Installed)
    return installedTextWidth(font, m_dpi, shown);
  return static_cast<double>(shown.size()) * em(font) * (font.Bold ? 0.6 : 0.5);
}

void RecordingCanvas::paintText(double x, double y, const FontSpec &font, const QColor &color,
                                const QString &shown) {
  DrawOp op;
  op.kind = DrawOp::Text;
  op.x1 = x;
  op.y1 = y;
  op.x2 = x + textWidth(font, shown);
  op.y2 = y + lineHeight(font);
  op.text = shown;
  op.font = font;
  op.color = color;
  m_ops.push_back(std::move(op));
}

DrawOp RecordingCanvas::shapeOp(DrawOp::Kind kind, const Pen &pen) const {
  DrawOp op;
  op.kind = kind;
  op.color = pen.color;
  op.width = pen.width;
  op.dashed = pen.dashed;
  op.mask = pen.mask;
  return op;
}

void RecordingCanvas::paintLine(QPointF a, QPointF b, const Pen &pen) {
  DrawOp op = shapeOp(DrawOp::Line, pen);
  op.x1 = a.x();
  op.y1 = a.y();
  op.x2 = b.x();
  op.y2 = b.y();
  m_ops.push_back(std::move(op));
}

void RecordingCanvas::paintBox(const QRectF &box, const Pen &pen, bool filled) {
  DrawOp op = shapeOp(filled ? DrawOp::FilledBox : DrawOp::Box, pen);
  op.x1 = box.left();
  op.y1 = box.top();
  op.x2 = box.right();
  op.y2 = box.bottom();
  m_ops.push_back(std::move(op));
}

void RecordingCanvas::paintEllipse(QPointF centre, double rx, double ry, const Pen &pen,
                                   std::optional<QColor> fill) {
  DrawOp op = shapeOp(DrawOp::Ellipse, pen);
  op.x1 = centre.x();
  op.y1 = centre.y();
  op.x2 = rx;
  op.y2 = ry;
  op.fill = fill;
  m_ops.push_back(std::move(op));
}

void RecordingCanvas::paintImage(const QImage &image, const QRectF &target, bool mirrored,
                                 const QString &source) {
  DrawOp op;
  op.kind = DrawOp::Image;
  op.x1 = target.left();
  op.y1 = target.top();
  op.x2 = target.right();
  op.y2 = target.bottom();
  op.text = source;
  op.mirrored = mirrored;
  op.image = image;
  m_ops.push_back(std::move(op));
}

void RecordingCanvas::paintTransparent(const QImage &image, QPointF at) {
  DrawOp op;
  op.kind = DrawOp::Transparent;
  op.x1 = at.x();
  op.y1 = at.y();
  op.x2 = at.x() + image.width();
  op.y2 = at.y() + image.height();
  op.image = image;
  m_ops.push_back(std::move(op));
}

void RecordingCanvas::clear(const QColor &color) {
  DrawOp op;
  op.kind = DrawOp::Clear;
  op.color = color;
  m_ops.push_back(std::move(op));
}

} // namespace abrevel

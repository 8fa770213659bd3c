#include "toolkit/vectorpage.h"

#include "toolkit/picturepaint.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace abrevel {

namespace {

QColor anded(const QColor &ink, const QColor &tint) {
  return QColor(ink.red() & tint.red(), ink.green() & tint.green(), ink.blue() & tint.blue(),
                ink.alpha());
}

QImage andedImage(const QImage &image, const QColor &tint) {
  QImage out = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb mask = tint.rgb() | 0xFF000000u;
  for (int y = 0; y < out.height(); ++y) {
    auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x)
      line[x] &= mask;
  }
  return out;
}

// The pixels the raster backend sets for a one-pixel solid horizontal line:
// the row under y, from the rounded left end up to the rounded right end.
bool isPixelRow(const DrawOp &op) {
  return op.kind == DrawOp::Line && op.y1 == op.y2 && op.x1 != op.x2 && op.y1 >= 0 &&
         op.width <= 1 && !op.dashed && op.color.alpha() == 255;
}

QRectF pixelRow(const DrawOp &op) {
  const double row = std::floor(op.y1);
  const double from = std::floor(std::min(op.x1, op.x2) + 0.5);
  const double to = std::floor(std::max(op.x1, op.x2) + 0.5);
  return QRectF(from, row, std::max(0.0, to - from), 1);
}

// A filled box covers both its corners, as the raster backend fills it.
QRectF filledBox(const DrawOp &op) {
  return QRectF(QPointF(op.x1, op.y1), QPointF(op.x2 + 1, op.y2 + 1));
}

// An operation that fills a rectangle opaquely, as that rectangle.
bool asFill(const DrawOp &op, QRectF *rect) {
  if (op.kind == DrawOp::FilledBox && op.color.alpha() == 255) {
    *rect = filledBox(op);
    return true;
  }
  if (isPixelRow(op)) {
    *rect = pixelRow(op);
    return true;
  }
  return false;
}

PaintItem fillItem(const QRectF &rect, const QColor &colour) {
  PaintItem item;
  item.kind = PaintItem::Fill;
  item.rect = rect;
  item.colour = colour;
  return item;
}

// Where an item may leave ink.
QRectF boundsOf(const PaintItem &item) {
  if (item.kind == PaintItem::Fill)
    return item.rect;
  const DrawOp &op = item.op;
  const double pen = op.width / 2;
  QRectF bounds;
  switch (op.kind) {
  case DrawOp::Ellipse:
    bounds = QRectF(op.x1 - op.x2 - pen, op.y1 - op.y2 - pen, 2 * (op.x2 + pen), 2 * (op.y2 + pen));
    break;
  case DrawOp::Line:
  case DrawOp::Box:
  case DrawOp::FilledBox:
    bounds = QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2))
                 .normalized()
                 .adjusted(-pen, -pen, pen + 1, pen + 1);
    break;
  default:
    bounds = QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)).normalized();
  }
  if (item.clipped)
    bounds &= item.clip.boundingRect();
  return bounds;
}

// The item with its ink ANDed with the tint.
PaintItem tinted(PaintItem item, const QColor &tint) {
  if (item.kind == PaintItem::Fill) {
    item.colour = anded(item.colour, tint);
    return item;
  }
  DrawOp &op = item.op;
  op.color = anded(op.color, tint);
  if (op.fill)
    op.fill = anded(*op.fill, tint);
  if (op.kind == DrawOp::Image || op.kind == DrawOp::Transparent) {
    // The tinted pixels are the picture now, not its file's drawing.
    op.image = andedImage(op.image, tint);
    op.text.clear();
  }
  return item;
}

bool changedByTint(const PaintItem &item, const QColor &tint) {
  if (item.kind == PaintItem::Fill)
    return anded(item.colour, tint) != item.colour;
  const DrawOp &op = item.op;
  if (op.kind == DrawOp::Image || op.kind == DrawOp::Transparent)
    return true;
  return anded(op.color, tint) != op.color || (op.fill && anded(*op.fill, tint) != *op.fill);
}

QPainterPath rectPath(const QRectF &rect) {
  QPainterPath path;
  path.addRect(rect);
  return path;
}

// Lays a tint of the given colour over area onto the items painted after
// index `from`: what lies inside the area takes the AND of its colour and
// the tint's, what lies outside keeps its colour.
void tintItemsAfter(std::vector<PaintItem> &items, size_t from, const QRectF &area,
                    const QColor &tint) {
  // Most items are left alone; the few that the area's edge cuts are
  // replaced by their parts in place.
  for (size_t i = from; i < items.size(); ++i) {
    PaintItem &item = items[i];
    const QRectF bounds = boundsOf(item);
    if (!bounds.intersects(area) || !changedByTint(item, tint))
      continue;
    if (area.contains(bounds)) {
      item = tinted(std::move(item), tint);
      continue;
    }
    if (item.kind == PaintItem::Op && item.op.kind == DrawOp::Text) {
      // Text is never painted twice, or it would be found twice when the
      // page is searched or copied: a run takes the tint where its middle
      // lies (a gradient's colour changes little over one line).
      if (area.contains(bounds.center()))
        item = tinted(std::move(item), tint);
      continue;
    }
    std::vector<PaintItem> parts;
    if (item.kind == PaintItem::Fill && !item.clipped) {
      // Rectangles split exactly: the part inside tinted, up to four
      // parts around it as they were.
      const QRectF r = item.rect;
      const QRectF in = r & area;
      const QRectF around[] = {
          QRectF(QPointF(r.left(), r.top()), QPointF(r.right(), in.top())),
          QRectF(QPointF(r.left(), in.bottom()), QPointF(r.right(), r.bottom())),
          QRectF(QPointF(r.left(), in.top()), QPointF(in.left(), in.bottom())),
          QRectF(QPointF(in.right(), in.top()), QPointF(r.right(), in.bottom())),
      };
      for (const QRectF &part : around)
        if (part.width() > 0 && part.height() > 0)
          parts.push_back(fillItem(part, item.colour));
      parts.push_back(fillItem(in, anded(item.colour, tint)));
    } else {
      // Anything else is painted twice, clipped outside and inside the area.
      const QPainterPath whole =
          item.clipped ? item.clip : rectPath(bounds.adjusted(-100, -100, 100, 100));
      PaintItem outside = item;
      outside.clipped = true;
      outside.clip = whole.subtracted(rectPath(area));
      PaintItem inside = tinted(std::move(item), tint);
      inside.clipped = true;
      inside.clip = whole.intersected(rectPath(area));
      parts.push_back(std::move(outside));
      parts.push_back(std::move(inside));
    }
    const auto at = items.begin() + static_cast<std::ptrdiff_t>(i);
    *at = std::move(parts.back());
    parts.pop_back();
    items.insert(at, std::make_move_iterator(parts.begin()), std::make_move_iterator(parts.end()));
    i += parts.size();
  }
}

// Neighbouring fills of one colour that make one rectangle (the rows of a
// gradient that rounding left alike) become that rectangle.
void mergeFills(std::vector<PaintItem> &items) {
  std::vector<PaintItem> merged;
  merged.reserve(items.size());
  for (PaintItem &item : items) {
    if (!merged.empty() && item.kind == PaintItem::Fill && !item.clipped) {
      PaintItem &last = merged.back();
      if (last.kind == PaintItem::Fill && !last.clipped && last.colour == item.colour &&
          last.rect.left() == item.rect.left() && last.rect.right() == item.rect.right() &&
          (last.rect.bottom() == item.rect.top() || item.rect.bottom() == last.rect.top())) {
        last.rect |= item.rect;
        continue;
      }
    }
    merged.push_back(std::move(item));
  }
  items = std::move(merged);
}

} // namespace

std::vector<PaintItem> withTintsBeneath(const std::vector<DrawOp> &ops) {
  std::vector<PaintItem> items;
  items.reserve(ops.size());
  for (const DrawOp &op : ops) {
    QRectF area;
    if (op.kind == DrawOp::Clear) {
      // The whole surface: nothing drawn before it shows.
      items.clear();
      PaintItem clear;
      clear.op = op;
      items.push_back(std::move(clear));
      continue;
    }
    if (!asFill(op, &area)) {
      PaintItem item;
      item.op = op;
      items.push_back(std::move(item));
      continue;
    }
    if (!op.mask) {
      items.push_back(fillItem(area, op.color));
      continue;
    }
    if (area.isEmpty())
      continue;
    // A tint: beneath everything drawn since the last opaque fill that
    // holds its whole area, in the colour the AND gives on that fill.
    size_t at = 0;
    QColor under(255, 255, 255);
    for (size_t i = items.size(); i-- > 0;) {
      const PaintItem &item = items[i];
      if (item.kind == PaintItem::Op && item.op.kind == DrawOp::Clear) {
        at = i + 1;
        under = item.op.color;
        break;
      }
      if (item.kind == PaintItem::Fill && !item.clipped &&
          item.rect.adjusted(-0.5, -0.5, 0.5, 0.5).contains(area)) {
        at = i + 1;
        under = item.colour;
        break;
      }
    }
    tintItemsAfter(items, at, area, op.color);
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(at),
                 fillItem(area, anded(under, op.color)));
  }
  mergeFills(items);
  return items;
}

namespace {

QPen vectorPen(const DrawOp &op) {
  // A one-pixel pen is one pixel of the page wide, not the device's
  // thinnest line, which on a fine printer would all but vanish.
  QPen pen(op.color);
  pen.setWidthF(std::max(1.0, op.width));
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  if (op.dashed)
    pen.setStyle(Qt::DashLine);
  return pen;
}

void paintOp(QPainter &p, const DrawOp &op, const QSizeF &page, double dpi) {
  switch (op.kind) {
  case DrawOp::Text:
    p.setFont(qtFont(op.font, dpi));
    p.setPen(op.color);
    p.drawText(QPointF(op.x1, op.y1 + installedAscent(op.font, dpi)), op.text);
    break;
  case DrawOp::Line:
    p.setPen(vectorPen(op));
    p.drawLine(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2));
    break;
  case DrawOp::Box:
    p.setPen(vectorPen(op));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)));
    break;
  case DrawOp::FilledBox:
    p.fillRect(filledBox(op), op.color);
    break;
  case DrawOp::Ellipse:
    p.setPen(vectorPen(op));
    p.setBrush(op.fill ? QBrush(*op.fill) : QBrush(Qt::NoBrush));
    p.drawEllipse(QPointF(op.x1, op.y1), op.x2, op.y2);
    break;
  case DrawOp::Image:
    paintPictureImage(p, op.image, QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)),
                      op.mirrored, op.text);
    break;
  case DrawOp::Transparent:
    paintPictureImage(p, op.image, QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)), false,
                      op.text);
    break;
  case DrawOp::Clear:
    p.fillRect(QRectF(QPointF(0, 0), page), op.color);
    break;
  }
}

} // namespace

void paintRecordedPage(QPainter &painter, const std::vector<DrawOp> &ops, const QSizeF &page,
                       double dpi) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  for (const PaintItem &item : withTintsBeneath(ops)) {
    if (item.clipped)
      painter.setClipPath(item.clip);
    if (item.kind == PaintItem::Fill)
      painter.fillRect(item.rect, item.colour);
    else
      paintOp(painter, item.op, page, dpi);
    if (item.clipped)
      painter.setClipping(false);
  }
  painter.restore();
}

} // namespace abrevel

#include "toolkit/controls.h"

#include "toolkit/errors.h"
#include "toolkit/picturepaint.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace abrevel {

namespace {

// What a picture holds of a file: its own file, or the origin its image
// carries.
PictureOrigin originOf(const abrevel::Picture &picture) {
  return picture.source().isEmpty() ? pictureOrigin(picture.image())
                                    : fileOrigin(picture.source(), picture.image());
}

// The origin of a keyed copy of a picture brought to the given size: the
// key colour no longer shows.
PictureOrigin keyedOrigin(const abrevel::Picture &picture, QSize size) {
  PictureOrigin origin = originOf(picture);
  if (origin.ground == keyColour())
    origin.ground.reset();
  if (picture.Width() > 0)
    origin.enlarged *= static_cast<double>(size.width()) / picture.Width();
  return origin;
}

} // namespace

QColor keyColour() { return QColor(255, 255, 255); }

namespace {

// A pixel light enough to be taken for the page it was drawn on.
bool nearWhite(QRgb pixel) {
  return qRed(pixel) >= 240 && qGreen(pixel) >= 240 && qBlue(pixel) >= 240;
}

int lightest(QRgb pixel) { return std::min({qRed(pixel), qGreen(pixel), qBlue(pixel)}); }

// A pixel drawn over white, as a premultiplied pixel of coverage `alpha`
// that gives it back exactly when laid over white again. The coverage is
// raised where needed so that no channel goes below zero.
QRgb overWhite(QRgb pixel, int alpha) {
  alpha = std::clamp(alpha, 255 - lightest(pixel), 255);
  const int lift = 255 - alpha;
  return qRgba(qRed(pixel) - lift, qGreen(pixel) - lift, qBlue(pixel) - lift, alpha);
}

} // namespace

QImage keyedImage(const QImage &image) {
  // The picture as it would lie on white paper: what a file or an earlier
  // keying already left transparent, in part or whole, is laid on white
  // first, so that keying a keyed image gives it back unchanged.
  QImage out(image.size(), QImage::Format_RGB32);
  out.fill(keyColour());
  {
    QPainter paper(&out);
    paper.drawImage(0, 0, image);
  }
  const QRgb key = keyColour().rgb();
  const int width = out.width(), height = out.height();
  const auto at = [&](int x, int y) -> QRgb & {
    return reinterpret_cast<QRgb *>(out.scanLine(y))[x];
  };
  const auto isKey = [&](QRgb pixel) { return (pixel | 0xFF000000u) == key; };

  // The page: the key, and the near-white pixels it reaches (or the edge of
  // the picture reaches) through other near-white pixels. These are where
  // the drawing was laid on white paper, anti-aliased edges and pale
  // margins included, and they must show whatever lies beneath instead.
  std::vector<char> page(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  std::vector<QPoint> pending;
  const auto reach = [&](int x, int y) {
    char &mark = page[static_cast<size_t>(y) * width + x];
    if (mark)
      return;
    const QRgb pixel = at(x, y);
    if (!isKey(pixel) && !nearWhite(pixel))
      return;
    mark = 1;
    pending.emplace_back(x, y);
  };
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (isKey(at(x, y)) || x == 0 || y == 0 || x == width - 1 || y == height - 1)
        reach(x, y);
  while (!pending.empty()) {
    const QPoint point = pending.back();
    pending.pop_back();
    if (point.x() > 0)
      reach(point.x() - 1, point.y());
    if (point.x() + 1 < width)
      reach(point.x() + 1, point.y());
    if (point.y() > 0)
      reach(point.x(), point.y() - 1);
    if (point.y() + 1 < height)
      reach(point.x(), point.y() + 1);
  }
  const auto onPage = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < width && y < height && page[static_cast<size_t>(y) * width + x];
  };

  QImage keyed(out.size(), QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < height; ++y) {
    auto *line = reinterpret_cast<QRgb *>(keyed.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const QRgb pixel = at(x, y) | 0xFF000000u;
      if (isKey(at(x, y))) {
        line[x] = 0;
      } else if (onPage(x, y)) {
        // Paper tinted by the drawing: only what differs from white stays.
        line[x] = overWhite(pixel, 0);
      } else {
        // A pixel touching the page is the drawing's edge, a blend of the
        // colour beside it with white: its coverage is how far it has gone
        // from white towards the darkest neighbour off the page.
        bool edge = false;
        QRgb ink = pixel;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            if (onPage(x + dx, y + dy)) {
              edge = true;
            } else if (x + dx >= 0 && y + dy >= 0 && x + dx < width && y + dy < height) {
              const QRgb next = at(x + dx, y + dy) | 0xFF000000u;
              if (lightest(next) < lightest(ink))
                ink = next;
            }
          }
        if (!edge) {
          line[x] = pixel;
          continue;
        }
        // The channel in which the ink stands furthest from white measures
        // the coverage best.
        int channel = qRed(ink), value = qRed(pixel);
        if (qGreen(ink) < channel)
          channel = qGreen(ink), value = qGreen(pixel);
        if (qBlue(ink) < channel)
          channel = qBlue(ink), value = qBlue(pixel);
        const int coverage =
            channel >= 255 ? 255 : ((255 - value) * 255 + (255 - channel) / 2) / (255 - channel);
        line[x] = overWhite(pixel, coverage);
      }
    }
  }
  return keyed;
}

void ImageControl::setPicture(abrevel::Picture picture) {
  if (!picture.isNull())
    m_size = QSize(picture.Width(), picture.Height());
  m_picture = std::move(picture);
}

void ImageList::Add(const abrevel::Picture &picture) {
  if (picture.isNull())
    throw DrawError("no picture to add to the image list");
  if (m_images.empty())
    m_size = QSize(picture.Width(), picture.Height());
  // Images of another size are brought to the list's size.
  QImage image = picture.image();
  if (image.size() != m_size)
    image = image.scaled(m_size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  m_images.push_back(keyedImage(image));
  setPictureOrigin(m_images.back(), keyedOrigin(picture, m_size));
}

QImage ImageList::Transparent(int index) const {
  if (index < 1 || index > Count())
    throw DrawError("no such image in the image list");
  return m_images[static_cast<size_t>(index - 1)];
}

PictureBuffer::PictureBuffer(int width, int height)
    : m_image(QSize(width, height), QImage::Format_RGB32) {
  m_image.fill(m_back);
}

void PictureBuffer::resize(int width, int height) {
  m_image = QImage(QSize(std::max(width, 0), std::max(height, 0)), QImage::Format_RGB32);
  m_image.fill(m_back);
  m_blank = true;
}

void PictureBuffer::setBackColor(const QColor &color) {
  m_back = color;
  Cls();
}

void PictureBuffer::Cls() {
  m_image.fill(m_back);
  setPictureOrigin(m_image, PictureOrigin());
  m_blank = true;
}

void PictureBuffer::holdOrigin(PictureOrigin origin, bool wholeBuffer) {
  // Only a blank buffer that one picture covers whole holds that picture;
  // anything drawn beside or over it makes the buffer a composition.
  if (!m_blank || !wholeBuffer)
    origin = PictureOrigin();
  if (origin.known() && !origin.ground)
    origin.ground = m_back; // the buffer shows where the picture is clear
  setPictureOrigin(m_image, origin);
  m_blank = false;
}

void PictureBuffer::drawTransparent(const QImage &image, int x, int y) {
  holdOrigin(pictureOrigin(image), x == 0 && y == 0 && image.size() == m_image.size());
  // A keyed image (premultiplied) is laid into the buffer pixel by pixel,
  // exactly as the painter would lay it, but in one pass here rather than
  // handed out to the painter's threads. Any other image goes to the
  // painter.
  if (image.format() == QImage::Format_ARGB32_Premultiplied) {
    composeKeyed(image, x, y);
    return;
  }
  QPainter p(&m_image);
  p.drawImage(QPoint(x, y), image);
}

void PictureBuffer::composeKeyed(const QImage &image, int x, int y) {
  const QRect area = QRect(QPoint(x, y), image.size()).intersected(m_image.rect());
  for (int row = area.top(); row <= area.bottom(); ++row) {
    const auto *from = reinterpret_cast<const QRgb *>(image.constScanLine(row - y));
    auto *to = reinterpret_cast<QRgb *>(m_image.scanLine(row));
    for (int column = area.left(); column <= area.right(); ++column) {
      const QRgb pixel = from[column - x];
      const int alpha = qAlpha(pixel);
      if (alpha == 255) {
        to[column] = pixel;
      } else if (alpha != 0) {
        // Source over with the painter's rounding of x × a / 255.
        const QRgb under = to[column];
        const auto over = [alpha](int source, int beneath) {
          const int t = beneath * (255 - alpha);
          return std::min(255, source + ((t + (t >> 8) + 0x80) >> 8));
        };
        to[column] = qRgb(over(qRed(pixel), qRed(under)), over(qGreen(pixel), qGreen(under)),
                          over(qBlue(pixel), qBlue(under)));
      }
    }
  }
}

void PictureBuffer::paintStretched(const abrevel::Picture &picture, int x, int y, int w, int h) {
  if (picture.isNull())
    throw DrawError("no picture to paint");
  PictureOrigin origin = originOf(picture);
  origin.mirrored = origin.mirrored != (w < 0);
  origin.enlarged *= static_cast<double>(std::abs(w)) / picture.Width();
  holdOrigin(origin, y == 0 && h == m_image.height() && std::abs(w) == m_image.width() &&
                         x == (w < 0 ? m_image.width() : 0));
  QPainter p(&m_image);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  // QPainter draws nothing into a rectangle of negative width: the mirrored
  // copy is the picture turned left to right, drawn from x + w to x.
  if (w < 0)
    p.drawImage(QRect(x + w, y, -w, h), picture.image().mirrored(true, false));
  else
    p.drawImage(QRect(x, y, w, h), picture.image());
}

} // namespace abrevel

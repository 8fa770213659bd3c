#include "toolkit/controls.h"

#include "toolkit/errors.h"

#include <QPainter>

namespace abrevel {

QColor keyColour() { return QColor(255, 255, 255); }

QImage keyedImage(const QImage &image) {
  QImage out = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = keyColour().rgb();
  const int width = out.width(), height = out.height();
  for (int y = 0; y < height; ++y) {
    auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const QRgb pixel = line[x];
      line[x] = (qAlpha(pixel) < 128 || (pixel | 0xFF000000u) == key) ? 0 : pixel | 0xFF000000u;
    }
  }
  // Every pixel is now clear or opaque, which reads the same premultiplied:
  // the form the painter draws from without converting the image first.
  out.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
  return out;
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
  m_source.clear();
}

void PictureBuffer::setBackColor(const QColor &color) {
  m_back = color;
  Cls();
}

void PictureBuffer::Cls() {
  m_image.fill(m_back);
  m_source.clear();
}

void PictureBuffer::drawTransparent(const QImage &image, int x, int y) {
  // A keyed image's pixels are clear or opaque: each opaque pixel replaces
  // the buffer's, a clear one leaves it, exactly as the painter would draw
  // them, but in one pass here rather than handed out to the painter's
  // threads. An image with any other pixel goes to the painter whole.
  if (image.format() == QImage::Format_ARGB32_Premultiplied && composeKeyed(image, x, y))
    return;
  QPainter p(&m_image);
  p.drawImage(QPoint(x, y), image);
}

bool PictureBuffer::composeKeyed(const QImage &image, int x, int y) {
  const QRect area = QRect(QPoint(x, y), image.size()).intersected(m_image.rect());
  for (int row = area.top(); row <= area.bottom(); ++row) {
    const auto *from = reinterpret_cast<const QRgb *>(image.constScanLine(row - y));
    auto *to = reinterpret_cast<QRgb *>(m_image.scanLine(row));
    for (int column = area.left(); column <= area.right(); ++column) {
      const QRgb pixel = from[column - x];
      if (qAlpha(pixel) == 255)
        to[column] = pixel;
      else if (pixel != 0)
        return false; // not keyed: what is copied so far, the painter copies again
    }
  }
  return true;
}

void PictureBuffer::paintStretched(const abrevel::Picture &picture, int x, int y, int w, int h) {
  if (picture.isNull())
    throw DrawError("no picture to paint");
  m_source = picture.source();
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

// A picture as the drawers handle it: an image whose pixels are screen
// pixels, so that its natural size on paper is its physical size on screen.
#pragma once

#include <QImage>
#include <QString>

namespace abrevel {

class Picture {
public:
  Picture() = default;
  explicit Picture(QImage image, QString source = {});

  bool isNull() const { return m_image.isNull(); }
  int Width() const { return m_image.width(); }   // screen pixels
  int Height() const { return m_image.height(); } // screen pixels
  const QImage &image() const { return m_image; }
  // The file it came from, or empty for a composed picture.
  const QString &source() const { return m_source; }

private:
  QImage m_image;
  QString m_source;
};

// Loads a GIF, BMP or JPEG file. A missing or unreadable file is an error of
// the loading statement (DrawError). Files are read afresh at every call:
// screens are redrawn completely on every repaint and keep nothing loaded.
Picture LoadPicture(const QString &path);

// The empty picture (LoadPicture with no file).
inline Picture LoadPicture() { return Picture(); }

} // namespace abrevel

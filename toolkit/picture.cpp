#include "toolkit/picture.h"

#include "toolkit/errors.h"

#include <QImageReader>

namespace abrevel {

Picture::Picture(QImage image, QString source)
    : m_image(std::move(image)), m_source(std::move(source)) {}

Picture LoadPicture(const QString &path) {
  QImageReader reader(path);
  reader.setAutoTransform(false);
  QImage image = reader.read();
  if (image.isNull())
    throw DrawError("cannot load picture " + path.toStdString() + ": " +
                    reader.errorString().toStdString());
  // One pixel format for every picture, with alpha where the file has
  // transparency (GIF).
  image =
      image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  return Picture(std::move(image), path);
}

} // namespace abrevel

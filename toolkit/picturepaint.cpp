#include "toolkit/picturepaint.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSvgRenderer>

namespace abrevel {

namespace {

// The text fields an image carries its origin in.
const QString SourceKey = QStringLiteral("abrevel-source");
const QString GroundKey = QStringLiteral("abrevel-ground");
const QString MirroredKey = QStringLiteral("abrevel-mirrored");
const QString EnlargedKey = QStringLiteral("abrevel-enlarged");

// Above this, a picture is drawn larger than its file: a device exactly as
// fine as the screen counts as the screen.
constexpr double OneToOne = 1.001;

} // namespace

PictureOrigin fileOrigin(const QString &source, const QImage &image) {
  PictureOrigin origin;
  origin.source = source;
  if (!image.hasAlphaChannel())
    origin.ground = QColor(255, 255, 255);
  return origin;
}

PictureOrigin pictureOrigin(const QImage &image) {
  PictureOrigin origin;
  origin.source = image.text(SourceKey);
  if (!origin.known())
    return origin;
  bool ok = false;
  const QRgb ground = image.text(GroundKey).toUInt(&ok);
  if (ok)
    origin.ground = QColor::fromRgba(ground);
  origin.mirrored = image.text(MirroredKey) == QLatin1String("1");
  const double enlarged = image.text(EnlargedKey).toDouble(&ok);
  if (ok && enlarged > 0)
    origin.enlarged = enlarged;
  return origin;
}

void setPictureOrigin(QImage &image, const PictureOrigin &origin) {
  if (!origin.known()) {
    // Only an image that carries an origin is written to: clearing leaves
    // the pixels of an image shared with others unshared.
    if (!image.text(SourceKey).isEmpty())
      for (const QString &key : {SourceKey, GroundKey, MirroredKey, EnlargedKey})
        image.setText(key, QString());
    return;
  }
  image.setText(SourceKey, origin.source);
  image.setText(GroundKey, origin.ground ? QString::number(origin.ground->rgba()) : QString());
  image.setText(MirroredKey, origin.mirrored ? QStringLiteral("1") : QString());
  image.setText(EnlargedKey, QString::number(origin.enlarged, 'g', 17));
}

QString vectorSourceOf(const QString &pictureFile) {
  if (pictureFile.isEmpty())
    return {};
  const QFileInfo file(pictureFile);
  const QString drawing =
      file.path() + QLatin1Char('/') + file.completeBaseName() + QStringLiteral(".svg");
  return QFileInfo(drawing).isFile() ? drawing : QString();
}

double devicePixelsPerPicturePixel(const QPainter &painter, const QImage &image,
                                   const QRectF &target, const PictureOrigin &origin) {
  const double fileWidth = image.width() / origin.enlarged;
  if (fileWidth <= 0)
    return 1.0;
  const QRectF device = painter.deviceTransform().mapRect(target);
  return device.width() / fileWidth;
}

bool paintVectorSource(QPainter &painter, const QImage &image, const QRectF &target, bool mirrored,
                       const QString &source) {
  const PictureOrigin origin = source.isEmpty() ? pictureOrigin(image) : fileOrigin(source, image);
  if (!origin.known() || target.isEmpty() ||
      devicePixelsPerPicturePixel(painter, image, target, origin) <= OneToOne)
    return false;
  const QString drawing = vectorSourceOf(origin.source);
  if (drawing.isEmpty())
    return false;
  QSvgRenderer renderer(drawing);
  if (!renderer.isValid())
    return false;
  // The drawing fills the rectangle the picture file would: its own size is
  // the file's, whatever units it was written in.
  renderer.setAspectRatioMode(Qt::IgnoreAspectRatio);
  painter.save();
  if (origin.ground)
    painter.fillRect(target, *origin.ground);
  if (mirrored != origin.mirrored) {
    painter.translate(target.left() + target.right(), 0);
    painter.scale(-1, 1);
  }
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  renderer.render(&painter, target);
  painter.restore();
  return true;
}

void paintPictureImage(QPainter &painter, const QImage &image, const QRectF &target, bool mirrored,
                       const QString &source) {
  if (paintVectorSource(painter, image, target, mirrored, source))
    return;
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(target, mirrored ? image.mirrored(true, false) : image);
}

} // namespace abrevel

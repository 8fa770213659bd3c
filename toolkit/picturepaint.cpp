#include "toolkit/picturepaint.h"

#include "toolkit/controls.h"

#include "toolkit/svgtext.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QRectF>
#include <QSvgRenderer>

#include <memory>
#include <optional>
#include <vector>

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

// Whether what is painted becomes a document, where text drawn as text
// stays searchable and costs a font once rather than a path per letter.
bool paintsDocument(const QPainter &painter) {
  const QPaintEngine *engine = painter.paintEngine();
  return (engine && engine->type() == QPaintEngine::Pdf) ||
         (painter.device() && painter.device()->devType() == QInternal::Printer);
}

// A drawing with its texts taken out: its layers ready to render, and the
// texts to draw after each.
struct SplitDrawing {
  std::vector<std::unique_ptr<QSvgRenderer>> layers;
  QList<QList<SvgTextRun>> texts;
  QRectF box; // the drawing's user units
};

std::optional<SplitDrawing> splitDrawing(const QString &drawing) {
  QFile file(drawing);
  if (!file.open(QIODevice::ReadOnly))
    return std::nullopt;
  std::optional<TextSeparatedDrawing> separated = separateTexts(file.readAll());
  if (!separated)
    return std::nullopt;
  SplitDrawing split;
  for (const QByteArray &layer : separated->layers) {
    split.layers.push_back(std::make_unique<QSvgRenderer>(layer));
    if (!split.layers.back()->isValid())
      return std::nullopt;
    // The drawing fills the rectangle the picture file would: its own size
    // is the file's, whatever units it was written in.
    split.layers.back()->setAspectRatioMode(Qt::IgnoreAspectRatio);
  }
  split.texts = std::move(separated->texts);
  split.box = split.layers.front()->viewBoxF();
  if (split.box.isEmpty())
    return std::nullopt;
  return split;
}

void paintSplitDrawing(QPainter &painter, const SplitDrawing &split, const QRectF &target) {
  // The user units over the target, as the renderer maps them.
  QTransform units;
  units.translate(target.left(), target.top());
  units.scale(target.width() / split.box.width(), target.height() / split.box.height());
  units.translate(-split.box.left(), -split.box.top());
  for (std::size_t i = 0; i < split.layers.size(); ++i) {
    split.layers[i]->render(&painter, target);
    painter.save();
    painter.setTransform(units, true);
    for (const SvgTextRun &run : split.texts[static_cast<qsizetype>(i)])
      drawTextRun(painter, run);
    painter.restore();
  }
}

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
  // On a document the drawing's texts are drawn as text; elsewhere, or
  // when the drawing cannot be split, the renderer draws it whole.
  std::optional<SplitDrawing> split;
  if (paintsDocument(painter))
    split = splitDrawing(drawing);
  QSvgRenderer whole;
  if (!split && !whole.load(drawing))
    return false;
  // The drawing fills the rectangle the picture file would: its own size is
  // the file's, whatever units it was written in.
  whole.setAspectRatioMode(Qt::IgnoreAspectRatio);
  painter.save();
  if (origin.ground)
    painter.fillRect(target, *origin.ground);
  if (mirrored != origin.mirrored) {
    painter.translate(target.left() + target.right(), 0);
    painter.scale(-1, 1);
  }
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  // A text of the drawing takes what it does not say of its font from the
  // painter's: the page's last font must not make it bold or italic.
  painter.setFont(QFont());
  if (split)
    paintSplitDrawing(painter, *split, target);
  else
    whole.render(&painter, target);
  painter.restore();
  return true;
}

void paintPictureImage(QPainter &painter, const QImage &image, const QRectF &target, bool mirrored,
                       const QString &source) {
  if (paintVectorSource(painter, image, target, mirrored, source))
    return;
  QImage shown = mirrored ? image.mirrored(true, false) : image;
  if (paintsDocument(painter)) {
    // A picture without a drawing goes into the document as its own pixels,
    // never re-encoded as JPEG; one keyed on white paper is keyed again, so
    // that the document holds it transparent where its key is.
    const PictureOrigin origin = source.isEmpty() ? pictureOrigin(image) : PictureOrigin();
    if (origin.known() && origin.ground == QColor(Qt::white) && !image.hasAlphaChannel())
      shown = keyedImage(shown);
    painter.setRenderHint(QPainter::LosslessImageRendering);
  }
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(target, shown);
}

} // namespace abrevel

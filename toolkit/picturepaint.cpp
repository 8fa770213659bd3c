#include "toolkit/picturepaint.h"

#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace abrevel {

void paintPictureImage(QPainter &painter, const QImage &image, const QRectF &target, bool mirrored,
                       const QString &) {
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(target, mirrored ? image.mirrored(true, false) : image);
}

} // namespace abrevel

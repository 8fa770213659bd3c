// Painting a picture's image into a rectangle of any painter: the window's
// surface, a printed page drawn as an image, or a printer's own device.
#pragma once

class QImage;
class QPainter;
class QRectF;
class QString;

namespace abrevel {

// Paints the image stretched over target, turned left to right when
// mirrored. source is the file the image was loaded from (empty for a
// composed picture).
void paintPictureImage(QPainter &painter, const QImage &image, const QRectF &target, bool mirrored,
                       const QString &source);

} // namespace abrevel

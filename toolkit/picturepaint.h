// Painting a picture's image into a rectangle of any painter: the window's
// surface, a printed page drawn as an image, or a printer's own device.
//
// Every picture file of the application folder may have its drawing beside
// it, NAME.svg for NAME.gif, NAME.bmp or NAME.jpg. Where a picture lands on
// more device pixels than it has (paper, a high-density screen, a screen
// rendered at a larger scale), the drawing is painted instead of the
// enlarged file, into the same rectangle, so that nothing moves and the
// picture stays as sharp as the device allows. At one device pixel per
// picture pixel the file itself is painted, exactly as it always was.
//
// An image composed from a picture file (the picture buffer, the image
// list) no longer has a file name of its own; it carries where it came from
// in its text fields (PictureOrigin), so that the drawing can still be
// painted in its place.
#pragma once

#include <QColor>
#include <QString>

#include <optional>

class QImage;
class QPainter;
class QRectF;

namespace abrevel {

// What an image holds of a picture file.
struct PictureOrigin {
  QString source; // the picture file; empty when the image holds no one file
  // What shows where the drawing leaves its canvas uncovered: a colour, or
  // nothing (the image is transparent there).
  std::optional<QColor> ground;
  bool mirrored = false; // the file turned left to right
  double enlarged = 1.0; // image pixels per pixel of the file

  bool known() const { return !source.isEmpty(); }
};

// The origin of an image loaded straight from a file: drawings rendered
// into an opaque file (BMP, JPEG) lie on white, those of a file with
// transparency (GIF) on nothing.
PictureOrigin fileOrigin(const QString &source, const QImage &image);
// The origin an image carries in its text fields (unknown when none).
PictureOrigin pictureOrigin(const QImage &image);
// Writes the origin into the image's text fields; an unknown origin clears
// them.
void setPictureOrigin(QImage &image, const PictureOrigin &origin);

// The picture file's drawing: NAME.svg beside NAME.ext, or empty when there
// is none.
QString vectorSourceOf(const QString &pictureFile);

// Device pixels per pixel of the picture file when the image is painted
// over target.
double devicePixelsPerPicturePixel(const QPainter &painter, const QImage &image,
                                   const QRectF &target, const PictureOrigin &origin);

// Paints the drawing of the image's picture file over target when the
// picture is drawn larger than its file and a drawing lies beside the
// file; false, having painted nothing, otherwise. source is the file the
// image was loaded from, or empty to take the origin from the image. On a
// PDF or a printer the drawing's texts are drawn as text (toolkit/svgtext.h).
bool paintVectorSource(QPainter &painter, const QImage &image, const QRectF &target, bool mirrored,
                       const QString &source);

// Paints the image stretched over target, turned left to right when
// mirrored: the picture file's drawing when paintVectorSource paints it,
// otherwise the image itself, smoothly scaled. source is the file the
// image was loaded from (empty for a composed picture).
void paintPictureImage(QPainter &painter, const QImage &image, const QRectF &target, bool mirrored,
                       const QString &source);

} // namespace abrevel

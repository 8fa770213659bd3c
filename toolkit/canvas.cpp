#include "toolkit/canvas.h"

#include "toolkit/errors.h"
#include "toolkit/picture.h"
#include "toolkit/picturepaint.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace abrevel {

bool Canvas::hasFont(const QString &name) const { return isKnownFontName(name); }

void Canvas::SetFontName(const QString &name) {
  if (!hasFont(name))
    throw DrawError("no such font: " + name.toStdString());
  Font.Name = name;
}

void Canvas::PrintRun(const QString &text) {
  const QString shown = displayText(Font, text);
  const double width = textWidth(Font, shown);
  if (!shown.isEmpty()) {
    paintText(CurrentX, CurrentY, Font, ForeColor, shown);
    inked(CurrentY + lineHeight(Font));
    if (textLog)
      textLog->addRun(QRectF(CurrentX, CurrentY, width, lineHeight(Font)), shown, textMarks,
                      Font.Size);
  }
  CurrentX += width;
}

void Canvas::Print(const QString &text) {
  PrintRun(text);
  if (textLog)
    textLog->endLine();
  CurrentX = 0;
  CurrentY += lineHeight(Font);
}

double Canvas::TextWidth(const QString &text) const {
  double widest = 0;
  for (const QString &line : text.split(QLatin1Char('\n')))
    widest = std::max(widest, textWidth(Font, displayText(Font, line)));
  return widest;
}

double Canvas::TextHeight(const QString &text) const {
  return lineHeight(Font) * static_cast<double>(text.count(QLatin1Char('\n')) + 1);
}

Canvas::Pen Canvas::currentPen(const QColor &color) const {
  Pen pen;
  pen.color = color;
  pen.width = std::max(1.0, DrawWidth);
  // Dashes exist only for thin pens; a wider pen draws solid.
  pen.dashed = DrawStyle == 1 && DrawWidth <= 1;
  pen.mask = DrawMode == MaskPen;
  return pen;
}

void Canvas::Line(double x1, double y1, double x2, double y2, std::optional<QColor> color,
                  LineForm form) {
  const Pen pen = currentPen(color.value_or(ForeColor));
  inked(std::max(y1, y2) + pen.width / 2);
  if (form == LineForm::Line)
    paintLine(QPointF(x1, y1), QPointF(x2, y2), pen);
  else
    paintBox(QRectF(QPointF(std::min(x1, x2), std::min(y1, y2)),
                    QPointF(std::max(x1, x2), std::max(y1, y2))),
             pen, form == LineForm::FilledBox);
  CurrentX = x2;
  CurrentY = y2;
}

void Canvas::Circle(double x, double y, double r, std::optional<QColor> color, double aspect) {
  const double rx = aspect <= 1 ? r : r / aspect;
  const double ry = aspect <= 1 ? r * aspect : r;
  std::optional<QColor> fill;
  if (FillStyle == 0)
    fill = FillColor;
  const Pen pen = currentPen(color.value_or(ForeColor));
  paintEllipse(QPointF(x, y), std::abs(rx), std::abs(ry), pen, fill);
  inked(y + std::abs(ry) + pen.width / 2);
  CurrentX = x;
  CurrentY = y;
}

void Canvas::PaintPicture(const Picture &picture, double x, double y) {
  if (picture.isNull())
    throw DrawError("no picture to paint");
  const double k = PixelsPerScreenPixel();
  PaintPicture(picture, x, y, picture.Width() * k, picture.Height() * k);
}

void Canvas::PaintPicture(const Picture &picture, double x, double y, double w, double h) {
  if (picture.isNull())
    throw DrawError("no picture to paint");
  const bool mirrored = w < 0;
  const QRectF target = mirrored ? QRectF(x + w, y, -w, h) : QRectF(x, y, w, h);
  paintImage(picture.image(), target.normalized(), mirrored, picture.source());
  inked(target.normalized().bottom());
  if (textLog)
    textLog->addPicture(picture.source().isEmpty() ? pictureOrigin(picture.image()).source
                                                   : picture.source(),
                        target.normalized());
}

void Canvas::DrawTransparent(const QImage &image, double x, double y, const QString &source) {
  if (image.isNull())
    throw DrawError("no image to draw");
  paintTransparent(image, QPointF(x, y));
  inked(y + image.height());
  if (textLog)
    textLog->addPicture(source.isEmpty() ? pictureOrigin(image).source : source,
                        QRectF(x, y, image.width(), image.height()));
}

void Canvas::Cls() {
  clear(BackColor);
  CurrentX = 0;
  CurrentY = 0;
}

} // namespace abrevel

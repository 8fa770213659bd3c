#include "shell/windowpicture.h"

#include "content/descriptions.h"
#include "shell/titleband.h"
#include "toolkit/colors.h"
#include "toolkit/picturepaint.h"
#include "toolkit/recordingcanvas.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace abrevel {

namespace {

// Plain substitutes for button pictures missing from the application
// folder, drawn on a 32 × 32 transparent square.
void drawArrow(QPainter &p, bool pointsRight) {
  QPainterPath path;
  const double tip = pointsRight ? 29 : 3;
  const double back = pointsRight ? 5 : 27;
  path.moveTo(tip, 16);
  path.lineTo(back, 4);
  path.lineTo(back, 28);
  path.closeSubpath();
  p.setRenderHint(QPainter::Antialiasing);
  p.fillPath(path, RGB(0, 128, 128));
  p.setPen(QPen(RGB(0, 64, 64), 1));
  p.drawPath(path);
}

void drawPrinter(QPainter &p) {
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawRect(9, 3, 14, 10);
  p.setBrush(QColor(192, 192, 192));
  p.drawRect(3, 12, 26, 12);
  p.setBrush(Qt::white);
  p.drawRect(9, 20, 14, 9);
}

void drawCloseButton(QPainter &p) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(128, 128, 128), 1));
  p.setBrush(QColor(192, 192, 192));
  p.drawEllipse(QRectF(2, 2, 28, 28));
  p.setPen(QPen(QColor(0, 0, 255), 4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(10, 10), QPointF(22, 22));
  p.drawLine(QPointF(22, 10), QPointF(10, 22));
}

// A button as a picture label shows it: the picture at the left of its
// square, centred vertically, cut to the square.
void paintButton(QPainter &painter, const QRect &square, const QImage &picture) {
  painter.save();
  painter.setClipRect(square, Qt::IntersectClip);
  const int height = qRound(picture.deviceIndependentSize().height());
  painter.drawImage(QPoint(square.x(), square.y() + (square.height() - height) / 2), picture);
  painter.restore();
}

} // namespace

QColor windowBackColor() { return RGB(255, 253, 227); }

QPoint arrowFramePosition(QSize client) {
  return QPoint((client.width() - ArrowFrameDesignRect.width()) / 2, client.height() - 35);
}

QString buttonPictureName(WindowButton button) {
  switch (button) {
  case WindowButton::Next:
    return QStringLiteral("fbas.gif");
  case WindowButton::Previous:
    return QStringLiteral("fhaut.gif");
  case WindowButton::Print:
    return QStringLiteral("imprimer.gif");
  case WindowButton::Close:
    return QStringLiteral("fermer.gif");
  }
  return {};
}

QImage buttonPicture(const QString &applicationFolder, WindowButton button, double pixelRatio) {
  const QString file = withTrailingSeparator(applicationFolder) + buttonPictureName(button);
  QImage picture(file);
  if (!picture.isNull()) {
    if (pixelRatio == 1.0)
      return picture;
    QImage fine(QSize(static_cast<int>(std::ceil(picture.width() * pixelRatio)),
                      static_cast<int>(std::ceil(picture.height() * pixelRatio))),
                QImage::Format_ARGB32_Premultiplied);
    fine.setDevicePixelRatio(pixelRatio);
    fine.fill(Qt::transparent);
    QPainter p(&fine);
    paintPictureImage(p, picture, QRectF(QPointF(0, 0), QSizeF(picture.size())), false, file);
    return fine;
  }
  picture = QImage(QSize(static_cast<int>(std::ceil(ButtonSize * pixelRatio)),
                         static_cast<int>(std::ceil(ButtonSize * pixelRatio))),
                   QImage::Format_ARGB32_Premultiplied);
  picture.setDevicePixelRatio(pixelRatio);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  switch (button) {
  case WindowButton::Next:
    drawArrow(p, true);
    break;
  case WindowButton::Previous:
    drawArrow(p, false);
    break;
  case WindowButton::Print:
    drawPrinter(p);
    break;
  case WindowButton::Close:
    drawCloseButton(p);
    break;
  }
  return picture;
}

void attachWindowSurface(Page &page, RasterCanvas &surface, const QString &applicationFolder) {
  page.applicationFolder = applicationFolder;
  page.target = &surface;
  page.windowColour = windowBackColor(); // what keyed pictures show on screen
  surface.BackColor = windowBackColor();
  surface.Cls();
}

const ScreenRow *drawScreenOnSurface(Page &page, Canvas &surface) {
  page.target = &surface;
  page.scale = 1.0f;
  surface.DrawWidth = page.scale;
  const ScreenRow *row = findScreen(page.screen);
  if (!row)
    return nullptr;
  page.line = row->lineStart;
  callDrawer(page, row->drawer);
  return row;
}

QString screenName(std::int16_t chapter, std::int16_t screen) {
  QString name = chapterTitle(chapter);
  if (!findScreen(screen))
    return name;
  int number = 0, count = 0;
  for (const ScreenRow &row : screenTable()) {
    if (row.code / 100 != screen / 100)
      continue;
    ++count;
    if (row.code <= screen)
      ++number;
  }
  return name + QStringLiteral(", écran %1 sur %2").arg(number).arg(count);
}

std::vector<ReadingItem> readScreen(Page &page, QSize client) {
  ScreenText log;
  RecordingCanvas canvas(client.width(), client.height(), 96.0,
                         RecordingCanvas::Metrics::Installed);
  canvas.BackColor = windowBackColor();
  canvas.textLog = &log;
  Canvas *const target = page.target;
  const float scale = page.scale;
  const std::int16_t line = page.line;
  drawScreenOnSurface(page, canvas);
  page.target = target;
  page.scale = scale;
  page.line = line;

  std::vector<ReadingItem> items;
  items.push_back({ReadingItem::Heading, chapterTitle(page.chapter),
                   QRectF(0, 0, TitleBandWidth, TitleBandHeight)});
  for (ReadingItem &item : log.items(client.width())) {
    if (item.kind == ReadingItem::Picture) {
      const QString description = pictureDescription(item.text);
      item.text = description.isEmpty() ? QStringLiteral("Image") : description;
    }
    items.push_back(std::move(item));
  }
  return items;
}

void paintWindowControls(QImage &client, std::int16_t chapter, const QString &applicationFolder,
                         bool previousShown, bool nextShown) {
  const double ratio = client.devicePixelRatio();
  RasterCanvas band(QSize(TitleBandWidth, TitleBandHeight), 96.0, ratio);
  tito_Paint(band, chapter);

  QPainter painter(&client);
  const QRect frame(arrowFramePosition(client.size()), ArrowFrameDesignRect.size());
  painter.fillRect(frame, windowBackColor());
  painter.setClipRect(frame);
  if (previousShown)
    paintButton(painter, PreviousArrowRect.translated(frame.topLeft()),
                buttonPicture(applicationFolder, WindowButton::Previous, ratio));
  if (nextShown)
    paintButton(painter, NextArrowRect.translated(frame.topLeft()),
                buttonPicture(applicationFolder, WindowButton::Next, ratio));

  painter.setClipRect(QRect(0, 0, TitleBandWidth, TitleBandHeight));
  painter.drawImage(0, 0, band.image());
  paintButton(painter, PrintButtonRect,
              buttonPicture(applicationFolder, WindowButton::Print, ratio));
  paintButton(painter, CloseButtonRect,
              buttonPicture(applicationFolder, WindowButton::Close, ratio));
}

} // namespace abrevel

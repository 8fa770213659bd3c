// What the sheet tests share: the page state as the window or the print
// handler hands it to a drawer, screens drawn on the recording target, and
// the extent of what was drawn, with fixed metrics or the real fonts.
#pragma once

#include "shell/screentable.h"
#include "toolkit/colors.h"
#include "toolkit/rastercanvas.h"
#include "toolkit/recordingcanvas.h"

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QSvgRenderer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>
#include <vector>

namespace abrevel::sheettest {

inline const QColor kWindow = RGB(255, 253, 227);
inline constexpr double kPaperDpi = 300;
inline constexpr double kPaperScale = kPaperDpi / 96; // 3.125
// The window's client area, and the top of the arrow frame in it.
inline constexpr double kClientWidth = 784, kClientHeight = 561;
inline constexpr double kArrowFrameTop = kClientHeight - 35;
// Text keeps clear of the right edge by the width of the scroll margin.
inline constexpr double kTextRight = 745;

inline QString appDir() { return QStringLiteral(ABREVEL_APP_DIR); }

// The output of a poppler tool (pdftotext, pdfimages, ...) run on a file.
inline QString popplerOutput(const QString &tool, const QStringList &arguments) {
  QProcess process;
  process.start(tool, arguments);
  if (!process.waitForFinished(60000))
    return QString();
  return QString::fromUtf8(process.readAllStandardOutput());
}

// The vector form NAME.svg of a picture of the application folder, drawn
// `scale` times the picture's size over white, as the viewer paints it
// enlarged on paper.
inline QImage vectorForm(const QString &name, int scale = 1) {
  QSvgRenderer renderer(appDir() + QLatin1Char('/') + name + QStringLiteral(".svg"));
  if (!renderer.isValid())
    return {};
  QImage image(renderer.defaultSize() * scale, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  renderer.render(&p, QRectF(image.rect()));
  return image;
}

// The page state as the window (scale 1) or the print handler (scale k,
// DrawWidth k) hands it to a drawer.
inline Page pageFor(Canvas &cv, const QString &dir, double scale, double line) {
  cv.BackColor = kWindow;
  cv.DrawWidth = scale;
  Page p;
  p.target = &cv;
  p.scale = static_cast<float>(scale);
  p.applicationFolder = dir;
  p.AppFolder = dir + QLatin1Char('/');
  p.line = static_cast<std::int16_t>(std::lround(line));
  return p;
}

// Draws one screen from its row's line start, on the window (dpi 96) or on
// paper of the same physical size.
inline std::vector<DrawOp> drawScreen(int code, const QString &dir, double dpi = 96) {
  const double k = dpi / 96;
  RecordingCanvas cv(kClientWidth * k, kClientHeight * k, dpi);
  Page p = pageFor(cv, dir, k, findScreen(code)->lineStart * k);
  callDrawer(p, findScreen(code)->drawer);
  return cv.ops();
}

inline std::optional<DrawOp> textOp(const std::vector<DrawOp> &ops, const QString &text) {
  for (const DrawOp &op : ops)
    if (op.kind == DrawOp::Text && op.text == text)
      return op;
  return std::nullopt;
}

inline std::vector<DrawOp> images(const std::vector<DrawOp> &ops) {
  std::vector<DrawOp> found;
  std::copy_if(ops.begin(), ops.end(), std::back_inserter(found),
               [](const DrawOp &op) { return op.kind == DrawOp::Image; });
  return found;
}

// The lowest and rightmost drawn points of a log; text is left out of the
// rightmost point because the recording metrics give every character the
// same width (see RealTextExtent for the text).
struct Extent {
  double bottom = 0;
  double right = 0;
};
inline Extent extentOf(const std::vector<DrawOp> &ops) {
  Extent e;
  for (const DrawOp &op : ops) {
    double bottom = std::max(op.y1, op.y2), right = std::max(op.x1, op.x2);
    if (op.kind == DrawOp::Line || op.kind == DrawOp::Box) {
      bottom += op.width / 2;
      right += op.width / 2;
    } else if (op.kind == DrawOp::Ellipse) {
      bottom = op.y1 + op.y2;
      right = op.x1 + op.x2;
    } else if (op.kind == DrawOp::Transparent) {
      bottom = op.y1 + op.image.height();
      right = op.x1 + op.image.width();
    } else if (op.kind == DrawOp::Clear) {
      continue;
    }
    e.bottom = std::max(e.bottom, bottom);
    if (op.kind != DrawOp::Text)
      e.right = std::max(e.right, right);
  }
  return e;
}

// A raster target that notes where its text ends with the real fonts.
class RealTextExtent : public RasterCanvas {
public:
  using RasterCanvas::RasterCanvas;
  Extent text;

protected:
  void paintText(double x, double y, const FontSpec &font, const QColor &color,
                 const QString &shown) override {
    text.right = std::max(text.right, x + textWidth(font, shown));
    text.bottom = std::max(text.bottom, y + lineHeight(font));
    RasterCanvas::paintText(x, y, font, color, shown);
  }
};

// A BMP fixture: pure white (the key colour) around a pure red block.
inline void writePicture(const QString &dir, const QString &name, int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  for (int y = h / 4; y < h - h / 4; ++y)
    for (int x = w / 4; x < w - w / 4; ++x)
      image.setPixel(x, y, qRgb(255, 0, 0));
  ASSERT_TRUE(image.save(dir + QLatin1Char('/') + name, "BMP"));
}

// A fixture picture: its file name and size.
struct Fixture {
  const char *name;
  int w, h;
};
using FixtureWriter = void (*)(const QString &dir, const QString &name, int w, int h);
// Writes each fixture into dir, as writePicture does unless told otherwise.
inline void writeFixtures(const QString &dir, std::span<const Fixture> fixtures,
                          FixtureWriter write = writePicture) {
  for (const Fixture &f : fixtures)
    write(dir, QLatin1String(f.name), f.w, f.h);
}

} // namespace abrevel::sheettest

// Pictures at any resolution, and the screen drawn finer than its pixels:
// a picture shown larger than its file is painted from its drawing (NAME.svg
// beside it) whatever device it lands on, keyed, mirrored and pre-scaled
// pictures included; one without a drawing is its file, smoothly enlarged;
// a surface with a pixel ratio keeps the layout of its pixels.
#include "shell/commandline.h"
#include "toolkit/colors.h"
#include "toolkit/devices.h"
#include "toolkit/picturepaint.h"
#include "toolkit/rastercanvas.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using namespace abrevel;

namespace {

// A drawing 20 × 10 pixels written in other units, lopsided so that a
// mirrored copy shows, with its canvas partly uncovered.
const char *const Drawing =
    R"(<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" )"
    R"(width="20" height="10" viewBox="0 0 40 20">)"
    R"(<rect x="2" y="3" width="14" height="14" fill="#c80000"/>)"
    R"(<circle cx="31" cy="8" r="6" fill="#0050c8"/>)"
    R"(<path d="M20 19 L39 12" stroke="#107010" stroke-width="1.5" fill="none"/></svg>)";

constexpr QSize ArtSize(20, 10);

// The drawing as the viewer must paint it over a device rectangle: the
// ground first, then the drawing, turned when mirrored.
QImage drawnNatively(const QString &svg, QSize device, std::optional<QColor> ground,
                     bool mirrored) {
  QImage image(device, QImage::Format_ARGB32_Premultiplied);
  image.fill(ground ? *ground : QColor(Qt::transparent));
  QPainter p(&image);
  if (mirrored) {
    p.translate(device.width(), 0);
    p.scale(-1, 1);
  }
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  QSvgRenderer(svg).render(&p, QRectF(QPointF(0, 0), QSizeF(device)));
  return image;
}

// Over an opaque background, as a surface shows it.
QImage over(const QImage &image, const QColor &background) {
  QImage out(image.size(), QImage::Format_RGB32);
  out.fill(background);
  QPainter(&out).drawImage(0, 0, image);
  return out;
}

int worstChannel(const QImage &a, const QImage &b) {
  const QImage x = a.convertToFormat(QImage::Format_RGB32);
  const QImage y = b.convertToFormat(QImage::Format_RGB32);
  if (x.size() != y.size())
    return 256;
  int worst = 0;
  for (int row = 0; row < x.height(); ++row)
    for (int column = 0; column < x.width(); ++column) {
      const QRgb p = x.pixel(column, row), q = y.pixel(column, row);
      worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                        std::abs(qBlue(p) - qBlue(q))});
    }
  return worst;
}

// Mean of the channel differences, in levels.
double meanDifference(const QImage &a, const QImage &b) {
  const QImage x = a.convertToFormat(QImage::Format_RGB32);
  const QImage y = b.convertToFormat(QImage::Format_RGB32);
  double sum = 0;
  for (int row = 0; row < x.height(); ++row)
    for (int column = 0; column < x.width(); ++column) {
      const QRgb p = x.pixel(column, row), q = y.pixel(column, row);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
             std::abs(qBlue(p) - qBlue(q));
    }
  return sum / (3.0 * x.width() * x.height());
}

// The share of pixels that differ by more than half the range in a channel.
double shareOfDifferentPixels(const QImage &a, const QImage &b) {
  const QImage x = a.convertToFormat(QImage::Format_RGB32);
  const QImage y = b.convertToFormat(QImage::Format_RGB32);
  int different = 0;
  for (int row = 0; row < x.height(); ++row)
    for (int column = 0; column < x.width(); ++column) {
      const QRgb p = x.pixel(column, row), q = y.pixel(column, row);
      different += std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                             std::abs(qBlue(p) - qBlue(q))}) > 128;
    }
  return static_cast<double>(different) / (x.width() * x.height());
}

// The application folder of the pictures: art.bmp with its drawing art.svg
// beside it, made from it as the picture tools make a BMP (over white), and
// bare.bmp, the same picture without a drawing.
struct PictureFolder {
  PictureFolder() {
    QFile svg(dir.filePath("art.svg"));
    EXPECT_TRUE(svg.open(QIODevice::WriteOnly) && svg.write(Drawing) > 0);
    svg.close();
    const QImage picture =
        over(drawnNatively(svg.fileName(), ArtSize, Qt::white, false), Qt::white);
    EXPECT_TRUE(picture.save(dir.filePath("art.bmp")));
    EXPECT_TRUE(picture.save(dir.filePath("bare.bmp")));
  }
  QString path(const QString &name) const { return dir.filePath(name); }
  QString svg() const { return dir.filePath("art.svg"); }
  QTemporaryDir dir;
};

// A surface of the given pixel ratio and resolution on a dark ground, so
// that what a picture leaves uncovered shows.
struct Surface {
  Surface(const PictureFolder &folder, double ratio, double dpi = 96)
      : cv(QSize(60, 40) * (dpi / 96), dpi, ratio) {
    cv.BackColor = QColor(20, 20, 20);
    cv.Cls();
    page.target = &cv;
    page.scale = static_cast<float>(dpi / 96);
    page.AppFolder = folder.dir.path() + "/";
  }
  // The device pixels of a rectangle of the surface.
  QImage region(QPointF at, QSizeF size) {
    const double k = cv.pixelRatio();
    return cv.image().copy(QRectF(at * k, size * k).toRect());
  }
  RasterCanvas cv;
  Page page;
};

} // namespace

// A picture painted straight on the target: its file at one device pixel
// per picture pixel, its drawing above, mirrored as the file would be; the
// file itself, smoothly enlarged, when it has no drawing.
TEST(PicturesAtAnyScale, FilePicturesAreDrawnFromTheirDrawingWhenEnlarged) {
  PictureFolder folder;
  struct Case {
    double ratio;
    const char *file;
    bool mirrored;
  };
  for (const Case &c : {Case{1, "art.bmp", false}, Case{2, "art.bmp", false},
                        Case{3, "art.bmp", true}, Case{2, "bare.bmp", false}}) {
    SCOPED_TRACE(testing::Message() << c.ratio << " " << c.file << " " << c.mirrored);
    Surface s(folder, c.ratio);
    const Picture picture = LoadPicture(folder.path(c.file));
    if (c.mirrored)
      s.cv.PaintPicture(picture, 25, 5, -20, 10);
    else
      s.cv.PaintPicture(picture, 5, 5);
    const QImage drawn = s.region(QPointF(5, 5), QSizeF(ArtSize));
    const QSize device = ArtSize * c.ratio;
    QImage expected;
    if (c.ratio == 1) {
      expected = picture.image(); // the file, pixel for pixel
    } else if (QString(c.file) == "bare.bmp") {
      expected = QImage(device, QImage::Format_RGB32);
      QPainter p(&expected);
      p.setRenderHint(QPainter::SmoothPixmapTransform);
      p.drawImage(QRect(QPoint(0, 0), device), picture.image());
    } else {
      expected = over(drawnNatively(folder.svg(), device, Qt::white, c.mirrored), Qt::white);
    }
    EXPECT_LE(worstChannel(drawn, expected), 1);
    // And the enlarged drawing is not the file enlarged.
    if (c.ratio > 1 && QString(c.file) == "art.bmp") {
      EXPECT_GT(worstChannel(drawn, picture.image().scaled(device)), 40);
    }
  }
}

// Pictures composed in the buffer or the image list keep their file: the
// keyed picture shows the buffer's colour where its key is (the window's
// on screen, white on paper), the mirrored copy of a buffer is the drawing
// turned, and the pre-scaled transparent picture leaves the target showing
// where the drawing leaves its canvas uncovered.
TEST(PicturesAtAnyScale, ComposedPicturesAreDrawnFromTheFileTheyHold) {
  PictureFolder folder;
  const QColor cream = RGB(255, 253, 227);
  enum class Device { Keyed, MirroredKeyed, PreScaled };
  struct Case {
    Device device;
    double ratio;
    double dpi;
  };
  for (const Case &c :
       {Case{Device::Keyed, 2, 96}, Case{Device::Keyed, 1, 192}, Case{Device::MirroredKeyed, 2, 96},
        Case{Device::PreScaled, 1, 192}, Case{Device::PreScaled, 2, 96}}) {
    SCOPED_TRACE(testing::Message() << int(c.device) << " " << c.ratio << " " << c.dpi);
    Surface s(folder, c.ratio, c.dpi);
    const double k = c.dpi / 96;
    std::optional<QColor> ground = k == 1 ? cream : QColor(Qt::white);
    bool mirrored = false;
    switch (c.device) {
    case Device::Keyed:
      PrepareKeyed(s.page, "art.bmp");
      PaintKeyed(s.page, 5 * k, 5 * k);
      break;
    case Device::MirroredKeyed:
      // A keyed picture turned in the buffer before it is painted.
      PrepareKeyed(s.page, "art.bmp", false);
      s.page.Image1.setPicture(s.page.Picturetampon.ImagePicture());
      s.page.Picturetampon.Cls();
      s.page.Picturetampon.paintStretched(s.page.Image1.Picture(), 20, 0, -20, 10);
      PaintKeyed(s.page, 5 * k, 5 * k);
      mirrored = true;
      break;
    case Device::PreScaled:
      PrepareScaledTransparent(s.page, "art.bmp");
      DrawScaledTransparent(s.page, 5 * k, 5 * k);
      ground = s.cv.BackColor;
      break;
    }
    const QSize device = ArtSize * k * c.ratio;
    const QImage expected =
        over(drawnNatively(folder.svg(), device, ground, mirrored), s.cv.BackColor);
    EXPECT_LE(worstChannel(s.region(QPointF(5, 5) * k, QSizeF(ArtSize) * k), expected), 1);
  }
}

// Every picture of the application folder has its drawing beside it, as
// large as the picture (so that nothing moves when the drawing is painted
// instead), and it is the picture's drawing: rendered at the picture's own
// size it gives the picture back, but for the edges of its shapes.
TEST(PicturesAtAnyScale, EveryShippedPictureHasItsDrawingBesideIt) {
  const QDir app(QStringLiteral(ABREVEL_APP_DIR));
  const QStringList pictures = app.entryList({"*.gif", "*.bmp", "*.jpg", "*.png"}, QDir::Files);
  ASSERT_FALSE(pictures.isEmpty());
  for (const QString &name : pictures) {
    SCOPED_TRACE(name.toStdString());
    const QString file = app.filePath(name);
    const QString svg = vectorSourceOf(file);
    ASSERT_FALSE(svg.isEmpty());
    const QImage picture(file);
    ASSERT_TRUE(QSvgRenderer(svg).isValid());
    EXPECT_EQ(QSvgRenderer(svg).defaultSize(), picture.size());
    const std::optional<QColor> ground =
        picture.hasAlphaChannel() ? std::nullopt : std::optional<QColor>(Qt::white);
    const QImage drawn = over(drawnNatively(svg, picture.size(), ground, false), Qt::white);
    // Edges blend, palettes round colours; a missing or misplaced shape,
    // a graph's plot left out, changes whole pixels.
    EXPECT_LT(shareOfDifferentPixels(over(picture, Qt::white), drawn), 0.005);
  }
}

// --render-screen --scale 2: the same layout (shrunk back to its pixels it
// is the screen at scale 1, give or take the edges of letters and shapes),
// with pictures drawn finer than the screen's pixels allow.
TEST(PicturesAtAnyScale, ScreenAtScaleTwoIsTheScreenAtScaleOneDrawnFiner) {
  const QString folder = QStringLiteral(ABREVEL_APP_DIR);
  // Keyed, mirrored, pre-scaled, computed, graph and photograph pictures.
  for (const int code : {401, 1201, 1301, 1402, 1501, 1901}) {
    SCOPED_TRACE(code);
    const QImage one = renderScreen(folder, code).convertToFormat(QImage::Format_RGB32);
    const QImage two = renderScreen(folder, code, 2).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(two.size(), one.size() * 2);
    EXPECT_EQ(two.devicePixelRatio(), 2.0);
    const QImage shrunk = two.scaled(one.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_LT(meanDifference(one, shrunk), 3.0);
    // Not the screen at scale 1 enlarged.
    EXPECT_GT(meanDifference(one.scaled(two.size()), two), 0.5);
  }
}

// On a finer surface, shapes of the one-pixel pen cover the same pixels of
// the surface as at scale 1, each by its block of device pixels: the
// gradients' horizontal strokes set straight into the image (in copy pen
// and mask pen), lines across, boxes outlined and filled.
TEST(PicturesAtAnyScale, OnePixelShapesCoverTheSamePixelsOnAFinerSurface) {
  const auto draw = [](RasterCanvas &cv) {
    cv.BackColor = RGB(200, 220, 240);
    cv.Cls();
    cv.Line(3, 4.5, 30.2, 4.5, RGB(120, 255, 60));
    cv.Line(2, 10, 35, 10, RGB(0, 0, 0), LineForm::FilledBox);
    cv.DrawMode = MaskPen;
    for (int y = 8; y < 14; ++y)
      cv.Line(0, y, 40, y, RGB(255, 200 - 10 * y, 100));
    cv.DrawMode = CopyPen;
    cv.Line(5, 20, 5, 35, RGB(0, 0, 255));
    cv.Line(10, 18, 36, 36, RGB(255, 0, 0), LineForm::Box);
  };
  RasterCanvas one(QSize(40, 40));
  draw(one);
  for (const double ratio : {2.0, 3.0}) {
    SCOPED_TRACE(ratio);
    RasterCanvas fine(QSize(40, 40), 96, ratio);
    draw(fine);
    EXPECT_EQ(fine.ScaleWidth(), 40);
    const QImage expected =
        one.image().scaled(fine.image().size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    EXPECT_EQ(worstChannel(fine.image(), expected), 0);
  }
}

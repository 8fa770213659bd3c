// The screens of chapters 1 to 3: layout rules that depend on the pictures'
// sizes and on the target, the fit of every screen in the window and of
// every chapter on one printed page, their text, and missing pictures.
#include "content/texts.h"
#include "sheets/chemistry/chemistry.h"
#include "shell/screentable.h"
#include "toolkit/colors.h"
#include "toolkit/errors.h"
#include "toolkit/rastercanvas.h"
#include "toolkit/recordingcanvas.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>

using namespace abrevel;

namespace {

constexpr int kScreens[] = {101, 102, 201, 202, 203, 301, 302, 303};
const QColor kWindow = RGB(255, 253, 227);
constexpr double kPaperDpi = 300;
constexpr double kPaperScale = kPaperDpi / 96; // 3.125

QString appDir() { return QStringLiteral(ABREVEL_APP_DIR); }

// The page state as the window (scale 1) or the print handler (scale k,
// DrawWidth k) hands it to a drawer.
Page pageFor(Canvas &cv, const QString &dir, double scale, double line) {
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
std::vector<DrawOp> drawScreen(int code, const QString &dir, double dpi = 96) {
  const double k = dpi / 96;
  RecordingCanvas cv(784 * k, 561 * k, dpi);
  Page p = pageFor(cv, dir, k, findScreen(code)->lineStart * k);
  callDrawer(p, findScreen(code)->drawer);
  return cv.ops();
}

std::optional<DrawOp> textOp(const std::vector<DrawOp> &ops, const QString &text) {
  for (const DrawOp &op : ops)
    if (op.kind == DrawOp::Text && op.text == text)
      return op;
  return std::nullopt;
}

std::vector<DrawOp> images(const std::vector<DrawOp> &ops) {
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
Extent extentOf(const std::vector<DrawOp> &ops) {
  Extent e;
  for (const DrawOp &op : ops) {
    double bottom = std::max(op.y1, op.y2), right = std::max(op.x1, op.x2);
    if (op.kind == DrawOp::Line || op.kind == DrawOp::Box) {
      bottom += op.width / 2;
      right += op.width / 2;
    } else if (op.kind == DrawOp::Ellipse) {
      bottom = op.y1 + op.y2;
      right = op.x1 + op.x2;
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
void writePicture(const QString &dir, const QString &name, int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  for (int y = h / 4; y < h - h / 4; ++y)
    for (int x = w / 4; x < w - w / 4; ++x)
      image.setPixel(x, y, qRgb(255, 0, 0));
  ASSERT_TRUE(image.save(dir + QLatin1Char('/') + name, "BMP"));
}

struct Fixture {
  const char *name;
  int w, h;
};
// Sizes that differ within every row, so that a drawer reading the wrong
// picture's size is seen.
constexpr Fixture kFixtures[] = {
    {"pces101.bmp", 60, 40},    {"pces102.bmp", 120, 100}, {"pces103a.bmp", 50, 50},
    {"pces103b.bmp", 80, 70},   {"pces103c.bmp", 30, 30},  {"pces103d.bmp", 64, 20},
    {"pces104a.bmp", 110, 100}, {"pces104b.bmp", 60, 40},  {"pces201.bmp", 100, 60},
    {"pces202.bmp", 100, 80},   {"pces203.bmp", 100, 40},  {"pces204.bmp", 90, 70},
    {"pces205.bmp", 90, 90},    {"pces206.bmp", 90, 30},
};

class ChapterPictures : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    for (const Fixture &f : kFixtures)
      writePicture(dir.path(), QLatin1String(f.name), f.w, f.h);
  }
  QTemporaryDir dir;
};

// The screens' heading and fixed labels, which must be drawn whether or not
// the pictures are there.
struct ScreenTexts {
  int code;
  std::vector<const char *> texts;
};
const std::vector<ScreenTexts> kScreenTexts = {
    {101,
     {"Origine d'une espèce chimique", "Origine naturelle", "Origine synthétique",
      "Espèce chimique"}},
    {102,
     {"Classement des espèces chimiques", "Inflammable", "Toxique", "Espèce chimique soluble",
      "Espèce chimique insoluble"}},
    {201, {"Extraction d'espèces chimiques", "Par la vapeur", "Par un solvant"}},
    {202, {"Chromatographie sur couche mince", "Dépôt", "Migration", "Révélation"}},
    {203, {"Caractéristiques physiques d'une espèce chimique", "Indice de réfraction"}},
    {301, {"Nécessité de la chimie de synthèse"}},
    {302, {"Les différentes étapes d'une synthèse", "1.", " Introduction du", "physiques)."}},
    {303, {"Écritures représentant la synthèse", "Exemple"}},
};

} // namespace

TEST_F(ChapterPictures, Screen102HasTwoMoreBlankLinesOnPaper) {
  const auto screen = drawScreen(102, dir.path());
  const auto paper = drawScreen(102, dir.path(), kPaperDpi);
  const double k = kPaperScale;
  // The solubility pictures (after four pictograms) start the last block.
  const double onScreen = images(screen).at(4).y1 - findScreen(102)->lineStart;
  const double onPaper = images(paper).at(4).y1 - findScreen(102)->lineStart * k;
  const double paperLine = 16 * k; // an Arial 10 line at 300 dpi
  EXPECT_NEAR(onPaper, onScreen * k + 2 * paperLine, 2.0);
}

TEST_F(ChapterPictures, KeyedPicturesShowTheWindowColourOnScreenAndWhiteOnPaper) {
  for (const double dpi : {96.0, kPaperDpi}) {
    SCOPED_TRACE(dpi);
    const double k = dpi / 96;
    RasterCanvas cv(QSize(std::lround(784 * k), std::lround(561 * k)), dpi);
    cv.image().fill(Qt::gray);
    Page p = pageFor(cv, dir.path(), k, findScreen(101)->lineStart * k);
    callDrawer(p, Screen101);
    // The red block of the first picture; the key colour lies left of it.
    const QImage &image = cv.image();
    int left = image.width(), top = image.height(), bottom = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width() / 2; ++x)
        if (image.pixel(x, y) == qRgb(255, 0, 0)) {
          left = std::min(left, x);
          top = std::min(top, y);
          bottom = std::max(bottom, y);
        }
    ASSERT_LT(top, bottom);
    const QColor key = image.pixelColor(left - std::lround(5 * k), (top + bottom) / 2);
    EXPECT_EQ(key, dpi == 96.0 ? kWindow : QColor(Qt::white));
  }
}

TEST_F(ChapterPictures, LabelsTakeTheSizeOfTheirScreensReferencePicture) {
  const double W = 784, L = 16;
  // 101: both labels from the first picture (60 × 40), not the second.
  {
    const auto ops = drawScreen(101, dir.path());
    const double Yp = images(ops).at(0).y1;
    const auto natural = textOp(ops, QStringLiteral("Origine naturelle"));
    const auto synthetic = textOp(ops, QStringLiteral("Origine synthétique"));
    ASSERT_TRUE(natural && synthetic);
    EXPECT_NEAR((natural->x1 + natural->x2) / 2, W * 0.45 - 30, 1);
    EXPECT_NEAR((synthetic->x1 + synthetic->x2) / 2, W * 0.55 + 30, 1);
    EXPECT_NEAR(natural->y1, Yp + 40 - L / 2, 1);
    EXPECT_NEAR(synthetic->y1, Yp + 40 - L / 2, 1);
  }
  // 102: the four hazard labels from the first pictogram (50 × 50); the
  // solubility labels from the second beaker (60 × 40).
  {
    const auto ops = drawScreen(102, dir.path());
    const double Yp = images(ops).at(0).y1;
    const char *hazards[] = {"Inflammable", "Corrosif", "Nocif ou irritant", "Toxique"};
    for (int i = 0; i < 4; ++i) {
      const auto label = textOp(ops, QString::fromUtf8(hazards[i]));
      ASSERT_TRUE(label) << hazards[i];
      EXPECT_NEAR((label->x1 + label->x2) / 2, (2 * i + 2) * (W / 11) + 25, 0.01) << hazards[i];
      EXPECT_NEAR(label->y1, Yp + 50, 0.01) << hazards[i];
    }
    const double Yb = images(ops).at(4).y1;
    const auto soluble = textOp(ops, QStringLiteral("Espèce chimique soluble"));
    const auto insoluble = textOp(ops, QStringLiteral("Espèce chimique insoluble"));
    ASSERT_TRUE(soluble && insoluble);
    EXPECT_NEAR(soluble->x2, W * 0.4 - 60, 0.01);
    EXPECT_NEAR(insoluble->x1, W * 0.6 + 60, 0.01);
    EXPECT_NEAR((soluble->y1 + soluble->y2) / 2, Yb + 20, 0.01);
  }
  // 201 and 202: the labels one line below the last picture of the row.
  for (const auto &[code, lastHeight, label] :
       {std::tuple{201, 40, "Par la vapeur"}, std::tuple{202, 30, "Dépôt"}}) {
    SCOPED_TRACE(code);
    const auto ops = drawScreen(code, dir.path());
    const auto pictures = images(ops);
    ASSERT_EQ(pictures.size(), 3u);
    const auto text = textOp(ops, QString::fromUtf8(label));
    ASSERT_TRUE(text);
    EXPECT_NEAR(text->y1, pictures.at(0).y1 + lastHeight + L, 0.01);
  }
}

TEST(Chapters1to3, Screen203TableAndFormulasFollowTheGridOnScreenAndPaper) {
  for (const double dpi : {96.0, kPaperDpi}) {
    SCOPED_TRACE(dpi);
    const double k = dpi / 96;
    const auto ops = drawScreen(203, QDir::tempPath(), dpi);
    // The grid is the white body; its shadow lies 3 units lower right.
    std::vector<DrawOp> filled;
    for (const DrawOp &op : ops)
      if (op.kind == DrawOp::FilledBox)
        filled.push_back(op);
    ASSERT_EQ(filled.size(), 2u);
    const DrawOp &shadow = filled[0], &body = filled[1];
    EXPECT_EQ(body.color, QBColor(15));
    EXPECT_EQ(shadow.color, QBColor(7));
    EXPECT_NEAR(shadow.x1 - body.x1, 3 * k, 1e-9);
    EXPECT_NEAR(shadow.y2 - body.y2, 3 * k, 1e-9);
    const double Top = body.y1, R = (body.y2 - body.y1) / 6;
    EXPECT_NEAR(R, std::round(2.3 * 16 * k), 1e-9);

    // rho = m / V: m sits on the rule at the row's middle, V under it.
    const auto m = textOp(ops, QStringLiteral("m"));
    const auto V = textOp(ops, QStringLiteral("V"));
    ASSERT_TRUE(m && V);
    EXPECT_TRUE(m->font.Italic && V->font.Italic);
    const double Yr = toInt16(Top + 3.5 * R);
    EXPECT_NEAR(m->y2, Yr, 1e-9);
    EXPECT_NEAR(V->y1, Yr, 1e-9);
    EXPECT_NEAR(m->x1 + m->x2, V->x1 + V->x2, 1e-9);

    // The unit exponents rise 8 target units and the line comes back 10
    // units lower, on screen and on paper alike.
    const auto kg = textOp(ops, QStringLiteral("kg · m"));
    const auto cm = textOp(ops, QStringLiteral(" (ou g · cm"));
    const auto close = textOp(ops, QStringLiteral(")"));
    ASSERT_TRUE(kg && cm && close);
    EXPECT_NEAR(cm->y1 - kg->y1, 2, 1e-9);
    EXPECT_NEAR(close->y1 - kg->y1, 4, 1e-9);
  }
}

TEST(Chapters1to3, EveryScreenFitsTheWindowWithTheShippedPictures) {
  for (const char *name :
       {"pces101.bmp", "pces102.bmp", "pces103a.bmp", "pces103b.bmp", "pces103c.bmp",
        "pces103d.bmp", "pces104a.bmp", "pces104b.bmp", "pces201.bmp", "pces202.bmp", "pces203.bmp",
        "pces204.bmp", "pces205.bmp", "pces206.bmp", "pces301.bmp", "pces302.bmp", "pces303.bmp",
        "pces304.bmp"})
    ASSERT_TRUE(QFile::exists(appDir() + QLatin1Char('/') + QLatin1String(name))) << name;
  const double arrowFrameTop = 561 - 35;
  for (const int code : kScreens) {
    SCOPED_TRACE(code);
    const Extent drawn = extentOf(drawScreen(code, appDir()));
    EXPECT_LE(drawn.bottom, arrowFrameTop);
    EXPECT_LE(drawn.right, 784);

    RealTextExtent cv(QSize(784, 561));
    Page p = pageFor(cv, appDir(), 1, findScreen(code)->lineStart);
    callDrawer(p, findScreen(code)->drawer);
    EXPECT_LE(cv.text.bottom, arrowFrameTop);
    EXPECT_LE(cv.text.right, 745);
  }
}

TEST(Chapters1to3, EveryChapterFitsOnePrintedPage) {
  // The printable area of an A4 page, in screen pixels, less the notice line
  // at its foot; the first screen starts under the title band.
  const double k = kPaperScale, width = 760, height = 1080, notice = 13, first = 61;
  for (int chapter = 1; chapter <= 3; ++chapter) {
    SCOPED_TRACE(chapter);
    RecordingCanvas paper(width * k, height * k, kPaperDpi);
    RealTextExtent real(QSize(std::lround(width * k), std::lround(height * k)), kPaperDpi);
    for (Canvas *cv : {static_cast<Canvas *>(&paper), static_cast<Canvas *>(&real)}) {
      Page p = pageFor(*cv, appDir(), k, first * k);
      for (PageDrawer drawer : printDrawers(chapter)) {
        ASSERT_NE(drawer, nullptr);
        callDrawer(p, drawer);
      }
    }
    const Extent drawn = extentOf(paper.ops());
    EXPECT_LE(drawn.bottom, (height - notice) * k);
    EXPECT_LE(drawn.right, width * k);
    EXPECT_LE(real.text.bottom, (height - notice) * k);
    EXPECT_LE(real.text.right, width * k);
  }
}

TEST(Chapters1to3, TextsAreCompleteAndWellFormed) {
  for (const char *file : {"chapter01.txt", "chapter02.txt", "chapter03.txt"}) {
    SCOPED_TRACE(file);
    QFile f(QStringLiteral(ABREVEL_SOURCE_DIR "/content/") + QLatin1String(file));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QStringList errors;
    const auto texts = parseTexts(QString::fromUtf8(f.readAll()), &errors);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    for (const auto &[key, lines] : texts)
      for (const QString &line : lines)
        EXPECT_FALSE(line.trimmed().isEmpty()) << key.first << " " << key.second.toStdString();
  }
  for (const int code : kScreens)
    drawScreen(code, appDir());
  for (const QString &missing : missingTexts()) {
    const int code = missing.mid(1).section(QLatin1Char(' '), 0, 0).toInt();
    EXPECT_FALSE(code >= 101 && code <= 303) << missing.toStdString();
  }
}

TEST(Chapters1to3, ScreensAreDrawnWithOrWithoutTheirPictures) {
  QTemporaryDir empty;
  ASSERT_TRUE(empty.isValid());
  for (const auto &[folder, expectPictures] :
       {std::pair{appDir(), true}, std::pair{empty.path(), false}}) {
    for (const ScreenTexts &screen : kScreenTexts) {
      SCOPED_TRACE(screen.code);
      SCOPED_TRACE(folder.toStdString());
      const auto ops = drawScreen(screen.code, folder);
      for (const char *text : screen.texts)
        EXPECT_TRUE(textOp(ops, QString::fromUtf8(text))) << text;
      if (!expectPictures) {
        EXPECT_TRUE(images(ops).empty());
      }
    }
  }
}

// The screens of chapters 1 to 3: layout rules that depend on the pictures'
// sizes and on the target (their fit, texts and missing pictures are checked
// with the whole course).
#include "sheets/chemistry/chemistry.h"
#include "tests/sheettest.h"
#include "toolkit/errors.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>

using namespace abrevel;
using namespace abrevel::sheettest;

namespace {

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
    writeFixtures(dir.path(), kFixtures);
  }
  QTemporaryDir dir;
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

// The first picture of 101 and the first hazard pictogram of 102 (a
// diamond, whose corners must show the page).
TEST_F(ChapterPictures, KeyedPicturesShowTheWindowColourOnScreenAndWhiteOnPaper) {
  struct Case {
    int code;
    double scan; // the picture is the only one left of this fraction of the width
  };
  for (const auto &[code, scan] : {Case{101, 0.5}, Case{102, 0.3}})
    for (const double dpi : {96.0, kPaperDpi}) {
      SCOPED_TRACE(code);
      SCOPED_TRACE(dpi);
      const double k = dpi / 96;
      RasterCanvas cv(QSize(std::lround(784 * k), std::lround(561 * k)), dpi);
      cv.image().fill(Qt::gray);
      Page p = pageFor(cv, dir.path(), k, findScreen(code)->lineStart * k);
      callDrawer(p, findScreen(code)->drawer);
      // The red block of the picture; the key colour lies left of it.
      const QImage &image = cv.image();
      int left = image.width(), top = image.height(), bottom = 0;
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width() * scan; ++x)
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

    // The unit exponents rise as every exponent does, 3 units times the
    // scale, and the rest of the line stays on its own baseline.
    const auto kg = textOp(ops, QStringLiteral("kg · m"));
    const auto cm = textOp(ops, QStringLiteral(" (ou g · cm"));
    const auto close = textOp(ops, QStringLiteral(")"));
    const auto exponent = textOp(ops, QStringLiteral("\u22123"));
    ASSERT_TRUE(kg && cm && close && exponent);
    EXPECT_NEAR(cm->y1, kg->y1, 0.5); // the line top comes back rounded
    EXPECT_NEAR(close->y1, kg->y1, 0.5);
    EXPECT_NEAR(kg->y1 - exponent->y1, 3 * k, 0.5);
    EXPECT_EQ(exponent->font.Size, 8);
  }
}

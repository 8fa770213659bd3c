// The screens of chapters 11 and 12: layout rules that depend on the
// pictures' sizes and on the target, the powers-of-ten table, the mirrored
// beam, and text kept clear of the pictures (their fit, texts and missing
// pictures are checked with the whole course).
#include "sheets/physics/physics.h"
#include "tests/sheettest.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace abrevel;
using namespace abrevel::sheettest;

namespace {

// Sizes that differ between every pair a drawer could mix up.
constexpr Fixture kFixtures[] = {
    {"pces1101.bmp", 100, 120}, {"pces1102.bmp", 150, 60},  {"pces1103.bmp", 40, 30},
    {"pces1201.bmp", 200, 150}, {"pces1202.bmp", 160, 110}, {"pces1203.bmp", 180, 100},
};
constexpr int kBeamW = 120, kBeamH = 40;
const QRgb kRed = qRgb(255, 0, 0), kBlue = qRgb(0, 0, 255);

// The beam fixture: red over its left third, blue over its right third,
// key colour between, so that a copy turned left to right is told apart.
void writeBeam(const QString &dir) {
  QImage image(kBeamW, kBeamH, QImage::Format_RGB32);
  image.fill(Qt::white);
  for (int y = 0; y < kBeamH; ++y)
    for (int x = 0; x < kBeamW / 3; ++x) {
      image.setPixel(x, y, kRed);
      image.setPixel(kBeamW - 1 - x, y, kBlue);
    }
  ASSERT_TRUE(image.save(dir + QStringLiteral("/pces1204.bmp"), "BMP"));
}

class PhysicsPictures : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    writeFixtures(dir.path(), kFixtures);
    writeBeam(dir.path());
  }
  QTemporaryDir dir;
};

std::vector<DrawOp> ofKind(const std::vector<DrawOp> &ops, DrawOp::Kind kind) {
  std::vector<DrawOp> found;
  for (const DrawOp &op : ops)
    if (op.kind == kind)
      found.push_back(op);
  return found;
}

const DrawOp &textNamed(const std::vector<DrawOp> &ops, const char *text) {
  static const DrawOp none;
  const auto found = textOp(ops, QString::fromUtf8(text));
  EXPECT_TRUE(found) << text;
  for (const DrawOp &op : ops)
    if (found && op.kind == DrawOp::Text && op.text == found->text)
      return op;
  return none;
}

} // namespace

TEST_F(PhysicsPictures, Screen1101PlacesTextAndPicturesFromEachPicturesOwnSize) {
  const double W = kClientWidth, M = W / 20, L = 16, TWW = 20.0 / 3;
  const auto ops = drawScreen(1101, dir.path());
  const auto pictures = images(ops);
  ASSERT_EQ(pictures.size(), 3u);
  const DrawOp &field = pictures[0], &galaxy = pictures[1], &solar = pictures[2];
  const double Yp = field.y1;
  EXPECT_EQ(field.x1, M);
  // Our Galaxy one "W" right of the deep field, centred on three lines.
  EXPECT_NEAR(galaxy.x1, std::nearbyint(M + 100 + TWW), 1e-9);
  EXPECT_NEAR(galaxy.y1, Yp + (3 * L - 30) / 2, 1e-9);
  // The text column one "W" right of the Galaxy, from the deep field's top.
  const DrawOp &first = textNamed(ops, "L'Univers contient des milliards de galaxies.");
  EXPECT_NEAR(first.x1, std::nearbyint(galaxy.x1 + 40 + TWW), 1e-9);
  EXPECT_EQ(first.y1, Yp);
  // The solar system right-aligned at 0.95 W, under the seven lines of the
  // column; the paragraphs two lines under the deep field, at the margin,
  // their second lines a quarter line lower.
  EXPECT_NEAR(solar.x2, W * 0.95, 1e-9);
  EXPECT_NEAR(solar.y1, Yp + 7 * L, 1e-9);
  const DrawOp &system = textNamed(ops, "Le système solaire est une organisation de la matière");
  EXPECT_EQ(system.x1, M);
  EXPECT_EQ(system.y1, Yp + 120 + 2 * L);
  const DrawOp &earth =
      textNamed(ops, "la troisième planète du système solaire à partir du Soleil.");
  EXPECT_NEAR(earth.y1, system.y1 + 4 * L + 2 * L / 4, 1e-9);
}

TEST_F(PhysicsPictures, Screen1101ParagraphsKeepTheirPlaceWithoutTheDeepField) {
  // Without the deep field its place stays empty: the paragraphs start where
  // they start with it, two lines under it and under the text column.
  const auto shipped = drawScreen(1101, appDir());
  ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("pces1101.bmp"))));
  const auto ops = drawScreen(1101, dir.path());
  const DrawOp &first = textNamed(ops, "L'Univers contient des milliards de galaxies.");
  const DrawOp &system = textNamed(ops, "Le système solaire est une organisation de la matière");
  EXPECT_GE(system.y1, first.y1 + 7 * 16);
  EXPECT_EQ(system.y1,
            textNamed(shipped, "Le système solaire est une organisation de la matière").y1);
}

TEST_F(PhysicsPictures, Screen1201ColumnsTakeTheLeftPicturesWidthAndTheRightOnesHeight) {
  for (const double dpi : {96.0, kPaperDpi}) {
    SCOPED_TRACE(dpi);
    const double k = dpi / 96, W = kClientWidth * k, L = 16 * k;
    const auto ops = drawScreen(1201, dir.path(), dpi);
    const auto pictures = images(ops);
    ASSERT_EQ(pictures.size(), 4u);
    const DrawOp &beam = pictures[0], &mirrored = pictures[1];
    const DrawOp &sighting = pictures[2], &echo = pictures[3];
    // The beam right-ended at 0.75 W, its mirrored copy from 0.25 W.
    EXPECT_NEAR(beam.x2, W * 0.75, 1e-6);
    EXPECT_NEAR(mirrored.x1, W * 0.25, 1e-6);
    EXPECT_NEAR(mirrored.x2 - mirrored.x1, kBeamW * k, 1e-6);
    EXPECT_EQ(beam.y1, mirrored.y1);
    // Both pictures below placed with the left one's width (200, not 160).
    EXPECT_NEAR(sighting.x1, W * 0.25 - 100 * k, 1e-6);
    EXPECT_NEAR(echo.x1, W * 0.75 - 100 * k, 1e-6);
    EXPECT_EQ(echo.y1, sighting.y1);
    // The green line under the beam, one line below it.
    const DrawOp &straight = textNamed(ops, "en ligne droite");
    EXPECT_EQ(straight.color, QBColor(2));
    EXPECT_NEAR(straight.y1, std::nearbyint(beam.y1 + kBeamH * k + L), 1e-6);
    // The text below starts 5 units under the right picture (110, not 150).
    const DrawOp &below = textNamed(ops, "On mesure un angle et on utilise sa tangente,");
    EXPECT_NEAR(below.y1, echo.y1 + (110 + 5) * k, 1e-6);
    EXPECT_NEAR(below.x1, sighting.x1, 1e-6);
    const DrawOp &si = textNamed(ops, "Si ");
    EXPECT_EQ(si.y1, below.y1);
    EXPECT_NEAR(si.x1, echo.x1, 1e-6);
  }
}

TEST_F(PhysicsPictures, Screen1202CentresItsPictureOnThreeQuartersBesideTheText) {
  const double W = kClientWidth, L = 16;
  const auto ops = drawScreen(1202, dir.path());
  const auto pictures = images(ops);
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_NEAR(pictures[0].x1, W * 0.75 - 90, 1e-9);
  // Its top is the line between the definition and the green formula.
  const DrawOp &formula = textNamed(ops, "1 al ");
  EXPECT_EQ(formula.color, QBColor(2));
  EXPECT_TRUE(formula.font.Bold);
  EXPECT_NEAR(pictures[0].y1, formula.y1 - L, 0.5);
}

TEST_F(PhysicsPictures, Screen1201MirrorsTheBeamOnScreenAndOnPaper) {
  for (const double dpi : {96.0, kPaperDpi}) {
    SCOPED_TRACE(dpi);
    const double k = dpi / 96;
    const auto pictures = images(drawScreen(1201, dir.path(), dpi));
    ASSERT_GE(pictures.size(), 2u);
    RasterCanvas cv(QSize(std::lround(kClientWidth * k), std::lround(kClientHeight * k)), dpi);
    Page p = pageFor(cv, dir.path(), k, findScreen(1201)->lineStart * k);
    callDrawer(p, Screen1201);
    const QImage &page = cv.image();
    // Inside each copy, a sixth of the way in from either end.
    const auto at = [&](const DrawOp &copy, double fraction) {
      const double x = copy.x1 + fraction * (copy.x2 - copy.x1);
      return page.pixel(static_cast<int>(x), static_cast<int>((copy.y1 + copy.y2) / 2));
    };
    const DrawOp &beam = pictures[0], &mirrored = pictures[1];
    EXPECT_EQ(at(beam, 1.0 / 6), kRed);
    EXPECT_EQ(at(beam, 5.0 / 6), kBlue);
    EXPECT_EQ(at(mirrored, 1.0 / 6), kBlue);
    EXPECT_EQ(at(mirrored, 5.0 / 6), kRed);
    // The key colour between shows the page: the window's colour on screen,
    // white on paper.
    EXPECT_EQ(QColor(at(mirrored, 0.5)), dpi == 96.0 ? kWindow : QColor(Qt::white));
  }
}

TEST(Chapters11to12, Screen1102TableIsDrawnUnderItsCellsWithItsShadowThreeUnitsOff) {
  for (const double dpi : {96.0, kPaperDpi}) {
    SCOPED_TRACE(dpi);
    const double k = dpi / 96, L = 16 * k;
    const auto ops = drawScreen(1102, QDir::tempPath(), dpi);
    const auto filled = ofKind(ops, DrawOp::FilledBox);
    ASSERT_EQ(filled.size(), 2u);
    const DrawOp &shadow = filled[0], &body = filled[1];
    EXPECT_EQ(shadow.color, QBColor(7));
    EXPECT_EQ(body.color, QBColor(15));
    const double Q = std::nearbyint(kClientWidth * k / 4);
    EXPECT_EQ(body.x1, Q);
    EXPECT_EQ(body.x2, 3 * Q);
    EXPECT_NEAR(body.y2 - body.y1, 6 * L, 1.0);
    EXPECT_NEAR(shadow.x1 - body.x1, 3 * k, 1e-9);
    EXPECT_NEAR(shadow.y1 - body.y1, 3 * k, 1e-9);
    EXPECT_NEAR(shadow.x2 - body.x2, 3 * k, 1e-9);
    EXPECT_NEAR(shadow.y2 - body.y2, 3 * k, 1e-9);

    // Shadow, body, blue outline, row rule, column rule, then the cells.
    std::vector<const DrawOp *> frame;
    size_t lastFrame = 0, firstCell = ops.size();
    for (size_t i = 0; i < ops.size(); ++i) {
      const DrawOp &op = ops[i];
      const bool inTable = op.y1 >= body.y1 && op.y1 <= body.y2 + 3 * k;
      if (op.kind == DrawOp::Text && inTable)
        firstCell = std::min(firstCell, i);
      else if (op.kind != DrawOp::Text && op.color != QBColor(0) && inTable) {
        frame.push_back(&op);
        lastFrame = i;
      }
    }
    ASSERT_EQ(frame.size(), 5u);
    EXPECT_LT(lastFrame, firstCell);
    const double Yb = (body.y1 + body.y2) / 2;
    EXPECT_EQ(frame[2]->kind, DrawOp::Box);
    EXPECT_EQ(frame[3]->kind, DrawOp::Line);
    EXPECT_NEAR(frame[3]->y1, Yb, 1.0);
    EXPECT_EQ(frame[3]->y1, frame[3]->y2);
    EXPECT_EQ(frame[4]->x1, 2 * Q);
    EXPECT_EQ(frame[4]->x2, 2 * Q);
    for (size_t i = 2; i < 5; ++i)
      EXPECT_EQ(frame[i]->color, QBColor(9));

    // The quotients' rules lie on their rows' middles, black, one "10  "
    // wide from where the template starts.
    const auto black = [&] {
      std::vector<DrawOp> rules;
      for (const DrawOp &op : ofKind(ops, DrawOp::Line))
        if (op.color == QBColor(0))
          rules.push_back(op);
      return rules;
    }();
    ASSERT_EQ(black.size(), 2u);
    EXPECT_NEAR(black[0].y1, std::nearbyint((body.y1 + frame[3]->y1) / 2), 1e-9);
    EXPECT_NEAR(black[1].y1, std::nearbyint((frame[3]->y1 + body.y2) / 2), 1e-9);
    EXPECT_GT(black[0].x1, 2 * Q);
    EXPECT_LT(black[1].x2, 2 * Q);
  }
}

// With the shipped pictures and the real fonts, no line of text on these
// screens runs into a picture, on screen or on paper.
TEST(Chapters11to12, TextKeepsClearOfThePicturesOnScreenAndOnPaper) {
  for (const int code : {1101, 1201, 1202}) {
    for (const double dpi : {96.0, kPaperDpi}) {
      SCOPED_TRACE(code);
      SCOPED_TRACE(dpi);
      const double k = dpi / 96;
      // On paper the page is the printable width of an A4 sheet.
      const double width = (dpi == 96.0 ? kClientWidth : 760) * k;
      RecordingCanvas cv(width, kClientHeight * k, dpi, RecordingCanvas::Metrics::Installed);
      Page p = pageFor(cv, appDir(), k, findScreen(code)->lineStart * k);
      callDrawer(p, findScreen(code)->drawer);
      const auto pictures = images(cv.ops());
      ASSERT_FALSE(pictures.empty());
      for (const DrawOp &text : ofKind(cv.ops(), DrawOp::Text)) {
        if (text.text.trimmed().isEmpty())
          continue;
        const QRectF line(QPointF(text.x1, text.y1), QPointF(text.x2, text.y2));
        for (const DrawOp &picture : pictures) {
          const QRectF box(QPointF(picture.x1, picture.y1), QPointF(picture.x2, picture.y2));
          EXPECT_FALSE(line.intersects(box)) << text.text.toStdString();
        }
      }
    }
  }
}

// The screens of chapters 15 and 16: layout rules that depend on the
// pictures' sizes, the tinted panel of 1601, the stop at the first missing
// picture, and a printed chapter in which a screen stopped (their fit and
// texts are checked with the whole course).
#include "sheets/physics/physics.h"
#include "shell/printing.h"
#include "shell/titleband.h"
#include "tests/sheettest.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace abrevel;
using namespace abrevel::sheettest;

namespace {

// Sizes that differ from one picture to the next, so that a drawer reading
// the wrong picture's size is seen; the last chronophotograph is neither
// the tallest nor the shortest.
constexpr Fixture kFixtures[] = {
    {"pces1501.jpg", 120, 200}, {"pces1502.jpg", 100, 50},  {"pces1503.jpg", 60, 90},
    {"pces1504.jpg", 140, 70},  {"pces1601.jpg", 200, 100}, {"pces1602.gif", 150, 120},
    {"pces1603.gif", 160, 140},
};

// A picture, light grey with a red block inside: JPEG for a .jpg name, PNG
// data otherwise (Qt writes no GIF; the loader reads a file by its content).
void writeFixture(const QString &dir, const QString &name, int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(QColor(230, 230, 230));
  for (int y = h / 4; y < h - h / 4; ++y)
    for (int x = w / 4; x < w - w / 4; ++x)
      image.setPixel(x, y, qRgb(255, 0, 0));
  const char *format = name.endsWith(QLatin1String(".jpg")) ? "JPEG" : "PNG";
  ASSERT_TRUE(image.save(dir + QLatin1Char('/') + name, format)) << name.toStdString();
}

class Chapters15To16 : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    writeFixtures(dir.path(), kFixtures, writeFixture);
  }
  // Sets one fixture aside for the rest of the test.
  void remove(const char *name) { ASSERT_TRUE(QFile::remove(dir.filePath(QLatin1String(name)))); }

  QTemporaryDir dir;
};

// A screen drawn on the recording target, with the page state it leaves.
struct Drawn {
  std::vector<DrawOp> ops;
  std::int16_t line = 0;
  int drawMode = 0;
};
Drawn draw(int code, const QString &folder, double dpi = 96) {
  const double k = dpi / 96;
  RecordingCanvas cv(kClientWidth * k, kClientHeight * k, dpi);
  Page p = pageFor(cv, folder, k, findScreen(code)->lineStart * k);
  callDrawer(p, findScreen(code)->drawer);
  return {cv.ops(), p.line, cv.DrawMode};
}

std::vector<DrawOp> textOps(const std::vector<DrawOp> &ops, const QString &text) {
  std::vector<DrawOp> found;
  for (const DrawOp &op : ops)
    if (op.kind == DrawOp::Text && op.text == text)
      found.push_back(op);
  return found;
}

// The top of the first body line: two heading lines below the line start.
double bodyTop(int code, double k) { return findScreen(code)->lineStart * k + 2 * 22.4 * k; }

} // namespace

TEST_F(Chapters15To16, Screen1501ColumnFromThePictureWidthAndScreenGoesOnBelowThePicture) {
  // A tall narrow picture, then a short wide one that ends above the left
  // column's text: the screen goes on below the picture all the same.
  for (const auto &[w, h] : {std::pair{120, 200}, std::pair{300, 40}}) {
    writeFixture(dir.path(), QStringLiteral("pces1501.jpg"), w, h);
    for (const double dpi : {96.0, kPaperDpi}) {
      SCOPED_TRACE(testing::Message() << w << "x" << h << " at " << dpi);
      const double k = dpi / 96, W = kClientWidth * k, L = 16 * k;
      const Drawn drawn = draw(1501, dir.path(), dpi);
      const double Yp = bodyTop(1501, k);
      ASSERT_EQ(images(drawn.ops).size(), 1u);
      const DrawOp picture = images(drawn.ops).front();
      EXPECT_NEAR(picture.x1, W / 2 - w * k / 2, 1e-6);
      EXPECT_NEAR(picture.y1, Yp, 1);

      const auto first = textOp(drawn.ops, QStringLiteral("La balle est immobile par"));
      const auto last = textOp(drawn.ops, QStringLiteral("à côté du tapis."));
      ASSERT_TRUE(first && last);
      EXPECT_NEAR(first->x1, W / 2 + (w / 2.0 + 20) * k, 0.5);
      EXPECT_NEAR(last->x1, first->x1, 1e-9);
      EXPECT_NEAR(first->y1, picture.y1, 1e-9);

      EXPECT_NEAR(drawn.line, picture.y2 + 3 * L, 1);
    }
  }
}

TEST_F(Chapters15To16, Screen1502ColumnsFromEachPictureAndLabelsUnderTheLastOne) {
  for (const double dpi : {96.0, kPaperDpi}) {
    SCOPED_TRACE(dpi);
    const double k = dpi / 96, W = kClientWidth * k, L = 16 * k;
    const Drawn drawn = draw(1502, dir.path(), dpi);
    const auto pictures = images(drawn.ops);
    ASSERT_EQ(pictures.size(), 3u);
    // Each picture centred on its column line, its left edge a whole pixel.
    const double columns[] = {W / 5, W / 2, W * 4 / 5};
    const double widths[] = {100, 60, 140};
    std::vector<double> X;
    for (int i = 0; i < 3; ++i) {
      X.push_back(std::nearbyint(columns[i] - widths[i] * k / 2));
      EXPECT_EQ(pictures[i].x1, X[i]) << i;
      EXPECT_EQ(pictures[i].y1, pictures[0].y1) << i;
    }
    // The labels 6 pixels under the last picture (70 high), whatever the
    // height of the others (50 and 90), centred on the column lines.
    const double Yl = std::nearbyint(pictures[0].y1 + 70 * k + 6 * k);
    const char *labels[] = {"Rectiligne uniforme", "Rectiligne non uniforme",
                            "Circulaire uniforme"};
    for (int i = 0; i < 3; ++i) {
      const auto label = textOp(drawn.ops, QString::fromUtf8(labels[i]));
      ASSERT_TRUE(label) << labels[i];
      EXPECT_TRUE(label->font.Bold);
      EXPECT_EQ(label->y1, Yl);
      EXPECT_NEAR((label->x1 + label->x2) / 2, columns[i], 1e-6);
    }
    // The bullets from the pictures' left edges, two lines under the labels.
    std::vector<double> bulletX;
    for (const DrawOp &op : drawn.ops)
      if (op.kind == DrawOp::Text && op.font.Name == QLatin1String("Symbol"))
        bulletX.push_back(op.x1);
    EXPECT_EQ(bulletX, (std::vector<double>{X[0], X[0], X[1], X[1], X[2], X[2]}));
    const auto trajectories = textOps(drawn.ops, QStringLiteral(" La trajectoire est une droite."));
    ASSERT_EQ(trajectories.size(), 2u);
    EXPECT_NEAR(trajectories[0].y1, Yl + 2 * L, 1);
    EXPECT_FALSE(trajectories[0].font.Bold);
    const auto ends = textOps(drawn.ops, QStringLiteral("constante."));
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(ends[0].x1, X[0]);
    EXPECT_EQ(ends[1].x1, X[2]);
    // Two blank lines under the longest column.
    EXPECT_NEAR(drawn.line, ends[1].y2 + 2 * L, 1);
  }
}

TEST_F(Chapters15To16, Screen1601PanelIsFourLinesCentredOnThePictureAndTinted) {
  // Two picture heights: the panel keeps its height and follows the middle.
  for (const int h : {100, 180}) {
    SCOPED_TRACE(h);
    writeFixture(dir.path(), QStringLiteral("pces1601.jpg"), 200, h);
    const Drawn drawn = draw(1601, dir.path());
    const DrawOp picture = images(drawn.ops).at(0);
    EXPECT_EQ(picture.x1, kClientWidth / 2);
    std::vector<DrawOp> boxes;
    for (const DrawOp &op : drawn.ops)
      if (op.kind == DrawOp::FilledBox)
        boxes.push_back(op);
    ASSERT_EQ(boxes.size(), 2u);
    const DrawOp &white = boxes[0], &tint = boxes[1];
    EXPECT_EQ(white.color, QColor(255, 255, 255));
    EXPECT_FALSE(white.mask);
    EXPECT_EQ(tint.color, QColor(220, 255, 220));
    EXPECT_TRUE(tint.mask);
    EXPECT_EQ(QRectF(QPointF(tint.x1, tint.y1), QPointF(tint.x2, tint.y2)),
              QRectF(QPointF(white.x1, white.y1), QPointF(white.x2, white.y2)));
    EXPECT_NEAR(white.y2 - white.y1, 4 * 16, 1);
    EXPECT_NEAR((white.y1 + white.y2) / 2, picture.y1 + h / 2.0, 1);
    EXPECT_EQ(white.x1, std::nearbyint(kClientWidth / 9));
    // The formula lies inside the panel, and is drawn between its two layers.
    for (const char *run : {"F", " = G ", "m m'", "d"}) {
      const auto op = textOp(drawn.ops, QString::fromUtf8(run));
      ASSERT_TRUE(op) << run;
      EXPECT_GT(op->x1, white.x1);
      EXPECT_LT(op->x2, white.x2);
      EXPECT_GE(op->y1, white.y1);
      EXPECT_LE(op->y2, white.y2);
      EXPECT_TRUE(op->font.Bold) << run;
    }
    // The drawing mode is copy pen again after the tint, and the text under
    // the picture starts one line below it.
    EXPECT_EQ(drawn.drawMode, CopyPen);
    const auto constant = textOp(drawn.ops, QStringLiteral(" G = 6,67 · 10"));
    ASSERT_TRUE(constant);
    EXPECT_NEAR(constant->y1, picture.y2 + 16, 1);
    EXPECT_FALSE(constant->font.Bold);
  }

  // On the raster target: the white turns pale green, black text stays black.
  RasterCanvas cv(QSize(kClientWidth, kClientHeight));
  cv.BackColor = kWindow;
  cv.Cls();
  Page p = pageFor(cv, dir.path(), 1, findScreen(1601)->lineStart);
  ASSERT_TRUE(callDrawer(p, Screen1601));
  EXPECT_EQ(cv.DrawMode, CopyPen);
  const Drawn drawn = draw(1601, dir.path());
  const DrawOp *panel = nullptr;
  for (const DrawOp &op : drawn.ops)
    if (op.kind == DrawOp::FilledBox && op.mask)
      panel = &op;
  ASSERT_TRUE(panel);
  int black = 0, white = 0;
  for (int y = int(panel->y1) + 1; y < int(panel->y2); ++y)
    for (int x = int(panel->x1) + 1; x < int(panel->x2); ++x) {
      const QRgb pixel = cv.image().pixel(x, y);
      black += pixel == qRgb(0, 0, 0);
      white += pixel == qRgb(255, 255, 255);
    }
  EXPECT_EQ(cv.image().pixel(int(panel->x1) + 2, int(panel->y1) + 2), qRgb(220, 255, 220));
  EXPECT_GT(black, 20);
  EXPECT_EQ(white, 0);
}

// What stands when each picture is missing: the drawers stop at their first
// error, so what was drawn before the failing load stands and nothing after
// it is drawn; the running line position is not stored.
TEST_F(Chapters15To16, AMissingPictureStopsTheScreenAtItsLoading) {
  struct Case {
    int code;
    const char *missing;
    int picturesPainted;
    std::vector<const char *> stands;
    std::vector<const char *> gone;
  };
  const std::vector<Case> cases = {
      {1501,
       "pces1501.jpg",
       0,
       {"Référentiel", "référentiel.", "rapport à la Terre."},
       {"La balle est immobile par", "à côté du tapis."}},
      {1502, "pces1502.jpg", 0, {"Nature du mouvement"}, {"Rectiligne uniforme", "constante."}},
      {1502, "pces1503.jpg", 1, {"Nature du mouvement"}, {"Rectiligne uniforme", "constante."}},
      {1502, "pces1504.jpg", 2, {"Nature du mouvement"}, {"Circulaire uniforme", "constante."}},
      {1601,
       "pces1601.jpg",
       0,
       {"Loi de gravitation universelle"},
       {"F", " G = 6,67 · 10", "sur le corps de masse "}},
      {1603,
       "pces1602.gif",
       0,
       {"Les axes noirs représentent le référentiel terrestre.",
        "représentent le référentiel géocentrique."},
       {"mouvement change à chaque instant."}},
      {1603,
       "pces1603.gif",
       1,
       {"Les axes noirs représentent le référentiel terrestre."},
       {"mouvement change à chaque instant."}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.code);
    SCOPED_TRACE(c.missing);
    const QString name = QString::fromUtf8(c.missing);
    const QString aside = dir.filePath(QStringLiteral("aside.tmp"));
    ASSERT_TRUE(QFile::rename(dir.filePath(name), aside));
    const Drawn drawn = draw(c.code, dir.path());
    ASSERT_TRUE(QFile::rename(aside, dir.filePath(name)));

    EXPECT_EQ(images(drawn.ops).size(), std::size_t(c.picturesPainted));
    for (const char *text : c.stands)
      EXPECT_TRUE(textOp(drawn.ops, QString::fromUtf8(text))) << text;
    for (const char *text : c.gone)
      EXPECT_FALSE(textOp(drawn.ops, QString::fromUtf8(text))) << text;
    EXPECT_EQ(drawn.line, findScreen(c.code)->lineStart);
    if (c.code == 1601) {
      for (const DrawOp &op : drawn.ops)
        EXPECT_NE(op.kind, DrawOp::FilledBox) << "no panel without its picture";
    }
  }
}

// Text never runs under a picture, with the real fonts, on screen and on
// paper: the columns beside the pictures of 1501, 1601 and 1603 are worded
// to fit their room.
TEST(Chapters15To16Text, NoTextRunsUnderAPicture) {
  class Overlaps : public RasterCanvas {
  public:
    using RasterCanvas::RasterCanvas;
    std::vector<QRectF> texts, pictures;

  protected:
    void paintText(double x, double y, const FontSpec &font, const QColor &color,
                   const QString &shown) override {
      texts.emplace_back(x, y, textWidth(font, shown), lineHeight(font));
      RasterCanvas::paintText(x, y, font, color, shown);
    }
    void paintImage(const QImage &image, const QRectF &target, bool mirrored,
                    const QString &source) override {
      pictures.push_back(target);
      RasterCanvas::paintImage(image, target, mirrored, source);
    }
  };
  for (const int code : {1501, 1502, 1601, 1603})
    for (const double dpi : {96.0, kPaperDpi}) {
      SCOPED_TRACE(testing::Message() << code << " at " << dpi);
      const double k = dpi / 96;
      // On paper the page is 760 screen pixels wide.
      const double width = dpi == 96.0 ? kClientWidth : 760;
      Overlaps cv(QSize(std::lround(width * k), std::lround(1000 * k)), dpi);
      Page p = pageFor(cv, appDir(), k, findScreen(code)->lineStart * k);
      ASSERT_TRUE(callDrawer(p, findScreen(code)->drawer));
      EXPECT_FALSE(cv.pictures.empty());
      for (const QRectF &picture : cv.pictures)
        for (const QRectF &text : cv.texts)
          EXPECT_FALSE(picture.intersects(text.adjusted(0, 1, 0, -1)))
              << "text at " << text.x() << "," << text.y() << " width " << text.width();
    }
}

// A screen that stops on paper: the next screen of the printed chapter
// starts below everything the stopped one drew, not over it. When no screen
// stops, every screen starts where the one before it left the running line.
TEST_F(Chapters15To16, PrintedChapterGoesOnBelowAStoppedScreen) {
  struct Case {
    int chapter;
    const char *missing; // null: nothing missing
    const char *stopped; // the stopped screen's heading
    const char *next;    // the next screen's heading
  };
  const Case cases[] = {
      {15, "pces1501.jpg", "Référentiel", "Nature du mouvement"},
      {15, "pces1502.jpg", "Nature du mouvement",
       "Principe d'inertie et effet d'une force sur le mouvement"},
      {16, "pces1601.jpg", "Loi de gravitation universelle", "Pesanteur"},
      {16, nullptr, "Loi de gravitation universelle", "Pesanteur"},
  };
  const double k = kPaperScale;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.chapter);
    SCOPED_TRACE(c.missing ? c.missing : "nothing missing");
    const QString aside = dir.filePath(QStringLiteral("aside.tmp"));
    if (c.missing) {
      ASSERT_TRUE(QFile::rename(dir.filePath(QString::fromUtf8(c.missing)), aside));
    }
    RecordingCanvas paper(760 * k, 1080 * k, kPaperDpi);
    Page page;
    page.applicationFolder = dir.path();
    page.AppFolder = dir.path() + QLatin1Char('/');
    DrawChapterPage(page, paper, static_cast<std::int16_t>(c.chapter));
    // The same drawers called one after the other, with nothing to mend.
    RecordingCanvas plain(760 * k, 1080 * k, kPaperDpi);
    Page unmended = pageFor(plain, dir.path(), k, toInt16((TitleBandHeight + 20) * k));
    for (PageDrawer drawer : printDrawers(c.chapter))
      callDrawer(unmended, drawer);
    if (c.missing) {
      ASSERT_TRUE(QFile::rename(aside, dir.filePath(QString::fromUtf8(c.missing))));
    }

    const auto &ops = paper.ops();
    std::size_t next = ops.size();
    for (std::size_t i = 0; i < ops.size(); ++i)
      if (ops[i].kind == DrawOp::Text && ops[i].text == QString::fromUtf8(c.next))
        next = i;
    ASSERT_LT(next, ops.size());
    const auto stopped = textOp(ops, QString::fromUtf8(c.stopped));
    ASSERT_TRUE(stopped);
    // Everything the stopped screen drew (after the band, before the next
    // heading) lies above the next heading, three blank body lines above.
    double bottom = 0;
    for (std::size_t i = 1; i < next; ++i)
      bottom = std::max(bottom, extentOf({ops[i]}).bottom);
    EXPECT_GE(ops[next].y1, bottom + 3 * 16 * k - 1);
    const auto before = textOp(plain.ops(), QString::fromUtf8(c.next));
    ASSERT_TRUE(before);
    if (c.missing)
      EXPECT_LE(before->y1, stopped->y1) << "without the mend it would print over it";
    else
      EXPECT_EQ(ops[next].y1, before->y1) << "a screen that does not stop keeps its place";
  }
}

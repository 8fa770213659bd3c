// Chapters 17 to 19: time, the gaseous state, the ideal gas. The pictures
// each screen paints and in which order, which screens hand their bottom on,
// what grows with the drawing scale and what follows the text metrics, the
// centred table of 1802, the built fractions, the tinted cards, and pictures
// that cannot be loaded after others were.
#include "sheets/physics/physics.h"
#include "tests/sheettest.h"
#include "toolkit/devices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <map>

using namespace abrevel;
using namespace abrevel::sheettest;

namespace {

constexpr double kLine10 = 16; // Arial 10 on the recording target at 96 dpi

// A picture fixture: pure white (the key colour) around a block of its own
// colour, so that a painted picture tells which file it came from.
void writeColoured(const QString &dir, const QString &name, int w, int h, const QColor &colour) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  for (int y = h / 4; y < h - h / 4; ++y)
    for (int x = w / 4; x < w - w / 4; ++x)
      image.setPixelColor(x, y, colour);
  ASSERT_TRUE(image.save(dir + QLatin1Char('/') + name, "PNG"));
}

struct ColouredFixture {
  const char *name;
  int w, h;
  QColor colour;
};
const std::vector<ColouredFixture> kFixtures = {
    {"pces1701.bmp", 120, 140, QColor(200, 0, 0)},  {"pces1702.bmp", 80, 50, QColor(0, 160, 0)},
    {"pces1703.bmp", 80, 50, QColor(0, 0, 200)},    {"pces1704.bmp", 80, 30, QColor(200, 200, 0)},
    {"pces1705.bmp", 24, 40, QColor(0, 200, 200)},  {"pces1706.bmp", 60, 30, QColor(200, 0, 200)},
    {"pces1801.gif", 400, 250, QColor(120, 60, 0)}, {"pces1802.gif", 120, 110, QColor(0, 60, 120)},
    {"pces1901.gif", 500, 240, QColor(60, 0, 120)}, {"macro.gif", 40, 30, QColor(90, 90, 90)},
    {"micro.gif", 44, 30, QColor(30, 30, 30)},
};

void writeColouredFixtures(const QString &dir) {
  for (const ColouredFixture &f : kFixtures)
    writeColoured(dir, QString::fromLatin1(f.name), f.w, f.h, f.colour);
}

// The fixture a painted picture shows, by the colour at its middle.
QString fixtureOf(const DrawOp &op) {
  const QColor middle = op.image.pixelColor(op.image.width() / 2, op.image.height() / 2);
  for (const ColouredFixture &f : kFixtures)
    if (middle == f.colour)
      return QString::fromLatin1(f.name);
  return QStringLiteral("?");
}

std::vector<DrawOp> opsOf(const std::vector<DrawOp> &ops, DrawOp::Kind kind) {
  std::vector<DrawOp> out;
  std::copy_if(ops.begin(), ops.end(), std::back_inserter(out),
               [kind](const DrawOp &op) { return op.kind == kind; });
  return out;
}

std::vector<DrawOp> boxesIn(const std::vector<DrawOp> &ops, const QColor &colour, bool mask) {
  std::vector<DrawOp> out;
  for (const DrawOp &op : opsOf(ops, DrawOp::FilledBox))
    if (op.color == colour && op.mask == mask)
      out.push_back(op);
  return out;
}

// A text op whose left edge lies between x1 and x2.
std::optional<DrawOp> textBetween(const std::vector<DrawOp> &ops, const QString &text, double x1,
                                  double x2) {
  for (const DrawOp &op : ops)
    if (op.kind == DrawOp::Text && op.text == text && op.x1 >= x1 - 0.5 && op.x1 <= x2 + 0.5)
      return op;
  return std::nullopt;
}

// Draws one screen on a target of the given size, at scale s.
std::vector<DrawOp> drawOn(int code, const QString &dir, double width, double height, double s,
                           double line, Page *state = nullptr) {
  RecordingCanvas cv(width, height, 96 * s);
  Page p = pageFor(cv, dir, s, line);
  callDrawer(p, findScreen(code)->drawer);
  if (state)
    state->line = p.line;
  EXPECT_EQ(cv.DrawMode, CopyPen) << code;
  return cv.ops();
}

} // namespace

TEST(Chapters17to19, EachScreenPaintsItsPicturesInOrderAndTheRightOnesHandTheirBottomOn) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  writeColouredFixtures(dir.path());
  struct Case {
    int code;
    std::vector<const char *> pictures;
    bool storesLine;
  };
  const Case cases[] = {
      {1701,
       {"pces1705.bmp", "pces1706.bmp", "pces1701.bmp", "pces1704.bmp", "pces1702.bmp",
        "pces1703.bmp"},
       true},
      {1702, {}, false},
      {1801, {"pces1801.gif"}, true},
      {1802, {"pces1802.gif"}, true},
      {1803, {}, false},
      {1901, {}, true},
      {1902, {"pces1901.gif"}, true},
      {1903, {"macro.gif", "micro.gif"}, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.code);
    RecordingCanvas cv(kClientWidth, kClientHeight);
    const double start = findScreen(c.code)->lineStart;
    Page p = pageFor(cv, dir.path(), 1, start);
    callDrawer(p, findScreen(c.code)->drawer);

    std::vector<QString> painted;
    for (const DrawOp &op : images(cv.ops()))
      painted.push_back(fixtureOf(op));
    std::vector<QString> expected;
    for (const char *name : c.pictures)
      expected.push_back(QString::fromLatin1(name));
    EXPECT_EQ(painted, expected);

    if (c.storesLine)
      EXPECT_EQ(p.line, toInt16(cv.CurrentY));
    else
      EXPECT_EQ(p.line, start);
    // Nothing stays loaded after the screen.
    EXPECT_TRUE(p.Image1.Picture().isNull());
    EXPECT_EQ(p.ImageList1.Count(), 0);
  }
}

// On paper the card shadows, the picture offsets and 1903's row height grow
// with the drawing scale; the columns, taken from the width and from the
// text, do not.
TEST(Chapters17to19, ShadowsPictureOffsetsAndRowsScaleOnPaperColumnsFollowTheText) {
  QTemporaryDir dir;
  writeColouredFixtures(dir.path());
  for (const double s : {1.0, kPaperScale}) {
    SCOPED_TRACE(s);
    const double W = 760 * s;
    RecordingCanvas metrics(W, 1080 * s, 96 * s);
    metrics.Font.Size = 8;

    // Screen 1903: macro.gif is 30 pixels high.
    const auto ops = drawOn(1903, dir.path(), W, 1080 * s, s, 100 * s);
    const auto shadow = boxesIn(ops, QBColor(7), false);
    const auto card = boxesIn(ops, QBColor(15), false);
    ASSERT_EQ(shadow.size(), 1u);
    ASSERT_EQ(card.size(), 1u);
    const double y0 = card[0].y1;
    EXPECT_DOUBLE_EQ(shadow[0].x1 - card[0].x1, 3 * s);
    EXPECT_DOUBLE_EQ(shadow[0].y2 - card[0].y2, 3 * s);
    EXPECT_EQ(card[0].x1, std::round(0.1 * W));
    EXPECT_EQ(card[0].x2, std::round(0.9 * W));
    EXPECT_EQ(card[0].y2 - y0, 3 * std::round((30 + 4) * s));
    const auto pictures = images(ops);
    ASSERT_EQ(pictures.size(), 2u);
    for (const DrawOp &picture : pictures) {
      EXPECT_DOUBLE_EQ(picture.y1, y0 + 2 * s);
      EXPECT_NEAR(picture.y2 - picture.y1, 30 * s, 1e-9);
    }

    // Screen 1802: the table is as wide as its column templates, whatever s.
    const auto table = drawOn(1802, dir.path(), W, 1080 * s, s, 100 * s);
    const auto tableShadow = boxesIn(table, QBColor(7), false);
    const auto tableCard = boxesIn(table, QBColor(15), false);
    ASSERT_EQ(tableShadow.size(), 1u);
    ASSERT_EQ(tableCard.size(), 1u);
    EXPECT_DOUBLE_EQ(tableShadow[0].x1 - tableCard[0].x1, 3 * s);
    double width = std::round(metrics.TextWidth(QStringLiteral("WWil contient un gaz : l'airWW")));
    metrics.Font.Bold = true;
    width = std::round(width + metrics.TextWidth(QStringLiteral("WSymboleW")));
    metrics.Font.Bold = false;
    for (const char *column : {"Wquantité de matièreW", "Wpascal (Pa) (unité légale)W",
                               "Wne se mesure pas, mais se calcule avec n = VmW"})
      width = std::round(width + metrics.TextWidth(QString::fromUtf8(column)));
    EXPECT_EQ(tableCard[0].x2 - tableCard[0].x1, width);
  }
}

TEST(Chapters17to19, Screen1802TableIsCentredWhateverTheWidth) {
  QTemporaryDir dir;
  writeColouredFixtures(dir.path());
  for (const double W : {kClientWidth, 1000.0}) {
    SCOPED_TRACE(W);
    const auto ops = drawOn(1802, dir.path(), W, kClientHeight, 1, 120);
    const auto card = boxesIn(ops, QBColor(15), false);
    ASSERT_EQ(card.size(), 1u);
    EXPECT_NEAR(card[0].x1 + card[0].x2, W, 1);
    EXPECT_GT(card[0].x1, 0);
    // The glass sits in the first column, the caption under it.
    const auto glass = images(ops);
    ASSERT_EQ(glass.size(), 1u);
    const auto caption = textOp(ops, QStringLiteral("Le verre n'est pas vide,"));
    ASSERT_TRUE(caption);
    EXPECT_GE(glass[0].x1, card[0].x1);
    EXPECT_LE(glass[0].y2, caption->y1);
  }
  // In the window with the real fonts: the table and its shadow inside the
  // window, every cell's text inside the table.
  RecordingCanvas cv(kClientWidth, kClientHeight, 96, RecordingCanvas::Metrics::Installed);
  Page p = pageFor(cv, appDir(), 1, findScreen(1802)->lineStart);
  callDrawer(p, Screen1802);
  const auto card = boxesIn(cv.ops(), QBColor(15), false);
  ASSERT_EQ(card.size(), 1u);
  EXPECT_LE(card[0].x2 + 3, kClientWidth);
  RecordingCanvas measure(kClientWidth, kClientHeight, 96, RecordingCanvas::Metrics::Installed);
  int cells = 0;
  for (const DrawOp &op : opsOf(cv.ops(), DrawOp::Text)) {
    if (op.y1 < card[0].y1 || op.font.Name == QLatin1String("Symbol"))
      continue;
    measure.Font = op.font;
    EXPECT_LE(op.x1 + measure.TextWidth(op.text), card[0].x2) << op.text.toStdString();
    ++cells;
  }
  EXPECT_GT(cells, 20);
}

// Each fraction: the numerator's cell ends on the bar (1802's a pixel above
// it), the denominator's begins on it; 1803's fraction is aligned on the
// left, the others centred.
TEST(Chapters17to19, FractionsSitOnTheirBars) {
  QTemporaryDir dir;
  struct Case {
    int code;
    QString numerator, denominator;
    bool leftAligned;
    double gap; // between the numerator's line and the bar
  };
  const Case cases[] = {
      {1702, "1", "T", false, 0},
      {1802, "V", "V", false, 1},
      {1803, "F", "S", true, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.code);
    RecordingCanvas cv(kClientWidth, kClientHeight);
    Page p = pageFor(cv, dir.path(), 1, findScreen(c.code)->lineStart);
    callDrawer(p, findScreen(c.code)->drawer);
    const auto &ops = cv.ops();

    // The bar: a short black horizontal line with a numerator right above it.
    std::optional<DrawOp> bar, numerator, denominator;
    for (const DrawOp &op : opsOf(ops, DrawOp::Line)) {
      if (op.y1 != op.y2 || op.color != QBColor(0) || op.x2 - op.x1 > 30)
        continue;
      const auto num = textBetween(ops, c.numerator, op.x1, op.x2);
      if (num && std::abs(num->y1 + cv.lineHeightOf(num->font) + c.gap - op.y1) < 1e-6) {
        bar = op;
        numerator = num;
        for (const DrawOp &t : ops)
          if (t.kind == DrawOp::Text && t.text == c.denominator && t.y1 == op.y1 &&
              t.x1 >= op.x1 - 0.5 && t.x1 <= op.x2)
            denominator = t;
      }
    }
    ASSERT_TRUE(bar && numerator && denominator);
    if (c.leftAligned) {
      EXPECT_EQ(numerator->x1, bar->x1);
      EXPECT_EQ(denominator->x1, bar->x1);
    } else {
      RecordingCanvas measure;
      measure.Font = numerator->font;
      EXPECT_DOUBLE_EQ(numerator->x1 + measure.TextWidth(c.numerator) / 2, (bar->x1 + bar->x2) / 2);
    }
  }
}

// A tinted card: its white box first, its text over it, the tint last, in
// mask pen; the copy pen comes back after each screen.
TEST(Chapters17to19, TintsComeAfterTheirTextOverAWhiteBox) {
  const std::map<int, std::size_t> tints = {{1701, 5}, {1702, 2}, {1803, 1}, {1901, 3}};
  for (const auto &[code, count] : tints) {
    SCOPED_TRACE(code);
    const auto ops =
        drawOn(code, appDir(), kClientWidth, kClientHeight, 1, findScreen(code)->lineStart);
    std::size_t seen = 0;
    for (std::size_t i = 0; i < ops.size(); ++i) {
      const DrawOp &tint = ops[i];
      if (tint.kind != DrawOp::FilledBox || !tint.mask)
        continue;
      ++seen;
      EXPECT_NE(tint.color, QBColor(15));
      // A text lies on the card when the middle of its first line does.
      const auto inside = [&](const DrawOp &op) {
        RecordingCanvas measure;
        measure.Font = op.font;
        const double x = op.x1 + measure.TextWidth(op.text) / 2;
        const double y = op.y1 + measure.lineHeightOf(op.font) / 2;
        return x > tint.x1 && x < tint.x2 && y > tint.y1 && y < tint.y2;
      };
      std::size_t white = ops.size(), texts = 0;
      for (std::size_t j = 0; j < ops.size(); ++j) {
        const DrawOp &op = ops[j];
        if (op.kind == DrawOp::FilledBox && !op.mask && op.color == QBColor(15) &&
            op.x1 == tint.x1 && op.y1 == tint.y1 && op.x2 == tint.x2 && op.y2 == tint.y2)
          white = std::min(white, j);
        if (op.kind == DrawOp::Text && inside(op)) {
          ++texts;
          EXPECT_LT(j, i) << op.text.toStdString();
          EXPECT_GT(j, white) << op.text.toStdString();
        }
      }
      EXPECT_LT(white, i);
      EXPECT_GT(texts, 0u);
    }
    EXPECT_EQ(seen, count);
  }
}

// The keyed pictures of 1701 are opaque rectangles: none may lie over a
// card drawn before it (sharing an edge line is allowed).
TEST(Chapters17to19, Screen1701PicturesLeaveTheCardsDrawnBeforeThemUncovered) {
  for (const double s : {1.0, kPaperScale}) {
    SCOPED_TRACE(s);
    const auto ops = drawOn(1701, appDir(), kClientWidth * s, kClientHeight * s, s, 90 * s);
    std::vector<DrawOp> cards;
    int pictures = 0;
    for (const DrawOp &op : ops) {
      if (op.kind == DrawOp::FilledBox && !op.mask && op.color == QBColor(15))
        cards.push_back(op);
      if (op.kind != DrawOp::Image)
        continue;
      ++pictures;
      for (const DrawOp &card : cards) {
        const double w = std::min(op.x2, card.x2) - std::max(op.x1, card.x1);
        const double h = std::min(op.y2, card.y2) - std::max(op.y1, card.y1);
        EXPECT_FALSE(w > s && h > s) << "picture " << pictures << " at " << op.x1 << "," << op.y1
                                     << " over the card at " << card.x1 << "," << card.y1;
      }
    }
    EXPECT_EQ(pictures, 6);
  }
}

// A picture that cannot be loaded right after a much larger one was: the
// screen paints nothing in its place and lays out as with its own picture
// there, never with the size left by the larger one, so it stays in its
// window; on paper, chapter 19 with its table's picture missing after the
// tall graph of 1902 stays on its page.
TEST(Chapters17to19, MissingPicturesAfterALargeOneKeepTheScreenAndThePage) {
  QTemporaryDir large, empty;
  writeColoured(large.path(), QStringLiteral("large.bmp"), 600, 900, QColor(10, 20, 30));
  for (const int code : {1701, 1702, 1801, 1802, 1803, 1901, 1902, 1903}) {
    SCOPED_TRACE(code);
    RecordingCanvas cv(kClientWidth, kClientHeight);
    Page p = pageFor(cv, large.path(), 1, findScreen(code)->lineStart);
    // A previous screen left a large picture measured, listed and composed.
    PrepareKeyed(p, QStringLiteral("large.bmp"));
    ASSERT_EQ(p.Image1.Height(), 900);
    p.AppFolder = empty.path() + QLatin1Char('/');
    p.applicationFolder = empty.path();
    callDrawer(p, findScreen(code)->drawer);
    const auto ops = cv.ops();
    EXPECT_TRUE(images(ops).empty());
    EXPECT_TRUE(opsOf(ops, DrawOp::Transparent).empty());
    const Extent drawn = extentOf(ops);
    EXPECT_LE(drawn.bottom, kArrowFrameTop);
    EXPECT_LE(drawn.right, kClientWidth);
    RecordingCanvas shipped(kClientWidth, kClientHeight);
    Page q = pageFor(shipped, appDir(), 1, findScreen(code)->lineStart);
    callDrawer(q, findScreen(code)->drawer);
    EXPECT_EQ(p.line, q.line);
  }

  // Chapter 19 on paper with the shipped graph and no macro.gif or micro.gif.
  QTemporaryDir dir;
  ASSERT_TRUE(QFile::copy(appDir() + QStringLiteral("/pces1901.gif"),
                          dir.filePath(QStringLiteral("pces1901.gif"))));
  const double k = kPaperScale;
  RecordingCanvas paper(760 * k, 1080 * k, kPaperDpi);
  Page p = pageFor(paper, dir.path(), k, 61 * k);
  for (PageDrawer drawer : printDrawers(19))
    callDrawer(p, drawer);
  EXPECT_EQ(images(paper.ops()).size(), 1u);
  EXPECT_LE(extentOf(paper.ops()).bottom, (1080 - 13) * k);
  // The rows still hold their two lines of text.
  const auto card = boxesIn(paper.ops(), QBColor(15), false).back();
  EXPECT_GE(card.y2 - card.y1, 3 * 2 * 1.2 * 8 * kPaperDpi / 72);
}

// With the shared header pictures as large as the panels of chapter 7 may
// make them, chapter 19 still prints on one page with the real fonts.
TEST(Chapters17to19, Chapter19FitsItsPageWithHeaderPicturesUpTo60PixelsHigh) {
  QTemporaryDir dir;
  for (const char *name : {"pces1901.gif"})
    ASSERT_TRUE(QFile::copy(appDir() + QLatin1Char('/') + QLatin1String(name),
                            dir.filePath(QLatin1String(name))));
  writeColoured(dir.path(), QStringLiteral("macro.gif"), 60, 60, QColor(90, 90, 90));
  writeColoured(dir.path(), QStringLiteral("micro.gif"), 60, 60, QColor(30, 30, 30));
  const double k = kPaperScale;
  RecordingCanvas paper(760 * k, 1080 * k, kPaperDpi);
  RealTextExtent real(QSize(std::lround(760 * k), std::lround(1080 * k)), kPaperDpi);
  for (Canvas *cv : {static_cast<Canvas *>(&paper), static_cast<Canvas *>(&real)}) {
    Page p = pageFor(*cv, dir.path(), k, 61 * k);
    for (PageDrawer drawer : printDrawers(19))
      callDrawer(p, drawer);
  }
  EXPECT_LE(extentOf(paper.ops()).bottom, (1080 - 13) * k);
  EXPECT_LE(real.text.bottom, (1080 - 13) * k);
}

TEST(Chapters17to19, Screen1902ShowsTheGraphOfFile1901) {
  QTemporaryDir dir;
  writeColouredFixtures(dir.path());
  const auto ops = drawScreen(1902, dir.path());
  ASSERT_EQ(images(ops).size(), 1u);
  EXPECT_TRUE(images(ops)[0].text.endsWith(QStringLiteral("/pces1901.gif")));
  EXPECT_TRUE(textOp(ops, QStringLiteral("Comportement d'un gaz réel")));
  EXPECT_FALSE(textOp(ops, QStringLiteral("Description microscopique d'un gaz")));
}

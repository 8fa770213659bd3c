// Chapters 5 and 6: what the pictures of screen 501 may cover, the medallion
// over the table on screen 601 against the printed sheet of chapter 6, and
// the drawer of screen 602 that stops at its first error (fit, texts and
// missing pictures are checked with the whole course).
#include "content/texts.h"
#include "sheets/chemistry/chemistry.h"
#include "tests/sheettest.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace abrevel;
using namespace abrevel::sheettest;

namespace {

bool overlaps(const DrawOp &a, const DrawOp &b) {
  return a.x1 < b.x2 && b.x1 < a.x2 && a.y1 < b.y2 && b.y1 < a.y2;
}

std::vector<DrawOp> texts(const std::vector<DrawOp> &ops) {
  std::vector<DrawOp> found;
  std::copy_if(ops.begin(), ops.end(), std::back_inserter(found),
               [](const DrawOp &op) { return op.kind == DrawOp::Text; });
  return found;
}

// Screen 501 drawn with the real fonts from its row's line start, in the
// window or across the printable width of an A4 page (760 screen pixels).
struct Drawn501 {
  std::vector<DrawOp> ops;
  double width = 0;
  std::int16_t line = 0;
};
Drawn501 draw501(const QString &dir, double dpi) {
  const double k = dpi / 96;
  RecordingCanvas cv((dpi == 96 ? kClientWidth : 760) * k, kClientHeight * k, dpi,
                     RecordingCanvas::Metrics::Installed);
  Page p = pageFor(cv, dir, k, findScreen(501)->lineStart * k);
  callDrawer(p, Screen501);
  return {cv.ops(), cv.ScaleWidth(), p.line};
}

// A folder with the shipped pictures, less the ones named.
void copyPicturesBut(const QTemporaryDir &dir, const QStringList &leftOut) {
  for (const QString &name : QDir(appDir()).entryList({QStringLiteral("pces*")}, QDir::Files))
    if (!leftOut.contains(name)) {
      ASSERT_TRUE(QFile::copy(appDir() + QLatin1Char('/') + name, dir.filePath(name)));
    }
}

} // namespace

// The pictures of 501 are opaque rectangles painted after the rows of the
// rules: none may cover a line drawn before it, even when the picture beside
// row 2 is missing and the shared pair must find its place alone. The left
// column keeps clear of the right one.
TEST(Chapter5, Screen501PicturesAndColumnsKeepClearOfTheText) {
  QTemporaryDir withoutStructures;
  ASSERT_TRUE(withoutStructures.isValid());
  copyPicturesBut(withoutStructures, {QStringLiteral("pces502.gif")});
  for (const QString &dir : {appDir(), withoutStructures.path()}) {
    for (const double dpi : {96.0, kPaperDpi}) {
      SCOPED_TRACE(dir.toStdString());
      SCOPED_TRACE(dpi);
      const Drawn501 drawn = draw501(dir, dpi);
      int pictures = 0;
      for (std::size_t i = 0; i < drawn.ops.size(); ++i) {
        if (drawn.ops[i].kind != DrawOp::Image)
          continue;
        ++pictures;
        for (std::size_t j = 0; j < i; ++j)
          if (drawn.ops[j].kind == DrawOp::Text) {
            EXPECT_FALSE(overlaps(drawn.ops[i], drawn.ops[j]))
                << "picture " << pictures << " over \"" << drawn.ops[j].text.toStdString() << '"';
          }
      }
      EXPECT_EQ(pictures, dir == appDir() ? 3 : 2);

      const double middle = drawn.width / 2;
      const double gap = 15 * dpi / 96;
      for (const DrawOp &op : texts(drawn.ops))
        if (op.x1 < middle) {
          EXPECT_LE(op.x2, middle - gap) << op.text.toStdString();
        }
    }
  }
}

// The next screen of the printed chapter starts three lines below the left
// column, however long the right one is.
TEST(Chapter5, Screen501HandsOnTheBottomOfItsLeftColumn) {
  QTemporaryDir empty;
  ASSERT_TRUE(empty.isValid());
  RecordingCanvas cv(kClientWidth, kClientHeight);
  Page p = pageFor(cv, empty.path(), 1, 120);
  callDrawer(p, Screen501);
  // The tops of the last lines of the two columns.
  double left = 0, right = 0;
  for (const DrawOp &op : texts(cv.ops())) {
    double &column = op.x1 < kClientWidth / 2 ? left : right;
    column = std::max(column, op.y1);
  }
  ASSERT_NE(left, right);
  const double L = 16; // Arial 10 on the recording target
  EXPECT_EQ(p.line, left + L + 3 * L);
}

TEST(Chapter5, PrintsItsThreeScreens) {
  const std::vector<PageDrawer> expected{&Screen501, &Screen502, &Screen503};
  EXPECT_EQ(printDrawers(5), expected);
}

namespace {

// Pictures of distinct sizes: the medallion 40 × 50, the table 100 × 60.
class Chapter6 : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    writePicture(dir.path(), QStringLiteral("pces601.gif"), 40, 50);
    writePicture(dir.path(), QStringLiteral("pces602.gif"), 100, 60);
  }
  QTemporaryDir dir;
};

} // namespace

// On screen 601 the table is painted first and the medallion over its top;
// the printed sheet paints the medallion first and the table below it,
// clear of it, and the rules under the table.
TEST_F(Chapter6, MedallionCoversTheTableOnScreenOnly) {
  struct Case {
    PageDrawer drawer;
    double dpi;
    bool medallionFirst;
    double tableOffset; // table top below medallion top, in medallion heights
  };
  for (const Case &c :
       {Case{Screen601, 96, false, 0.65}, Case{PrintSheet6, kPaperDpi, true, 1.2}}) {
    SCOPED_TRACE(c.dpi);
    const double k = c.dpi / 96;
    RecordingCanvas cv(kClientWidth * k, kClientHeight * 2 * k, c.dpi);
    Page p = pageFor(cv, dir.path(), k, 50 * k);
    const std::int16_t start = p.line;
    callDrawer(p, c.drawer);
    const auto painted = images(cv.ops());
    ASSERT_EQ(painted.size(), 2u);
    const DrawOp &medallion = painted[c.medallionFirst ? 0 : 1];
    const DrawOp &table = painted[c.medallionFirst ? 1 : 0];
    EXPECT_EQ(medallion.image.size(), QSize(40, 50));
    EXPECT_EQ(table.image.size(), QSize(100, 60));
    const double W = cv.ScaleWidth();
    EXPECT_DOUBLE_EQ(medallion.x1, W / 2 - 20 * k);
    EXPECT_DOUBLE_EQ(table.x1, W / 2 - 50 * k);
    EXPECT_NEAR(table.y1, medallion.y1 + c.tableOffset * 50 * k, 1.0);
    EXPECT_EQ(overlaps(medallion, table), c.drawer == Screen601);

    // The rules follow the table on the printed sheet only.
    const QString firstRun = BodyLine(602, QStringLiteral("order")).section(QLatin1Char('*'), 0, 0);
    const auto order = textOp(cv.ops(), firstRun);
    EXPECT_EQ(order.has_value(), c.drawer == PrintSheet6);
    if (order) {
      EXPECT_NEAR(order->y1, table.y2 + 1.5 * 16 * k, 1.0);
    }
    EXPECT_EQ(p.line, start) << "neither stores the running line position";
  }
}

// Screen 602 stops at its first error: without its table it draws nothing
// at all, not even the rules that need no picture.
TEST_F(Chapter6, Screen602DrawsNothingWithoutItsTable) {
  // Runs of each of the three rules: the italic Z of the first, the second
  // whole, the last line of the third.
  const QStringList rules{QStringLiteral("Z"), BodyLine(602, QStringLiteral("rows")),
                          Body(602, QStringLiteral("families")).value(1)};
  RecordingCanvas cv(kClientWidth, kClientHeight);
  Page withTable = pageFor(cv, dir.path(), 1, 90);
  callDrawer(withTable, Screen602);
  EXPECT_EQ(images(cv.ops()).size(), 1u);
  for (const QString &rule : rules)
    EXPECT_TRUE(textOp(cv.ops(), rule)) << rule.toStdString();

  ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("pces602.gif"))));
  cv.clearLog();
  Page without = pageFor(cv, dir.path(), 1, 90);
  callDrawer(without, Screen602);
  EXPECT_TRUE(cv.ops().empty());
  // Screen 601, which skips its errors, still draws everything else.
  cv.clearLog();
  callDrawer(without, Screen601);
  EXPECT_TRUE(textOp(cv.ops(), QStringLiteral("Classification périodique restreinte")));
  EXPECT_EQ(images(cv.ops()).size(), 1u);
}

TEST(Chapter6Print, PrintsItsOwnSheetOnly) {
  const std::vector<PageDrawer> expected{&PrintSheet6};
  EXPECT_EQ(printDrawers(6), expected);
}

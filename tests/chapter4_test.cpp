// Chapter 4, the atom diagram: the top band, the arrows down to panel sets
// A and B on the two screens and on the printed sheet, the tinted panels and
// the pictures.
#include "content/texts.h"
#include "sheets/chemistry/chemistry.h"
#include "shell/screentable.h"
#include "toolkit/colors.h"
#include "toolkit/pictureslots.h"
#include "toolkit/rastercanvas.h"
#include "toolkit/recordingcanvas.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

using namespace abrevel;

namespace {

constexpr double printDpi = 300;
constexpr double printScale = printDpi / 96;

// A page on a target sized like the window (784 × 561) or like the
// printable area of an A4 page (760 × 1080 screen pixels), drawing with the
// pictures of the given folder.
template <class Target> struct Sheet {
  Sheet(Target &target, const QString &dir, double s, double lineStart) : cv(target) {
    page.target = &cv;
    page.scale = static_cast<float>(s);
    page.applicationFolder = dir;
    page.AppFolder = dir + "/";
    page.line = toInt16(lineStart);
    cv.DrawWidth = s;
  }
  Target &cv;
  Page page;
};

RecordingCanvas windowTarget() {
  RecordingCanvas cv(784, 561);
  cv.BackColor = RGB(255, 253, 227);
  return cv;
}

RecordingCanvas paperTarget() {
  RecordingCanvas cv(760 * printScale, 1080 * printScale, printDpi);
  cv.BackColor = QBColor(15);
  return cv;
}

std::vector<DrawOp> opsOf(const RecordingCanvas &cv, DrawOp::Kind kind) {
  std::vector<DrawOp> out;
  for (const DrawOp &op : cv.ops())
    if (op.kind == kind)
      out.push_back(op);
  return out;
}

// The white first layers of the panels, in drawing order: the top band's
// three, then each set's three.
std::vector<DrawOp> whiteBoxes(const RecordingCanvas &cv) {
  std::vector<DrawOp> out;
  for (const DrawOp &op : opsOf(cv, DrawOp::FilledBox))
    if (op.color == QBColor(15) && !op.mask)
      out.push_back(op);
  return out;
}

int textCount(const RecordingCanvas &cv, const QString &text) {
  const auto ops = opsOf(cv, DrawOp::Text);
  return static_cast<int>(
      std::count_if(ops.begin(), ops.end(), [&](const DrawOp &op) { return op.text == text; }));
}

// A vertical line at x from y1 to y2, solid or dashed.
bool hasVerticalLine(const RecordingCanvas &cv, double x, double y1, double y2, bool dashed) {
  for (const DrawOp &op : opsOf(cv, DrawOp::Line))
    if (op.x1 == x && op.x2 == x && op.y1 == y1 && op.y2 == y2 && op.dashed == dashed)
      return true;
  return false;
}

// Both strokes of a downward arrowhead with its tip at (x, y).
bool hasHeadDownAt(const RecordingCanvas &cv, double x, double y, double s) {
  int strokes = 0;
  for (const DrawOp &op : opsOf(cv, DrawOp::Line))
    if (op.x2 == x && op.y2 == y && op.y1 == y - 6 * s && std::abs(op.x1 - x) == 3 * s)
      ++strokes;
  return strokes == 2;
}

double lowestDrawn(const RecordingCanvas &cv) {
  double lowest = 0;
  for (const DrawOp &op : cv.ops())
    lowest = std::max(lowest, op.kind == DrawOp::Ellipse ? op.y1 + op.y2 : std::max(op.y1, op.y2));
  return lowest;
}

// Writes a picture of the given size (PNG data; the loader reads it by its
// content whatever its name), white around a coloured middle.
void writePicture(const QTemporaryDir &dir, const QString &name, int w, int h) {
  QImage art(w, h, QImage::Format_RGB32);
  art.fill(Qt::white);
  for (int y = h / 4; y < 3 * h / 4; ++y)
    for (int x = w / 4; x < 3 * w / 4; ++x)
      art.setPixelColor(x, y, QColor(0, 0, 200));
  ASSERT_TRUE(art.save(dir.filePath(name), "PNG"));
}

} // namespace

TEST(Chapter4, ScreenArrowsEndWhereTheirSetBegins) {
  struct Case {
    PageDrawer drawer;
    std::array<double, 3> x;
    std::array<QColor, 3> colour;
    QString firstTitle;
  };
  const Case cases[] = {
      {Screen401,
       {0.12, 0.43, 0.75},
       {RGB(0, 205, 205), RGB(205, 155, 105), RGB(205, 0, 205)},
       "Élément chimique"},
      {Screen402,
       {0.25, 0.56, 0.88},
       {RGB(0, 205, 0), RGB(205, 155, 105), RGB(205, 0, 205)},
       "Isotopes"},
  };
  QTemporaryDir dir;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.firstTitle.toStdString());
    RecordingCanvas cv = windowTarget();
    Sheet sheet(cv, dir.path(), 1, 70);
    callDrawer(sheet.page, c.drawer);

    const auto boxes = whiteBoxes(cv);
    ASSERT_EQ(boxes.size(), 6u);
    const double bandBottom = boxes[0].y2;
    const double setTop = boxes[3].y1;
    const double L = 16; // Arial 10 on the recording target
    EXPECT_EQ(setTop, bandBottom + 3 * L);
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(boxes[3 + i].y1, setTop);
      const double x = c.x[i] * 784;
      EXPECT_TRUE(hasVerticalLine(cv, x, bandBottom, setTop, false)) << i;
      EXPECT_TRUE(hasHeadDownAt(cv, x, setTop, 1)) << i;
      const auto lines = opsOf(cv, DrawOp::Line);
      EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const DrawOp &op) {
        return op.x1 == x && op.y2 == setTop && op.color == c.colour[i];
      })) << i;
    }
    EXPECT_EQ(textCount(cv, c.firstTitle), 1);
    // Set A hands its bottom on; set B, the last of the sheet, leaves it.
    EXPECT_EQ(sheet.page.line, c.drawer == Screen401 ? boxes[3].y2 : setTop);
  }
}

TEST(Chapter4, PrintedChapterDrawsTheBandOnceAndBothSetsOnOnePage) {
  const std::vector<PageDrawer> drawers = printDrawers(4);
  ASSERT_EQ(drawers.size(), 1u);
  EXPECT_EQ(drawers[0], &PrintSheet4);

  QTemporaryDir dir;
  RecordingCanvas cv = paperTarget();
  Sheet sheet(cv, dir.path(), printScale, 61 * printScale);
  for (PageDrawer drawer : drawers)
    callDrawer(sheet.page, drawer);

  for (const char *title : {"Le noyau d'un atome", "Élément chimique", "Isotopes"})
    EXPECT_EQ(textCount(cv, title), 1) << title;
  const auto boxes = whiteBoxes(cv);
  ASSERT_EQ(boxes.size(), 9u);
  const double s = printScale;
  const double W = 760 * s;
  const double L = 50; // Arial 10 at 300 dpi on the recording target
  const double Y = boxes[0].y2;
  const double aTop = boxes[3].y1, aBottom = boxes[3].y2, bTop = boxes[6].y1;
  EXPECT_EQ(aTop, Y + 6 * L);
  EXPECT_EQ(bTop, aBottom + 6 * L);

  for (double f : {0.12, 0.43, 0.75}) {
    EXPECT_TRUE(hasVerticalLine(cv, f * W, Y, aTop, false)) << f;
    EXPECT_TRUE(hasHeadDownAt(cv, f * W, aTop, s)) << f;
  }
  for (double f : {0.25, 0.56, 0.88}) {
    EXPECT_TRUE(hasVerticalLine(cv, f * W, Y, Y + 3 * L, false)) << f;
    EXPECT_TRUE(hasVerticalLine(cv, f * W, Y + 3 * L, aTop, true)) << f;
    EXPECT_TRUE(hasVerticalLine(cv, f * W, aBottom, aBottom + 3 * L, true)) << f;
    EXPECT_TRUE(hasVerticalLine(cv, f * W, aBottom + 3 * L, bTop, false)) << f;
    EXPECT_TRUE(hasHeadDownAt(cv, f * W, bTop, s)) << f;
  }
  // The screens' own arrows stop three lines below the band: none here.
  for (double f : {0.12, 0.43, 0.75, 0.25, 0.56, 0.88})
    EXPECT_FALSE(hasHeadDownAt(cv, f * W, Y + 3 * L, s)) << f;
  // Dashes are one pixel wide; the solid lines after them have the
  // printer's pen again.
  for (const DrawOp &op : opsOf(cv, DrawOp::Line)) {
    if (op.dashed) {
      EXPECT_EQ(op.width, 1);
    } else if (op.y1 == aBottom + 3 * L && op.y2 == bTop) {
      EXPECT_GT(op.width, 1);
    }
  }
  EXPECT_EQ(cv.DrawStyle, 0);
  // The sheet ends above the publisher notice at the foot of the page.
  EXPECT_LT(lowestDrawn(cv), (1080 - 20) * s);
}

TEST(Chapter4, TopBandPanelsAreBottomAlignedAroundAnAtomOfPointSixThePanelWidth) {
  struct Case {
    double width, height, dpi;
  };
  QTemporaryDir dir;
  for (const Case &c : {Case{784, 561, 96}, Case{600, 561, 96}, Case{2375, 3375, printDpi}}) {
    SCOPED_TRACE(c.width);
    RecordingCanvas cv(c.width, c.height, c.dpi);
    const double s = c.dpi / 96;
    Sheet sheet(cv, dir.path(), s, 70 * s);
    callDrawer(sheet.page, AtomSheetCommon);

    const auto boxes = whiteBoxes(cv);
    ASSERT_EQ(boxes.size(), 3u);
    const DrawOp &left = boxes[0], &middle = boxes[1], &right = boxes[2];
    const double L = 1.2 * 10 * c.dpi / 72;
    const double bottom = middle.y2;
    EXPECT_EQ(sheet.page.line, bottom); // the band hands its bottom on
    EXPECT_EQ(left.y2, bottom);
    EXPECT_EQ(right.y2, bottom);
    EXPECT_DOUBLE_EQ(left.y1, middle.y1 + 3 * L);
    EXPECT_DOUBLE_EQ(right.y1, bottom - 4 * L);

    const double panelWidth = middle.x2 - middle.x1;
    const auto ellipses = opsOf(cv, DrawOp::Ellipse);
    const auto sphere = std::find_if(ellipses.begin(), ellipses.end(), [](const DrawOp &op) {
      return op.fill == RGB(255, 180, 255);
    });
    ASSERT_NE(sphere, ellipses.end());
    EXPECT_NEAR(2 * sphere->x2, 0.6 * panelWidth, 1);
    EXPECT_EQ(sphere->x2, sphere->y2);
    EXPECT_NEAR(sphere->x1, (middle.x1 + middle.x2) / 2, 0.5);
    // The panel grows with the atom: text and gaps are 6.5 lines.
    EXPECT_NEAR(bottom - middle.y1, 6.5 * L + 0.6 * panelWidth, 0.5);
    EXPECT_LT(sphere->y1 + sphere->y2, bottom);
  }
}

TEST(Chapter4, GradientsTintThePanelsAndLeaveTheirTextBlack) {
  QTemporaryDir dir;
  RasterCanvas cv(QSize(784, 561));
  cv.BackColor = RGB(255, 253, 227);
  cv.Cls();
  Sheet sheet(cv, dir.path(), 1, 70);
  callDrawer(sheet.page, Screen401);

  const QImage &img = cv.image();
  const int xa1 = 39, xa2 = 251; // 0.05 W and 0.32 W
  const int bottom = sheet.page.line;
  const int L = static_cast<int>(cv.TextHeight("W"));
  const int top = bottom - 8 * L;
  // The title row of set A's left panel: its darkest pixel is in a glyph.
  int darkest = 255;
  for (int y = top + L / 2; y < top + 3 * L / 2; ++y)
    for (int x = xa1 + 1; x < xa2; ++x)
      darkest = std::min(darkest, qGray(img.pixel(x, y)));
  EXPECT_EQ(darkest, 0);
  // Below the last row the panel's white took the end of its gradient.
  const QColor end = img.pixelColor(xa2 - 2, bottom);
  EXPECT_NE(end, QColor(Qt::white));
  EXPECT_NEAR(end.red(), 235, 2);
  EXPECT_EQ(end.green(), 255);
  EXPECT_EQ(end.blue(), 255);
}

TEST(Chapter4, ScreensWithoutTheirPicturesDrawEverythingElse) {
  QTemporaryDir empty;
  struct Case {
    PageDrawer drawer;
    int legends;
    QString title;
  };
  for (const Case &c :
       {Case{Screen401, 3, "Ion monoatomique"}, Case{Screen402, 2, "Couches électroniques"}}) {
    SCOPED_TRACE(c.title.toStdString());
    RecordingCanvas cv = windowTarget();
    Sheet sheet(cv, empty.path(), 1, 70);
    callDrawer(sheet.page, c.drawer);
    EXPECT_TRUE(opsOf(cv, DrawOp::Image).empty());
    EXPECT_TRUE(opsOf(cv, DrawOp::Transparent).empty());
    EXPECT_EQ(whiteBoxes(cv).size(), 6u);
    EXPECT_EQ(textCount(cv, c.title), 1);
    // The legends come last in their drawers.
    EXPECT_EQ(textCount(cv, "symbole"), c.legends);
  }

  // Printing again and again without the pictures draws none of them and
  // leaves the measuring image empty, with the size of the last picture's
  // place, never one that grows from print to print.
  RecordingCanvas paper = paperTarget();
  Sheet sheet(paper, empty.path(), printScale, 61 * printScale);
  for (int print = 0; print < 3; ++print) {
    paper.clearLog();
    sheet.page.line = toInt16(61 * printScale);
    callDrawer(sheet.page, PrintSheet4);
    EXPECT_TRUE(opsOf(paper, DrawOp::Transparent).empty());
    EXPECT_EQ(textCount(paper, "Couches électroniques"), 1);
  }
  const QSize place = PictureSlot(QStringLiteral("pces401.gif"));
  EXPECT_EQ(QSize(sheet.page.Image1.Width(), sheet.page.Image1.Height()),
            QSize(toInt16(place.width() * printScale), toInt16(place.height() * printScale)));
  EXPECT_TRUE(sheet.page.Image1.Picture().isNull());
}

TEST(Chapter4, PicturesSitWhereTheBandPutsThemWhateverTheirSize) {
  QTemporaryDir dir;
  writePicture(dir, "pces401.gif", 31, 17);
  writePicture(dir, "pces402.gif", 90, 40);
  writePicture(dir, "pces403.gif", 50, 30);
  for (double s : {1.0, printScale}) {
    SCOPED_TRACE(s);
    RecordingCanvas cv(784 * s, 561 * s, 96 * s);
    Sheet sheet(cv, dir.path(), s, 70 * s);
    callDrawer(sheet.page, AtomSheetCommon);
    const auto boxes = whiteBoxes(cv);
    ASSERT_EQ(boxes.size(), 3u);
    const DrawOp &left = boxes[0], &right = boxes[2];
    const double W = 784 * s;
    const auto ellipses = opsOf(cv, DrawOp::Ellipse);
    const auto sphere = std::find_if(ellipses.begin(), ellipses.end(), [](const DrawOp &op) {
      return op.fill == RGB(255, 180, 255);
    });
    ASSERT_NE(sphere, ellipses.end());

    const auto drawn = opsOf(cv, DrawOp::Transparent);
    ASSERT_EQ(drawn.size(), 2u);
    const int atomW = toInt16(90 * s), atomH = toInt16(40 * s);
    EXPECT_EQ(drawn[0].image.size(), QSize(atomW, atomH));
    EXPECT_DOUBLE_EQ(drawn[0].x1, 0.5 * W - atomW - 18 * s);
    EXPECT_DOUBLE_EQ(drawn[0].y1, sphere->y1 - atomH);
    const int electronsW = toInt16(31 * s);
    EXPECT_EQ(drawn[1].image.width(), electronsW);
    EXPECT_DOUBLE_EQ(drawn[1].x1, right.x1 - electronsW);
    EXPECT_DOUBLE_EQ(drawn[1].y1, right.y1 + 10 * s);

    const auto painted = opsOf(cv, DrawOp::Image);
    ASSERT_EQ(painted.size(), 1u);
    const DrawOp &nucleus = painted[0];
    EXPECT_DOUBLE_EQ(nucleus.x2 - nucleus.x1, 50 * s);
    EXPECT_DOUBLE_EQ(nucleus.y2 - nucleus.y1, 30 * s);
    EXPECT_DOUBLE_EQ(nucleus.x1 + nucleus.x2, left.x1 + left.x2);
    // Its size arrow spans its width half a line above it.
    const double y = nucleus.y1 - 1.2 * 10 * 96 * s / 72 / 2;
    EXPECT_TRUE(std::any_of(cv.ops().begin(), cv.ops().end(), [&](const DrawOp &op) {
      return op.kind == DrawOp::Line && op.x1 == nucleus.x1 && op.x2 == nucleus.x2 && op.y1 == y &&
             op.y2 == y;
    }));
  }
}

namespace {

// The raster target with a log of where each run of text landed, so that
// real font widths can be checked against the panels.
class MeasuringCanvas : public RasterCanvas {
public:
  using RasterCanvas::RasterCanvas;
  struct Run {
    QString text;
    double x1, x2, y;
  };
  std::vector<Run> runs;

protected:
  void paintText(double x, double y, const FontSpec &font, const QColor &color,
                 const QString &shown) override {
    runs.push_back({shown, x, x + textWidth(font, shown), y});
    RasterCanvas::paintText(x, y, font, color, shown);
  }
};

} // namespace

TEST(Chapter4, EveryRowFitsItsPanelOnScreenAndOnPaper) {
  struct Case {
    PageDrawer drawer;
    QSize size;
    double dpi;
    double lowestAllowed; // target pixels
  };
  const double s = printScale;
  const Case cases[] = {
      {Screen401, QSize(784, 561), 96, 561 - 35},
      {Screen402, QSize(784, 561), 96, 561 - 35},
      {PrintSheet4, QSize(int(760 * s), int(1080 * s)), printDpi, (1080 - 20) * s},
  };
  QTemporaryDir dir;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.dpi);
    MeasuringCanvas cv(c.size, c.dpi);
    const double k = c.dpi / 96;
    Sheet sheet(cv, dir.path(), k, (c.dpi == 96 ? 70 : 61) * k);
    callDrawer(sheet.page, c.drawer);
    const double W = c.size.width();
    const std::array<std::pair<double, double>, 3> columns{
        {{toInt16(0.05 * W), toInt16(0.32 * W)},
         {toInt16(0.36 * W), toInt16(0.63 * W)},
         {toInt16(0.68 * W), toInt16(0.95 * W)}}};
    ASSERT_FALSE(cv.runs.empty());
    for (const auto &run : cv.runs) {
      EXPECT_LE(run.x2, W) << run.text.toStdString();
      EXPECT_LE(run.y + cv.TextHeight("W"), c.lowestAllowed) << run.text.toStdString();
      for (const auto &[x1, x2] : columns)
        if (run.x1 >= x1 && run.x1 < x2) {
          EXPECT_LE(run.x2, x2) << run.text.toStdString();
        }
    }
  }
  for (const QString &missing : missingTexts())
    EXPECT_FALSE(missing.startsWith("@401") || missing.startsWith("@402")) << missing.toStdString();
}

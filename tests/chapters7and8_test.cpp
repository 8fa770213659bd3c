// Chapters 7 and 8: the panel frame of the mole screens against the height
// of macro.gif, the tint laid over formula and legend boxes after their
// text, text kept inside its panel or box with the real fonts, and the
// captions of the sampling and dilution pictures.
#include "sheets/chemistry/chemistry.h"
#include "tests/sheettest.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace abrevel;
using namespace abrevel::sheettest;

namespace {

const QColor kTint = RGB(190, 240, 255);

std::vector<DrawOp> opsOf(const std::vector<DrawOp> &ops, DrawOp::Kind kind) {
  std::vector<DrawOp> out;
  std::copy_if(ops.begin(), ops.end(), std::back_inserter(out),
               [kind](const DrawOp &op) { return op.kind == kind; });
  return out;
}

// The tinted boxes (filled in mask pen with the formula tint), in order.
std::vector<DrawOp> tints(const std::vector<DrawOp> &ops) {
  std::vector<DrawOp> out;
  for (const DrawOp &op : opsOf(ops, DrawOp::FilledBox))
    if (op.mask && op.color == kTint)
      out.push_back(op);
  return out;
}

// The white bodies of the panels and boxes, drawn in copy pen.
std::vector<DrawOp> whiteBoxes(const std::vector<DrawOp> &ops) {
  std::vector<DrawOp> out;
  for (const DrawOp &op : opsOf(ops, DrawOp::FilledBox))
    if (!op.mask && op.color == QBColor(15))
      out.push_back(op);
  return out;
}

bool startsInside(const DrawOp &text, const DrawOp &box) {
  const double cy = text.y1 + 1; // just under the cell's top
  return text.x1 >= box.x1 && text.x1 < box.x2 && cy >= box.y1 && cy < box.y2;
}

// A picture of the given size (PNG data; the loader reads a file by its
// content whatever its name), white around a dark middle.
void writeFixture(const QString &dir, const QString &name, int w, int h) {
  QImage art(w, h, QImage::Format_RGB32);
  art.fill(QColor(250, 250, 250));
  for (int y = h / 4; y < 3 * h / 4; ++y)
    for (int x = w / 4; x < 3 * w / 4; ++x)
      art.setPixelColor(x, y, QColor(0, 0, 160));
  ASSERT_TRUE(art.save(dir + QLatin1Char('/') + name, "PNG"));
}

// The window's client area, or the printable area of an A4 page, in screen
// pixels, at the target's resolution.
struct Scale {
  double dpi;
  double width, height;
  double s() const { return dpi / 96; }
};
constexpr Scale kScreen{96, kClientWidth, kClientHeight}, kPaper{kPaperDpi, 760, 1080};

std::vector<DrawOp> drawOn(PageDrawer drawer, const QString &dir, Scale scale, double line,
                           RecordingCanvas::Metrics metrics = RecordingCanvas::Metrics::Fixed) {
  const double k = scale.s();
  RecordingCanvas cv(scale.width * k, scale.height * k, scale.dpi, metrics);
  Page p = pageFor(cv, dir, k, line * k);
  callDrawer(p, drawer);
  return cv.ops();
}

} // namespace

// The header band of both panels is macro.gif's height plus 6 × s; the
// panels' depths are counted in lines below its rule; each has a shadow
// 5 × s to the right and below and its picture 3 × s in from the corner.
TEST(Chapters7And8, PanelFrameFollowsTheHeightOfMacroGif) {
  struct Case {
    PageDrawer drawer;
    int kLeft, kRight;
  };
  const Case screens[] = {{Screen701, 10, 10}, {Screen702, 15, 10}};
  for (const int hP : {30, 48}) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    writeFixture(dir.path(), QStringLiteral("macro.gif"), 36, hP);
    writeFixture(dir.path(), QStringLiteral("micro.gif"), 36, hP);
    for (const Case &c : screens) {
      for (const Scale scale : {kScreen, kPaper}) {
        SCOPED_TRACE(testing::Message() << "hP " << hP << " dpi " << scale.dpi << " k " << c.kLeft);
        const double s = scale.s();
        const double L = 16 * s; // Arial 10 on the recording target
        const auto ops = drawOn(c.drawer, dir.path(), scale, 120);
        const auto bodies = whiteBoxes(ops);
        ASSERT_GE(bodies.size(), 2u);
        const double W = scale.width * s;
        const double top = bodies[0].y1;
        const double Yh = top + (hP + 6) * s;
        const std::array<double, 2> x1{std::round(0.05 * W), std::round(0.52 * W)};
        const std::array<double, 2> x2{std::round(0.48 * W), std::round(0.95 * W)};
        const std::array<int, 2> k{c.kLeft, c.kRight};
        for (std::size_t i = 0; i < 2; ++i) {
          SCOPED_TRACE(i);
          const DrawOp &body = bodies[i];
          EXPECT_EQ(body.y1, top);
          EXPECT_NEAR(body.x1, x1[i], 0.5);
          EXPECT_NEAR(body.x2, x2[i], 0.5);
          EXPECT_NEAR(body.y2, Yh + k[i] * L, 0.5);
          const auto shadow = std::find_if(ops.begin(), ops.end(), [&](const DrawOp &op) {
            return op.kind == DrawOp::FilledBox && op.color == QBColor(7) &&
                   op.x1 == body.x1 + 5 * s && op.y1 == body.y1 + 5 * s &&
                   op.x2 == body.x2 + 5 * s && op.y2 == body.y2 + 5 * s;
          });
          EXPECT_NE(shadow, ops.end());
          const auto picture = std::find_if(ops.begin(), ops.end(), [&](const DrawOp &op) {
            return op.kind == DrawOp::Image && op.x1 == body.x1 + 3 * s && op.y1 == top + 3 * s;
          });
          ASSERT_NE(picture, ops.end());
          EXPECT_NEAR(picture->y2 - picture->y1, hP * s, 0.5);
          // The blue rule under the header band, and the blue outline.
          const auto rule = std::find_if(ops.begin(), ops.end(), [&](const DrawOp &op) {
            return op.kind == DrawOp::Line && op.color == QBColor(9) && op.y1 == op.y2 &&
                   op.x1 == body.x1 && op.x2 == body.x2;
          });
          ASSERT_NE(rule, ops.end());
          EXPECT_NEAR(rule->y1, Yh, 0.5);
          const auto outline = std::find_if(ops.begin(), ops.end(), [&](const DrawOp &op) {
            return op.kind == DrawOp::Box && op.color == QBColor(9) && op.x1 == body.x1 &&
                   op.y1 == body.y1 && op.x2 == body.x2 && op.y2 == body.y2;
          });
          EXPECT_NE(outline, ops.end());
        }
        // The headers sit beside the picture, centred in the band.
        const auto headers = opsOf(ops, DrawOp::Text);
        const auto header = std::find_if(headers.begin(), headers.end(), [](const DrawOp &op) {
          return op.text.startsWith(QStringLiteral("  Quantité")) ||
                 op.text.startsWith(QStringLiteral("  Masse"));
        });
        ASSERT_NE(header, headers.end());
        EXPECT_NEAR(header->x1, x1[0] + (hP + 6) * s, 0.5);
        EXPECT_NEAR(header->y1 + L / 2, (top + Yh) / 2, 0.5);
      }
    }
  }
}

// Without macro.gif the header band keeps the height it has with it, so the
// headers stay above the blue rule, where they are with the picture.
TEST(Chapters7And8, HeaderBandKeepsItsHeightWithoutMacroGif) {
  QTemporaryDir empty;
  for (PageDrawer drawer : {Screen701, Screen702}) {
    for (const Scale scale : {kScreen, kPaper}) {
      std::vector<double> bands;
      for (const QString &folder : {empty.path(), appDir()}) {
        const auto ops = drawOn(drawer, folder, scale, 120);
        const auto bodies = whiteBoxes(ops);
        ASSERT_GE(bodies.size(), 2u);
        const auto rule = std::find_if(ops.begin(), ops.end(), [](const DrawOp &op) {
          return op.kind == DrawOp::Line && op.color == QBColor(9) && op.y1 == op.y2;
        });
        ASSERT_NE(rule, ops.end());
        bands.push_back(rule->y1 - bodies[0].y1);
      }
      EXPECT_GE(bands[0], 16 * scale.s() + 6 * scale.s() - 0.5);
      EXPECT_EQ(bands[0], bands[1]);
    }
  }
}

// The tint goes on after the text in mask pen: on the raster target the
// paper of each tinted box takes the tint and its black text stays black;
// every drawer of the two chapters hands back the copy pen.
TEST(Chapters7And8, TintLeavesTheTextBlackAndTheCopyPenBack) {
  for (const ScreenRow *row :
       {findScreen(701), findScreen(702), findScreen(801), findScreen(802), findScreen(803)}) {
    SCOPED_TRACE(row->code);
    const auto ops =
        drawOn(row->drawer, appDir(), kScreen, row->lineStart, RecordingCanvas::Metrics::Installed);
    const auto boxes = tints(ops);
    const std::size_t expected = row->code == 701 || row->code == 802 ? 2
                                 : row->code == 702                   ? 3
                                                                      : 0;
    ASSERT_EQ(boxes.size(), expected);

    RasterCanvas cv(QSize(kClientWidth, kClientHeight));
    Page p = pageFor(cv, appDir(), 1, row->lineStart);
    cv.Cls();
    callDrawer(p, row->drawer);
    EXPECT_EQ(cv.DrawMode, CopyPen);

    for (const DrawOp &box : boxes) {
      // Every text of the box was drawn before its tint.
      const auto tintAt = std::find_if(ops.begin(), ops.end(), [&](const DrawOp &op) {
        return op.kind == DrawOp::FilledBox && op.mask && op.x1 == box.x1 && op.y1 == box.y1;
      });
      int texts = 0;
      for (auto it = tintAt; it != ops.end(); ++it)
        EXPECT_FALSE(it->kind == DrawOp::Text && startsInside(*it, box)) << it->text.toStdString();
      for (auto it = ops.begin(); it != tintAt; ++it)
        texts += it->kind == DrawOp::Text && startsInside(*it, box);
      EXPECT_GT(texts, 0);

      int tinted = 0, darkest = 255;
      for (int y = int(box.y1) + 1; y < int(box.y2); ++y)
        for (int x = int(box.x1) + 1; x < int(box.x2); ++x) {
          const QColor c = cv.image().pixelColor(x, y);
          tinted += c == kTint;
          darkest = std::min(darkest, qGray(c.rgb()));
        }
      EXPECT_GT(tinted, (box.x2 - box.x1) * (box.y2 - box.y1) / 2);
      EXPECT_EQ(darkest, 0);
    }
  }
}

// Every line that starts inside a panel, a formula box or a legend box ends
// inside it, measured with the fonts the screens are drawn in, in the window
// and on paper.
TEST(Chapters7And8, TextStaysInsideItsPanelsAndBoxesWithTheRealFonts) {
  for (const int code : {701, 702, 802}) {
    for (const Scale scale : {kScreen, kPaper}) {
      SCOPED_TRACE(testing::Message() << code << " dpi " << scale.dpi);
      const auto ops = drawOn(findScreen(code)->drawer, appDir(), scale,
                              findScreen(code)->lineStart, RecordingCanvas::Metrics::Installed);
      std::vector<DrawOp> boxes = whiteBoxes(ops);
      const auto tinted = tints(ops);
      boxes.insert(boxes.end(), tinted.begin(), tinted.end());
      int checked = 0;
      for (const DrawOp &text : opsOf(ops, DrawOp::Text)) {
        for (const DrawOp &box : boxes) {
          if (!startsInside(text, box))
            continue;
          ++checked;
          EXPECT_LE(text.x2, box.x2) << text.text.toStdString();
          EXPECT_LE(text.y2, box.y2 + 0.5) << text.text.toStdString();
        }
      }
      EXPECT_GT(checked, 10);
    }
  }
}

// Both captions are centred over slots as wide as the first picture, even
// when the second one is wider; each picture keeps its own size.
TEST(Chapters7And8, DilutionCaptionsUseTheFirstPicturesWidth) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  writeFixture(dir.path(), QStringLiteral("pces802.gif"), 100, 120);
  writeFixture(dir.path(), QStringLiteral("pces803.gif"), 240, 150);
  for (const Scale scale : {kScreen, kPaper}) {
    SCOPED_TRACE(scale.dpi);
    const double s = scale.s();
    const double W = scale.width * s;
    const auto ops = drawOn(Screen803, dir.path(), scale, 100);
    const auto sampling = textOp(ops, QStringLiteral("Prélèvement"));
    const auto dilution = textOp(ops, QStringLiteral("Dilution"));
    ASSERT_TRUE(sampling && dilution);
    EXPECT_NEAR((sampling->x1 + sampling->x2) / 2, W / 20 + 100 * s / 2, 0.01);
    EXPECT_NEAR((dilution->x1 + dilution->x2) / 2, 11 * W / 20 + 100 * s / 2, 0.01);
    EXPECT_EQ(sampling->y1, dilution->y1);

    const auto pictures = images(ops);
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(pictures[0].x1, W / 20);
    EXPECT_EQ(pictures[1].x1, 11 * W / 20);
    EXPECT_EQ(pictures[0].y1, pictures[1].y1);
    EXPECT_NEAR(pictures[0].x2 - pictures[0].x1, 100 * s, 0.01);
    EXPECT_NEAR(pictures[1].x2 - pictures[1].x1, 240 * s, 0.01);
    EXPECT_GE(pictures[0].y1, sampling->y1 + 2 * 16 * s - 0.01); // a blank line between
  }
}

// The printed chapter 8 keeps to the page with the pictures it ships: the
// dissolution and the taller of the two dilution pictures together stay
// within what the page leaves them.
TEST(Chapters7And8, ChapterEightPicturesLeaveRoomOnThePage) {
  const QSize dissolution = QImage(appDir() + QStringLiteral("/pces801.gif")).size();
  const QSize sampling = QImage(appDir() + QStringLiteral("/pces802.gif")).size();
  const QSize dilution = QImage(appDir() + QStringLiteral("/pces803.gif")).size();
  ASSERT_FALSE(dissolution.isEmpty() || sampling.isEmpty() || dilution.isEmpty());
  EXPECT_EQ(sampling.width(), dilution.width());
  EXPECT_LE(dissolution.height() + std::max(sampling.height(), dilution.height()), 615);
  const QSize macro = QImage(appDir() + QStringLiteral("/macro.gif")).size();
  const QSize micro = QImage(appDir() + QStringLiteral("/micro.gif")).size();
  EXPECT_EQ(macro, micro);
  EXPECT_EQ(macro.width(), macro.height());
}

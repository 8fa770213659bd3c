// The drawing target, the primitives and the layout devices.
#include "toolkit/colors.h"
#include "toolkit/devices.h"
#include "toolkit/errors.h"
#include "toolkit/primitives.h"
#include "toolkit/rastercanvas.h"
#include "toolkit/recordingcanvas.h"

#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace abrevel;

namespace {

// A page drawing on the recording target at a given resolution; the
// drawing scale follows the resolution as it does when printing.
struct RecordedPage {
  explicit RecordedPage(double dpi = 96) : cv(784, 561, dpi) {
    page.target = &cv;
    page.scale = static_cast<float>(dpi / 96);
    cv.Font.Size = 10;
  }
  std::vector<DrawOp> ops(DrawOp::Kind kind) const {
    std::vector<DrawOp> out;
    for (const DrawOp &op : cv.ops())
      if (op.kind == kind)
        out.push_back(op);
    return out;
  }
  RecordingCanvas cv;
  Page page;
};

} // namespace

TEST(Int16, RoundsHalvesToEvenAndRejectsOverflow) {
  EXPECT_EQ(toInt16(2.5), 2);
  EXPECT_EQ(toInt16(3.5), 4);
  EXPECT_EQ(toInt16(-0.5), 0);
  EXPECT_EQ(toInt16(-1.5), -2);
  EXPECT_EQ(toInt16(32767.4), 32767);
  EXPECT_THROW(toInt16(32767.5), DrawError);
  EXPECT_THROW(toInt16(-32768.6), DrawError);
  EXPECT_THROW(toInt16(std::nan("")), DrawError);
}

TEST(Colours, ComponentsAreClampedAndThePaletteHasSixteenColours) {
  EXPECT_EQ(RGB(300, -5, 128), QColor(255, 0, 128));
  EXPECT_EQ(QBColor(0), QColor(0, 0, 0));
  EXPECT_EQ(QBColor(7), QColor(192, 192, 192));
  EXPECT_EQ(QBColor(9), QColor(0, 0, 255));
  EXPECT_EQ(QBColor(14), QColor(255, 255, 0));
  EXPECT_EQ(QBColor(15), QColor(255, 255, 255));
  EXPECT_THROW(QBColor(16), DrawError);
}

TEST(Canvas, PrintEndsTheLineAtTheLeftEdgeAndMeasuresLines) {
  RecordingCanvas cv;
  cv.Font.Size = 10; // 16-pixel lines, 6.67-pixel characters
  cv.CurrentX = 40;
  cv.CurrentY = 100;
  cv.PrintRun("ab");
  EXPECT_NEAR(cv.CurrentX, 40 + 2 * 6.6667, 1e-3);
  EXPECT_EQ(cv.CurrentY, 100);
  cv.Print("c");
  EXPECT_EQ(cv.CurrentX, 0);
  EXPECT_NEAR(cv.CurrentY, 116, 1e-9);
  EXPECT_NEAR(cv.TextHeight("one\ntwo\nthree"), 48, 1e-9);
  EXPECT_NEAR(cv.TextWidth("a\nabc"), 3 * 6.6667, 1e-3);
  EXPECT_THROW(cv.SetFontName("Wingdings"), DrawError);
  EXPECT_EQ(cv.Font.Name, "Arial");
}

TEST(Canvas, MirroredPictureExtendsLeftwardsAndNaturalSizeFollowsTheResolution) {
  RecordingCanvas paper(2000, 3000, 192); // two target pixels per screen pixel
  QImage image(10, 5, QImage::Format_RGB32);
  image.fill(Qt::red);
  const Picture picture(image);
  paper.PaintPicture(picture, 100, 50);
  paper.PaintPicture(picture, 100, 50, -30, 15);
  ASSERT_EQ(paper.ops().size(), 2u);
  EXPECT_EQ(paper.ops()[0].x2 - paper.ops()[0].x1, 20);
  EXPECT_EQ(paper.ops()[0].y2 - paper.ops()[0].y1, 10);
  EXPECT_TRUE(paper.ops()[1].mirrored);
  EXPECT_EQ(paper.ops()[1].x1, 70);
  EXPECT_EQ(paper.ops()[1].x2, 100);
  EXPECT_THROW(paper.PaintPicture(Picture(), 0, 0), DrawError);
}

TEST(Primitives, ShiftedRunsComeBackToTheBaselineAndTheRoundedSize) {
  struct Case {
    const char *name;
    void (*primitive)(Page &, const QString &);
    double dpi;
    double shift;
  };
  const Case cases[] = {
      {"superscript on screen", PrintSuperscript, 96, -3},
      {"subscript on screen", PrintSubscript, 96, 5},
      {"superscript on paper", PrintSuperscript, 300, -3 * 300.0 / 96},
      {"subscript on paper", PrintSubscript, 300, 5 * 300.0 / 96},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    RecordedPage rp(c.dpi);
    rp.cv.Font.Size = 10.6;
    rp.cv.CurrentX = 100;
    rp.cv.CurrentY = 50;
    c.primitive(rp.page, "2+");
    rp.cv.PrintRun("x");
    const auto texts = rp.ops(DrawOp::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NEAR(texts[0].y1, 50 + c.shift, 1e-4);
    EXPECT_EQ(texts[0].font.Size, 8);
    EXPECT_EQ(texts[1].y1, 50);
    EXPECT_EQ(texts[1].x1, texts[0].x2);
    EXPECT_EQ(texts[1].font.Size, 11); // 10.6 comes back rounded
  }
}

TEST(Primitives, BoldAndItalicAreOffAfterwardsWhateverTheyWere) {
  RecordedPage rp;
  rp.cv.Font.Bold = true;
  rp.cv.Font.Italic = true;
  PrintBold(rp.page, "gras");
  EXPECT_FALSE(rp.cv.Font.Bold);
  PrintItalic(rp.page, "italique");
  EXPECT_FALSE(rp.cv.Font.Italic);
  const auto texts = rp.ops(DrawOp::Text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_TRUE(texts[0].font.Bold);
  EXPECT_TRUE(texts[1].font.Italic);
}

TEST(Primitives, SymbolGlyphsLineUpWithTheCurrentFontAndKeepItsSize) {
  RecordedPage rp;
  rp.cv.Font.Size = 10;
  rp.cv.Font.Bold = true;
  rp.cv.CurrentY = 50;
  PrintSymbol(rp.page, "q®·»");
  const auto texts = rp.ops(DrawOp::Text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, QString::fromUtf8("θ→•≈"));
  EXPECT_EQ(texts[0].font.Name, "Symbol");
  EXPECT_TRUE(texts[0].font.Bold);
  // Arial 10 cells are 16 px, Symbol 10 cells 16.67 px, rounded to 17: the
  // glyphs go up one pixel so that the cells' bottoms meet.
  EXPECT_EQ(texts[0].y1, 49);
  EXPECT_EQ(rp.cv.CurrentY, 50);
  EXPECT_EQ(rp.cv.Font.Name, "Arial");
}

TEST(Primitives, HeadingSetsItsStyleEndsTheLineAndRefreshesTheFolder) {
  RecordedPage rp;
  rp.page.applicationFolder = "/opt/abrevel";
  rp.cv.Font.Italic = true;
  rp.cv.Font.Underline = true;
  rp.cv.ForeColor = QBColor(12);
  rp.cv.CurrentX = 39;
  rp.cv.CurrentY = 130;
  PrintHeading(rp.page, "Titre");
  EXPECT_EQ(rp.page.AppFolder, "/opt/abrevel/");
  const auto texts = rp.ops(DrawOp::Text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].font, (FontSpec{"Arial", 14, true, false, false}));
  EXPECT_EQ(texts[0].color, QColor(0, 0, 0));
  EXPECT_EQ(rp.cv.CurrentX, 0);
  EXPECT_NEAR(rp.cv.CurrentY, 130 + 22.4, 1e-9);
}

TEST(Primitives, VectorArrowSpansTheTextAndAnEmptyOneIsTwoUnitsLong) {
  struct Case {
    QString text;
    double dpi;
  };
  for (const Case &c : {Case{"", 96}, Case{"F", 96}, Case{"AB", 192}}) {
    SCOPED_TRACE(c.text.toStdString() + " at " + std::to_string(c.dpi));
    RecordedPage rp(c.dpi);
    const double s = rp.page.scale;
    rp.cv.CurrentX = 100;
    rp.cv.CurrentY = 50;
    const double width = rp.cv.TextWidth(c.text);
    PrintVector(rp.page, c.text);
    const auto lines = rp.ops(DrawOp::Line);
    ASSERT_EQ(lines.size(), 3u);
    const double x0 = std::nearbyint(100 - s), y0 = 50 - s;
    const double tip = x0 + std::nearbyint(width + 2 * s);
    EXPECT_EQ(lines[0].x1, x0);
    EXPECT_EQ(lines[0].y1, y0);
    EXPECT_EQ(lines[0].x2, tip);
    EXPECT_EQ(lines[1].x1, tip - 3 * s);
    EXPECT_EQ(lines[1].y1, y0 - 2 * s);
    EXPECT_EQ(lines[2].y1, y0 + 2 * s);
    EXPECT_EQ(lines[2].x2, tip);
    EXPECT_EQ(rp.cv.CurrentX, std::nearbyint(100 + width));
    EXPECT_EQ(rp.cv.CurrentY, 50);
  }
}

TEST(Primitives, GradientRunsFromTheStartColourToTheEndColour) {
  RecordedPage rp;
  rp.cv.DrawWidth = 3;
  DrawGradient(rp.page, 10, 20, 110, 24, 0, 100, 255, 5, 100, 155);
  const auto lines = rp.ops(DrawOp::Line);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines.front().color, QColor(0, 100, 255));
  EXPECT_EQ(lines[2].color, QColor(2, 100, 205)); // 2.5 rounds to even
  EXPECT_EQ(lines.back().color, QColor(5, 100, 155));
  for (const DrawOp &line : lines) {
    EXPECT_EQ(line.width, 1);
    EXPECT_EQ(line.x1, 10);
    EXPECT_EQ(line.x2, 110);
  }
  EXPECT_EQ(rp.cv.DrawWidth, 3);
}

TEST(Primitives, GradientUpsideDownDrawsNothingAndFlatIsAnErrorBeforeDrawing) {
  RecordedPage rp;
  rp.cv.DrawWidth = 3;
  DrawGradient(rp.page, 10, 30, 110, 20, 0, 0, 0, 255, 255, 255);
  EXPECT_TRUE(rp.ops(DrawOp::Line).empty());
  EXPECT_EQ(rp.cv.DrawWidth, 3);

  const ErrorRule stop(rp.page, OnError::Stop);
  EXPECT_THROW(DrawGradient(rp.page, 10, 20, 110, 20, 0, 0, 0, 255, 255, 255), DrawError);
  EXPECT_TRUE(rp.ops(DrawOp::Line).empty());
  EXPECT_EQ(rp.cv.DrawWidth, 1);
}

TEST(ErrorRules, AFailingStatementIsSkippedOrStopsTheDrawer) {
  RecordedPage rp;
  rp.cv.CurrentY = 40000;         // does not fit 16 bits
  PrintSuperscript(rp.page, "2"); // skipped: the drawer resumes
  rp.cv.CurrentY = 10;
  rp.cv.PrintRun("next");
  EXPECT_EQ(rp.ops(DrawOp::Text).size(), 1u);

  rp.cv.CurrentY = 40000;
  const PageDrawer stopsAtFirstError = [](Page &p) {
    const ErrorRule rule(p, OnError::Stop);
    PrintSuperscript(p, "2");
    p.cv().PrintRun("never");
  };
  callDrawer(rp.page, stopsAtFirstError);
  EXPECT_EQ(rp.ops(DrawOp::Text).size(), 1u);
  EXPECT_EQ(rp.page.onError, OnError::ResumeNext);
}

TEST(Devices, BlankLineTakesTheCurrentFontAndPrinterLinesOnlyPrintOnPaper) {
  for (double dpi : {96.0, 300.0}) {
    SCOPED_TRACE(dpi);
    RecordedPage rp(dpi);
    const double k = dpi / 96;
    rp.page.line = 100;
    ScreenStart(rp.page, "Titre");
    double y = rp.cv.CurrentY;
    BlankLines(rp.page, 1); // still the heading's 14 points
    EXPECT_NEAR(rp.cv.CurrentY - y, 22.4 * k, 1e-9);
    BodyFont(rp.page);
    y = rp.cv.CurrentY;
    BlankLines(rp.page, 1);
    EXPECT_NEAR(rp.cv.CurrentY - y, 16 * k, 1e-9);
    y = rp.cv.CurrentY;
    PrinterBlankLine(rp.page);
    EXPECT_NEAR(rp.cv.CurrentY - y, dpi == 96 ? 0 : 16 * k, 1e-9);
    EXPECT_FALSE(rp.cv.Font.Bold);
  }
}

TEST(Devices, RichLinesCallThePrimitivesAndBulletsKeepTheirColumn) {
  RecordedPage rp;
  rp.cv.CurrentY = 100;
  PrintBullet(rp.page, 39, " *m*_{atome} {S:»} 10^{-3} \\*");
  const auto texts = rp.ops(DrawOp::Text);
  ASSERT_EQ(texts.size(), 9u);
  EXPECT_EQ(texts[0].text, QString::fromUtf8("•"));
  EXPECT_EQ(texts[0].x1, 39);
  EXPECT_EQ(texts[1].text, " ");
  EXPECT_TRUE(texts[2].font.Italic);
  EXPECT_EQ(texts[3].text, "atome");
  EXPECT_EQ(texts[3].y1, 105);
  EXPECT_EQ(texts[5].text, QString::fromUtf8("≈"));
  EXPECT_EQ(texts[7].text, "-3");
  EXPECT_EQ(texts[7].y1, 97);
  EXPECT_EQ(texts[8].text, " *"); // an escaped mark is plain text
  EXPECT_EQ(rp.cv.CurrentY, 116);
  // A bullet with text that has no leading space takes a Symbol space.
  PrintBullet(rp.page, 39, "Texte");
  EXPECT_EQ(rp.ops(DrawOp::Text)[9].text, QString::fromUtf8("• "));
}

TEST(Devices, CentredTextUsesItsMeasuringTemplate) {
  RecordedPage rp;
  PrintCentredInBox(rp.page, 100, 300, "*A* = *Z* + *N*", End::Run, "A = Z + N");
  EXPECT_NEAR(rp.ops(DrawOp::Text)[0].x1, (400 - 9 * 20.0 / 3) / 2, 1e-9);
  PrintCentredOn(rp.page, 392, "10^{-15} m", End::Line);
  // Without a template the marks are not measured.
  EXPECT_NEAR(rp.ops(DrawOp::Text)[5].x1, 392 - 7 * 20.0 / 6, 1e-9);
}

TEST(Devices, ArrowHeadsAreTwoStrokesToTheTip) {
  RecordedPage rp(192);
  ArrowHead(rp.page, 100, 200, Pointing::Down, QBColor(0));
  ArrowHead(rp.page, 100, 200, Pointing::Right, QBColor(0));
  const auto lines = rp.ops(DrawOp::Line);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(QPointF(lines[0].x1, lines[0].y1), QPointF(94, 188));
  EXPECT_EQ(QPointF(lines[1].x1, lines[1].y1), QPointF(106, 188));
  EXPECT_EQ(QPointF(lines[2].x1, lines[2].y1), QPointF(88, 194));
  EXPECT_EQ(QPointF(lines[3].x1, lines[3].y1), QPointF(88, 206));
  for (const DrawOp &line : lines)
    EXPECT_EQ(QPointF(line.x2, line.y2), QPointF(100, 200));
}

// ----- What only pixels show ------------------------------------------------------------

TEST(Raster, MaskPenTintsWhiteAndLeavesBlackTextBlack) {
  RasterCanvas cv(QSize(200, 60));
  Page page;
  page.target = &cv;
  WhiteBox(page, 0, 0, 199, 59);
  cv.CurrentX = 10;
  cv.CurrentY = 10;
  cv.Font.Size = 24;
  cv.Font.Bold = true;
  cv.Print("IIII");
  TintPanel(page, 0, 0, 199, 59, RGB(205, 205, 255), RGB(205, 205, 255));
  EXPECT_EQ(cv.DrawMode, CopyPen);
  EXPECT_EQ(cv.image().pixelColor(190, 50), QColor(205, 205, 255));
  // The darkest pixel of the text stays black.
  int darkest = 255;
  for (int y = 10; y < 40; ++y)
    for (int x = 10; x < 80; ++x)
      darkest = std::min(darkest, qGray(cv.image().pixel(x, y)));
  EXPECT_EQ(darkest, 0);
}

TEST(Raster, KeyedPictureShowsTheWindowColourOnScreenAndWhiteOnPaper) {
  QTemporaryDir dir;
  QImage art(20, 10, QImage::Format_RGB32);
  art.fill(Qt::white);
  for (int y = 3; y < 8; ++y)
    for (int x = 13; x < 18; ++x)
      art.setPixelColor(x, y, QColor(200, 0, 0));
  ASSERT_TRUE(art.save(dir.filePath("key.bmp")));

  struct Case {
    double dpi;
    QColor background;
  };
  for (const Case &c : {Case{96, RGB(255, 253, 227)}, Case{192, QBColor(15)}}) {
    SCOPED_TRACE(c.dpi);
    RasterCanvas cv(QSize(100, 100), c.dpi);
    cv.BackColor = RGB(255, 253, 227);
    cv.Cls();
    cv.Line(0, 0, 99, 99, QBColor(0), LineForm::FilledBox); // something under the picture
    Page page;
    page.target = &cv;
    page.scale = static_cast<float>(c.dpi / 96);
    page.AppFolder = dir.path() + "/";
    const PictureSize size = PrepareKeyed(page, "key.bmp");
    EXPECT_EQ(size, QSize(20, 10));
    PaintKeyed(page, 10, 10);
    const double k = c.dpi / 96;
    EXPECT_EQ(cv.image().pixelColor(10 + int(2 * k), 10 + int(2 * k)), c.background);
    EXPECT_EQ(cv.image().pixelColor(10 + int(15.5 * k), 10 + int(5.5 * k)), QColor(200, 0, 0));
    // The buffer covers exactly the picture's physical size.
    EXPECT_EQ(cv.image().pixelColor(10 + int(20 * k) + 1, 10), QColor(0, 0, 0));
    PictureCleanUp(page, true);
    EXPECT_TRUE(page.Image1.Picture().isNull());
    EXPECT_EQ(page.Picturetampon.Width(), 1);
  }
}

TEST(Raster, MissingPictureIsAnErrorOfItsStatementOnly) {
  RecordedPage rp;
  rp.page.AppFolder = "/nonexistent/";
  const PictureSize size = MeasurePicture(rp.page, "pces999.gif");
  EXPECT_EQ(size, QSize(0, 0)); // no size of its own, and none of the control's last picture
  PaintFile(rp.page, "pces999.gif", 0, 0);
  EXPECT_TRUE(rp.ops(DrawOp::Image).empty());
  const ErrorRule stop(rp.page, OnError::Stop);
  EXPECT_THROW(MeasurePicture(rp.page, "pces999.gif"), DrawError);
}

// A load that fails after a good one leaves nothing behind: neither the
// measured picture, nor the keyed one, nor their sizes.
TEST(Raster, FailedLoadAfterAGoodOneLeavesNoPictureAndNoSize) {
  QTemporaryDir dir;
  QImage art(20, 10, QImage::Format_RGB32);
  art.fill(QColor(0, 0, 200));
  ASSERT_TRUE(art.save(dir.filePath("good.bmp")));
  RecordedPage rp;
  rp.page.AppFolder = dir.path() + "/";

  EXPECT_EQ(MeasurePicture(rp.page, "good.bmp"), QSize(20, 10));
  EXPECT_EQ(MeasurePicture(rp.page, "missing.bmp"), QSize(0, 0));
  PaintImage1(rp.page, 0, 0);
  EXPECT_EQ(PrepareKeyed(rp.page, "good.bmp"), QSize(20, 10));
  EXPECT_EQ(PrepareKeyed(rp.page, "missing.bmp"), QSize(0, 0));
  PaintKeyed(rp.page, 0, 0);
  EXPECT_EQ(PrepareScaledTransparent(rp.page, "good.bmp"), QSize(20, 10));
  EXPECT_EQ(PrepareScaledTransparent(rp.page, "missing.bmp"), QSize(0, 0));
  DrawScaledTransparent(rp.page, 0, 0);
  EXPECT_TRUE(rp.ops(DrawOp::Image).empty());
  EXPECT_TRUE(rp.ops(DrawOp::Transparent).empty());
}

TEST(Raster, HighlightTintsTheBoxAfterItsTextAndRestoresCopyPen) {
  RasterCanvas cv(QSize(120, 40));
  Page page;
  page.target = &cv;
  cv.Line(0, 0, 119, 39, RGB(250, 0, 0), LineForm::FilledBox); // outside the box stays red
  WhiteBox(page, 10, 5, 109, 34);
  cv.CurrentX = 20;
  cv.CurrentY = 8;
  cv.Font.Size = 16;
  cv.Font.Bold = true;
  cv.Print("IIII");
  Highlight(page, 10, 5, 109, 34, RGB(190, 240, 255));
  EXPECT_EQ(cv.DrawMode, CopyPen);
  EXPECT_EQ(cv.image().pixelColor(100, 30), QColor(190, 240, 255));
  EXPECT_EQ(cv.image().pixelColor(5, 2), QColor(250, 0, 0));
  int darkest = 255;
  for (int y = 8; y < 30; ++y)
    for (int x = 20; x < 60; ++x)
      darkest = std::min(darkest, qGray(cv.image().pixel(x, y)));
  EXPECT_EQ(darkest, 0);
}

TEST(Devices, ExponentsRiseByTheirFormAndComeBackToSizeTenOnTheLineTop) {
  // 8-point lines are 12.8 px at 96 dpi, 40 px at 300 dpi.
  struct Case {
    const char *name;
    double dpi;
    QString line; // printed with PrintRich when given, else the device
    Raise raise;
    double rise;
  };
  const double k = 300.0 / 96;
  const Case cases[] = {
      {"5 units on screen", 96, {}, Raise::FiveUnits, 5},
      {"5 units on paper", 300, {}, Raise::FiveUnits, 5 * k},
      {"0.3 line on screen", 96, {}, Raise::ThreeTenthsLine, 0.3 * 12.8},
      {"0.3 line on paper", 300, {}, Raise::ThreeTenthsLine, 0.3 * 40},
      {"denominator on screen", 96, {}, Raise::ThreeUnits, 3},
      {"denominator on paper", 300, {}, Raise::ThreeUnits, 3 * k},
      {"mark ^5", 96, "10^5{*n*}x", Raise::FiveUnits, 5},
      {"mark ^L on paper", 300, "10^L{*n*}x", Raise::ThreeTenthsLine, 0.3 * 40},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    RecordedPage rp(c.dpi);
    rp.cv.Font.Size = 12; // the forms go back to 10, not to what was there
    rp.cv.CurrentX = 100;
    rp.cv.CurrentY = 50;
    if (c.line.isEmpty()) {
      rp.cv.PrintRun("10");
      PrintExponent(rp.page, 50, "*n*", c.raise);
      rp.cv.PrintRun("x");
    } else {
      PrintRich(rp.page, c.line, End::Run);
    }
    const auto texts = rp.ops(DrawOp::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1].text, "n");
    EXPECT_TRUE(texts[1].font.Italic);
    EXPECT_EQ(texts[1].font.Size, 8);
    EXPECT_NEAR(texts[1].y1, 50 - c.rise, 1e-9);
    EXPECT_EQ(texts[2].y1, 50);
    EXPECT_EQ(texts[2].x1, texts[1].x2);
    EXPECT_EQ(texts[2].font.Size, 10);
    EXPECT_FALSE(texts[2].font.Italic);
  }
  // A template without marks measures what is printed.
  RecordedPage rp;
  PrintCentredOn(rp.page, 392, "10^5{8} m", End::Run);
  EXPECT_NEAR(rp.ops(DrawOp::Text)[0].x1, 392 - 5 * 20.0 / 6, 1e-9);
}

TEST(Devices, ShadowedTableLaysItsShadowBodyAndRulesBeforeItsCells) {
  for (const double dpi : {96.0, 300.0}) {
    SCOPED_TRACE(dpi);
    RecordedPage rp(dpi);
    const double s = rp.page.scale;
    const TableGrid grid{{100, 200, 300, 400}, {50, 80, 110, 140, 170}};
    ShadowedTable(rp.page, grid, {2, 3});
    const auto &ops = rp.cv.ops();
    struct Expected {
      DrawOp::Kind kind;
      int colour;
      double x1, y1, x2, y2;
    };
    const Expected expected[] = {
        {DrawOp::FilledBox, 7, 100 + 3 * s, 50 + 3 * s, 400 + 3 * s, 170 + 3 * s},
        {DrawOp::FilledBox, 15, 100, 50, 400, 170},
        {DrawOp::Line, 14, 100, 110, 400, 110},
        {DrawOp::Line, 14, 100, 140, 400, 140},
        {DrawOp::Box, 9, 100, 50, 400, 170},
        {DrawOp::Line, 9, 100, 80, 400, 80},
        {DrawOp::Line, 9, 200, 50, 200, 170},
        {DrawOp::Line, 9, 300, 50, 300, 170},
    };
    ASSERT_EQ(ops.size(), std::size(expected));
    for (size_t i = 0; i < ops.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(ops[i].kind, expected[i].kind);
      EXPECT_EQ(ops[i].color, QBColor(expected[i].colour));
      EXPECT_NEAR(ops[i].x1, expected[i].x1, 1e-9);
      EXPECT_NEAR(ops[i].y1, expected[i].y1, 1e-9);
      EXPECT_NEAR(ops[i].x2, expected[i].x2, 1e-9);
      EXPECT_NEAR(ops[i].y2, expected[i].y2, 1e-9);
    }
    // A template centred in the second column, third row.
    StartInCell(rp.page, grid, 1, 2, "abc");
    EXPECT_NEAR(rp.cv.CurrentX, 250 - 1.5 * rp.cv.TextWidth("a"), 1e-9);
    EXPECT_NEAR(rp.cv.CurrentY, 125 - rp.cv.TextHeight("W") / 2, 1e-9);
  }
}

TEST(PictureBuffer, NegativeWidthPaintsTheMirroredCopyLeftwardsFromX) {
  // Three columns red, green, blue over a white buffer six columns wide.
  QImage image(3, 2, QImage::Format_RGB32);
  const QRgb red = qRgb(255, 0, 0), green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255);
  for (int y = 0; y < 2; ++y) {
    image.setPixel(0, y, red);
    image.setPixel(1, y, green);
    image.setPixel(2, y, blue);
  }
  const Picture picture(image);
  PictureBuffer buffer(6, 2);
  buffer.setBackColor(Qt::white);
  buffer.paintStretched(picture, 3, 0, -3, 2);
  buffer.paintStretched(picture, 3, 0, 3, 2);
  const QRgb expected[] = {blue, green, red, red, green, blue};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(buffer.Image().pixel(x, y), expected[x]) << x << "," << y;
  EXPECT_THROW(buffer.paintStretched(Picture(), 3, 0, -3, 2), DrawError);
}

// Horizontal strokes of the one-pixel pen are set straight into the pixels
// (gradients are made of them); they must cover exactly the pixels Qt's
// own stroker covers, in copy pen and in mask pen, wherever they fall.
TEST(Raster, HorizontalStrokesCoverThePixelsOfTheQtStroke) {
  const double ends[] = {-7.3, -0.5, 0, 0.49, 0.5, 2.51, 10, 17.5, 31.2, 39.5, 40, 47.9};
  const double rows[] = {0, 0.2, 5, 9.5, 9.99, 20, 39.7, 40, 52};
  for (const bool mask : {false, true})
    for (const double y : rows)
      for (const double x1 : ends)
        for (const double x2 : ends) {
          if (x1 == x2)
            continue;
          SCOPED_TRACE(testing::Message() << x1 << " " << x2 << " " << y << " " << mask);
          RasterCanvas cv(QSize(40, 40));
          cv.BackColor = RGB(200, 220, 240);
          cv.Cls();
          cv.DrawMode = mask ? MaskPen : CopyPen;
          cv.Line(x1, y, x2, y, RGB(120, 255, 60));
          QImage expected(40, 40, QImage::Format_RGB32);
          expected.fill(RGB(200, 220, 240));
          {
            QPainter p(&expected);
            p.setCompositionMode(mask ? QPainter::RasterOp_SourceAndDestination
                                      : QPainter::CompositionMode_SourceOver);
            QPen pen(RGB(120, 255, 60));
            pen.setWidthF(0);
            pen.setCapStyle(Qt::FlatCap);
            p.setPen(pen);
            p.drawLine(QPointF(x1, y), QPointF(x2, y));
          }
          ASSERT_EQ(cv.image(), expected);
        }
}

// The image list draws keyed images into the buffer pixel by pixel: the
// result must be what the painter draws, wherever the image lands (inside,
// across an edge, outside) and whatever it holds (keyed pixels, a pixel
// half transparent, an image in another format).
TEST(PictureBuffer, DrawingAnImageIsWhatThePainterDraws) {
  QImage keyed(9, 7, QImage::Format_RGB32);
  for (int y = 0; y < keyed.height(); ++y)
    for (int x = 0; x < keyed.width(); ++x)
      keyed.setPixel(x, y, (x + y) % 3 ? qRgb(20 * x, 30 * y, 200) : qRgb(255, 255, 255));
  const QImage clearOrOpaque = keyedImage(keyed);
  ASSERT_EQ(clearOrOpaque.format(), QImage::Format_ARGB32_Premultiplied);
  const QImage halfClear = [&] {
    QImage image = clearOrOpaque.copy();
    image.setPixel(4, 5, qPremultiply(qRgba(200, 100, 50, 128)));
    return image;
  }();
  const QImage straight = halfClear.convertToFormat(QImage::Format_ARGB32);

  const QPoint places[] = {{0, 0}, {3, 2}, {-4, -3}, {6, 5}, {-20, 0}};
  for (const QImage *image : {&clearOrOpaque, &halfClear, &straight})
    for (const QPoint at : places) {
      SCOPED_TRACE(testing::Message()
                   << "format " << image->format() << " at " << at.x() << "," << at.y());
      PictureBuffer buffer(12, 9);
      buffer.setBackColor(QColor(0, 128, 0));
      QImage expected = buffer.Image().copy();
      QPainter(&expected).drawImage(at, *image);
      buffer.drawTransparent(*image, at.x(), at.y());
      EXPECT_TRUE(buffer.Image() == expected);
    }
}

// A picture drawn on white paper lies on any background as it would have
// been drawn on it: on white exactly as drawn (paper stays as it was), on the
// window's cream without a white box, seam or halo, while the drawing's own
// near-white areas, shut in by its lines, keep their colour. Keying a keyed
// image changes nothing (a measured picture goes on to the image list).
TEST(PictureBuffer, KeyedPictureBlendsItsEdgesWithTheBackground) {
  // Columns: page, a near-white margin joined to it, a grey edge pixel
  // (black half over white), a black line, a near-white inside, a black
  // line, a pale tint touching the page on its right, page.
  const QRgb page = qRgb(255, 255, 255), margin = qRgb(250, 251, 252), edge = qRgb(128, 128, 128),
             black = qRgb(0, 0, 0), inside = qRgb(250, 250, 250), tint = qRgb(255, 200, 150);
  const QRgb row[] = {page, margin, edge, black, inside, black, tint, tint, page};
  QImage drawing(9, 3, QImage::Format_RGB32);
  for (int y = 0; y < drawing.height(); ++y)
    for (int x = 0; x < drawing.width(); ++x)
      drawing.setPixel(x, y, row[x]);
  // The black lines close the inside off from the page above and below.
  for (int x = 3; x <= 5; ++x)
    for (int y : {0, 2})
      drawing.setPixel(x, y, black);

  const QImage keyed = keyedImage(drawing);
  EXPECT_TRUE(keyedImage(keyed) == keyed);

  const auto over = [&](const QColor &background) {
    PictureBuffer buffer(drawing.width(), drawing.height());
    buffer.setBackColor(background);
    buffer.drawTransparent(keyed, 0, 0);
    return buffer.Image().convertToFormat(QImage::Format_RGB32);
  };
  EXPECT_TRUE(over(QColor(255, 255, 255)) == drawing) << "on white the picture is as drawn";

  const QColor cream(255, 253, 227);
  const QImage window = over(cream);
  const int y = 1;
  const auto near = [](QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= 5 && std::abs(qGreen(a) - qGreen(b)) <= 5 &&
           std::abs(qBlue(a) - qBlue(b)) <= 5;
  };
  struct Expect {
    int x;
    QRgb colour;
    const char *what;
  };
  const Expect expected[] = {
      {0, cream.rgb(), "the page shows the background"},
      {1, cream.rgb(), "a near-white margin joined to the page takes the background"},
      {2, qRgb(128, 127, 114), "an edge is half black, half background"},
      {3, black, "the line stays black"},
      {4, inside, "a near-white inside keeps its colour"},
      {7, tint, "a pale colour touching the page keeps its colour"},
      {8, cream.rgb(), "the page shows the background"},
  };
  for (const Expect &e : expected)
    EXPECT_TRUE(near(window.pixel(e.x, y), e.colour))
        << e.what << ": " << std::hex << window.pixel(e.x, y);
}

// The texts of a drawing painted on a PDF page: real text in the drawing's
// font, at the place, size, colour, anchor and angle the SVG renderer gives
// them, in their order among the shapes; what cannot be drawn exactly stays
// with the renderer.
#include "toolkit/picturepaint.h"
#include "toolkit/svgtext.h"

#include "tests/sheettest.h"

#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using namespace abrevel;
using abrevel::sheettest::popplerOutput;

namespace {

const char *const Head =
    R"svg(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" )svg"
    R"svg(version="1.2" )svg"
    R"svg(baseProfile="tiny" width="300" height="150" viewBox="0 0 300 150">)svg";

// Anchors, weights and styles inherited from a group, a rotated group, the
// transforms of a text, a tspan, a text partly hidden by a later shape, and
// a text whose spacing only the renderer knows.
const char *const Labels =
    R"svg(<rect x="0" y="0" width="300" height="150" fill="#F4F4F4"/>)svg"
    R"svg(<g font-family="Liberation Sans" font-size="16" fill="#1F4E9A">)svg"
    R"svg(<text x="10" y="24">Gauche</text>)svg"
    R"svg(<text x="150" y="24" text-anchor="middle" font-weight="bold">Milieu</text>)svg"
    R"svg(<text x="290" y="24" text-anchor="end" font-style="italic">Droite</text></g>)svg"
    R"svg(<g transform="translate(60 90) rotate(-30)" font-family="Liberation Sans" )svg"
    R"svg(font-size="20" fill="#B91C1C"><text x="0" y="0" text-anchor="middle">Incliné</text></g>)svg"
    R"svg(<text x="150" y="80" font-family="Liberation Sans" font-size="13" fill="#000" )svg"
    R"svg(transform="matrix(1.5 0 0 1.5 -60 -30)">volume <tspan font-style="italic">V</tspan></text>)svg"
    R"svg(<text x="230" y="100" font-family="Liberation Sans" font-size="14" )svg"
    R"svg(transform="scale(1 1.2) rotate(15 230 100)">Échelle</text>)svg"
    R"svg(<text x="200" y="140" font-family="Liberation Sans" font-size="18" )svg"
    R"svg(fill="#1F4F1F">Caché</text>)svg"
    R"svg(<rect x="200" y="124" width="30" height="20" fill="#FFE27A"/>)svg"
    R"svg(<text x="10" y="140" font-family="Liberation Sans" font-size="15" )svg"
    R"svg(letter-spacing="3">Espacé</text></svg>)svg";

// Each image reduced to cells of n × n pixels, the worst channel difference
// between the means of two cells in the same place: the edges of letters
// blend differently in a rasterised font and a filled outline, a moved,
// resized or turned word changes whole cells.
int worstCellDifference(const QImage &a, const QImage &b, int n) {
  const QImage x = a.convertToFormat(QImage::Format_RGB32);
  const QImage y = b.convertToFormat(QImage::Format_RGB32);
  if (x.size() != y.size())
    return 256;
  int worst = 0;
  for (int top = 0; top + n <= x.height(); top += n)
    for (int left = 0; left + n <= x.width(); left += n) {
      int sum[2][3] = {};
      for (int row = top; row < top + n; ++row)
        for (int column = left; column < left + n; ++column)
          for (int k = 0; k < 2; ++k) {
            const QRgb p = (k ? y : x).pixel(column, row);
            sum[k][0] += qRed(p);
            sum[k][1] += qGreen(p);
            sum[k][2] += qBlue(p);
          }
      for (int c = 0; c < 3; ++c)
        worst = std::max(worst, std::abs(sum[0][c] - sum[1][c]) / (n * n));
    }
  return worst;
}

} // namespace

// A picture whose drawing lies beside it, printed twice as large as its
// file on a PDF page: its words are text, and the page looks as the
// renderer draws the whole drawing. The painter's last font is bold italic
// and large, as after a heading; the drawing's texts must not take it.
TEST(DrawingTexts, PrintedAsTextWhereTheRendererDrawsThem) {
  QTemporaryDir dir;
  QFile svg(dir.filePath("labels.svg"));
  ASSERT_TRUE(svg.open(QIODevice::WriteOnly));
  svg.write(QByteArray(Head) + Labels);
  svg.close();
  constexpr QSize File(300, 150), Printed(600, 300);
  QImage picture(File, QImage::Format_RGB32);
  picture.fill(Qt::white);
  ASSERT_TRUE(picture.save(dir.filePath("labels.bmp")));

  const QString pdf = dir.filePath("labels.pdf");
  {
    QPdfWriter writer(pdf);
    writer.setResolution(300);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A6), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
    QPainter p(&writer);
    QFont heading(QStringLiteral("Liberation Sans"));
    heading.setPixelSize(40);
    heading.setBold(true);
    heading.setItalic(true);
    p.setFont(heading);
    paintPictureImage(p, picture, QRectF(QPointF(0, 0), QSizeF(Printed)), false,
                      dir.filePath("labels.bmp"));
  }

  const QString text = popplerOutput("pdftotext", {"-raw", pdf, "-"}).simplified();
  for (const char *word : {"Gauche", "Milieu", "Droite", "Incliné", "volume V", "Échelle", "Caché"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(word))) << word << " in " << text.toStdString();
  // Spacing between letters is the renderer's: that word stays outlines.
  EXPECT_FALSE(text.contains(QString::fromUtf8("Espacé")));

  popplerOutput("pdftoppm", {"-r", "300", "-singlefile", "-x", "0", "-y", "0", "-W",
                             QString::number(Printed.width()), "-H",
                             QString::number(Printed.height()), pdf, dir.filePath("page")});
  const QImage printed(dir.filePath("page.ppm"));
  ASSERT_EQ(printed.size(), Printed);
  QImage native(Printed, QImage::Format_RGB32);
  native.fill(Qt::white);
  {
    QPainter p(&native);
    p.setRenderHint(QPainter::Antialiasing);
    QSvgRenderer(svg.fileName()).render(&p, QRectF(QPointF(0, 0), QSizeF(Printed)));
  }
  // 40 levels where only the edges of letters differ; a word one device
  // pixel away from its place makes about 80.
  EXPECT_LT(worstCellDifference(printed, native, 6), 60);
}

// Which texts are taken out of a drawing, and the layers of shapes around
// them: a text follows the shapes before it and precedes those after it.
TEST(DrawingTexts, OnlyTextsDrawnExactlyAreTakenOut) {
  const QString font = QStringLiteral(R"svg(font-family="Liberation Sans" font-size="14")svg");
  struct Case {
    const char *text;
    bool takenOut;
  };
  const Case cases[] = {
      {R"svg(<text %1 x="3" y="4" fill="#123456" text-anchor="end">a</text>)svg", true},
      {R"svg(<text %1 transform="translate(1) rotate(30 5 5) scale(2,3) matrix(1 0 0 1 2 2)">a</text>)svg",
       true},
      {R"svg(<text %1 font-weight="700" xml:space="preserve">a <tspan fill="#F00">b</tspan></text>)svg",
       true},
      {R"svg(<g %1 stroke="#000"><text stroke="none">a</text></g>)svg", true},
      {R"svg(<g %1 fill="none"><text>a</text></g>)svg", false},
      {R"svg(<g %1 stroke="#000"><text>a</text></g>)svg", false},
      {R"svg(<text %1 fill="url(#shade)">a</text>)svg", false},
      {R"svg(<text %1 fill-opacity="0.5">a</text>)svg", false},
      {R"svg(<text %1 letter-spacing="2">a</text>)svg", false},
      {R"svg(<text %1 transform="skewX(10)">a</text>)svg", false},
      {R"svg(<text %1 x="1 2 3">a</text>)svg", false},
      {R"svg(<text %1 text-anchor="inherit">a</text>)svg", false},
      {R"svg(<text %1>a<tspan dy="3">b</tspan></text>)svg", false},
      {R"svg(<text x="1" y="2">a</text>)svg", false}, // no font of its own
      {R"svg(<g %1 id="reused"><text>a</text></g>)svg", false},
      {R"svg(<defs><text %1 id="t">a</text></defs><use xlink:href="#t"/>)svg", false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text);
    const QByteArray svg = QByteArray(Head) + R"svg(<rect width="5" height="5"/>)svg" +
                           QString::fromUtf8(c.text).replace(QStringLiteral("%1"), font).toUtf8() +
                           R"svg(<circle r="3"/></svg>)svg";
    const std::optional<TextSeparatedDrawing> split = separateTexts(svg);
    ASSERT_TRUE(split);
    ASSERT_EQ(split->layers.size(), split->texts.size());
    if (c.takenOut) {
      ASSERT_EQ(split->layers.size(), 2);
      EXPECT_EQ(split->texts[0].size(), 1);
      EXPECT_TRUE(split->texts[1].isEmpty());
      EXPECT_TRUE(split->layers[0].contains("<rect") && !split->layers[0].contains("<circle"));
      EXPECT_TRUE(split->layers[1].contains("<circle") && !split->layers[1].contains("<rect"));
      EXPECT_FALSE(split->layers.join().contains("<text"));
    } else {
      ASSERT_EQ(split->layers.size(), 1);
      EXPECT_TRUE(split->texts[0].isEmpty());
      EXPECT_TRUE(split->layers[0].contains("<rect") && split->layers[0].contains("<text") &&
                  split->layers[0].contains("<circle"));
    }
    for (const QByteArray &layer : split->layers)
      EXPECT_TRUE(QSvgRenderer(layer).isValid());
  }
  EXPECT_FALSE(separateTexts("<svg><text>a</svg>"));
  EXPECT_FALSE(separateTexts("<html/>"));
}

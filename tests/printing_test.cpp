// Printing a chapter on one page.
#include "sheets/chemistry/chemistry.h"
#include "shell/printdialog.h"
#include "shell/printing.h"
#include "shell/screentable.h"
#include "shell/titleband.h"
#include "tests/sheettest.h"
#include "toolkit/picturepaint.h"
#include "toolkit/rastercanvas.h"
#include "toolkit/recordingcanvas.h"
#include "toolkit/vectorpage.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#define POINTERHOLDER_TRANSITION 4
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFOutlineDocumentHelper.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include <cmath>

using namespace abrevel;
using abrevel::sheettest::popplerOutput;

namespace {

// The printable area of an A4 sheet with 5 mm margins, at a resolution.
QSizeF printable(double dpi) { return QSizeF(200 / 25.4 * dpi, 287 / 25.4 * dpi); }

// The margins of the PDF page around that area.
constexpr double MarginMm = 5;

struct PrintedPage {
  explicit PrintedPage(int chapter, double dpi = 300,
                       RecordingCanvas::Metrics metrics = RecordingCanvas::Metrics::Fixed)
      : paper(printable(dpi).width(), printable(dpi).height(), dpi, metrics) {
    page.applicationFolder = QStringLiteral(ABREVEL_APP_DIR);
    page.AppFolder = page.applicationFolder + "/";
    page.chapter = static_cast<std::int16_t>(chapter);
    DrawChapterPage(page, paper, page.chapter);
  }
  RecordingCanvas paper;
  Page page;
};

// pdfinfo's report of a PDF file.
QString pdfInfo(const QString &file) {
  QProcess pdfinfo;
  pdfinfo.start("pdfinfo", {file});
  pdfinfo.waitForFinished(30000);
  return QString::fromUtf8(pdfinfo.readAllStandardOutput());
}

void expectOneA4PortraitPage(const QString &file) {
  const QString info = pdfInfo(file);
  EXPECT_TRUE(QRegularExpression("Pages:\\s+1\\n").match(info).hasMatch()) << info.toStdString();
  const auto size = QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+) pts").match(info);
  ASSERT_TRUE(size.hasMatch()) << info.toStdString();
  EXPECT_NEAR(size.captured(1).toDouble(), 595.3, 1);
  EXPECT_NEAR(size.captured(2).toDouble(), 841.9, 1);
}

} // namespace

TEST(Printing, BandAtTheTopScreensBelowAndNoticeAtTheFoot) {
  PrintedPage printed(2);
  const auto &ops = printed.paper.ops();
  const double s = 300.0 / 96;
  EXPECT_FLOAT_EQ(printed.page.scale, static_cast<float>(s));

  // The band: first thing drawn, a box at the top as wide as the printable
  // area (its physical width would spill over the margins), its title as
  // text in it, 30 screen pixels from its left edge.
  ASSERT_FALSE(ops.empty());
  const DrawOp &band = ops.front();
  ASSERT_EQ(band.kind, DrawOp::FilledBox);
  EXPECT_EQ(band.color, titleBandColor());
  EXPECT_EQ(band.y1, 0);
  EXPECT_NEAR(band.y2 + 1, TitleBandHeight * s, 1e-6);
  EXPECT_EQ(band.x1, 0);
  EXPECT_NEAR(band.x2 + 1, printed.paper.ScaleWidth(), 1e-6);
  QString title;
  for (const DrawOp &op : ops)
    if (op.kind == DrawOp::Text && op.y2 <= band.y2)
      title += op.text;
  EXPECT_EQ(title, chapterTitle(2));
  EXPECT_NEAR(ops[1].x1, 30 * s, 1e-6);

  // The notice: last, in Arial 8, centred on the bottom line.
  const DrawOp &notice = ops.back();
  ASSERT_EQ(notice.kind, DrawOp::Text);
  EXPECT_EQ(notice.text, QString::fromUtf8(PublisherNotice));
  EXPECT_EQ(notice.font.Size, 8);
  EXPECT_FALSE(notice.font.Bold);
  EXPECT_NEAR(notice.y2, printed.paper.ScaleHeight(), 1e-6);
  EXPECT_NEAR(notice.x1 + notice.x2, printed.paper.ScaleWidth(), 1e-6);

  // The three screens' headings, one below the other, the first 20 screen
  // pixels under the band.
  std::vector<double> headings;
  for (const DrawOp &op : ops)
    if (op.kind == DrawOp::Text && op.font.Size == 14 && op.y1 > band.y2)
      headings.push_back(op.y1);
  ASSERT_EQ(headings.size(), 3u);
  EXPECT_EQ(headings[0], std::nearbyint((TitleBandHeight + 20) * s));
  EXPECT_LT(headings[0], headings[1]);
  EXPECT_LT(headings[1], headings[2]);
}

TEST(Printing, ChaptersFourAndSixPrintTheirOwnSheets) {
  EXPECT_EQ(printDrawers(4), std::vector<PageDrawer>{PrintSheet4});
  EXPECT_EQ(printDrawers(6).size(), 1u); // the print-only sheet, not screens 601 and 602
  EXPECT_EQ(printDrawers(2), (std::vector<PageDrawer>{Screen201, Screen202, Screen203}));
  EXPECT_TRUE(printDrawers(0).empty());
  EXPECT_TRUE(printDrawers(20).empty());
}

TEST(Printing, AtScreenResolutionPicturesShowTheWindowColour) {
  PrintedPage printed(1, 96);
  EXPECT_EQ(printed.page.scale, 1.0f);
  // The keyed pictures of chapter 1, composed in the buffer.
  const QStringList keyedFiles = {QStringLiteral("pces101.bmp"), QStringLiteral("pces102.bmp"),
                                  QStringLiteral("pces104a.bmp"), QStringLiteral("pces104b.bmp")};
  int keyed = 0;
  for (const DrawOp &op : printed.paper.ops())
    if (op.kind == DrawOp::Image &&
        keyedFiles.contains(QFileInfo(pictureOrigin(op.image).source).fileName())) {
      EXPECT_EQ(op.image.pixelColor(0, 0), QColor(255, 253, 227));
      ++keyed;
    }
  EXPECT_GT(keyed, 0);
}

TEST(Printing, EveryChapterFitsItsPage) {
  for (int chapter = 1; chapter <= 19; ++chapter) {
    SCOPED_TRACE(chapter);
    // Measured with the fonts the page is really printed in.
    PrintedPage printed(chapter, 300, RecordingCanvas::Metrics::Installed);
    const auto &ops = printed.paper.ops();
    const double noticeTop = ops.back().y1;
    // Everything, the band first, lies inside the printable area.
    for (size_t i = 0; i + 1 < ops.size(); ++i) {
      const DrawOp &op = ops[i];
      if (op.kind == DrawOp::Clear)
        continue;
      const bool ellipse = op.kind == DrawOp::Ellipse;
      const double bottom = ellipse ? op.y1 + op.y2 : std::max(op.y1, op.y2);
      const double left = ellipse ? op.x1 - op.x2 : std::min(op.x1, op.x2);
      const double right = ellipse ? op.x1 + op.x2 : std::max(op.x1, op.x2);
      EXPECT_LE(bottom, noticeTop) << "op " << i << " " << op.text.toStdString();
      EXPECT_GE(left, 0) << "op " << i << " " << op.text.toStdString();
      EXPECT_LE(right, printed.paper.ScaleWidth()) << "op " << i << " " << op.text.toStdString();
    }
  }
}

TEST(Printing, CancelledDialogLeavesNoDocumentAndNoChangedState) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath("out.pdf");
  RecordingCanvas window(784, 561);
  Page page;
  page.target = &window;
  page.line = 130;
  page.chapter = 1;
  Image3_Click(nullptr, page, [&](QPrinter &printer, QWidget *) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    return false;
  });
  EXPECT_FALSE(QFileInfo::exists(pdf));
  EXPECT_EQ(page.target, &window);
  EXPECT_EQ(page.scale, 1.0f);
  EXPECT_EQ(page.line, 130);
  EXPECT_TRUE(window.ops().empty());
}

TEST(Printing, ConfirmedDialogPrintsOnePortraitPage) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath("out.pdf");
  RecordingCanvas window(784, 561);
  Page page;
  page.target = &window;
  page.applicationFolder = QStringLiteral(ABREVEL_APP_DIR);
  page.chapter = 3;
  Image3_Click(nullptr, page, [&](QPrinter &printer, QWidget *) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape); // the handler puts it back
    return true;
  });
  ASSERT_TRUE(QFileInfo::exists(pdf));
  expectOneA4PortraitPage(pdf);
  // The printed page is gone with the print: the target is the window again.
  EXPECT_EQ(page.target, &window);
  EXPECT_TRUE(window.ops().empty());
}

TEST(Printing, PdfOfAChapterIsOneA4PortraitPage) {
  QTemporaryDir dir;
  QString error;
  ASSERT_TRUE(printChapterToPdf(ABREVEL_APP_DIR, 2, dir.filePath("ch2.pdf"), &error))
      << error.toStdString();
  expectOneA4PortraitPage(dir.filePath("ch2.pdf"));
  EXPECT_FALSE(printChapterToPdf(ABREVEL_APP_DIR, 2, "/nonexistent/dir/ch2.pdf", &error));
  EXPECT_FALSE(error.isEmpty());
}

namespace {

// The printable area of a one-page PDF file with 5 mm margins written at a
// resolution, rasterised by poppler at 300 dpi: the area the raster page
// covers.
QImage rasterisedPrintableArea(const QString &pdf, QSize size, int writtenDpi = 300) {
  const QString prefix = pdf + QStringLiteral("-page");
  // Where the writer put the corner of the printable area, in whole pixels
  // of its resolution.
  const QPoint corner =
      QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                  QMarginsF(MarginMm, MarginMm, MarginMm, MarginMm), QPageLayout::Millimeter)
          .paintRectPixels(writtenDpi)
          .topLeft() *
      300 / writtenDpi;
  popplerOutput("pdftoppm", {"-r", "300", "-singlefile", "-x", QString::number(corner.x()), "-y",
                             QString::number(corner.y()), "-W", QString::number(size.width()), "-H",
                             QString::number(size.height()), pdf, prefix});
  return QImage(prefix + QStringLiteral(".ppm")).convertToFormat(QImage::Format_RGB32);
}

// Each image reduced to cells of n × n pixels, each cell the mean of its
// pixels: what the eye sees of a page at a quarter of its resolution.
QImage cellMeans(const QImage &image, int n) {
  QImage out(image.width() / n, image.height() / n, QImage::Format_RGB32);
  for (int cy = 0; cy < out.height(); ++cy)
    for (int cx = 0; cx < out.width(); ++cx) {
      int sum[3] = {0, 0, 0};
      for (int y = cy * n; y < cy * n + n; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = cx * n; x < cx * n + n; ++x) {
          sum[0] += qRed(line[x]);
          sum[1] += qGreen(line[x]);
          sum[2] += qBlue(line[x]);
        }
      }
      out.setPixel(cx, cy, qRgb(sum[0] / (n * n), sum[1] / (n * n), sum[2] / (n * n)));
    }
  return out;
}

struct Difference {
  int worst = 0;  // the largest difference of one channel of one cell
  QPoint worstAt; // that cell, in pixels of the page
};

Difference differenceOf(const QImage &a, const QImage &b, int n) {
  const QImage ca = cellMeans(a, n), cb = cellMeans(b, n);
  Difference d;
  for (int y = 0; y < ca.height(); ++y)
    for (int x = 0; x < ca.width(); ++x) {
      const QRgb p = ca.pixel(x, y), q = cb.pixel(x, y);
      const int channel[3] = {std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))};
      for (int c : channel) {
        if (c > d.worst) {
          d.worst = c;
          d.worstAt = QPoint(x * n, y * n);
        }
      }
    }
  return d;
}

} // namespace

// The printed PDF page rasterised by poppler at 300 dpi against the raster
// drawing of the same page, on every chapter. The two rasterisers differ at
// the pixel: Qt hints glyph outlines onto the pixel grid, poppler does not,
// and pictures are resampled by different filters, so single pixels at the
// edges of letters and pictures differ by up to full scale and a stem may
// move by a pixel. What the eye sees is held instead:
//  - in cells of 32 × 32 pixels (2.7 mm, a line of body text), no cell
//    differs by more than 40 of 255 on any channel (measured: 25 at most).
//    A word, a rule, a box or a picture missing or out of place, or a panel
//    tinted in the wrong colour, moves such a cell by far more;
//  - in cells of 4 × 4 pixels (a third of a millimetre), none differs by
//    more than 170 (measured: 132 at most): nothing moves by more than a
//    pixel or two, no cell turns from ink to paper.
TEST(PrintedPdf, EveryChapterLooksLikeItsRasterPage) {
  QTemporaryDir dir;
  for (int chapter = 1; chapter <= CourseChapters; ++chapter) {
    SCOPED_TRACE(chapter);
    const QString pdf = dir.filePath(QStringLiteral("ch%1.pdf").arg(chapter));
    QString error;
    ASSERT_TRUE(printChapterToPdf(ABREVEL_APP_DIR, chapter, pdf, &error)) << error.toStdString();
    const QImage reference = drawChapterForPdf(ABREVEL_APP_DIR "/", chapter);
    const QImage printed = rasterisedPrintableArea(pdf, reference.size());
    ASSERT_EQ(printed.size(), reference.size());
    const Difference coarse = differenceOf(printed, reference, 32);
    EXPECT_LE(coarse.worst, 40) << "at " << coarse.worstAt.x() << ", " << coarse.worstAt.y();
    const Difference fine = differenceOf(printed, reference, 4);
    EXPECT_LE(fine.worst, 170) << "at " << fine.worstAt.x() << ", " << fine.worstAt.y();
  }
}

namespace {

// A tinted panel as the sheets draw one, on a grey page so that the white
// box matters: the box, ink inside it (a red box, black text, a blue box
// reaching out of the panel), a gradient tint in mask pen over the panel, a
// highlight in mask pen over part of the gradient, then a green box drawn
// after the tint, which stays green.
constexpr QRect kTextArea(70, 20, 60, 20);
constexpr QRect kBlueTextArea(100, 62, 60, 20); // reaches out of the highlight
void drawTintedPanel(Canvas &c) {
  c.BackColor = QColor(200, 200, 200);
  c.Cls();
  c.Line(10, 10, 189, 89, QColor(255, 255, 255), LineForm::FilledBox);
  c.Line(20, 20, 60, 40, QColor(255, 0, 0), LineForm::FilledBox);
  c.Line(150, 50, 199, 70, QColor(0, 160, 255), LineForm::FilledBox);
  c.ForeColor = QColor(0, 0, 0);
  c.CurrentX = kTextArea.x();
  c.CurrentY = kTextArea.y();
  c.PrintRun(QStringLiteral("Texte"));
  c.ForeColor = QColor(0, 0, 255);
  c.CurrentX = kBlueTextArea.x();
  c.CurrentY = kBlueTextArea.y();
  c.PrintRun(QStringLiteral("Bleu"));
  c.DrawMode = MaskPen;
  for (int y = 10; y <= 89; ++y) {
    const int t = (y - 10) * 40 / 79;
    c.Line(10, y, 189, y, QColor(205 + t, 205 + t, 255 - t / 2));
  }
  c.Line(20, 60, 120, 80, QColor(105, 255, 155), LineForm::FilledBox);
  c.DrawMode = CopyPen;
  c.Line(100, 30, 140, 40, QColor(0, 200, 0), LineForm::FilledBox);
}

} // namespace

// Mask pen has no vector form: the recorded page paints each tint beneath
// what it tints, and ink under a tint in the AND of the two colours. Painted
// without any composition mode, the panel has the colours of the raster
// page, where mask pen really ANDs.
TEST(VectorPage, MaskPenTintsHaveTheColoursOfTheRasterPage) {
  RasterCanvas raster(QSize(200, 100));
  drawTintedPanel(raster);
  RecordingCanvas recorded(200, 100, 96, RecordingCanvas::Metrics::Installed);
  drawTintedPanel(recorded);
  QImage vector(200, 100, QImage::Format_RGB32);
  vector.fill(Qt::black);
  {
    QPainter painter(&vector);
    paintRecordedPage(painter, recorded.ops(), QSizeF(200, 100), 96);
  }
  const QImage &reference = raster.image();
  int differing = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x) {
      // Letters are antialiased: their edges blend with what is beneath
      // before the AND on the raster page, after it here.
      if (kTextArea.contains(x, y) || kBlueTextArea.contains(x, y))
        continue;
      if (vector.pixel(x, y) != reference.pixel(x, y) && ++differing <= 5)
        ADD_FAILURE() << x << ", " << y << ": " << std::hex << vector.pixel(x, y) << " instead of "
                      << reference.pixel(x, y);
    }
  EXPECT_EQ(differing, 0);
  // Each run of text is painted once, whatever tints it: a page searched
  // or copied finds it once.
  int runs = 0;
  for (const PaintItem &item : withTintsBeneath(recorded.ops()))
    runs += item.kind == PaintItem::Op && item.op.kind == DrawOp::Text;
  EXPECT_EQ(runs, 2);
  // The letters stay black under the tint.
  EXPECT_EQ(qGray(vector.copy(kTextArea)
                      .convertToFormat(QImage::Format_Grayscale8)
                      .pixel(kTextArea.width() / 4, kTextArea.height() / 2)),
            qGray(reference.copy(kTextArea)
                      .convertToFormat(QImage::Format_Grayscale8)
                      .pixel(kTextArea.width() / 4, kTextArea.height() / 2)));
}

namespace {

// The images of a PDF file as pdfimages lists them: their size on the page,
// in inches.
std::vector<QSizeF> imagesOf(const QString &pdf) {
  std::vector<QSizeF> images;
  const QStringList lines = popplerOutput("pdfimages", {"-list", pdf}).split('\n');
  for (const QString &line : lines.mid(2)) {
    const QStringList f = line.simplified().split(' ');
    if (f.size() < 14)
      continue;
    // page num type width height color comp bpc enc interp object ID x-ppi y-ppi ...
    images.push_back(
        QSizeF(f[3].toDouble() / f[12].toDouble(), f[4].toDouble() / f[13].toDouble()));
  }
  return images;
}

// An image the size of a page: the whole page printed as a picture.
void expectNoPageSizedImage(const QString &pdf) {
  for (const QSizeF &inches : imagesOf(pdf))
    EXPECT_LT(inches.width() * inches.height(), 0.25 * 8.27 * 11.69)
        << inches.width() << " × " << inches.height() << " in";
}

// The catalogue's language and the outline's titles with the page each
// opens, counted from 1, as qpdf reads them.
struct Catalogue {
  std::string language;
  std::vector<std::pair<QString, int>> outline;
};
Catalogue catalogueOf(const QString &pdf) {
  QPDF reader;
  reader.processFile(QFile::encodeName(pdf).constData());
  Catalogue c;
  QPDFObjectHandle lang = reader.getRoot().getKey("/Lang");
  if (lang.isString())
    c.language = lang.getUTF8Value();
  QPDFOutlineDocumentHelper outlines(reader);
  std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(reader).getAllPages();
  for (QPDFOutlineObjectHelper &entry : outlines.getTopLevelOutlines()) {
    const QPDFObjGen target = entry.getDestPage().getObjGen();
    int page = 0;
    for (size_t i = 0; i < pages.size(); ++i)
      if (pages[i].getObjectHandle().getObjGen() == target)
        page = static_cast<int>(i) + 1;
    c.outline.emplace_back(QString::fromStdString(entry.getTitle()), page);
  }
  return c;
}

QString infoField(const QString &info, const QString &field) {
  return QRegularExpression(QStringLiteral("^%1:\\s+(.*)$").arg(field),
                            QRegularExpression::MultilineOption)
      .match(info)
      .captured(1);
}

} // namespace

// A chapter's PDF file reads as a document: its words are text in reading
// order, line by line (runs, exponents and Symbol-font glyphs included),
// its fonts are embedded, no picture stands for the page, and it bears the
// chapter's title, the publisher as author and French as its language.
TEST(PrintedPdf, AChapterIsADocumentOfRealText) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath("ch12.pdf");
  QString error;
  ASSERT_TRUE(printChapterToPdf(ABREVEL_APP_DIR, 12, pdf, &error)) << error.toStdString();

  const QStringList lines = popplerOutput("pdftotext", {pdf, "-"}).split('\n');
  for (const char *line : {"12. Lumière et mesures de distances", "Propagation de la lumière",
                           "L'année-lumière (al) est une unité de longueur : c'est la "
                           "distance parcourue par la lumière",
                           "1 al ≈ 1013 km", "• Voir loin, c'est voir dans le passé."})
    EXPECT_TRUE(lines.contains(QString::fromUtf8(line))) << line;
  const auto title = lines.indexOf(QStringLiteral("12. Lumière et mesures de distances"));
  const auto notice = lines.indexOf(QString::fromUtf8(PublisherNotice));
  EXPECT_EQ(title, 0);
  EXPECT_GT(notice, title);

  const QStringList fonts = popplerOutput("pdffonts", {pdf}).split('\n').mid(2);
  int embedded = 0;
  for (const QString &font : fonts) {
    if (font.trimmed().isEmpty())
      continue;
    // name type... encoding emb sub uni object ID
    const QStringList f = font.simplified().split(' ');
    ASSERT_GE(f.size(), 7);
    EXPECT_EQ(f[f.size() - 5], "yes") << font.toStdString();
    ++embedded;
  }
  EXPECT_GE(embedded, 2); // the body's face and the Symbol glyphs' face at least
  EXPECT_TRUE(fonts.join('\n').contains("LiberationSans"));
  expectNoPageSizedImage(pdf);

  const QString info = pdfInfo(pdf);
  EXPECT_EQ(infoField(info, "Title"), chapterTitle(12));
  EXPECT_EQ(infoField(info, "Author"), QString::fromUtf8(PublisherName));
  EXPECT_EQ(catalogueOf(pdf).language, "fr-FR");
  EXPECT_TRUE(catalogueOf(pdf).outline.empty());
}

// The course's PDF file: one page per chapter, the course's title, and one
// bookmark per chapter titled like its band, opening its page.
TEST(PrintedPdf, TheCourseHasOneBookmarkPerChapter) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath("course.pdf");
  QString error;
  ASSERT_TRUE(printCourseToPdf(ABREVEL_APP_DIR, pdf, nullptr, &error)) << error.toStdString();
  const QString info = pdfInfo(pdf);
  EXPECT_EQ(infoField(info, "Pages"), QString::number(CourseChapters));
  EXPECT_EQ(infoField(info, "Title"), QString::fromUtf8(CourseTitle));
  EXPECT_EQ(infoField(info, "Author"), QString::fromUtf8(PublisherName));
  const Catalogue catalogue = catalogueOf(pdf);
  EXPECT_EQ(catalogue.language, "fr-FR");
  std::vector<std::pair<QString, int>> expected;
  for (int chapter = 1; chapter <= CourseChapters; ++chapter)
    expected.emplace_back(chapterTitle(chapter), chapter);
  EXPECT_EQ(catalogue.outline, expected);
  expectNoPageSizedImage(pdf);

  // The words of the pictures are text on their chapter's page (a table, a
  // drawing's labels, a graph's axes), not outlines of letters: searchable,
  // and the whole course stays a small file.
  const struct {
    int chapter;
    const char *words;
  } pictureWords[] = {{10, "Équation de la réaction"},
                      {10, "État initial"},
                      {12, "obstacle"},
                      {19, "capteur de pression"},
                      {19, "p (hPa)"}};
  for (const auto &[chapter, words] : pictureWords) {
    const QString page = QString::number(chapter);
    EXPECT_TRUE(popplerOutput("pdftotext", {"-raw", "-f", page, "-l", page, pdf, "-"})
                    .contains(QString::fromUtf8(words)))
        << chapter << ": " << words;
  }
  EXPECT_LT(QFileInfo(pdf).size(), 1500 * 1000);
}

// Finishing a file that is not a PDF fails with a reason and leaves it as
// it was.
TEST(PrintedPdf, FinishingAFileThatIsNotAPdfLeavesIt) {
  QTemporaryDir dir;
  const QString file = dir.filePath("not.pdf");
  {
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("not a PDF");
  }
  QString error;
  EXPECT_FALSE(finishPdfDocument(file, chapterDocument(1), &error));
  EXPECT_FALSE(error.isEmpty());
  QFile in(file);
  ASSERT_TRUE(in.open(QIODevice::ReadOnly));
  EXPECT_EQ(in.readAll(), QByteArray("not a PDF"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"not.pdf"});
}

// The print button through the system dialog, here to a PDF file at the
// printer's own high resolution (1200 dpi): the same vector page, laid out
// at 300 dpi and scaled, titled like the chapter so that the job reads well
// in a print queue.
TEST(PrintedPdf, ThePrintButtonPrintsTheSamePage) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath("dialog.pdf");
  RecordingCanvas window(784, 561);
  Page page;
  page.target = &window;
  page.applicationFolder = QStringLiteral(ABREVEL_APP_DIR);
  page.AppFolder = page.applicationFolder + "/";
  page.chapter = 4;
  int resolution = 0;
  Image3_Click(nullptr, page, [&](QPrinter &printer, QWidget *) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(MarginMm, MarginMm, MarginMm, MarginMm),
                                      QPageLayout::Millimeter));
    EXPECT_EQ(printer.docName(), chapterTitle(4)); // the job's name in the print queue
    resolution = printer.resolution();
    return true;
  });
  ASSERT_GT(resolution, 300);
  const QString info = pdfInfo(pdf);
  EXPECT_EQ(infoField(info, "Title"), chapterTitle(4));
  EXPECT_EQ(infoField(info, "Author"), QString::fromUtf8(PublisherName));
  EXPECT_TRUE(popplerOutput("pdftotext", {pdf, "-"}).contains(chapterTitle(4)));
  expectNoPageSizedImage(pdf);

  const QImage reference = drawChapterForPdf(ABREVEL_APP_DIR "/", 4);
  const QImage printed = rasterisedPrintableArea(pdf, reference.size(), resolution);
  ASSERT_EQ(printed.size(), reference.size());
  const Difference coarse = differenceOf(printed, reference, 32);
  EXPECT_LE(coarse.worst, 40) << "at " << coarse.worstAt.x() << ", " << coarse.worstAt.y();
}

// A picture whose drawing is not beside it (a parent application's own) goes
// into the PDF as its own pixels: never re-encoded as JPEG, at its own
// resolution, and a keyed one with a mask where its key is.
TEST(PrintedPdf, APictureWithoutItsDrawingIsEmbeddedLosslesslyAndKeyed) {
  QTemporaryDir dir;
  const QString app = dir.filePath("app");
  ASSERT_TRUE(QDir().mkpath(app));
  for (const QString &name : QDir(ABREVEL_APP_DIR).entryList({"pces10*"}, QDir::Files)) {
    if (!name.endsWith(QLatin1String(".svg"))) {
      ASSERT_TRUE(QFile::copy(QStringLiteral(ABREVEL_APP_DIR "/") + name, app + '/' + name));
    }
  }
  const QString pdf = dir.filePath("ch1.pdf");
  QString error;
  ASSERT_TRUE(printChapterToPdf(app, 1, pdf, &error)) << error.toStdString();

  int pictures = 0, masks = 0;
  const QStringList lines = popplerOutput("pdfimages", {"-list", pdf}).split('\n');
  for (const QString &line : lines.mid(2)) {
    const QStringList f = line.simplified().split(' ');
    if (f.size() < 14)
      continue;
    // page num type width height color comp bpc enc ...
    EXPECT_NE(f[8], QStringLiteral("jpeg")) << line.toStdString();
    if (f[2] == QStringLiteral("smask"))
      ++masks;
    else if (f[3] == QStringLiteral("240") && f[4] == QStringLiteral("170"))
      ++pictures; // pces101.bmp and pces102.bmp at their own pixels
  }
  EXPECT_EQ(pictures, 2);
  EXPECT_GE(masks, 2);
}

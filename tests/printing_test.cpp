// Printing a chapter on one page.
#include "sheets/chemistry/chemistry.h"
#include "shell/printdialog.h"
#include "shell/printing.h"
#include "shell/screentable.h"
#include "shell/titleband.h"
#include "toolkit/recordingcanvas.h"

#include <QFileInfo>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace abrevel;

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

  // The band: first thing drawn, centred at the top, at its physical size.
  ASSERT_FALSE(ops.empty());
  const DrawOp &band = ops.front();
  ASSERT_EQ(band.kind, DrawOp::Image);
  EXPECT_EQ(band.y1, 0);
  EXPECT_NEAR(band.x2 - band.x1, TitleBandWidth * s, 1e-6);
  EXPECT_NEAR(band.x1, std::round((printed.paper.ScaleWidth() - TitleBandWidth * s) / 2), 1e-9);

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
    if (op.kind == DrawOp::Text && op.font.Size == 14)
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
    if (op.kind == DrawOp::Image && keyedFiles.contains(QFileInfo(op.text).fileName())) {
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
    // The band is a little wider than the printable area of an A4 sheet:
    // centred, it spills evenly into the margins but stays on the sheet.
    const DrawOp &band = ops.front();
    const double margin = MarginMm / 25.4 * 300;
    EXPECT_GE(band.x1, -margin);
    EXPECT_LE(band.x2, printed.paper.ScaleWidth() + margin);
    for (size_t i = 1; i + 1 < ops.size(); ++i) {
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

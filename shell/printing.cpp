#include "shell/printing.h"

#include "shell/screentable.h"
#include "shell/titleband.h"
#include "toolkit/colors.h"
#include "toolkit/rastercanvas.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

namespace abrevel {

const char *const PublisherNotice = "Éditions de la Fiche Claire — Abrevel, fiches de synthèse de "
                                    "physique-chimie, classe de seconde";

namespace {

// The margins of the PDF page: the unprintable edge of a common printer.
constexpr double PdfMarginMm = 5.0;

// A printer's and a PDF writer's logical resolution is the resolution it prints at.
int resolutionOf(const QPagedPaintDevice &printer) { return printer.logicalDpiX(); }

int printDpi(const QPagedPaintDevice &printer) {
  return std::min(resolutionOf(printer), PrintDpiCap);
}

// A drawer that stopped at an error has not stored the running line
// position, so the next screen would print over what it drew: the next
// screen starts below all of it instead, after the three blank body lines
// a screen ends with.
void startBelowStoppedScreen(Page &page, const Canvas &paper) {
  if (paper.InkBottom() <= 0)
    return;
  page.step([&] {
    const double gap = 3 * paper.lineHeightOf(FontSpec{QStringLiteral("Arial"), 10});
    const std::int16_t below = toInt16(std::ceil(paper.InkBottom() + gap));
    page.line = std::max(page.line, below);
  });
}

} // namespace

void DrawChapterPage(Page &page, Canvas &paper, std::int16_t chapter) {
  page.target = &paper;
  // Printer pixels per screen pixel, kept as single precision.
  page.scale = static_cast<float>(paper.PixelsPerScreenPixel());
  const double s = page.scale;
  paper.ForeColor = QBColor(0);

  // The title band, painted into an image and centred at the top.
  page.step([&] {
    RasterCanvas band(QSize(TitleBandWidth, TitleBandHeight));
    tito_Paint(band, chapter);
    const double x = std::round((paper.ScaleWidth() - TitleBandWidth * s) / 2);
    paper.PaintPicture(Picture(band.image()), x, 0);
  });
  page.step([&] { page.line = toInt16((TitleBandHeight + 20) * s); });
  paper.DrawWidth = s;

  for (PageDrawer drawer : printDrawers(chapter)) {
    paper.ResetInkBottom();
    if (!callDrawer(page, drawer))
      startBelowStoppedScreen(page, paper);
  }

  // The publisher notice, centred on the bottom line of the printable area.
  paper.Font.Size = 8;
  page.step([&] { paper.SetFontName(QStringLiteral("Arial")); });
  paper.Font.Bold = false;
  paper.ForeColor = QBColor(0);
  const QString notice = QString::fromUtf8(PublisherNotice);
  paper.CurrentX = (paper.ScaleWidth() - paper.TextWidth(notice)) / 2;
  paper.CurrentY = paper.ScaleHeight() - paper.TextHeight(notice);
  paper.PrintRun(notice);
}

QImage DrawChapterForPrinter(Page &page, QPagedPaintDevice &printer) {
  printer.setPageOrientation(QPageLayout::Portrait);
  const int dpi = printDpi(printer);
  const QRectF area = printer.pageLayout().paintRect(QPageLayout::Inch);
  RasterCanvas paper(
      QSize(static_cast<int>(area.width() * dpi), static_cast<int>(area.height() * dpi)), dpi);
  paper.BackColor = QBColor(15);
  paper.Cls();

  Canvas *window = page.target;
  DrawChapterPage(page, paper, page.chapter);
  // The printed page goes with this function: the target returns to the
  // window. The drawing scale stays until the window's next repaint.
  page.target = window;
  return paper.image();
}

namespace {
// Lays a printed page drawn by DrawChapterForPrinter over the printable
// area of the printer's current page.
void paintSheet(QPainter &painter, const QPagedPaintDevice &printer, const QImage &sheet) {
  const QRect device = printer.pageLayout().paintRectPixels(resolutionOf(printer));
  painter.drawImage(QRect(QPoint(0, 0), device.size()), sheet);
}
} // namespace

void PrintChapter(Page &page, QPagedPaintDevice &printer) {
  const QImage sheet = DrawChapterForPrinter(page, printer);
  QPainter painter;
  if (!painter.begin(&printer))
    return;
  paintSheet(painter, printer, sheet);
  painter.end();
}

namespace {

// A PDF file can be written there: not a folder, in a folder we may write.
bool writablePdf(const QString &pdfFile, QString *error) {
  const QFileInfo target(pdfFile);
  if (target.isDir() || !QFileInfo(target.absolutePath()).isWritable()) {
    if (error)
      *error = QStringLiteral("cannot write %1").arg(pdfFile);
    return false;
  }
  return true;
}

// An A4 portrait PDF page with the margins of a common printer.
void setUpPdf(QPdfWriter &printer) {
  printer.setCreator(QStringLiteral("Abrevel"));
  printer.setResolution(PrintDpiCap);
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                    QMarginsF(PdfMarginMm, PdfMarginMm, PdfMarginMm, PdfMarginMm),
                                    QPageLayout::Millimeter));
}

// The page state of a print run from the pictures of appFolder.
void setUpPage(Page &page, const QString &appFolder, int chapter) {
  page.applicationFolder = appFolder;
  page.AppFolder = withTrailingSeparator(appFolder);
  page.chapter = static_cast<std::int16_t>(chapter);
  page.screen = static_cast<std::int16_t>(chapter * 100 + 1);
}

bool written(const QString &pdfFile, QString *error) {
  if (QFileInfo::exists(pdfFile))
    return true;
  if (error)
    *error = QStringLiteral("cannot write %1").arg(pdfFile);
  return false;
}

} // namespace

bool printChapterToPdf(const QString &appFolder, int chapter, const QString &pdfFile,
                       QString *error) {
  if (!writablePdf(pdfFile, error))
    return false;
  QPdfWriter printer(pdfFile);
  setUpPdf(printer);
  Page page;
  setUpPage(page, appFolder, chapter);
  PrintChapter(page, printer);
  return written(pdfFile, error);
}

QImage drawChapterForPdf(const QString &appFolder, int chapter) {
  // Nothing is painted on the writer: its page is all that is needed.
  QBuffer nowhere;
  nowhere.open(QIODevice::WriteOnly);
  QPdfWriter printer(&nowhere);
  setUpPdf(printer);
  Page page;
  setUpPage(page, appFolder, chapter);
  return DrawChapterForPrinter(page, printer);
}

bool printCourseToPdf(const QString &appFolder, const QString &pdfFile,
                      const std::function<void(int chapter)> &printed, QString *error) {
  if (!writablePdf(pdfFile, error))
    return false;
  QPdfWriter printer(pdfFile);
  setUpPdf(printer);
  QPainter painter;
  for (int chapter = 1; chapter <= CourseChapters; ++chapter) {
    // Each chapter exactly as the print button prints it, on a page of its own.
    Page page;
    setUpPage(page, appFolder, chapter);
    const QImage sheet = DrawChapterForPrinter(page, printer);
    if (chapter == 1 ? !painter.begin(&printer) : !printer.newPage()) {
      if (error)
        *error = QStringLiteral("cannot write %1").arg(pdfFile);
      return false;
    }
    paintSheet(painter, printer, sheet);
    if (printed)
      printed(chapter);
  }
  painter.end();
  return written(pdfFile, error);
}

} // namespace abrevel

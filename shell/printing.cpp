#include "shell/printing.h"

#include "shell/screentable.h"
#include "shell/titleband.h"
#include "toolkit/colors.h"
#include "toolkit/rastercanvas.h"
#include "toolkit/recordingcanvas.h"
#include "toolkit/vectorpage.h"

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
const char *const PublisherName = "Éditions de la Fiche Claire";
const char *const CourseTitle = "Abrevel, fiches de synthèse de physique-chimie, classe de seconde";
const char *const DocumentLanguage = "fr-FR";

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

  // The title band at the top, centred, at its physical size or as wide as
  // the printable area when that is narrower.
  page.step([&] {
    const double width = std::min(TitleBandWidth * s, paper.ScaleWidth());
    const double x = std::round((paper.ScaleWidth() - width) / 2);
    paintTitleBand(paper, chapter, QRectF(x, 0, width, TitleBandHeight * s), s);
  });
  paper.ForeColor = QBColor(0);
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

namespace {

// The printable area of the printer's portrait page, in pixels at the
// resolution a page is laid out at.
QSize printableSize(QPagedPaintDevice &printer, int dpi) {
  printer.setPageOrientation(QPageLayout::Portrait);
  const QRectF area = printer.pageLayout().paintRect(QPageLayout::Inch);
  return QSize(static_cast<int>(area.width() * dpi), static_cast<int>(area.height() * dpi));
}

// Draws the page's chapter on a blank printed page of any backend; the
// printed page goes with the caller: the target returns to the window.
// The drawing scale stays until the window's next repaint.
void drawOnBlankPaper(Page &page, Canvas &paper) {
  paper.BackColor = QBColor(15);
  paper.Cls();
  Canvas *window = page.target;
  DrawChapterPage(page, paper, page.chapter);
  page.target = window;
}

} // namespace

QImage DrawChapterForPrinter(Page &page, QPagedPaintDevice &printer) {
  const int dpi = printDpi(printer);
  RasterCanvas paper(printableSize(printer, dpi), dpi);
  drawOnBlankPaper(page, paper);
  return paper.image();
}

RecordedSheet RecordChapterForPrinter(Page &page, QPagedPaintDevice &printer) {
  const int dpi = printDpi(printer);
  const QSize size = printableSize(printer, dpi);
  // Measured on the installed fonts, exactly as the raster page is.
  RecordingCanvas paper(size.width(), size.height(), dpi, RecordingCanvas::Metrics::Installed);
  drawOnBlankPaper(page, paper);
  return RecordedSheet{paper.ops(), QSizeF(size), static_cast<double>(dpi)};
}

namespace {
// Paints a recorded page over the printable area of the printer's current
// page, from the resolution it was laid out at to the printer's own.
void paintSheet(QPainter &painter, const QPagedPaintDevice &printer, const RecordedSheet &sheet) {
  painter.save();
  const double k = resolutionOf(printer) / sheet.dpi;
  painter.scale(k, k);
  paintRecordedPage(painter, sheet.ops, sheet.size, sheet.dpi);
  painter.restore();
}
} // namespace

void PrintChapter(Page &page, QPagedPaintDevice &printer) {
  const RecordedSheet sheet = RecordChapterForPrinter(page, printer);
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
void setUpPdf(QPdfWriter &printer, const QString &title) {
  printer.setCreator(QStringLiteral("Abrevel"));
  printer.setTitle(title);
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

PdfDocumentInfo chapterDocument(int chapter) {
  return PdfDocumentInfo{chapterTitle(chapter),
                         QString::fromUtf8(PublisherName),
                         QString::fromUtf8(DocumentLanguage),
                         {}};
}

bool printChapterToPdf(const QString &appFolder, int chapter, const QString &pdfFile,
                       QString *error) {
  if (!writablePdf(pdfFile, error))
    return false;
  const PdfDocumentInfo document = chapterDocument(chapter);
  {
    QPdfWriter printer(pdfFile);
    setUpPdf(printer, document.title);
    Page page;
    setUpPage(page, appFolder, chapter);
    PrintChapter(page, printer);
  }
  return written(pdfFile, error) && finishPdfDocument(pdfFile, document, error);
}

QImage drawChapterForPdf(const QString &appFolder, int chapter) {
  // Nothing is painted on the writer: its page is all that is needed.
  QBuffer nowhere;
  nowhere.open(QIODevice::WriteOnly);
  QPdfWriter printer(&nowhere);
  setUpPdf(printer, chapterTitle(chapter));
  Page page;
  setUpPage(page, appFolder, chapter);
  return DrawChapterForPrinter(page, printer);
}

bool printCourseToPdf(const QString &appFolder, const QString &pdfFile,
                      const std::function<void(int chapter)> &printed, QString *error) {
  if (!writablePdf(pdfFile, error))
    return false;
  PdfDocumentInfo document{QString::fromUtf8(CourseTitle),
                           QString::fromUtf8(PublisherName),
                           QString::fromUtf8(DocumentLanguage),
                           {}};
  {
    QPdfWriter printer(pdfFile);
    setUpPdf(printer, document.title);
    QPainter painter;
    for (int chapter = 1; chapter <= CourseChapters; ++chapter) {
      // Each chapter exactly as the print button prints it, on a page of its own.
      Page page;
      setUpPage(page, appFolder, chapter);
      const RecordedSheet sheet = RecordChapterForPrinter(page, printer);
      if (chapter == 1 ? !painter.begin(&printer) : !printer.newPage()) {
        if (error)
          *error = QStringLiteral("cannot write %1").arg(pdfFile);
        return false;
      }
      paintSheet(painter, printer, sheet);
      // One bookmark per page, titled like the page's band.
      document.outline.push_back(chapterTitle(chapter));
      if (printed)
        printed(chapter);
    }
    painter.end();
  }
  return written(pdfFile, error) && finishPdfDocument(pdfFile, document, error);
}

} // namespace abrevel

#include "shell/printdialog.h"

#include "shell/printing.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>

namespace abrevel {

void Image3_Click(QWidget *parent, Page &page,
                  const std::function<bool(QPrinter &, QWidget *)> &askPrinter) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(QPageLayout::Portrait);
  // The job bears the chapter's title in the print queue, and so does a PDF
  // file printed through the dialog.
  const PdfDocumentInfo document = chapterDocument(page.chapter);
  printer.setDocName(document.title);
  printer.setCreator(QStringLiteral("Abrevel"));
  if (!askPrinter(printer, parent))
    return; // cancelled: nothing is printed, nothing has changed
  PrintChapter(page, printer);
  if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty() &&
      QFileInfo::exists(printer.outputFileName()))
    finishPdfDocument(printer.outputFileName(), document, nullptr);
}

bool showPrintDialog(QPrinter &printer, QWidget *parent) {
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(QStringLiteral("Imprimer l'abrevel"));
  return dialog.exec() == QDialog::Accepted;
}

} // namespace abrevel

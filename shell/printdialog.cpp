#include "shell/printdialog.h"

#include "shell/printing.h"

#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>

namespace abrevel {

void Image3_Click(QWidget *parent, Page &page,
                  const std::function<bool(QPrinter &, QWidget *)> &askPrinter) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(QPageLayout::Portrait);
  if (!askPrinter(printer, parent))
    return; // cancelled: nothing is printed, nothing has changed
  PrintChapter(page, printer);
}

bool showPrintDialog(QPrinter &printer, QWidget *parent) {
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(QStringLiteral("Imprimer l'abrevel"));
  return dialog.exec() == QDialog::Accepted;
}

} // namespace abrevel

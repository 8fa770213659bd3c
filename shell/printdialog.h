// The print button's dialog: the system's printer dialog, then the chapter
// printed on the printer the user chose.
#pragma once

#include "toolkit/page.h"

#include <functional>

class QPrinter;
class QWidget;

namespace abrevel {

// The system's printer dialog; true when the user confirms a printer.
bool showPrintDialog(QPrinter &printer, QWidget *parent);

// The print button: the printer dialog with portrait preselected, then the
// chapter on one page. Cancelling the dialog abandons the print: no
// document is started and the page state is untouched.
void Image3_Click(QWidget *parent, Page &page,
                  const std::function<bool(QPrinter &, QWidget *)> &askPrinter = showPrintDialog);

} // namespace abrevel

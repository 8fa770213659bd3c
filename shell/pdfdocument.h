// What makes a PDF file read as a document: its title, author and language
// in its catalogue and information dictionary, and its outline (bookmarks).
// Qt's PDF writer sets only the title; the rest is added to the written
// file with qpdf.
#pragma once

#include <QString>
#include <QStringList>

namespace abrevel {

struct PdfDocumentInfo {
  QString title;
  QString author;
  QString language;    // a language tag, "fr-FR"
  QStringList outline; // one bookmark per page, in page order; none when empty
};

// Rewrites the PDF file with the document's title, author and language, and
// its outline when it has one (shown when the file is opened). False, with
// a reason in *error, when the file cannot be read or rewritten; the file is
// then left as it was.
bool finishPdfDocument(const QString &pdfFile, const PdfDocumentInfo &document, QString *error);

} // namespace abrevel

// qpdf's own pointer type is not used here: its transition warning is off.
#define POINTERHOLDER_TRANSITION 4

#include "shell/pdfdocument.h"

#include <QFile>
#include <QFileInfo>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <cstdio>
#include <exception>
#include <vector>

namespace abrevel {

namespace {

QPDFObjectHandle text(const QString &s) {
  return QPDFObjectHandle::newUnicodeString(s.toStdString());
}

// The outline: one top-level entry per title, each opening its page.
void addOutline(QPDF &pdf, const QStringList &titles) {
  std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(pdf).getAllPages();
  const size_t count = std::min(pages.size(), static_cast<size_t>(titles.size()));
  if (count == 0)
    return;
  QPDFObjectHandle outlines = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
  outlines.replaceKey("/Type", QPDFObjectHandle::newName("/Outlines"));
  std::vector<QPDFObjectHandle> entries;
  for (size_t i = 0; i < count; ++i) {
    QPDFObjectHandle entry = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
    entry.replaceKey("/Title", text(titles[static_cast<qsizetype>(i)]));
    entry.replaceKey("/Parent", outlines);
    QPDFObjectHandle destination = QPDFObjectHandle::newArray();
    destination.appendItem(pages[i].getObjectHandle());
    destination.appendItem(QPDFObjectHandle::newName("/Fit"));
    entry.replaceKey("/Dest", destination);
    if (!entries.empty()) {
      entry.replaceKey("/Prev", entries.back());
      entries.back().replaceKey("/Next", entry);
    }
    entries.push_back(entry);
  }
  outlines.replaceKey("/First", entries.front());
  outlines.replaceKey("/Last", entries.back());
  outlines.replaceKey("/Count", QPDFObjectHandle::newInteger(static_cast<long long>(count)));
  QPDFObjectHandle root = pdf.getRoot();
  root.replaceKey("/Outlines", outlines);
  root.replaceKey("/PageMode", QPDFObjectHandle::newName("/UseOutlines"));
}

} // namespace

bool finishPdfDocument(const QString &pdfFile, const PdfDocumentInfo &document, QString *error) {
  const QString rewritten = pdfFile + QStringLiteral(".part");
  // qpdf keeps the file names it is given until it is done with the files:
  // they live as long as this function.
  const QByteArray source = QFile::encodeName(pdfFile);
  const QByteArray target = QFile::encodeName(rewritten);
  try {
    QPDF pdf;
    pdf.processFile(source.constData());
    QPDFObjectHandle root = pdf.getRoot();
    root.replaceKey("/Lang", text(document.language));
    QPDFObjectHandle trailer = pdf.getTrailer();
    QPDFObjectHandle info = trailer.getKey("/Info");
    if (!info.isDictionary()) {
      info = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
      trailer.replaceKey("/Info", info);
    }
    info.replaceKey("/Title", text(document.title));
    info.replaceKey("/Author", text(document.author));
    // Viewers show the title rather than the file name.
    QPDFObjectHandle preferences = root.getKey("/ViewerPreferences");
    if (!preferences.isDictionary()) {
      preferences = QPDFObjectHandle::newDictionary();
      root.replaceKey("/ViewerPreferences", preferences);
    }
    preferences.replaceKey("/DisplayDocTitle", QPDFObjectHandle::newBool(true));
    addOutline(pdf, document.outline);

    QPDFWriter writer(pdf, target.constData());
    writer.setObjectStreamMode(qpdf_o_generate);
    writer.write();
  } catch (const std::exception &e) {
    QFile::remove(rewritten);
    if (error)
      *error =
          QStringLiteral("cannot finish %1: %2").arg(pdfFile, QString::fromLocal8Bit(e.what()));
    return false;
  }
  if (std::rename(target.constData(), source.constData()) != 0) {
    QFile::remove(rewritten);
    if (error)
      *error = QStringLiteral("cannot write %1").arg(pdfFile);
    return false;
  }
  return true;
}

} // namespace abrevel

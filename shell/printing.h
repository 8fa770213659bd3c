// Printing a chapter on one page: the title band centred at the top, the
// chapter's screens one below the other at their physical size, and the
// publisher notice on the bottom line of the printable area.
//
// The page is laid out at the printer's resolution, at most PrintDpiCap dots
// per inch, on the recording backend measuring with the real fonts, then
// painted on the printer's own device as vectors: text as text, shapes as
// shapes, mask-pen tints beneath what they tint (toolkit/vectorpage.h). The
// same page drawn on the raster backend is the reference it must match.
#pragma once

#include "shell/pdfdocument.h"
#include "toolkit/page.h"
#include "toolkit/recordingcanvas.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class QPagedPaintDevice;

namespace abrevel {

// The one-line notice at the foot of every printed page.
extern const char *const PublisherNotice;
// The publisher, author of every PDF file; the course's title; the
// language of its documents.
extern const char *const PublisherName;
extern const char *const CourseTitle;
extern const char *const DocumentLanguage;

// The resolution a printed page is laid out at, at most: its positions and
// font metrics are those of a page of that resolution, on any printer.
inline constexpr int PrintDpiCap = 300;

// Draws a chapter's page on a printed-page canvas of any backend: the band
// at the top, the chapter's drawers one below the other from 20 screen
// pixels under the band, the notice at the foot. The page state is left
// pointing at the paper, with its scale.
void DrawChapterPage(Page &page, Canvas &paper, std::int16_t chapter);

// The page's chapter drawn as the print button prints it, on the raster
// backend: portrait, its printable area at the device's resolution (at most
// PrintDpiCap). Nothing is sent to the device. The reference the printed
// page is held to.
QImage DrawChapterForPrinter(Page &page, QPagedPaintDevice &printer);

// A printed page laid out and recorded, not yet painted: its operations,
// the size of its printable area and the resolution it was laid out at.
struct RecordedSheet {
  std::vector<DrawOp> ops;
  QSizeF size;
  double dpi = 0;
};
// The page's chapter laid out for the printer as the print button prints it.
RecordedSheet RecordChapterForPrinter(Page &page, QPagedPaintDevice &printer);

// Prints the page's chapter on a printer or a PDF file as the print button
// does, once the printer is chosen: portrait, one page, as vectors.
void PrintChapter(Page &page, QPagedPaintDevice &printer);

// The title, author and language of a chapter's PDF file.
PdfDocumentInfo chapterDocument(int chapter);

// Prints a chapter to an A4 portrait PDF file without a dialog, from the
// pictures of appFolder, without touching TEMPO.SPC. False, with a reason
// in *error, when the file cannot be written.
bool printChapterToPdf(const QString &appFolder, int chapter, const QString &pdfFile,
                       QString *error);

// The page of a chapter as printChapterToPdf lays it out, drawn on the
// raster backend at the PDF file's resolution.
QImage drawChapterForPdf(const QString &appFolder, int chapter);

// The chapters of the course, 1 to CourseChapters.
inline constexpr int CourseChapters = 19;

// Prints every chapter of the course into one A4 portrait PDF file, one
// page per chapter in chapter order, each exactly as the print button
// prints it, with one bookmark per chapter titled like its band;
// printed(chapter) is called as each page is done. False, with a
// reason in *error, when the file cannot be written.
bool printCourseToPdf(const QString &appFolder, const QString &pdfFile,
                      const std::function<void(int chapter)> &printed, QString *error);

} // namespace abrevel

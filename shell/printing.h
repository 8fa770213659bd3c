// Printing a chapter on one page: the title band centred at the top, the
// chapter's screens one below the other at their physical size, and the
// publisher notice on the bottom line of the printable area.
//
// The page is drawn on the raster backend at the printer's resolution, at
// most PrintDpiCap dots per inch, then handed to the printer as one image:
// mask-pen panels and keyed pictures must look on paper as on screen, and a
// printer's vector engine does not combine colours the way mask pen does.
#pragma once

#include "toolkit/page.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <functional>

class QPagedPaintDevice;

namespace abrevel {

// The one-line notice at the foot of every printed page.
extern const char *const PublisherNotice;

// The resolution a printed page is drawn at, at most.
inline constexpr int PrintDpiCap = 300;

// Draws a chapter's page on a printed-page canvas of any backend: the band
// at the top, the chapter's drawers one below the other from 20 screen
// pixels under the band, the notice at the foot. The page state is left
// pointing at the paper, with its scale.
void DrawChapterPage(Page &page, Canvas &paper, std::int16_t chapter);

// The page's chapter drawn for a printer or a PDF file as the print button
// prints it: portrait, its printable area at the device's resolution (at
// most PrintDpiCap). Nothing is sent to the device yet.
QImage DrawChapterForPrinter(Page &page, QPagedPaintDevice &printer);

// Prints the page's chapter on a printer or a PDF file as the print button
// does, once the printer is chosen: portrait, one page.
void PrintChapter(Page &page, QPagedPaintDevice &printer);

// Prints a chapter to an A4 portrait PDF file without a dialog, from the
// pictures of appFolder, without touching TEMPO.SPC. False, with a reason
// in *error, when the file cannot be written.
bool printChapterToPdf(const QString &appFolder, int chapter, const QString &pdfFile,
                       QString *error);

// The page of a chapter exactly as printChapterToPdf prints it, as the image
// handed to the PDF file.
QImage drawChapterForPdf(const QString &appFolder, int chapter);

// The chapters of the course, 1 to CourseChapters.
inline constexpr int CourseChapters = 19;

// Prints every chapter of the course into one A4 portrait PDF file, one
// page per chapter in chapter order, each exactly as the print button
// prints it; printed(chapter) is called as each page is done. False, with a
// reason in *error, when the file cannot be written.
bool printCourseToPdf(const QString &appFolder, const QString &pdfFile,
                      const std::function<void(int chapter)> &printed, QString *error);

} // namespace abrevel

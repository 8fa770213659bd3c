// The words of a screen as a reader hears them, gathered from the drawing
// itself: a canvas with a ScreenText attached hands it every run of text it
// draws (with its cell and what the primitives marked it as: a heading, an
// exponent, an index, a vector, a fraction's numerator or denominator) and
// every picture it paints. The log then gives the screen in reading order:
// headings, lines of text with their formulas in linear form, table rows
// and pictures, in the order they were drawn, which is the order a sheet is
// written in, except that blocks set side by side (columns, pictures with
// their captions under them) are read one after the other, left to right.
//
// Linear form of the formulas, one rule for each device:
//   exponent      "10 exposant −3", "Mg exposant 2+"
//   index         "H indice 2 O", "x indice max"
//   vector        "vecteur F"
//   fraction      "m sur M"; a numerator or denominator of several words
//                 goes in brackets: "(n indice A) sur a"
//   Greek letters and signs are kept as the characters they are drawn as
//   (λ, Δ, →, ≈, ×), which a screen reader names.
#pragma once

#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace abrevel {

// What a run of text is, as the primitive that draws it knows. Marks
// combine: an exponent inside a numerator carries both.
enum TextMark : unsigned {
  PlainText = 0,
  HeadingText = 1u << 0,
  ExponentText = 1u << 1,
  IndexText = 1u << 2,
  VectorText = 1u << 3,
  SymbolText = 1u << 4,
  NumeratorText = 1u << 5,
  DenominatorText = 1u << 6,
};

// One run of text as drawn: its cell on the target, its characters (Symbol
// text already as Unicode) and its marks.
struct TextRun {
  QRectF cell;
  QString text;
  unsigned marks = PlainText;
  double size = 0; // the font's size in points
};

// The runs of one line in linear form.
QString linearText(const std::vector<TextRun> &runs);

// One element of a screen in reading order.
struct ReadingItem {
  enum Kind { Heading, Line, Picture };
  Kind kind = Line;
  QString text; // the words; for a picture the file it was drawn from
  QRectF rect;  // where it lies on the target
};

class ScreenText {
public:
  void clear();

  // ----- What the canvas reports --------------------------------------
  // A run in a smaller font than its line's, drawn above or below the line
  // without a primitive to say so, still reads as an exponent or an index.
  void addRun(const QRectF &cell, const QString &shown, unsigned marks, double size = 0);
  // A Print that ended its line: the next run starts a new line.
  void endLine();
  void addPicture(const QString &source, const QRectF &rect);
  // A ruled table: its column and row edges, left to right, top to bottom.
  // The lines drawn inside it are read row by row, cell by cell.
  void addTable(const std::vector<double> &columns, const std::vector<double> &rows);

  // ----- What the reader gets ------------------------------------------
  // The screen's items on a target pageWidth wide (0: in drawing order,
  // columns not looked for).
  std::vector<ReadingItem> items(double pageWidth = 0) const;
  // Every item on a line of its own; a picture as the words given for it
  // by describe (its file name when describe is empty).
  QString text(double pageWidth = 0,
               const std::function<QString(const QString &)> &describe = {}) const;

private:
  struct Entry {
    ReadingItem::Kind kind = ReadingItem::Line;
    std::vector<TextRun> runs; // a line or a heading
    QString picture;
    QRectF rect;
  };
  struct Table {
    std::vector<double> columns, rows;
  };

  void closeFraction();
  std::vector<size_t> readingOrder(double pageWidth) const;
  void place(const TextRun &drawn);

  std::vector<Entry> m_entries;
  std::vector<Table> m_tables;
  bool m_lineEnded = true;
  std::vector<TextRun> m_numerator, m_denominator;
};

} // namespace abrevel

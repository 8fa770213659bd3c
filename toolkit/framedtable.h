// A ruled table on a white ground with a grey drop shadow, its rules in
// light blue: the tables of spectra of chapter 14. It is drawn in two
// layers around its cells: first the ground (the shadow 3 × s right and
// down, then the white table over it), then, once the cells are filled,
// the rules over everything.
#pragma once

#include "toolkit/page.h"

#include <QString>

#include <vector>

namespace abrevel {

struct FramedTable {
  double left = 0, right = 0; // the outer edges
  double split = 0;           // the rule between the two columns
  std::vector<double> rows;   // every horizontal rule, the top first and the bottom last
  double splitEnd = 0;        // the column rule runs from the top down to here
};

// The shadow in QBColor(7) offset by 3 × s right and down, then the table's
// rectangle filled in QBColor(15).
void FramedTableGround(Page &p, const FramedTable &table);
// The horizontal rules from edge to edge, the two edges from top to bottom
// and the column rule from the top to splitEnd, all plain lines in
// QBColor(9).
void FramedTableRules(Page &p, const FramedTable &table);

// The width of a column that holds pictures under a label: the label's
// width in the current font, or the picture's width with 5 × s on either
// side when that is wider.
double PictureColumnWidth(Page &p, const QString &label, double pictureWidth);

} // namespace abrevel

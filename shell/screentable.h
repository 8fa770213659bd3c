// The screen table: for each of the 47 screens of the course, its drawer,
// where its first line starts and which arrows it shows. The window's
// repaint, the print handler and the headless renderer all read it.
#pragma once

#include "toolkit/page.h"

#include <cstdint>
#include <span>
#include <vector>

namespace abrevel {

struct ScreenRow {
  std::int16_t code;      // chapter × 100 + screen number
  PageDrawer drawer;      // null while the chapter's sheets are not written
  std::int16_t lineStart; // running line position when the screen starts
  bool previousShown;     // the previous arrow (fhaut)
  bool nextShown;         // the next arrow (fbas)
};

std::span<const ScreenRow> screenTable();

// The row of a screen code, or null for a code with no row.
const ScreenRow *findScreen(int code);

// The drawers that print a chapter on one page, in order: the chapter's
// screens, or its print-only sheet for chapters 4 and 6; none for a chapter
// outside 1 to 19.
std::vector<PageDrawer> printDrawers(int chapter);

} // namespace abrevel

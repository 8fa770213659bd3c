#include "shell/screentable.h"

#include "sheets/chemistry/chemistry.h"
#include "sheets/physics/physics.h"

#include <array>

namespace abrevel {

namespace {

constexpr bool shown = true;
constexpr bool hidden = false;

// Chapters whose sheets are not written yet have no drawer: their screens
// come up empty.
// One row per line, so that each chapter's rows change on their own lines.
// clang-format off
const std::array<ScreenRow, 47> table = {{
    {101, Screen101, 130, hidden, shown},
    {102, Screen102, 60, shown, hidden},
    {201, Screen201, 130, hidden, shown},
    {202, Screen202, 130, shown, shown},
    {203, Screen203, 100, shown, hidden},
    {301, Screen301, 200, hidden, shown},
    {302, Screen302, 100, shown, shown},
    {303, Screen303, 200, shown, hidden},
    {401, Screen401, 70, hidden, shown},
    {402, Screen402, 70, shown, hidden},
    {501, Screen501, 120, hidden, shown},
    {502, Screen502, 120, shown, shown},
    {503, Screen503, 120, shown, hidden},
    {601, Screen601, 50, hidden, shown},
    {602, Screen602, 90, shown, hidden},
    {701, Screen701, 120, hidden, shown},
    {702, Screen702, 120, shown, hidden},
    {801, Screen801, 90, hidden, shown},
    {802, Screen802, 150, shown, shown},
    {803, Screen803, 100, shown, hidden},
    {901, Screen901, 50, hidden, shown},
    {902, Screen902, 120, shown, hidden},
    {1001, Screen1001, 60, hidden, shown},
    {1002, Screen1002, 90, shown, hidden},
    {1101, Screen1101, 60, hidden, shown},
    {1102, Screen1102, 90, shown, hidden},
    {1201, Screen1201, 60, hidden, shown},
    {1202, Screen1202, 130, shown, hidden},
    {1301, Screen1301, 110, hidden, shown},
    {1302, Screen1302, 180, shown, shown},
    {1303, Screen1303, 180, shown, hidden},
    {1401, Screen1401, 60, hidden, shown},
    {1402, Screen1402, 180, shown, hidden},
    {1501, Screen1501, 150, hidden, shown},
    {1502, Screen1502, 120, shown, shown},
    {1503, Screen1503, 150, shown, hidden},
    {1601, Screen1601, 150, hidden, shown},
    {1602, Screen1602, 180, shown, shown},
    {1603, Screen1603, 90, shown, hidden},
    {1701, Screen1701, 90, hidden, shown},
    {1702, Screen1702, 180, shown, hidden},
    {1801, Screen1801, 120, hidden, shown},
    {1802, Screen1802, 120, shown, shown},
    {1803, Screen1803, 150, shown, hidden},
    {1901, Screen1901, 120, hidden, shown},
    {1902, Screen1902, 120, shown, shown},
    {1903, Screen1903, 180, shown, hidden},
}};
// clang-format on

// Chapters printed from a sheet of their own instead of their screens.
struct PrintOnly {
  int chapter;
  PageDrawer sheet;
};
const std::array<PrintOnly, 2> printOnly = {{
    {4, PrintSheet4},
    {6, PrintSheet6},
}};

} // namespace

std::span<const ScreenRow> screenTable() { return table; }

const ScreenRow *findScreen(int code) {
  for (const ScreenRow &row : table)
    if (row.code == code)
      return &row;
  return nullptr;
}

std::vector<PageDrawer> printDrawers(int chapter) {
  if (chapter < 1 || chapter > 19)
    return {};
  for (const PrintOnly &entry : printOnly)
    if (entry.chapter == chapter)
      return {entry.sheet};
  std::vector<PageDrawer> drawers;
  for (const ScreenRow &row : table)
    if (row.code / 100 == chapter)
      drawers.push_back(row.drawer);
  return drawers;
}

} // namespace abrevel

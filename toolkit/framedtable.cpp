#include "toolkit/framedtable.h"

#include "toolkit/colors.h"
#include "toolkit/devices.h"

#include <algorithm>

namespace abrevel {

void FramedTableGround(Page &p, const FramedTable &table) {
  if (table.rows.empty())
    return;
  Canvas &cv = p.cv();
  const double s = p.scale;
  const double top = table.rows.front(), bottom = table.rows.back();
  cv.Line(table.left + 3 * s, top + 3 * s, table.right + 3 * s, bottom + 3 * s, QBColor(7),
          LineForm::FilledBox);
  cv.Line(table.left, top, table.right, bottom, QBColor(15), LineForm::FilledBox);
}

void FramedTableRules(Page &p, const FramedTable &table) {
  if (table.rows.empty())
    return;
  Canvas &cv = p.cv();
  const double top = table.rows.front(), bottom = table.rows.back();
  for (const double y : table.rows)
    cv.Line(table.left, y, table.right, y, QBColor(9));
  cv.Line(table.left, top, table.left, bottom, QBColor(9));
  cv.Line(table.split, top, table.split, table.splitEnd, QBColor(9));
  cv.Line(table.right, top, table.right, bottom, QBColor(9));
}

double PictureColumnWidth(Page &p, const QString &label, double pictureWidth) {
  return std::max(TW(p, label), (pictureWidth + 10) * p.scale);
}

} // namespace abrevel

// The column pair of the two-column screens of chapters 13 and 14: two
// columns as wide as their pictures, centred on the quarter and the
// three-quarter lines of the width.
#pragma once

#include "toolkit/devices.h"

namespace abrevel {

struct ColumnPair {
  std::int16_t XL = 0, XR = 0; // left edges of the left and right columns
  double w = 0;                // width of a column's picture, target pixels
};

// Loads the first picture into Image1 and places both columns from its
// width. Should it not load, the second picture's width serves instead
// (the pair shares one size) so that the column it heads still lies in the
// window; Image1 then stays empty.
inline ColumnPair ColumnPairFrom(Page &p, const QString &first, const QString &second) {
  ColumnPair pair;
  double w1 = MeasurePicture(p, first).width();
  if (w1 == 0)
    p.step([&] { w1 = LoadPicture(p.AppFolder + second).Width(); });
  p.step([&] {
    pair.w = w1 * p.scale;
    pair.XL = I16(W(p) * 0.25 - pair.w * 0.5);
    pair.XR = I16(W(p) * 0.75 - pair.w * 0.5);
  });
  return pair;
}

} // namespace abrevel

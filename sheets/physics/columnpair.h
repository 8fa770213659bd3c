// The column pair of the two-column screens of chapters 13 and 14: two
// columns as wide as their pictures, centred on the quarter and the
// three-quarter lines of the width, each under its heading and its picture.
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

// One column's heading and the picture under it.
struct HeadedPicture {
  QString heading;
  QString picture;
};

// Places the column pair from the left picture (as ColumnPairFrom), prints
// each column's heading at its left edge on the line at y, then paints the
// left and the right picture with their tops at yPictures. CurrentY is left
// under the right picture, and both pictures are released.
inline ColumnPair HeadedPicturePair(Page &p, std::int16_t y, std::int16_t yPictures,
                                    const HeadedPicture &left, const HeadedPicture &right) {
  Canvas &cv = p.cv();
  const ColumnPair pair = ColumnPairFrom(p, left.picture, right.picture);
  cv.CurrentX = pair.XL;
  cv.CurrentY = y;
  PrintHeading(p, left.heading);
  cv.CurrentX = pair.XR;
  cv.CurrentY = y;
  PrintHeading(p, right.heading);

  PaintImage1(p, pair.XL, yPictures);
  const PictureSize second = MeasurePicture(p, right.picture);
  PaintImage1(p, pair.XR, yPictures);
  const double s = p.scale;
  cv.CurrentY = yPictures + second.height() * s;
  PictureCleanUp(p, false);
  return pair;
}

} // namespace abrevel

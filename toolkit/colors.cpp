#include "toolkit/colors.h"

#include "toolkit/errors.h"

#include <algorithm>
#include <array>

namespace abrevel {

QColor QBColor(int n) {
  static constexpr std::array<QRgb, 16> palette = {
      qRgb(0, 0, 0),       qRgb(0, 0, 128),   qRgb(0, 128, 0),   qRgb(0, 128, 128),
      qRgb(128, 0, 0),     qRgb(128, 0, 128), qRgb(128, 128, 0), qRgb(192, 192, 192),
      qRgb(128, 128, 128), qRgb(0, 0, 255),   qRgb(0, 255, 0),   qRgb(0, 255, 255),
      qRgb(255, 0, 0),     qRgb(255, 0, 255), qRgb(255, 255, 0), qRgb(255, 255, 255)};
  if (n < 0 || n > 15)
    throw DrawError("palette index out of range");
  return QColor(palette[static_cast<size_t>(n)]);
}

QColor RGB(int r, int g, int b) {
  auto clamp = [](int c) { return std::clamp(c, 0, 255); };
  return QColor(clamp(r), clamp(g), clamp(b));
}

} // namespace abrevel

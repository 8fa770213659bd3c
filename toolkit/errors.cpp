#include "toolkit/errors.h"

#include <cfenv>
#include <cmath>

namespace abrevel {

std::int16_t toInt16(double value) {
  if (!std::isfinite(value))
    throw DrawError("overflow: not a number");
  // nearbyint follows the current rounding mode, which is round-to-nearest,
  // ties-to-even unless someone changed it; make sure of it.
  const int saved = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const double r = std::nearbyint(value);
  std::fesetround(saved);
  if (r < -32768.0 || r > 32767.0)
    throw DrawError("overflow: " + std::to_string(value) + " does not fit 16 bits");
  return static_cast<std::int16_t>(r);
}

} // namespace abrevel

// Errors raised while a page is drawn.
//
// A statement that can fail (loading a picture, storing a coordinate in a
// 16-bit integer, a gradient over no height, a font the platform lacks)
// throws DrawError. Who catches it is the drawer's choice: see Page::step.
// Nothing is ever shown to the user.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace abrevel {

class DrawError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Rounds to the nearest 16-bit signed integer, halves to even
// (2.5 -> 2, 3.5 -> 4, -0.5 -> 0). A value outside -32768..32767 after
// rounding, or one that is not a number, is an overflow and throws.
std::int16_t toInt16(double value);

// Runs one statement that may fail and skips it when it does: the caller
// carries on with its next statement, as the event handlers and most
// drawers do.
template <class Statement> void ignoreErrors(Statement &&statement) {
  try {
    statement();
  } catch (const DrawError &) {
  }
}

} // namespace abrevel

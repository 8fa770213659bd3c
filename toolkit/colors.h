// The two ways a sheet names a colour: an index of the 16-colour palette,
// or a red, green, blue triple.
#pragma once

#include <QColor>

namespace abrevel {

// Palette colour n (0 black ... 15 bright white); n outside 0..15 is an
// error (DrawError).
QColor QBColor(int n);

// A colour from its components; a component above 255 counts as 255, one
// below 0 as 0.
QColor RGB(int r, int g, int b);

} // namespace abrevel

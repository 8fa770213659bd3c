// Page drawers of the physics chapters (11 to 19): the Universe, light and
// distances, the prism, the messages of light, motion and forces,
// gravitation, time, the gaseous state and the ideal gas. Each draws one
// screen on the page's target from the running line position down.
//
// Their sheets are not drawn yet: the screen table has no drawer for these
// screens, which come up as an empty page under their chapter's title.
#pragma once

#include "toolkit/page.h"

namespace abrevel {

// Chapter 15: motion and forces.
void Screen1501(Page &p);
void Screen1502(Page &p);
void Screen1503(Page &p);
// Chapter 16: universal gravitation, weight, the motion of the Moon.
void Screen1601(Page &p);
void Screen1602(Page &p);
void Screen1603(Page &p);

} // namespace abrevel

// Page drawers of the physics chapters (11 to 19): the Universe, light and
// distances, the prism, the messages of light, motion and forces,
// gravitation, time, the gaseous state and the ideal gas. Each draws one
// screen on the page's target from the running line position down.
//
// Chapters whose sheets are not drawn yet have no drawer in the screen
// table: their screens come up as an empty page under their chapter's title.
#pragma once

#include "toolkit/page.h"

namespace abrevel {

// Chapter 11: the organisation of the Universe, the tools that describe it.
void Screen1101(Page &p);
void Screen1102(Page &p);
// Chapter 12: the propagation of light, the light-year.
void Screen1201(Page &p);
void Screen1202(Page &p);

} // namespace abrevel

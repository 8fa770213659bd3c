// Page drawers of the physics chapters (11 to 19): the Universe, light and
// distances, the prism, the messages of light, motion and forces,
// gravitation, time, the gaseous state and the ideal gas. Each draws one
// screen on the page's target from the running line position down.
//
// A chapter whose sheets are not drawn yet has no drawer in the screen
// table: its screens come up as an empty page under their chapter's title.
#pragma once

#include "toolkit/page.h"

#include <QString>

namespace abrevel {

// Chapter 11: the organisation of the Universe, the tools that describe it.
void Screen1101(Page &p);
void Screen1102(Page &p);
// Chapter 12: the propagation of light, the light-year.
void Screen1201(Page &p);
void Screen1202(Page &p);
// Chapter 13: the prism, the refractive index, the laws of refraction.
void Screen1301(Page &p);
void Screen1302(Page &p);
void Screen1303(Page &p);
// Chapter 14: emission and absorption spectra, the signature of atoms and
// ions. Screen1402 stops at its first error.
void Screen1401(Page &p);
void Screen1402(Page &p);
// Chapter 15: motion and forces.
void Screen1501(Page &p);
void Screen1502(Page &p);
void Screen1503(Page &p);
// Chapter 16: universal gravitation, weight, the motion of the Moon.
void Screen1601(Page &p);
void Screen1602(Page &p);
void Screen1603(Page &p);
// Chapter 17: locating events in time; period and frequency.
void Screen1701(Page &p);
void Screen1702(Page &p);
// Chapter 18: microscopic and macroscopic description of a gas; pressure
// and temperature.
void Screen1801(Page &p);
void Screen1802(Page &p);
void Screen1803(Page &p);
// Chapter 19: behaviour of a real gas; the ideal-gas equation of state;
// macroscopic and microscopic interpretation.
void Screen1901(Page &p);
void Screen1902(Page &p);
void Screen1903(Page &p);
// A screen that is its heading and one picture centred under it (1801 and
// 1902); it hands its bottom on to the next screen of a printed chapter.
void CentredPictureScreen(Page &p, const QString &heading, const QString &file);

} // namespace abrevel

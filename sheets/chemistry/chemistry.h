// Page drawers of the chemistry chapters (1 to 10). Each draws one screen
// on the page's target from the running line position down.
#pragma once

#include "toolkit/page.h"

namespace abrevel {

// Chapter 1: origin and classification of chemical species.
void Screen101(Page &p);
void Screen102(Page &p);
// Chapter 2: extraction and characterisation of chemical species.
void Screen201(Page &p);
void Screen202(Page &p);
void Screen203(Page &p);
// Chapter 3: synthesis of chemical species.
void Screen301(Page &p);
void Screen302(Page &p);
void Screen303(Page &p);
// Chapter 4: model of the atom. The top band and the two panel sets are
// shared by the two screens and the printed sheet.
void AtomSheetCommon(Page &p);
void AtomSheetPartA(Page &p);
void AtomSheetPartB(Page &p);
void Screen401(Page &p);
void Screen402(Page &p);
void PrintSheet4(Page &p);
// Chapter 5: from the atom to chemical edifices.
void Screen501(Page &p);
void Screen502(Page &p);
void Screen503(Page &p);
// Chapter 6: the restricted periodic classification. The chapter prints
// its own sheet instead of its two screens.
void Screen601(Page &p);
void Screen602(Page &p);
void PrintSheet6(Page &p);
// Chapter 7: the mole.
void Screen701(Page &p);
void Screen702(Page &p);
// Chapter 8: solutions and molar concentration.
void Screen801(Page &p);
void Screen802(Page &p);
void Screen803(Page &p);
// Chapter 9: chemical transformation, chemical reaction and equation.
void Screen901(Page &p);
void Screen902(Page &p);
// Chapter 10: material balance, limiting reactant, stoichiometric proportions.
void Screen1001(Page &p);
void Screen1002(Page &p);

} // namespace abrevel

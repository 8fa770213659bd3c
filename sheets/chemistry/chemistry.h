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
// Chapter 9: chemical transformation, chemical reaction and equation.
void Screen901(Page &p);
void Screen902(Page &p);
// Chapter 10: material balance, limiting reactant, stoichiometric proportions.
void Screen1001(Page &p);
void Screen1002(Page &p);

} // namespace abrevel

// The viewer as assistive technology (a screen reader, through AT-SPI on
// Linux) sees it, built on Qt's accessibility framework:
//  - the window, named after the screen it shows ("14. Les messages de la
//    lumière, écran 2 sur 2");
//  - its four picture buttons as push buttons with French names, whose
//    press action does what a click does, and which a hidden arrow lacks;
//  - the page as a document whose text is the screen's words in reading
//    order and whose children are its headings, lines and pictures (each
//    picture named by its description).
// The words come from drawing the screen once more on a canvas that logs
// them (readScreen), only when assistive technology asks for them, so that
// a viewer nobody reads aloud does no more work than before.
#pragma once

#include <QAccessible>

namespace abrevel {

class ViewerWindow;

// Gives the viewer's window and picture buttons their accessible
// interfaces; once per program, before the window is shown.
void installViewerAccessibility();

// Tells assistive technology that the window shows another screen: the page
// document is read afresh and its change is signalled.
void announceScreen(ViewerWindow *window);

// The page document of a viewer window (a child of the window's interface).
QAccessibleInterface *screenDocument(ViewerWindow *window);

} // namespace abrevel

// What the viewer window shows, without the window: where its controls
// sit, the pictures of its four buttons, a screen drawn on its surface as a
// repaint draws it, and the controls painted over that surface.
//
// The window lays out and fills its controls from these, and the headless
// renderer composes the same picture from them without building a single
// widget, so that `abrevel --render-screen` starts no more of Qt than it
// needs to draw.
#pragma once

#include "shell/screentable.h"
#include "toolkit/page.h"
#include "toolkit/rastercanvas.h"
#include "toolkit/screentext.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <vector>

namespace abrevel {

// Twips per screen pixel: the design layout and the arrows' release points
// are measured in twips.
inline constexpr int TwipsPerPixel = 15;

constexpr QRect fromTwips(int left, int top, int width, int height) {
  return QRect(left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel,
               height / TwipsPerPixel);
}

// The window's background, the paper colour of every screen.
QColor windowBackColor(); // RGB(255, 253, 227)

// The client area the headless renderer draws: an 800 × 600 frame less an
// 8-pixel border on each side, a 31-pixel title bar and an 8-pixel bottom
// border. Also the window's first guess before the real decoration is known.
inline constexpr QSize ReferenceClientSize(800 - 8 - 8, 600 - 31 - 8);

// The arrow, print and close pictures are 32 × 32.
inline constexpr int ButtonSize = 32;

// The controls' design rectangles in pixels. The band sits at the top left
// of the client area; the print and close buttons are placed on the band,
// the arrows in their frame.
inline constexpr QRect PrintButtonRect = fromTwips(10560, 0, 480, 480);
inline constexpr QRect CloseButtonRect = fromTwips(11160, 60, 480, 480);
inline constexpr QRect ArrowFrameDesignRect = fromTwips(3960, 2280, 1695, 495);
inline constexpr QRect PreviousArrowRect = fromTwips(0, 0, 480, 480);
inline constexpr QRect NextArrowRect = fromTwips(1200, 0, 480, 480);

// The arrows' frame at the bottom centre of a client area: the 33-pixel
// frame ends 2 pixels above the bottom edge.
QPoint arrowFramePosition(QSize client);

// The four buttons and their pictures in the application folder.
enum class WindowButton { Next, Previous, Print, Close };
QString buttonPictureName(WindowButton button); // "fbas.gif" and so on

// A button's picture from the application folder, or a plain drawn
// substitute when the file is missing or unreadable, so that every button
// can still be seen and used. At a pixel ratio above 1 the picture has
// ratio times its pixels each way (its drawing when one lies beside the
// file) and says so (QImage::devicePixelRatio), keeping its size.
QImage buttonPicture(const QString &applicationFolder, WindowButton button,
                     double pixelRatio = 1.0);

// The page state of a window surface: the page draws on the surface, which
// is erased to the window's background, and keyed pictures show that
// background through their key colour.
void attachWindowSurface(Page &page, RasterCanvas &surface, const QString &applicationFolder);

// Draws the page's current screen on the window's surface as a repaint
// does, at scale 1 from the screen's starting line. Gives the screen's row,
// which says which arrows show, or null for a code outside the screen table
// (the page then stays as it is).
const ScreenRow *drawScreenOnSurface(Page &page, Canvas &surface);

// Which screen the window shows, in words: "14. Les messages de la lumière,
// écran 2 sur 2"; the chapter's title alone for a code outside the table.
QString screenName(std::int16_t chapter, std::int16_t screen);

// What a reader gets of the page's current screen on a client area of the
// given size: the band's title as the first heading, then the screen's
// headings, lines and pictures in reading order, each picture given by its
// description. The screen is drawn once more for it, exactly as a repaint
// draws it, on a canvas that only logs; the page state is left as it was.
std::vector<ReadingItem> readScreen(Page &page, QSize client);

// Paints the window's controls over a client area that already holds the
// surface, as the window shows them: the arrows' frame in the background
// colour with the arrows that show, then the chapter's title band with the
// print and close buttons. A client image finer than its size
// (QImage::devicePixelRatio) gets controls drawn as finely.
void paintWindowControls(QImage &client, std::int16_t chapter, const QString &applicationFolder,
                         bool previousShown, bool nextShown);

} // namespace abrevel

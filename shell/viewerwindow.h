// The viewer window "Abrevel": the page drawn on a pale cream surface, the
// teal title band with the print and close buttons across the top, and the
// previous and next arrows in a small frame at the bottom centre.
//
// Drawing model: the window's surface is a RasterCanvas of the client size;
// every repaint erases it to the background colour, runs Form_Paint (which
// draws the current screen on it through the page drawers) and shows it.
// Nothing is kept between repaints but the page state.
//
// The window takes its chapter from a ChapterSource: the hand-off file
// TEMPO.SPC when it runs as the viewer, a fixed chapter when it renders a
// screen for the command line (which then never touches the file).
#pragma once

#include "shell/clicksound.h"
#include "shell/windowpicture.h"
#include "toolkit/page.h"
#include "toolkit/rastercanvas.h"
#include "toolkit/screentext.h"

#include <QColor>
#include <QLabel>
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace abrevel {

// Where the window goes at load, from the screen's size in pixels: on a
// screen wider than 850 pixels an 800 × 600 frame centred on the screen
// (kept inside it when the screen is lower than 600), otherwise maximized.
struct LoadGeometry {
  bool maximized = false;
  QRect frame; // the outer frame, title bar and borders included
};
LoadGeometry loadGeometry(const QRect &screen);

// The window's three accesses to the chapter.
class ChapterSource {
public:
  virtual ~ChapterSource() = default;
  virtual std::int16_t startup() = 0; // running flag set, chapter read
  virtual double repaint() = 0;       // chapter value re-read at each repaint
  virtual void shutdown() = 0;        // running flag cleared, chapter reset
  // The end for want of a chapter: running flag cleared, the parent's
  // chapter text kept.
  virtual void endWithoutChapter() {}
  // After a start-up without a chapter: one line saying why, for a user
  // who started the program by hand.
  virtual QString noChapterNotice() const { return {}; }
};
// The hand-off file of an application folder, as one session: whatever
// ends the viewer (even the process exiting once it has started), the
// parent learns it once.
std::unique_ptr<ChapterSource> handoffChapters(const QString &applicationFolder);
// A chapter fixed once for all; no file is read or written.
std::unique_ptr<ChapterSource> fixedChapter(std::int16_t chapter);

// A picture control that reports mouse releases (in twips, relative to its
// top left corner) and clicks (press and release both on it).
class ImageButton : public QLabel {
public:
  ImageButton(QWidget *parent, const QString &name, const QRect &geometry, const QString &toolTip);
  // Shows the button's picture from the application folder, or its plain
  // drawn substitute.
  void setPicture(const QString &applicationFolder, WindowButton button);

  std::function<void(Qt::MouseButton, Qt::KeyboardModifiers, double x, double y)> onMouseUp;
  std::function<void()> onClick;
  // What pressing the button from the keyboard or by assistive technology
  // does: exactly what a click on it does.
  std::function<void()> onPress;
  void press();

  // The focus mark: a dotted frame just inside the button, in a colour that
  // shows on what lies behind it.
  void setFocusColour(const QColor &colour) { m_focusColour = colour; }

protected:
  void mousePressEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  void paintEvent(QPaintEvent *event) override;

private:
  bool m_pressed = false;
  QColor m_focusColour = QColor(0, 0, 0);
};

// The window's controls paint every pixel of their rectangles themselves
// but do not say so to the widget system: a control marked opaque is cut out
// of the window's own paint, whose surface then no longer goes to the
// screen in one copy but line by line through the painter's clip, spread
// over a pool of threads at every repaint.

// The arrows' frame: a plain rectangle in the window's background colour.
class ArrowFrame : public QWidget {
public:
  explicit ArrowFrame(QWidget *parent);

protected:
  void paintEvent(QPaintEvent *event) override;
};

// The title band control: repaints itself with the chapter current in the
// page state at that moment.
class TitleBand : public QWidget {
public:
  TitleBand(const Page &page, QWidget *parent);

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  const Page &m_page;
  RasterCanvas m_canvas;
};

class ViewerWindow : public QWidget {
public:
  struct Options {
    // Form_Load places the window on its screen (off for the headless
    // renderer, which sizes the window itself).
    bool placeOnScreen = true;
    bool sound = true;
  };

  ViewerWindow(const QString &applicationFolder, std::unique_ptr<ChapterSource> chapters,
               Options options);
  ViewerWindow(const QString &applicationFolder, std::unique_ptr<ChapterSource> chapters)
      : ViewerWindow(applicationFolder, std::move(chapters), Options()) {}
  ~ViewerWindow() override;

  // ----- Handlers ------------------------------------------------------
  // Load: false when there is no chapter and the program must end (the
  // window is then never shown).
  bool Form_Load();
  // Repaint: re-reads the chapter and draws the current screen.
  void Form_Paint();
  // Unload: closes the sound, clears the running flag, ends the program.
  void Form_Unload();
  void Image2_Click(); // close button
  void Image3_Click(); // print button
  // Arrow releases, the release point in twips relative to the arrow.
  void fbas_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);
  void fhaut_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);
  // Arrow keys: 37 (left) and 39 (right).
  void Form_KeyDown(int keyCode, Qt::KeyboardModifiers shift);

  // ----- State ----------------------------------------------------------
  Page &page() { return m_page; }
  const Page &page() const { return m_page; }
  RasterCanvas &surface() { return m_surface; }
  // The current screen as a reader gets it (see readScreen), drawn afresh.
  std::vector<ReadingItem> readCurrentScreen();
  // True once the program has been ended (no chapter, or unloaded).
  bool ended() const { return m_ended; }
  bool unloaded() const { return m_unloaded; }
  // What ending the program does; by default it leaves the event loop.
  std::function<void()> endProgram;

  // ----- Controls -------------------------------------------------------
  QWidget *Frame1 = nullptr;
  ImageButton *fbas = nullptr;  // next arrow
  ImageButton *fhaut = nullptr; // previous arrow
  TitleBand *tito = nullptr;
  ImageButton *Image3 = nullptr; // print button, on the band
  ImageButton *Image2 = nullptr; // close button, on the band
  ClickSound MMControl1;

protected:
  bool event(QEvent *event) override;
  void paintEvent(QPaintEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  void closeEvent(QCloseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  void turnPage(ImageButton *arrow, int step, double x, double y);
  // Moves the screen code by step, clears the window and repaints it at
  // once (the arrows and the keys share this).
  void moveScreen(int step);
  // After a page turn: an arrow that had the focus keeps it if it still
  // shows, or hands it to the other arrow, or to the print button.
  void keepFocus(QWidget *hadFocus);
  // Names the window after the screen it shows and tells assistive
  // technology when that changes.
  void nameScreen();
  void clearWindow();
  void setChapter(std::int16_t chapter);
  void end();
  void placeFrame1(QSize client);
  void fitFrameToDecoration();

  Options m_options;
  std::unique_ptr<ChapterSource> m_chapters;
  Page m_page;
  RasterCanvas m_surface;
  QString m_soundFolder;
  bool m_ended = false;
  bool m_unloaded = false;
  bool m_surfaceDrawn = false; // a page turn has drawn the surface its paint shows
  int m_namedScreen = -1;      // the screen the window's accessible name gives
  // Load-time geometry, followed until the user first clicks or presses a
  // key: the frame the window should have, the decoration last seen and the
  // client size asked for. The window manager reports its decoration only
  // once the window is shown; the client is then sized to fit the frame.
  QRect m_frameTarget;
  QSize m_decoration;
  QSize m_requestedClient;
  bool m_settling = false;
};

} // namespace abrevel

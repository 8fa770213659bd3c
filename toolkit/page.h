// The page state shared by every page drawer and primitive of one drawing
// pass: where to draw, at what scale, where the next block starts, and the
// picture controls drawers borrow. The window owns one Page for its whole
// life; the print handler points it at the printed page for one print.
#pragma once

#include "toolkit/canvas.h"
#include "toolkit/controls.h"
#include "toolkit/errors.h"

#include <QString>

#include <cstdint>

namespace abrevel {

// How a drawer treats a statement that fails.
enum class OnError {
  ResumeNext, // the failing statement is skipped and the next one runs
  Stop,       // the drawer stops there; its caller carries on after the call
};

class Page {
public:
  Page();

  // ----- Page state ----------------------------------------------------
  Canvas *target = nullptr; // the drawing target: the window or the printed page
  float scale = 1.0f;       // drawing scale: printer pixels per screen pixel, 1 on screen
  std::int16_t line = 0;    // running line position: where the next block starts
  std::int16_t screen = 0;  // current screen code, chapter × 100 + screen number
  QString AppFolder;        // application folder, ending in one separator
  std::int16_t chapter = 0; // chapter on display, 1 to 19

  // The window's background colour, the paper colour of every screen. Keyed
  // pictures show it through their key colour when drawn at scale 1.
  QColor windowColour = QColor(255, 253, 227);

  // The folder the program runs from, as the platform gives it (no trailing
  // separator except at the root). PrintHeading refreshes AppFolder from it.
  QString applicationFolder;

  // ----- Picture controls borrowed by drawers -----------------------------
  ImageControl Image1{73, 65};
  ImageList ImageList1;
  PictureBuffer Picturetampon{49, 33};

  Canvas &cv() const { return *target; }

  // The error rule of the drawer now running; see step().
  OnError onError = OnError::ResumeNext;

  // Runs one statement of a drawer. An error in it is skipped when the
  // drawer resumes after errors, and goes on to the drawer's caller when the
  // drawer stops at its first error.
  template <class Statement> void step(Statement &&statement) {
    try {
      statement();
    } catch (const DrawError &) {
      if (onError == OnError::Stop)
        throw;
    }
  }
};

// Declares, for the rest of a drawer, how it treats errors; the caller's
// rule comes back when the drawer returns.
class ErrorRule {
public:
  ErrorRule(Page &page, OnError rule) : m_page(page), m_saved(page.onError) { page.onError = rule; }
  ~ErrorRule() { m_page.onError = m_saved; }
  ErrorRule(const ErrorRule &) = delete;
  ErrorRule &operator=(const ErrorRule &) = delete;

private:
  Page &m_page;
  OnError m_saved;
};

// The folder with one separator at its end ("/" stays "/").
QString withTrailingSeparator(const QString &folder);

// The drawer of one screen (or a print-only sheet).
using PageDrawer = void (*)(Page &);

// Calls a drawer the way the dispatcher and the print handler do: a drawer
// that stops at an error is abandoned there and the caller carries on.
// False when the drawer stopped before its end.
bool callDrawer(Page &page, PageDrawer drawer);

} // namespace abrevel

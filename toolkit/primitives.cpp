#include "toolkit/primitives.h"

#include "toolkit/colors.h"

namespace abrevel {

namespace {

// Superscript and subscript differ only by the shift.
void printShifted(Page &p, const QString &text, double shift, unsigned mark) {
  p.step([&] {
    Canvas &cv = p.cv();
    const MarkText marked(cv, mark);
    const std::int16_t y = toInt16(cv.CurrentY);
    const std::int16_t size = toInt16(cv.Font.Size);
    cv.CurrentY = y + shift;
    cv.Font.Size = 8;
    cv.PrintRun(text);
    cv.CurrentY = y;
    cv.Font.Size = size;
  });
}

} // namespace

void PrintHeading(Page &p, const QString &text) {
  p.AppFolder = withTrailingSeparator(p.applicationFolder);
  Canvas &cv = p.cv();
  ignoreErrors([&] { cv.SetFontName(QStringLiteral("Arial")); });
  cv.Font.Size = 14;
  cv.Font.Italic = false;
  cv.Font.Bold = true;
  cv.Font.Underline = false;
  cv.ForeColor = QBColor(0);
  const MarkText heading(cv, HeadingText);
  cv.Print(text);
}

void PrintSuperscript(Page &p, const QString &text) {
  printShifted(p, text, -3.0 * static_cast<double>(p.scale), ExponentText);
}

void PrintSubscript(Page &p, const QString &text) {
  printShifted(p, text, 5.0 * static_cast<double>(p.scale), IndexText);
}

void PrintBold(Page &p, const QString &text) {
  Canvas &cv = p.cv();
  cv.Font.Bold = true;
  cv.PrintRun(text);
  cv.Font.Bold = false;
}

void PrintItalic(Page &p, const QString &text) {
  Canvas &cv = p.cv();
  cv.Font.Italic = true;
  cv.PrintRun(text);
  cv.Font.Italic = false;
}

void PrintSymbol(Page &p, const QString &text) {
  Canvas &cv = p.cv();
  const QString saved = cv.Font.Name;
  std::int16_t h1 = 0, y = 0, h2 = 0;
  ignoreErrors([&] { h1 = toInt16(cv.TextHeight(QStringLiteral("Ê@"))); });
  ignoreErrors([&] { y = toInt16(cv.CurrentY); });
  ignoreErrors([&] { cv.SetFontName(QStringLiteral("Symbol")); });
  ignoreErrors([&] { h2 = toInt16(cv.TextHeight(QStringLiteral("½"))); });
  cv.CurrentY = cv.CurrentY + h1 - h2;
  {
    const MarkText symbol(cv, SymbolText);
    cv.PrintRun(text);
  }
  cv.CurrentY = y;
  ignoreErrors([&] { cv.SetFontName(saved); });
}

void PrintVector(Page &p, const QString &text) {
  p.step([&] {
    Canvas &cv = p.cv();
    const double s = p.scale;
    const std::int16_t x0 = toInt16(cv.CurrentX - s);
    const std::int16_t y0 = toInt16(cv.CurrentY - s);
    {
      const MarkText vector(cv, VectorText);
      cv.PrintRun(text);
    }
    const std::int16_t xe = toInt16(cv.CurrentX);
    const std::int16_t ye = toInt16(cv.CurrentY);
    const std::int16_t w = toInt16(cv.TextWidth(text) + 2 * s);
    const QColor c = cv.ForeColor;
    cv.Line(x0, y0, x0 + w, y0, c);
    cv.Line(x0 + w - 3 * s, y0 - 2 * s, x0 + w, y0, c);
    cv.Line(x0 + w - 3 * s, y0 + 2 * s, x0 + w, y0, c);
    cv.CurrentX = xe;
    cv.CurrentY = ye;
  });
}

void DrawGradient(Page &p, double x1, double y1, double x2, double y2, int r1, int g1, int b1,
                  int r2, int g2, int b2) {
  p.step([&] {
    Canvas &cv = p.cv();
    const std::int16_t X1 = toInt16(x1), Y1 = toInt16(y1), X2 = toInt16(x2), Y2 = toInt16(y2);
    const std::int16_t saved = toInt16(cv.DrawWidth);
    cv.DrawWidth = 1;
    for (int y = Y1; y <= Y2; ++y) {
      if (Y2 == Y1)
        throw DrawError("gradient over no height: 0 / 0");
      const double t = static_cast<double>(y - Y1) / static_cast<double>(Y2 - Y1);
      const std::int16_t r = toInt16(t * (r2 - r1) + r1);
      const std::int16_t g = toInt16(t * (g2 - g1) + g1);
      const std::int16_t b = toInt16(t * (b2 - b1) + b1);
      cv.Line(X1, y, X2, y, RGB(r, g, b));
    }
    cv.DrawWidth = saved;
  });
}

} // namespace abrevel

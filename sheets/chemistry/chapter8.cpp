// Chapter 8: solutions and molar concentration.
//
// Screen 801 shows a dissolution (solute, solvent, solution), screen 802
// relates concentration, amount of solute and volume in a tinted formula box
// beside a legend of the units, and screen 803 shows how a dilution is made:
// a sample of the stock solution taken with a pipette, then made up to the
// mark in a volumetric flask, each picture under its caption.
#include "sheets/chemistry/chemistry.h"

#include "content/texts.h"
#include "toolkit/colors.h"
#include "toolkit/devices.h"

#include <array>

namespace abrevel {

namespace {
// The tint of the formula box and of the legend, laid on after their text.
const QColor kFormulaTint = RGB(190, 240, 255);
} // namespace

void Screen801(Page &p) {
  Canvas &cv = p.cv();
  const double s = p.scale;
  ScreenStart(p, QStringLiteral("Soluté, solvant, solution"));
  BlankLines(p, 1);

  const PictureSize size = MeasurePicture(p, QStringLiteral("pces801.gif"));
  PaintImage1(p, (W(p) - size.width() * s) / 2, cv.CurrentY);
  cv.CurrentY += size.height() * s;

  cv.Font.Size = 10;
  BlankLines(p, 3);
  PictureCleanUp(p, false);
  StoreLine(p);
}

void Screen802(Page &p) {
  Canvas &cv = p.cv();
  const double W = abrevel::W(p);
  ScreenStart(p, QStringLiteral("Concentration molaire"));
  BlankLines(p, 1);
  BodyFont(p);

  PrintLines(p, M(p), Body(802, QStringLiteral("relation")));
  BlankLines(p, 1);
  cv.Font.Bold = true;
  const std::int16_t Y = I16(cv.CurrentY);
  const double L = abrevel::L(p);

  // The formula box, level with the middle of the legend box on its right.
  const double fx1 = 0.4 * W - TW(p, QStringLiteral("WWW"));
  const double fx2 = 0.4 * W + TW(p, QStringLiteral("WWW"));
  // The legend box reaches five "W" each side of its centre, so that its
  // widest line keeps a margin on the right.
  const double lx1 = 0.6 * W - TW(p, QStringLiteral("WWWWW"));
  const double lx2 = 0.6 * W + TW(p, QStringLiteral("WWWWW"));
  WhiteBox(p, fx1, Y + L, fx2, Y + 4 * L);
  WhiteBox(p, lx1, Y, lx2, Y + 5 * L);

  const double Ym = Y + 2.5 * L;
  cv.CurrentX = (fx1 + fx2 - TW(p, QStringLiteral("C = V"))) / 2;
  cv.CurrentY = Ym - L / 2;
  PrintItalic(p, QStringLiteral("C = "));
  PrintFraction(p, cv.CurrentX, Ym, TW(p, QStringLiteral("W")), QStringLiteral("*n*"),
                QStringLiteral("*V*"));

  static constexpr std::array<const char *, 3> legend = {"*C* en mol · L^{−1}", "*n* en mol",
                                                         "*V* en L"};
  // The legend's lines start together, its longest line centred in the box.
  const double legendX = (lx1 + lx2 - TW(p, QStringLiteral("C en mol · L-1"))) / 2;
  for (std::size_t i = 0; i < legend.size(); ++i) {
    cv.CurrentY = Y + (0.5 + 1.5 * static_cast<double>(i)) * L;
    cv.CurrentX = legendX;
    PrintRich(p, QString::fromUtf8(legend[i]));
  }

  Highlight(p, fx1, Y + L, fx2, Y + 4 * L, kFormulaTint);
  Highlight(p, lx1, Y, lx2, Y + 5 * L, kFormulaTint);
  BlankLines(p, 3);
  StoreLine(p);
}

void Screen803(Page &p) {
  Canvas &cv = p.cv();
  const double s = p.scale;
  const double W = abrevel::W(p);
  ScreenStart(p, QStringLiteral("Prélèvement et dilution"));
  BlankLines(p, 1);
  cv.Font.Size = 10;

  // Both captions are centred over slots as wide as the first picture.
  const PictureSize first = MeasurePicture(p, QStringLiteral("pces802.gif"));
  const double w = first.width() * s;
  const double left = M(p), right = 11 * W / 20;
  cv.CurrentX = left + (w - TW(p, QStringLiteral("Prélèvement"))) / 2;
  cv.PrintRun(QStringLiteral("Prélèvement"));
  cv.CurrentX = right + (w - TW(p, QStringLiteral("Dilution"))) / 2;
  cv.Print(QStringLiteral("Dilution"));
  BlankLines(p, 1);

  const double Y = cv.CurrentY;
  PaintImage1(p, left, Y);
  PaintFile(p, QStringLiteral("pces803.gif"), right, Y);
  PictureCleanUp(p, false);
}

} // namespace abrevel

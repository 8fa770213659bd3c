// Chapter 9: chemical transformation, chemical reaction and its equation.
//
// Screen 901 shows one chemical system before and after a transformation and
// lists, in two columns under the picture, what it contains in each state.
// Screen 902 says what a reaction is and writes the equation of the
// precipitation of copper(II) hydroxide, its stoichiometric number in red
// with a labelled leader pointing at it.
#include "sheets/chemistry/chemistry.h"

#include "content/texts.h"
#include "toolkit/colors.h"
#include "toolkit/devices.h"

#include <array>

namespace abrevel {

void Screen901(Page &p) {
  Canvas &cv = p.cv();
  ScreenStart(p, QStringLiteral("Transformation chimique"));
  BlankLines(p, 1);

  // The system in its two states, centred; the left column starts under the
  // picture's left edge, the right one just past the middle of the page.
  // Without its picture the left column starts at the margin, clear of the
  // right one.
  std::int16_t Xp = KeyedPictureCentred(p, QStringLiteral("pces901.gif"));
  if (p.Image1.Width() == 0)
    p.step([&] { Xp = I16(M(p)); });
  cv.Font.Size = 10;
  BlankLines(p, 1);
  cv.Font.Bold = false;
  std::int16_t Xr = 0;
  p.step([&] { Xr = I16(W(p) / 2 + TW(p, QStringLiteral("W"))); });

  cv.CurrentX = Xp;
  cv.PrintRun(QStringLiteral("Le système chimique à l'état initial contient :"));
  cv.CurrentX = Xr;
  cv.Print(QStringLiteral("Le système chimique à l'état final contient :"));
  struct Row {
    const char *initial; // none on the last row
    const char *final;
  };
  static constexpr std::array<Row, 4> rows = {{
      {"le ou les réactifs", "ce qui reste des réactifs"},
      {"le solvant (éventuellement)", "le ou les produits"},
      {"autres.", "le solvant (éventuellement)"},
      {nullptr, "autres."},
  }};
  for (const Row &row : rows) {
    HalfLineGap(p);
    if (row.initial)
      PrintBullet(p, Xp, QString::fromUtf8(row.initial), End::Run);
    PrintBullet(p, Xr, QString::fromUtf8(row.final));
  }

  BlankLines(p, 1);
  PrintBullet(p, Xp, BodyLine(901, QStringLiteral("transformation")));

  BlankLines(p, 3);
  PictureCleanUp(p, true);
  StoreLine(p);
}

void Screen902(Page &p) {
  Canvas &cv = p.cv();
  const double s = p.scale;
  ScreenStart(p, QStringLiteral("Réaction chimique"));
  BlankLines(p, 1);
  BodyFont(p);
  cv.CurrentX = M(p);
  cv.Print(QStringLiteral("Les réactifs donnent les produits de la réaction chimique."));
  BlankLines(p, 1);
  PrintLines(p, M(p), Body(902, QStringLiteral("exemple")));
  BlankLines(p, 3);

  cv.CurrentX = M(p);
  PrintHeading(p, QStringLiteral("Équation chimique"));
  BlankLines(p, 1);
  BodyFont(p);

  // The equation, centred on its template; Xc is the middle of the red
  // stoichiometric number.
  cv.CurrentX = (W(p) - TW(p, QStringLiteral("Cu2+ 2 2HO- = Cu(OB)2"))) / 2;
  cv.PrintRun(QStringLiteral("Cu"));
  PrintSuperscript(p, QStringLiteral("2+"));
  cv.PrintRun(QStringLiteral(" + "));
  std::int16_t Xc = 0;
  p.step([&] { Xc = I16(cv.CurrentX + TW(p, QStringLiteral("2")) / 2); });
  cv.ForeColor = QBColor(12);
  PrintBold(p, QStringLiteral("2"));
  cv.ForeColor = QBColor(0);
  cv.PrintRun(QStringLiteral(" HO"));
  PrintSuperscript(p, QStringLiteral("−"));
  PrintSymbol(p, QStringLiteral(" ® "));
  cv.PrintRun(QStringLiteral("Cu(OH)"));
  PrintSubscript(p, QStringLiteral("2"));
  cv.Print();

  // Its name, ending two "W" left of the number, on a leader that runs
  // along the next line and up to an arrowhead under the number.
  std::int16_t Y0 = 0, Yb = 0, Xl = 0;
  p.step([&] {
    Y0 = I16(cv.CurrentY);
    Yb = I16(Y0 + 2 + TH(p, QStringLiteral("W")));
    Xl = I16(Xc - TW(p, QStringLiteral("WW")));
  });
  const QString label = QStringLiteral("nombre stœchiométrique ");
  cv.CurrentX = Xl - TW(p, label);
  cv.CurrentY = Yb - TH(p, QStringLiteral("W")) / 2;
  cv.Print(label);
  cv.Line(Xc, Yb, Xl, Yb, QBColor(0));
  cv.Line(Xc, Y0, Xc, Yb, QBColor(0));
  // The head's strokes are drawn from the tip, so the text below starts
  // from the end of the last one.
  cv.Line(Xc, Y0, Xc + 3 * s, Y0 + 6 * s, QBColor(0));
  cv.Line(Xc, Y0, Xc - 3 * s, Y0 + 6 * s, QBColor(0));

  BlankLines(p, 3);
  for (const char *name : {"elements", "nombres", "charges"}) {
    PrintBullet(p, M(p), BodyLine(902, QString::fromLatin1(name)));
    BlankLines(p, 1);
  }
}

} // namespace abrevel

// Chapter 10: material balance of a reaction.
//
// Screen 1001 is the progress table of a reaction a A + b B -> c C, all of
// it in one picture. Screen 1002 defines the limiting reactant and the
// stoichiometric proportions, with the chain of fractions that states them.
#include "sheets/chemistry/chemistry.h"

#include "content/texts.h"
#include "toolkit/colors.h"
#include "toolkit/devices.h"

#include <array>

namespace abrevel {

namespace {

// nA / a = nB / b = nC / c with its rules at Yr, centred on the template
// "nA = nB = nC". Each numerator, an italic n with its reactant's letter as
// index, starts at the fraction's left edge 1.4 lines above the rule; the
// italic coefficient under the rule is centred on it; an "=" half a line up
// sits one space after each rule but the last.
void FractionChain(Page &p, std::int16_t Yr) {
  Canvas &cv = p.cv();
  struct Fraction {
    const char *species, *coefficient;
  };
  static constexpr std::array<Fraction, 3> fractions = {{{"A", "a"}, {"B", "b"}, {"C", "c"}}};
  const QString rule = QStringLiteral("nA");
  std::int16_t Xk = 0;
  p.step([&] { Xk = I16((W(p) - TW(p, QStringLiteral("nA = nB = nC"))) / 2); });
  for (std::size_t k = 0; k < fractions.size(); ++k) {
    const QString coefficient = QString::fromLatin1(fractions[k].coefficient);
    cv.CurrentX = Xk;
    cv.CurrentY = Yr - 1.4 * L(p);
    PrintItalic(p, QStringLiteral("n"));
    cv.CurrentY = Yr - 1.2 * L(p);
    PrintSubscript(p, QString::fromLatin1(fractions[k].species));
    cv.CurrentX = Xk + (TW(p, rule) - TW(p, coefficient)) / 2;
    cv.CurrentY = Yr;
    PrintItalic(p, coefficient);
    cv.Line(Xk, Yr, Xk + TW(p, rule), Yr, QBColor(0));
    if (k + 1 < fractions.size()) {
      cv.CurrentX = Xk + TW(p, rule) + TW(p, QStringLiteral(" "));
      cv.CurrentY = Yr - L(p) / 2;
      cv.PrintRun(QStringLiteral("= "));
      p.step([&] { Xk = I16(cv.CurrentX); });
    }
  }
}

} // namespace

void Screen1001(Page &p) {
  Canvas &cv = p.cv();
  ScreenStart(p, QStringLiteral("Construire un tableau d'avancement d'une réaction chimique"));
  BlankLines(p, 1);
  KeyedPictureCentred(p, QStringLiteral("pces1001.gif"));
  cv.Font.Size = 10;
  BlankLines(p, 3);
  PictureCleanUp(p, true);
  StoreLine(p);
}

void Screen1002(Page &p) {
  Canvas &cv = p.cv();
  ScreenStart(p, QStringLiteral("Réactif limitant"));
  BlankLines(p, 1);
  BodyFont(p);
  PrintBullet(p, M(p), BodyLine(1002, QStringLiteral("limitant")));
  BlankLines(p, 1);
  PrintBullet(p, M(p), BodyLine(1002, QStringLiteral("nul")));
  BlankLines(p, 2);

  cv.CurrentX = M(p);
  PrintHeading(p, QStringLiteral("Proportions stœchiométriques"));
  BlankLines(p, 1);
  BodyFont(p);
  PrintBulletParagraph(p, M(p), Body(1002, QStringLiteral("proportions")));
  BlankLines(p, 1);
  PrintBullet(p, M(p), BodyLine(1002, QStringLiteral("exces")));
  BlankLines(p, 1);

  // The general case and its condition.
  PrintBullet(p, M(p),
              QStringLiteral("Dans le cas général d'une équation chimique *a *A + *b *B {S:®}* c "
                             "*C, les réactifs A et B sont dans les proportions"));
  cv.CurrentX = M(p);
  cv.Print(QStringLiteral("stœchiométriques lorsque :"));
  BlankLines(p, 1);
  std::int16_t Yr = 0;
  p.step([&] { Yr = I16(cv.CurrentY); });
  FractionChain(p, Yr);

  BlankLines(p, 2);
  PrintLines(p, M(p),
             {QStringLiteral("où *n*_{A} et *n*_{B} sont les quantités de matière de A et de B à "
                             "l'état initial, et *n*_{C}, la quantité de matière formée"),
              QStringLiteral("de C à l'état final.")});
}

} // namespace abrevel

// Chapter 11: the organisation of the Universe and the tools that describe
// it.
//
// Screen 1101 goes from the galaxies down to the atom: a deep field and our
// Galaxy beside a short text column, then the solar system right-aligned
// beside the paragraphs that resume below the deep field. Screen 1102 gives
// the scientific notation, orders of magnitude and precision, and a table of
// the rules of calculation on powers of ten.
#include "sheets/physics/physics.h"

#include "content/texts.h"
#include "toolkit/colors.h"
#include "toolkit/devices.h"

#include <algorithm>

namespace abrevel {

void Screen1101(Page &p) {
  Canvas &cv = p.cv();
  const double s = p.scale;
  ScreenStart(p, QStringLiteral("L'organisation de l'Univers"));
  BlankLines(p, 1);
  std::int16_t Yp = 0;
  p.step([&] { Yp = I16(cv.CurrentY); });
  cv.Font.Size = 10;
  cv.Font.Bold = false;

  // The deep field at the margin; the paragraphs below it resume two lines
  // under its bottom, however long the text column beside it.
  const PictureSize field = MeasurePicture(p, QStringLiteral("pces1101.bmp"));
  PaintImage1(p, M(p), Yp);
  std::int16_t X1 = 0, Yb1 = 0;
  p.step([&] {
    X1 = I16(M(p) + field.width() * s + TW(p, QStringLiteral("W")));
    Yb1 = I16(Yp + field.height() * s + TH(p, QStringLiteral("W\nw")));
  });

  // Our Galaxy, centred on the height of three lines of text.
  const PictureSize galaxy = PrepareKeyed(p, QStringLiteral("pces1103.bmp"), false);
  PaintKeyed(p, X1, Yp + (TH(p, QStringLiteral("W\nW\nW")) - galaxy.height() * s) / 2);
  std::int16_t X2 = 0;
  p.step([&] { X2 = I16(X1 + galaxy.width() * s + TW(p, QStringLiteral("W"))); });

  // The text column beside the two pictures.
  cv.CurrentY = Yp;
  PrintLines(p, X2, Body(1101, QStringLiteral("univers")));
  BlankLines(p, 2);
  PrintLines(p, X2, Body(1101, QStringLiteral("galaxie")));
  BlankLines(p, 1);

  // The solar system, right-aligned, from the end of the text column.
  const PictureSize solar = PrepareKeyed(p, QStringLiteral("pces1102.bmp"), false);
  PaintKeyed(p, W(p) * 0.95 - solar.width() * s, cv.CurrentY);

  // Two paragraphs whose second line stands a quarter line apart. They
  // never start beside the text column, even should the deep field be
  // missing or shorter than the column.
  cv.CurrentY = std::max<double>(Yb1, cv.CurrentY);
  const auto paragraph = [&](const QString &name) {
    const QStringList lines = Body(1101, name);
    for (qsizetype i = 0; i < lines.size(); ++i) {
      if (i > 0)
        cv.CurrentY = cv.CurrentY + L(p) / 4;
      cv.CurrentX = M(p);
      PrintRich(p, lines[i]);
    }
  };
  paragraph(QStringLiteral("systeme"));
  BlankLines(p, 1);
  paragraph(QStringLiteral("terre"));
  BlankLines(p, 3);

  PrintBullet(p, M(p), BodyLine(1101, QStringLiteral("atome")));
  BlankLines(p, 4);
  StoreLine(p);
  PictureCleanUp(p, true);
}

void Screen1102(Page &p) {
  Canvas &cv = p.cv();
  ScreenStart(p, QStringLiteral("Les outils de description de l'Univers"));
  BlankLines(p, 1);
  cv.Font.Size = 10;

  // Scientific notation: the heading's bold holds for the bullet, the first
  // bold run ends it.
  const QStringList notation = Body(1102, QStringLiteral("notation"));
  cv.CurrentX = M(p);
  PrintSymbol(p, QStringLiteral("·"));
  PrintRich(p, notation.value(0));
  PrintLines(p, M(p), notation.mid(1));
  PrintLines(p, M(p), Body(1102, QStringLiteral("ecriture")));
  BlankLines(p, 1);
  PrintBulletParagraph(p, M(p), Body(1102, QStringLiteral("grandeur")));
  BlankLines(p, 1);
  PrintBulletParagraph(p, M(p), Body(1102, QStringLiteral("precision")));
  BlankLines(p, 1);
  PrintBullet(p, M(p), QStringLiteral(" Rappel : les opérations sur les **puissances de 10.**"));
  cv.Font.Bold = false;

  // The table: two rows of three lines, two columns over the middle half of
  // the width.
  BlankLines(p, 1);
  std::int16_t Ya = 0, Yb = 0, Yc = 0;
  p.step([&] { Ya = I16(cv.CurrentY); });
  BlankLines(p, 3);
  p.step([&] { Yb = I16(cv.CurrentY); });
  BlankLines(p, 3);
  p.step([&] { Yc = I16(cv.CurrentY); });
  std::int16_t Q = 0, Q2 = 0, Q3 = 0;
  p.step([&] {
    Q = I16(W(p) / 4);
    Q2 = I16(2 * Q);
    Q3 = I16(3 * Q);
  });
  const TableGrid grid{{1.0 * Q, 1.0 * Q2, 1.0 * Q3}, {1.0 * Ya, 1.0 * Yb, 1.0 * Yc}};
  ShadowedTable(p, grid);

  // Each cell holds one rule, centred on its measuring template. A quotient
  // is a built fraction whose rule lies at its row's middle, the
  // denominator's exponent raised only 3 units; its result follows on the
  // line that centres the template.
  const QString fractionWidth = QStringLiteral("10  ");
  double X0 = 0;
  std::int16_t mid = 0;
  const auto quotientStart = [&](int column, int row, const QString &measure,
                                 const QString &result) {
    StartInCell(p, grid, column, row, measure);
    X0 = cv.CurrentX;
    cv.CurrentX = X0 + TW(p, fractionWidth);
    PrintRich(p, result, End::Run);
    p.step([&] { mid = I16((grid.rows[row] + grid.rows[row + 1]) / 2); });
    cv.CurrentX = X0;
    cv.CurrentY = mid + 3;
    cv.PrintRun(QStringLiteral("10"));
    PrintExponent(p, mid + 3, QStringLiteral("*n*"), Raise::ThreeUnits);
  };
  const auto fractionRule = [&] { cv.Line(X0, mid, X0 + TW(p, fractionWidth), mid, QBColor(0)); };

  // Top left: the product.
  StartInCell(p, grid, 0, 0, QStringLiteral("10  x 10  = 10  +  "));
  PrintRich(p, QStringLiteral("10^5{*m*} × 10^5{*n*} = 10^5{*m* + *n*}"), End::Run);

  // Top right: the inverse.
  quotientStart(1, 0, QStringLiteral("10  = 10   "), QStringLiteral(" = 10^5{−*n*}"));
  cv.CurrentX = X0 + TW(p, QStringLiteral("0 ")) / 2;
  cv.CurrentY = mid - TH(p, QStringLiteral("W")) - 3;
  cv.PrintRun(QStringLiteral("1"));
  fractionRule();

  // Bottom left: the quotient.
  quotientStart(0, 1, QStringLiteral("10  = 10      "), QStringLiteral(" = 10^5{*m* − *n*}"));
  cv.CurrentX = X0;
  cv.CurrentY = mid - TH(p, QStringLiteral("W")) - 3;
  PrintRich(p, QStringLiteral("10^5{*m*}"), End::Run);
  fractionRule();

  // Bottom right: the power of a power.
  StartInCell(p, grid, 1, 1, QStringLiteral("( 10  )  = 10      "));
  PrintRich(p, QStringLiteral("( 10^5{*m*} )^5{*n*} = 10^5{*m* × *n*}"), End::Run);
}

} // namespace abrevel

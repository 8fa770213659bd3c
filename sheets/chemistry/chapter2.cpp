// Chapter 2: extraction, separation and identification of chemical species.
//
// Screen 201 shows three extraction techniques, screen 202 the three stages
// of a thin-layer chromatography, screen 203 the table of the physical
// characteristics that identify a species.
#include "sheets/chemistry/chemistry.h"

#include "content/texts.h"
#include "toolkit/colors.h"
#include "toolkit/devices.h"

#include <array>

namespace abrevel {

namespace {

// Three keyed pictures pces20<first>.bmp, pces20<first+1>.bmp,
// pces20<first+2>.bmp centred on the quarters of the width, tops at Yp.
// Returns the bottom of the row: Yp plus the last picture's height.
std::int16_t PictureRowOfThree(Page &p, int first, std::int16_t Yp) {
  const double s = p.scale;
  for (int i = 1; i <= 3; ++i) {
    const QString file =
        QStringLiteral("pces20") + QString::number(first + i - 1) + QStringLiteral(".bmp");
    const PictureSize size = PrepareKeyed(p, file, false);
    PaintKeyed(p, W(p) * 0.25 * i - size.width() * s / 2, Yp);
  }
  std::int16_t Yb = Yp;
  p.step([&] { Yb = I16(Yp + p.Picturetampon.Height() * s); });
  return Yb;
}

} // namespace

void Screen201(Page &p) {
  Canvas &cv = p.cv();
  ScreenStart(p, QStringLiteral("Extraction d'espèces chimiques"));
  BlankLines(p, 2);
  std::int16_t Yp = 0;
  p.step([&] { Yp = I16(cv.CurrentY); });
  const std::int16_t Yb = PictureRowOfThree(p, 1, Yp);

  cv.Font.Size = 10;
  cv.Font.Bold = true;
  const double Yl = Yb + L(p);
  cv.CurrentY = Yl;
  PrintCentredOn(p, W(p) * 0.25, QStringLiteral("Par la vapeur"), End::Run);
  cv.CurrentY = Yl;
  PrintCentredOn(p, W(p) * 0.5, QStringLiteral("Par distillation"), End::Run);
  cv.CurrentY = Yl;
  PrintCentredOn(p, W(p) * 0.75, QStringLiteral("Par un solvant"), End::Run);

  BlankLines(p, 4);
  PictureCleanUp(p, true);
  StoreLine(p);
}

void Screen202(Page &p) {
  Canvas &cv = p.cv();
  ScreenStart(p, QStringLiteral("Chromatographie sur couche mince"));
  BlankLines(p, 2);
  std::int16_t Yp = 0;
  p.step([&] { Yp = I16(cv.CurrentY); });
  const std::int16_t Yb = PictureRowOfThree(p, 4, Yp);

  cv.Font.Size = 10;
  cv.Font.Bold = true;
  cv.CurrentY = Yb + L(p);
  PrintCentredOn(p, W(p) * 0.25, QStringLiteral("Dépôt"), End::Run);
  PrintCentredOn(p, W(p) * 0.5, QStringLiteral("Migration"), End::Run);
  PrintCentredOn(p, W(p) * 0.75, QStringLiteral("Révélation"));
  BlankLines(p, 1);
  PrintCentredOnPage(p, BodyLine(202, QStringLiteral("chromatographie")), End::Run);

  BlankLines(p, 4);
  PictureCleanUp(p, true);
  StoreLine(p);
}

void Screen203(Page &p) {
  Canvas &cv = p.cv();
  ScreenStart(p, QStringLiteral("Caractéristiques physiques d'une espèce chimique"));
  BlankLines(p, 2);
  std::int16_t Top = 0;
  p.step([&] { Top = I16(cv.CurrentY); });
  cv.Font.Size = 10;

  // The grid: three columns of 0.3 W from the margin, a header row and
  // five rows of characteristics.
  std::int16_t R = 0, X0 = 0, X1 = 0, X2 = 0, X3 = 0;
  p.step([&] {
    R = I16(2.3 * L(p));
    X0 = I16(W(p) * 0.05);
    X1 = I16(X0 + 0.3 * W(p));
    X2 = I16(X1 + 0.3 * W(p));
    X3 = I16(X2 + 0.3 * W(p));
  });
  TableGrid grid{{1.0 * X0, 1.0 * X1, 1.0 * X2, 1.0 * X3}, {}};
  for (int k = 0; k <= 6; ++k)
    grid.rows.push_back(Top + k * R);

  // Shadow, white body, yellow rules between the characteristics, then the
  // blue frame, header rule and column rules.
  ShadowedTable(p, grid, {2, 3, 4, 5});

  // A cell's text is centred in its cell on a measuring template; a row's
  // first-column text starts on the line that centres it vertically.
  auto onRow = [&](int k) { cv.CurrentY = grid.rows[k] + R / 2.0 - L(p) / 2; };
  auto cellText = [&](int column, int k, const QString &text) {
    StartInCell(p, grid, column, k, text);
    cv.Print(text);
  };
  // An index half a line low in 8 points, ending the line.
  auto lowIndex = [&](const QString &index) {
    cv.Font.Size = 8;
    cv.CurrentY = cv.CurrentY + L(p) / 2;
    cv.Print(index);
    cv.Font.Size = 10;
  };
  // An exponent of a unit, 8 units up in 8 points; the line resumes 10 units
  // down from there.
  // A unit's exponent, raised as every exponent is, the line going on at
  // its own height.
  auto unitExponent = [&](const QString &exponent) {
    p.step([&] { PrintSuperscript(p, exponent); });
  };

  cv.Font.Bold = true;
  cellText(0, 0, QStringLiteral("Caractéristiques physiques"));
  cellText(1, 0, QStringLiteral("Symbole"));
  cellText(2, 0, QStringLiteral("Unité"));
  cv.Font.Bold = false;

  const std::array<QString, 5> characteristics = {
      QStringLiteral("Température d'ébullition"), QStringLiteral("Température de fusion"),
      QStringLiteral("Masse volumique"), QStringLiteral("Densité"),
      QStringLiteral("Indice de réfraction")};
  for (int k = 1; k <= 5; ++k) {
    onRow(k);
    cv.CurrentX = X0 + TW(p, QStringLiteral("W"));
    cv.Print(characteristics[k - 1]);
  }

  // Symbols: theta with its index, rho and d as fractions, n with its index.
  const QString thetaTemplate = QStringLiteral("Wéb");
  for (const auto &[k, index] : {std::pair{1, QStringLiteral("éb")}, {2, QStringLiteral("fus")}}) {
    StartInCell(p, grid, 1, k, thetaTemplate);
    PrintSymbol(p, QStringLiteral("q"));
    lowIndex(index);
  }
  p.step([&] {
    StartInCell(p, grid, 1, 3, QStringLiteral("W = W"));
    PrintSymbol(p, QStringLiteral("r = "));
    PrintFraction(p, cv.CurrentX, I16(Top + 3.5 * R), TW(p, QStringLiteral("W")),
                  QStringLiteral("*m*"), QStringLiteral("*V*"));
  });
  p.step([&] {
    const QString denominator = QStringLiteral("masse du même volume d'eau");
    StartInCell(p, grid, 1, 4, QStringLiteral("d = ") + denominator);
    PrintItalic(p, QStringLiteral("d"));
    cv.PrintRun(QStringLiteral(" = "));
    cv.SetFontName(QStringLiteral("Arial"));
    PrintFraction(p, cv.CurrentX, I16(Top + 4.5 * R), TW(p, denominator),
                  QStringLiteral("masse d'un volume"), denominator);
  });
  StartInCell(p, grid, 1, 5, QStringLiteral("Wb"));
  PrintItalic(p, QStringLiteral("n"));
  p.step([&] { cv.SetFontName(QStringLiteral("Arial")); });
  lowIndex(QStringLiteral("D"));

  // Units.
  cellText(2, 1, QStringLiteral("°C"));
  cellText(2, 2, QStringLiteral("°C"));
  StartInCell(p, grid, 2, 3, QStringLiteral("kg . m-3 (ou g . cm-3)"));
  cv.PrintRun(QStringLiteral("kg · m"));
  unitExponent(QStringLiteral("−3"));
  cv.PrintRun(QStringLiteral(" (ou g · cm"));
  unitExponent(QStringLiteral("−3"));
  cv.Print(QStringLiteral(")"));
  cellText(2, 4, QStringLiteral("sans unité"));
  cellText(2, 5, QStringLiteral("sans unité"));

  BlankLines(p, 2);
  cv.Font.Bold = true;
  PrintBullet(p, M(p),
              QStringLiteral(" L'ensemble de ces caractéristiques d'une espèce chimique constitue "
                             "sa carte d'identité."));
  BlankLines(p, 1);
  PrintBullet(
      p, M(p),
      QStringLiteral(" Si deux espèces chimiques diffèrent par une de ces caractéristiques, "
                     "alors elles sont différentes."));
}

} // namespace abrevel

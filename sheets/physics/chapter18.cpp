// Chapter 18: the gaseous state.
//
// Screen 1801 shows a gas at the scale of its molecules; screen 1802 the
// four quantities that describe a gas at our scale, in a ruled table whose
// first column shows an upturned glass full of air; screen 1803 the
// pressure of a gas, p = F / S, and how a temperature is measured.
#include "sheets/physics/physics.h"

#include "content/texts.h"
#include "toolkit/colors.h"
#include "toolkit/devices.h"

namespace abrevel {

void CentredPictureScreen(Page &p, const QString &heading, const QString &file) {
  Canvas &cv = p.cv();
  const double s = p.scale;
  ScreenStart(p, heading);
  BlankLines(p, 1);
  std::int16_t y = 0;
  p.step([&] { y = I16(cv.CurrentY); });

  const PictureSize size = MeasurePicture(p, file);
  PaintImage1(p, (W(p) - size.width() * s) / 2, y);
  cv.CurrentY = y + size.height() * s;
  PictureCleanUp(p, false);

  BlankLines(p, 3);
  StoreLine(p);
}

void Screen1801(Page &p) {
  CentredPictureScreen(p, QStringLiteral("Description microscopique d'un gaz"),
                       QStringLiteral("pces1801.gif"));
}

void Screen1802(Page &p) {
  Canvas &cv = p.cv();
  const double s = p.scale;
  ScreenStart(p, QStringLiteral("Description macroscopique d'un gaz"));
  BlankLines(p, 1);
  std::int16_t y0 = 0;
  p.step([&] { y0 = I16(cv.CurrentY); });
  cv.Font.Size = 8;
  cv.Font.Bold = false;

  // Column edges from the widest text of each column, then the table
  // centred on the page.
  std::int16_t X0 = 0, X1 = 0, X2 = 0, X3 = 0, X4 = 0, X5 = 0;
  p.step([&] {
    X1 = I16(TW(p, QStringLiteral("WWil contient un gaz : l'airWW")));
    cv.Font.Bold = true;
    X2 = I16(X1 + TW(p, QStringLiteral("WSymboleW")));
    cv.Font.Bold = false;
    X3 = I16(X2 + TW(p, QStringLiteral("Wquantité de matièreW")));
    X4 = I16(X3 + TW(p, QStringLiteral("Wpascal (Pa) (unité légale)W")));
    X5 = I16(X4 + TW(p, QStringLiteral("Wne se mesure pas, mais se calcule avec n = VmW")));
    const std::int16_t off = I16((W(p) - X5) / 2);
    X0 = off;
    X1 = I16(X1 + off);
    X2 = I16(X2 + off);
    X3 = I16(X3 + off);
    X4 = I16(X4 + off);
    X5 = I16(X5 + off);
  });
  cv.Font.Bold = false;

  // Rows three lines high: the header and four quantities.
  std::int16_t th = 0;
  p.step([&] { th = I16(L(p)); });
  const double bottom = y0 + 15.0 * th;

  // The card and its shadow.
  cv.Line(X0 + 3 * s, y0 + 3 * s, X5 + 3 * s, bottom + 3 * s, QBColor(7), LineForm::FilledBox);
  WhiteBox(p, X0, y0, X5, bottom);

  cv.Font.Bold = true;
  const struct {
    double x1, x2;
    const char *label;
  } header[] = {{double(X1), double(X2), "Symbole"},
                {double(X2), double(X3), "Grandeur"},
                {double(X3), double(X4), "Exemple d'unités"},
                {double(X4), double(X5), "Mesure"}};
  for (const auto &cell : header) {
    cv.CurrentY = y0 + th;
    PrintCentredInBox(p, cell.x1, cell.x2, QString::fromUtf8(cell.label), End::Run);
  }
  cv.Font.Bold = false;

  // The quantities: symbol, name, units, how it is known. A cell with
  // marks is centred on the plain text it stands for, or on its template.
  const struct {
    const char *symbol, *symbolWidth, *name, *units, *unitsWidth, *measure;
  } rows[] = {
      {"*V*", "V", "volume", "m^{3}, L, ...", "m3, L, ...", "mesure des dimensions + calcul"},
      {"{S:q}", "O", "température", "degré Celsius", "", "thermomètre"},
      {"*p*", "p", "pression", "pascal (Pa) (unité légale)", "", "manomètre"},
      {"*n*", "n", "quantité de matière", "mole", "", nullptr},
  };
  for (int i = 0; i < 4; ++i) {
    const auto &row = rows[i];
    const double top = y0 + (4 + 3 * i) * th;
    cv.CurrentY = top;
    PrintCentredInBox(p, X1, X2, QString::fromUtf8(row.symbol), End::Run,
                      QString::fromUtf8(row.symbolWidth));
    cv.CurrentY = top;
    PrintCentredInBox(p, X2, X3, QString::fromUtf8(row.name), End::Run);
    cv.CurrentY = top;
    PrintCentredInBox(p, X3, X4, QString::fromUtf8(row.units), End::Run,
                      QString::fromUtf8(row.unitsWidth));
    cv.CurrentY = top;
    if (row.measure) {
      PrintCentredInBox(p, X4, X5, QString::fromUtf8(row.measure), End::Run);
      continue;
    }
    // n = V / Vm, the fraction on the middle of the line.
    PrintCentredInBox(p, X4, X5, QStringLiteral("ne se mesure pas, mais se calcule avec *n* = "),
                      End::Run, QStringLiteral("ne se mesure pas, mais se calcule avec n = Vm"));
    // Its bar a little above the row's middle line, so that the index of
    // the denominator keeps clear of the table's bottom rule, and the
    // numerator a little above the bar.
    std::int16_t xq = 0;
    p.step([&] { xq = I16(cv.CurrentX); });
    const double bar = y0 + 13.5 * th - 2 * s;
    const double width = TW(p, QStringLiteral("Vm"));
    cv.CurrentY = bar - TH(p, QStringLiteral("V")) - 1 * s;
    PrintCentredInBox(p, xq, xq + width, QStringLiteral("*V*"), End::Run);
    cv.CurrentY = bar;
    PrintCentredInBox(p, xq, xq + width, QStringLiteral("*V*_{m}"), End::Run);
    cv.Line(xq, bar, xq + width, bar, QBColor(0));
  }

  // The caption under the picture's place in the first column.
  cv.CurrentY = y0 + 12.5 * th;
  PrintCentredInBox(p, X0, X1, QStringLiteral("Le verre n'est pas vide,"));
  PrintCentredInBox(p, X0, X1, QStringLiteral("il contient un gaz : l'air."));

  // Rules: blue under the header and between columns, yellow between rows.
  cv.Line(X1, y0 + 3 * th, X5, y0 + 3 * th, QBColor(9));
  for (int k : {6, 9, 12})
    cv.Line(X1, y0 + k * th, X5, y0 + k * th, QBColor(14));
  for (std::int16_t x : {X1, X2, X3, X4})
    cv.Line(x, y0, x, bottom, QBColor(9));
  cv.Line(X0, y0, X5, bottom, QBColor(9), LineForm::Box);

  // The upturned glass, centred in the first column on the second rule.
  const PictureSize glass = MeasurePicture(p, QStringLiteral("pces1802.gif"));
  PaintImage1(p, ((X0 + X1) - glass.width() * s) / 2, y0 + 6 * th - glass.height() * s / 2);
  PictureCleanUp(p, false);

  cv.CurrentY = bottom;
  cv.Font.Size = 10;
  BlankLines(p, 4);
  StoreLine(p);
}

void Screen1803(Page &p) {
  Canvas &cv = p.cv();
  ScreenStart(p, QStringLiteral("Pression d'un gaz"));
  BlankLines(p, 1);
  BodyFont(p);

  // The symbols at the right, half a line apart.
  const double half = W(p) / 2;
  cv.CurrentX = half;
  PrintRich(p, QStringLiteral("*p* : pression en pascal (Pa)"));
  cv.CurrentX = half;
  HalfLineGap(p);
  std::int16_t yF = 0;
  p.step([&] { yF = I16(cv.CurrentY); });
  PrintRich(p, QStringLiteral("*F* : force pressante en newton (N)"));
  cv.CurrentX = half;
  HalfLineGap(p);
  PrintRich(p, QStringLiteral("*S* : surface en mètre carré (m^{2})"));

  // p = F / S in a pale green panel centred on the left quarter, level with
  // the force: numerator and denominator start at the same X.
  const QString panel = QStringLiteral("WWp = FWW");
  std::int16_t x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  p.step([&] {
    x1 = I16(W(p) / 4 - TW(p, panel) / 2);
    x2 = I16(W(p) / 4 + TW(p, panel) / 2);
    y1 = I16(yF - L(p));
    y2 = I16(yF + 2 * L(p));
  });
  WhiteBox(p, x1, y1, x2, y2);
  cv.CurrentX = W(p) / 4 - TW(p, panel) / 2 + TW(p, QStringLiteral("WV"));
  cv.CurrentY = yF;
  PrintRich(p, QStringLiteral("*p* = "), End::Run);
  std::int16_t xf = 0;
  p.step([&] { xf = I16(cv.CurrentX); });
  cv.CurrentY = yF - L(p) / 2;
  PrintItalic(p, QStringLiteral("F"));
  cv.CurrentX = xf;
  cv.CurrentY = yF + L(p) / 2;
  PrintItalic(p, QStringLiteral("S"));
  std::int16_t ym = 0;
  p.step([&] { ym = I16((y1 + y2) / 2.0); });
  cv.Line(xf, ym, xf + TW(p, QStringLiteral("W")), ym, QBColor(0));
  Highlight(p, x1, y1, x2, y2, RGB(220, 255, 220));

  // Temperature.
  BlankLines(p, 4);
  cv.CurrentX = M(p);
  PrintHeading(p, QStringLiteral("Température"));
  BlankLines(p, 1);
  BodyFont(p);
  PrintBullet(p, M(p), BodyLine(1803, QStringLiteral("equilibre")));
}

} // namespace abrevel

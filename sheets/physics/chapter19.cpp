// Chapter 19: the ideal gas.
//
// Screen 1901 gives the equation of state p × V = n × R × T with the
// meaning and units of its symbols, the Kelvin scale and the laws of
// Mariotte and of Avogadro-Ampère; screen 1902 shows how a real gas behaves
// at constant temperature; screen 1903 reads temperature and pressure at
// our scale and at the scale of the molecules.
#include "sheets/physics/physics.h"

#include "content/texts.h"
#include "toolkit/colors.h"
#include "toolkit/devices.h"

#include <algorithm>

namespace abrevel {

namespace {
const QColor kPaleGreen = RGB(220, 255, 220);
}

void Screen1901(Page &p) {
  Canvas &cv = p.cv();
  ScreenStart(p, QStringLiteral("Équation d'état du gaz parfait"));
  BlankLines(p, 1);
  BodyFont(p);

  // The symbols' card in the right half, eight lines high.
  std::int16_t xl = 0, xr = 0, xt = 0, yt = 0, yb = 0;
  p.step([&] {
    xl = I16(W(p) / 2);
    xr = I16(xl + TW(p, QStringLiteral("WWn : quantité de matière (mol)WW")));
    xt = I16(xl + TW(p, QStringLiteral("WV")));
    yt = I16(cv.CurrentY);
    yb = I16(yt + 8 * L(p));
  });
  WhiteBox(p, xl, yt, xr, yb);
  const QString symbols[] = {
      QStringLiteral("*p* : pression (Pa)"),
      QStringLiteral("*V* : volume (m^{3})"),
      QStringLiteral("*n* : quantité de matière (mol)"),
      QStringLiteral("*T* : température absolue (K)"),
      QStringLiteral("R = 8,31 J · K^{−1} · mol^{−1}"),
  };
  double top = yt + 0.5 * L(p);
  for (const QString &line : symbols) {
    cv.CurrentX = xt;
    cv.CurrentY = top;
    PrintRich(p, line);
    top += 1.5 * L(p);
  }

  // The equation in its card, centred on the left quarter and on the
  // symbols' card's middle line.
  const QString equation = QStringLiteral("WWp x V = n x R x TWW");
  std::int16_t xf1 = 0, xf2 = 0, ym1 = 0, ym2 = 0;
  p.step([&] {
    xf1 = I16(0.25 * W(p) - 0.5 * TW(p, equation));
    xf2 = I16(xf1 + TW(p, equation));
    ym1 = I16((yt + yb) / 2.0 - L(p));
    ym2 = I16((yt + yb) / 2.0 + L(p));
  });
  WhiteBox(p, xf1, ym1, xf2, ym2);
  cv.CurrentY = ym1 + L(p) / 2;
  PrintCentredInBox(p, xf1, xf2, QStringLiteral("*p* × *V* = *n* × R × *T*"), End::Run);
  Highlight(p, xf1, ym1, xf2, ym2, kPaleGreen);
  Highlight(p, xl, yt, xr, yb, kPaleGreen);

  cv.CurrentY = yb;
  BlankLines(p, 2);

  // The absolute temperature from the Celsius temperature, centred.
  const QString kelvin = QStringLiteral("WWT (K) = O (°C) + 273,15WW");
  std::int16_t y3 = 0, y4 = 0, x5 = 0, x6 = 0;
  p.step([&] {
    y3 = I16(cv.CurrentY);
    y4 = I16(y3 + 2 * L(p));
    x5 = I16((W(p) - TW(p, kelvin)) / 2);
    x6 = I16(x5 + TW(p, kelvin));
  });
  WhiteBox(p, x5, y3, x6, y4);
  cv.CurrentX = x5 + TW(p, QStringLiteral("WV"));
  cv.CurrentY = y3 + L(p) / 2;
  PrintRich(p, QStringLiteral("*T* (K) = {S:q} (°C) + 273,15"));
  Highlight(p, x5, y3, x6, y4, kPaleGreen);

  cv.CurrentY = y4;
  BlankLines(p, 2);

  // Two gas laws.
  PrintBullet(p, M(p),
              QStringLiteral(" Loi de Mariotte : ") + BodyLine(1901, QStringLiteral("mariotte")) +
                  QStringLiteral(" *p* × *V* = constante."));
  BlankLines(p, 1);
  PrintBullet(p, M(p),
              QStringLiteral(" Loi d'Avogadro-Ampère : ") +
                  BodyLine(1901, QStringLiteral("avogadro")) + QStringLiteral(" *V*_{m} est"));
  PrintLines(p, M(p), {QStringLiteral("le même pour tous les gaz.")});

  BlankLines(p, 3);
  StoreLine(p);
}

void Screen1902(Page &p) {
  CentredPictureScreen(p, QStringLiteral("Comportement d'un gaz réel"),
                       QStringLiteral("pces1901.gif"));
}

void Screen1903(Page &p) {
  Canvas &cv = p.cv();
  const double s = p.scale;
  ScreenStart(p, QStringLiteral("Interprétation macroscopique et microscopique"));
  BlankLines(p, 1);
  std::int16_t y0 = 0;
  p.step([&] { y0 = I16(cv.CurrentY); });
  cv.Font.Size = 8; // the header stays bold, as the heading left it

  // Three rows as high as the header's picture and its margin. A row holds
  // two lines of text at least, so that a picture missing from the folder
  // leaves the table readable instead of folding it onto itself.
  const PictureSize macro = MeasurePicture(p, QStringLiteral("macro.gif"));
  std::int16_t r = 0, y1 = 0, y2 = 0, y3 = 0, x1 = 0, x2 = 0, x3 = 0;
  p.step([&] {
    r = I16(std::max((macro.height() + 4) * s, 2 * L(p) + 4 * s));
    y1 = I16(y0 + r);
    y2 = I16(y1 + r);
    y3 = I16(y2 + r);
    x1 = I16(0.1 * W(p));
    x2 = I16(0.4 * W(p));
    x3 = I16(0.9 * W(p));
  });

  // The card and its shadow.
  cv.Line(x1 + 3 * s, y0 + 3 * s, x3 + 3 * s, y3 + 3 * s, QBColor(7), LineForm::FilledBox);
  WhiteBox(p, x1, y0, x3, y3);

  // Header: in each cell a picture and its label, centred together.
  const auto headerCell = [&](double left, double right, const PictureSize &picture,
                              const QString &label) {
    std::int16_t xp = 0;
    p.step([&] { xp = I16(((left + right) - TW(p, label) - picture.width() * s) / 2); });
    PaintImage1(p, xp, y0 + 2 * s);
    cv.CurrentX = xp + picture.width() * s;
    cv.CurrentY = (y0 + y1 - L(p)) / 2;
    cv.Print(label);
  };
  headerCell(x1, x2, macro, QStringLiteral(" Point de vue macroscopique "));
  const PictureSize micro = MeasurePicture(p, QStringLiteral("micro.gif"));
  headerCell(x2, x3, micro, QStringLiteral(" Point de vue microscopique "));
  PictureCleanUp(p, false);
  cv.Font.Bold = false;

  // The quantities at the left, their meaning at the right.
  cv.CurrentX = x1;
  cv.CurrentY = (y1 + y2 - L(p)) / 2;
  PrintRich(p, QStringLiteral("   Température absolue *T* (K)"));
  cv.CurrentX = x1;
  cv.CurrentY = (y2 + y3 - L(p)) / 2;
  PrintRich(p, QStringLiteral("   Pression *p* (Pa)"));

  cv.CurrentX = x2;
  cv.CurrentY = (y1 + y2) / 2.0 - L(p);
  PrintRich(p, QStringLiteral("   Elle caractérise l'agitation des molécules du gaz."));
  cv.CurrentX = x2;
  PrintRich(p, QStringLiteral("   Pour *T* = 0 K, il n'y a plus d'agitation."));

  cv.CurrentX = x2;
  cv.CurrentY = (y2 + y3) / 2.0 - L(p);
  PrintRich(p, QStringLiteral("   ") + BodyLine(1903, QStringLiteral("chocs")));
  cv.CurrentX = x2;
  PrintRich(p, QStringLiteral("   À *T* = 0 K, il n'y a plus de chocs donc *p* = 0 Pa."));

  // Rules: yellow between the two quantities, blue around and across.
  cv.Line(x1, y2, x3, y2, QBColor(14));
  cv.Line(x1, y0, x3, y3, QBColor(9), LineForm::Box);
  cv.Line(x1, y1, x3, y1, QBColor(9));
  cv.Line(x2, y0, x2, y3, QBColor(9));
}

} // namespace abrevel

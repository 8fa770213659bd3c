// Chapter 13: the prism, the refractive index, the laws of refraction.
//
// Screen 1301 sets monochromatic and polychromatic light side by side under
// their pictures, screen 1302 defines the refractive index n = c / v and
// says what it depends on, screen 1303 states the two laws of refraction
// beside a ray refracted at a plane surface.
#include "sheets/physics/physics.h"

#include "sheets/physics/columnpair.h"

#include "content/texts.h"
#include "toolkit/colors.h"
#include "toolkit/devices.h"

namespace abrevel {

namespace {

// A column of bulleted lines from (x, y): a line that starts with a space
// gets a bullet and a blank line before it (but the first); a line without
// one continues the line above.
void BulletColumn(Page &p, double x, double y, const QStringList &lines) {
  p.cv().CurrentY = y;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const bool bulleted = lines[i].startsWith(QLatin1Char(' '));
    if (bulleted && i > 0)
      BlankLines(p, 1);
    if (bulleted)
      PrintBullet(p, x, lines[i]);
    else
      PrintLines(p, x, {lines[i]});
  }
}

} // namespace

void Screen1301(Page &p) {
  Canvas &cv = p.cv();
  const std::int16_t Y0 = p.line;
  ScreenStart(p, QStringLiteral(" "));
  BlankLines(p, 1);
  std::int16_t Yp = 0;
  p.step([&] { Yp = I16(cv.CurrentY); });

  // The two headings and their pictures, the columns placed from the first
  // picture's width.
  const auto [XL, XR, w1] = HeadedPicturePair(
      p, Y0, Yp, {QStringLiteral("Lumière monochromatique"), QStringLiteral("pces1301.bmp")},
      {QStringLiteral("Lumière polychromatique"), QStringLiteral("pces1302.bmp")});
  BlankLines(p, 1);
  std::int16_t Yb = 0;
  p.step([&] { Yb = I16(cv.CurrentY); });

  cv.Font.Bold = false;
  cv.Font.Size = 10;
  BulletColumn(p, XL, Yb, Body(1301, QStringLiteral("monochromatique")));
  BulletColumn(p, XR, Yb, Body(1301, QStringLiteral("polychromatique")));

  BlankLines(p, 3);
  StoreLine(p);
}

void Screen1302(Page &p) {
  Canvas &cv = p.cv();
  ScreenStart(p, QStringLiteral("Indice de réfraction d'un milieu transparent et homogène"));
  BlankLines(p, 1);
  cv.Font.Size = 10; // the heading's bold stays on
  std::int16_t Yt = 0, Xm = 0;
  p.step([&] {
    Yt = I16(cv.CurrentY);
    Xm = I16(W(p) * 0.5);
  });
  BlankLines(p, 1);

  // n = c / v in green: the numerator and the denominator half the width of
  // a "W" above and below the line, the bar at 0.7 of that width.
  cv.ForeColor = QBColor(2);
  cv.CurrentX = W(p) * 0.25 - TW(p, QStringLiteral("c = W"));
  PrintItalic(p, QStringLiteral("n"));
  cv.PrintRun(QStringLiteral(" = "));
  std::int16_t top = 0, Xf = 0;
  p.step([&] {
    top = I16(cv.CurrentY);
    Xf = I16(cv.CurrentX);
  });
  const double halfW = TW(p, QStringLiteral("W")) / 2;
  cv.CurrentY = top - halfW;
  PrintItalic(p, QStringLiteral("c"));
  cv.CurrentX = Xf;
  cv.CurrentY = top + halfW;
  PrintItalic(p, QStringLiteral("v"));
  const double bar = top + 0.7 * TW(p, QStringLiteral("W"));
  cv.Line(Xf, bar, Xf + TW(p, QStringLiteral("w")), bar, QBColor(2));

  // Its legend, centred on the left quarter line, from the bar down.
  BlankLines(p, 2);
  const QString legendTemplate = QStringLiteral("v : vitesse de la lumière dans le milieu");
  PrintCentredOn(p, W(p) * 0.25, QStringLiteral("*c* : vitesse de la lumière dans le vide"),
                 End::Line, legendTemplate);
  cv.CurrentY += TH(p, QStringLiteral("W")) / 2;
  PrintCentredOn(p, W(p) * 0.25, QStringLiteral("*v* : vitesse de la lumière dans le milieu"),
                 End::Line, legendTemplate);

  // What n depends on, in the right half.
  cv.ForeColor = QBColor(0);
  cv.Font.Bold = false;
  cv.CurrentY = Yt;
  for (const QString &line : Body(1302, QStringLiteral("indice"))) {
    cv.CurrentX = Xm;
    PrintSymbol(p, QStringLiteral("·"));
    PrintItalic(p, QStringLiteral(" n "));
    PrintRich(p, line);
    BlankLines(p, 1);
  }

  BlankLines(p, 1);
  StoreLine(p);
}

void Screen1303(Page &p) {
  Canvas &cv = p.cv();
  const double s = p.scale;
  ScreenStart(p, QStringLiteral("Lois de Descartes"));
  BlankLines(p, 1);
  cv.Font.Size = 10;
  std::int16_t Yt = 0;
  p.step([&] { Yt = I16(cv.CurrentY); });

  // The first law: bold title (the heading's bold), plain paragraph.
  PrintBullet(p, M(p), QStringLiteral(" Première loi de Descartes"));
  BlankLines(p, 1);
  cv.Font.Bold = false;
  PrintLines(p, M(p), Body(1303, QStringLiteral("plan")));
  BlankLines(p, 1);

  // The second law, in green and bold.
  cv.Font.Bold = true;
  PrintBullet(p, M(p), QStringLiteral(" Seconde loi de Descartes"));
  BlankLines(p, 1);
  cv.ForeColor = QBColor(2);
  PrintCentredOn(p, W(p) * 0.25, QStringLiteral("*n*_{1} sin *i*_{1} = *n*_{2} sin *i*_{2}"),
                 End::Line, QStringLiteral("n1 sin i1 = n2 sin i2"));

  // The refracted ray, centred on the right quarter line.
  const PictureSize picture = MeasurePicture(p, QStringLiteral("pces1303.bmp"));
  PaintImage1(p, W(p) * 0.75 - picture.width() * s * 0.5, Yt);
  PictureCleanUp(p, false);
}

} // namespace abrevel

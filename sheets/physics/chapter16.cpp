// Chapter 16: universal gravitation, weight, the motion of the Moon.
//
// Screen 1601 sets the law of gravitation in a pale green panel beside a
// picture of two masses, with what its letters stand for below; screen 1602
// says what weight is; screen 1603 describes the geocentric frame beside a
// picture of the Earth and the Moon's motion beside a picture of its orbit.
//
// These drawers stop at their first error: a picture that cannot be loaded
// leaves the rest of its screen undrawn.
#include "sheets/physics/physics.h"

#include "content/texts.h"
#include "toolkit/colors.h"
#include "toolkit/devices.h"

namespace abrevel {

namespace {

// Two lines of the right column of 1601: the force (a vector, italic), who
// exerts it and on whom.
void forceLines(Page &p, double x, const QString &force, const QString &from, const QString &on) {
  Canvas &cv = p.cv();
  cv.CurrentX = x;
  PrintSymbol(p, QStringLiteral("· "));
  cv.Font.Italic = true;
  PrintVector(p, force);
  cv.Font.Italic = false;
  cv.PrintRun(QStringLiteral(" : force gravitationnelle exercée par le corps de masse "));
  PrintItalic(p, from);
  cv.Print();
  cv.CurrentX = x;
  cv.PrintRun(QStringLiteral("sur le corps de masse "));
  PrintItalic(p, on);
  cv.Print(QStringLiteral("."));
}

} // namespace

void Screen1601(Page &p) {
  const ErrorRule stopAtFirstError(p, OnError::Stop);
  Canvas &cv = p.cv();
  const double s = p.scale;
  ScreenStart(p, QStringLiteral("Loi de gravitation universelle"));
  BlankLines(p, 1);  // in the heading's size
  cv.Font.Size = 10; // the formula stays bold
  const std::int16_t Yp = I16(cv.CurrentY);

  // The two masses, from the middle of the page rightwards.
  const PictureSize picture = MeasurePicture(p, QStringLiteral("pces1601.jpg"));
  const double h = picture.height();
  PaintImage1(p, W(p) / 2, Yp);
  const std::int16_t Yt = I16(Yp + h * s + TH(p, QStringLiteral("W")));

  // The panel: four lines high, centred on the picture's middle; three W of
  // margin either side of the formula.
  const QString panelTemplate = QStringLiteral("WWWF = F' = G m m'WWW");
  const std::int16_t Yf = I16(Yp + h * s / 2 - TH(p, QStringLiteral("Wq")) / 2);
  const std::int16_t Ya = I16(Yf - 1.5 * TH(p, QStringLiteral("W")));
  const std::int16_t Yz = I16(Yf + 2.5 * TH(p, QStringLiteral("W")));
  const std::int16_t X0 = I16(W(p) / 9);
  const std::int16_t X1 = I16(X0 + TW(p, panelTemplate));
  WhiteBox(p, X0, Ya, X1, Yz);

  // F = F' = G m m' / d², the fraction built over its bar.
  cv.CurrentY = Yf;
  cv.CurrentX = X0 + TW(p, QStringLiteral("WWW"));
  PrintItalic(p, QStringLiteral("F"));
  cv.PrintRun(QStringLiteral(" = "));
  PrintItalic(p, QStringLiteral("F'"));
  cv.PrintRun(QStringLiteral(" = G "));
  const std::int16_t Xn = I16(cv.CurrentX);
  const double numeratorWidth = TW(p, QStringLiteral("m m'"));
  cv.CurrentY = Yf - TH(p, QStringLiteral("W")) / 2;
  PrintItalic(p, QStringLiteral("m m'"));
  // The denominator low enough that its raised exponent clears the bar by
  // as much as the numerator does, the exponent a hair clear of the
  // slanted d.
  cv.CurrentX = Xn + numeratorWidth / 2 - TW(p, QStringLiteral("d"));
  cv.CurrentY = Yf + 0.85 * TH(p, QStringLiteral("W"));
  PrintItalic(p, QStringLiteral("d"));
  cv.CurrentX = cv.CurrentX + 1 * s;
  PrintSuperscript(p, QStringLiteral("2"));
  const double bar = (Ya + Yz) / 2.0;
  cv.Line(Xn, bar, Xn + numeratorWidth, bar, QBColor(0));

  // The white turns pale green; the black formula stays black.
  Highlight(p, X0, Ya, X1, Yz, RGB(220, 255, 220));

  // Under the picture: the constant and the units on the left, the two
  // forces on the right.
  cv.Font.Bold = false;
  cv.CurrentY = Yt;
  PrintBullet(p, M(p), QStringLiteral(" G = 6,67 · 10^{−11} N · kg^{−2} · m^{2}."));
  BlankLines(p, 1);
  PrintBullet(p, M(p), QStringLiteral("*m* et *m'* en kg."));
  BlankLines(p, 1);
  PrintBullet(p, M(p), QStringLiteral("*d* en m."));

  cv.CurrentY = Yt;
  forceLines(p, W(p) / 2, QStringLiteral("F"), QStringLiteral("m'"), QStringLiteral("m"));
  BlankLines(p, 1);
  forceLines(p, W(p) / 2, QStringLiteral("F'"), QStringLiteral("m"), QStringLiteral("m'"));

  BlankLines(p, 3);
  PictureCleanUp(p, false);
  StoreLine(p);
}

void Screen1602(Page &p) {
  const ErrorRule stopAtFirstError(p, OnError::Stop);
  Canvas &cv = p.cv();
  ScreenStart(p, QStringLiteral("Pesanteur"));
  BlankLines(p, 1); // in the heading's size
  BodyFont(p);

  cv.CurrentX = M(p);
  cv.Print(QStringLiteral("Le poids d'un corps sur Terre est :"));
  BlankLines(p, 1);
  PrintBullet(p, M(p), BodyLine(1602, QStringLiteral("attraction")));
  BlankLines(p, 1);
  PrintBullet(p, M(p), BodyLine(1602, QStringLiteral("lune")));
  BlankLines(p, 1);
  PrintLines(p, M(p), Body(1602, QStringLiteral("trajectoire")));

  BlankLines(p, 3);
  StoreLine(p);
}

void Screen1603(Page &p) {
  const ErrorRule stopAtFirstError(p, OnError::Stop);
  Canvas &cv = p.cv();
  const double s = p.scale;
  ScreenStart(p, QStringLiteral("Mouvement de la Lune dans le référentiel géocentrique"));
  BlankLines(p, 1); // in the heading's size
  BodyFont(p);
  const std::int16_t Yp = I16(cv.CurrentY);

  // Left of the Earth: the geocentric frame, then the picture's axes,
  // indented past the margin.
  PrintBulletParagraph(p, M(p), Body(1603, QStringLiteral("geocentrique")));
  BlankLines(p, 1);
  const double indent = W(p) / 15;
  PrintLines(p, indent, Body(1603, QStringLiteral("axes")));
  BlankLines(p, 1);
  cv.CurrentX = indent;
  cv.Print(QStringLiteral("Les axes noirs représentent le référentiel terrestre."));

  // The Earth and its axes, then the Moon's orbit one line below it.
  const PictureSize earth = MeasurePicture(p, QStringLiteral("pces1602.gif"));
  PaintImage1(p, W(p) / 2, Yp);
  const std::int16_t Y2 = I16(Yp + earth.height() * s + TH(p, QStringLiteral("W")));
  MeasurePicture(p, QStringLiteral("pces1603.gif"));
  PaintImage1(p, W(p) / 2, Y2);

  // Beside the orbit: the Moon's motion.
  cv.CurrentY = Y2;
  PrintBulletParagraph(p, M(p), Body(1603, QStringLiteral("lune")));
  PictureCleanUp(p, false);
}

} // namespace abrevel

// Chapter 12: the propagation of light and the light-year.
//
// Screen 1201 shows a beam of light going both ways from the middle of the
// screen (one picture, drawn as it is and mirrored), how light travels, and
// two applications side by side: sighting with Thales' theorem and the echo
// technique, each with its formula. Screen 1202 defines the light-year and
// why seeing far is seeing the past.
#include "sheets/physics/physics.h"

#include "content/texts.h"
#include "toolkit/colors.h"
#include "toolkit/devices.h"

namespace abrevel {

void Screen1201(Page &p) {
  Canvas &cv = p.cv();
  const double s = p.scale;
  ScreenStart(p, QStringLiteral("Propagation de la lumière"));
  cv.Font.Size = 10;
  cv.Font.Bold = false;
  BlankLines(p, 1);
  PrintCentredOnPage(
      p, QStringLiteral("La propagation de la lumière dans le vide ou dans l'air se fait :"));
  const double Yt = cv.CurrentY + 5 * s;

  // The beam leaves the right half towards the right; the same picture,
  // turned left to right in the buffer, leaves the left half towards the
  // left.
  PrepareKeyed(p, QStringLiteral("pces1204.bmp"), false);
  const double wB = p.Picturetampon.Width(), hB = p.Picturetampon.Height();
  PaintKeyed(p, W(p) * 0.75 - wB * s, Yt);
  p.step([&] { p.Image1.setPicture(p.Picturetampon.ImagePicture()); });
  p.Picturetampon.Cls();
  p.step([&] {
    p.Picturetampon.paintStretched(p.Image1.Picture(), p.Image1.Width(), 0, -p.Image1.Width(),
                                   p.Image1.Height());
  });
  PaintKeyed(p, W(p) * 0.25, Yt);
  std::int16_t Yb = 0;
  p.step([&] { Yb = I16(Yt + hB * s + L(p)); });

  // How it travels: straight on (left), at the limit speed c (right).
  cv.CurrentY = Yb;
  PrintCentredOnPage(p, QStringLiteral("et"), End::Run);
  cv.Font.Bold = true;
  cv.ForeColor = QBColor(2);
  cv.CurrentY = Yb;
  PrintCentredOn(p, W(p) * 0.25, QStringLiteral("en ligne droite"), End::Run);
  cv.CurrentY = Yb - 0.6 * L(p);
  PrintCentredOn(p, W(p) * 0.75, QStringLiteral("à la vitesse limite de"), End::Run);
  cv.CurrentY = Yb + 0.6 * L(p);
  PrintCentredOn(p, W(p) * 0.75, QStringLiteral("*c* = 3,00 · 10^L{8} m · s^L{−1}"), End::Run,
                 QStringLiteral("c = 3,00.108 m.s-1"));
  cv.Font.Size = 10;
  cv.Font.Bold = false;
  cv.ForeColor = QBColor(0);
  BlankLines(p, 1);

  // Left: sighting. Its picture's width places both columns.
  std::int16_t Yc = 0;
  p.step([&] { Yc = I16(cv.CurrentY); });
  const PictureSize sighting = MeasurePicture(p, QStringLiteral("pces1201.bmp"));
  const double w = sighting.width() * s;
  const double Xl = W(p) * 0.25 - w / 2;
  PrintLines(p, Xl,
             {QStringLiteral("Application : la visée et des mesures d'angles"),
              QStringLiteral("ou de distances.")});
  const double Yt2 = cv.CurrentY + 5 * s;
  PaintImage1(p, Xl, Yt2);

  // Right: the echo, its one-line caption centred beside the two on the
  // left. The two pictures are drawn the same size: should one of them be
  // missing, the other stands for it, so that the right column keeps inside
  // the page and the text below clears the pictures.
  const PictureSize echo = MeasurePicture(p, QStringLiteral("pces1202.bmp"));
  const double Xr = W(p) * 0.75 - (w > 0 ? w : echo.width() * s) / 2;
  cv.CurrentY = Yc + L(p) / 2;
  PrintLines(p, Xr, {QStringLiteral("Application : la technique de l'écho.")});
  PaintImage1(p, Xr, Yt2);

  // Under the pictures: what each application measures.
  const int h = echo.height() > 0 ? echo.height() : sighting.height();
  const double Y3 = (h + 5) * s + Yt2;
  cv.CurrentY = Y3;
  PrintLines(p, Xl, Body(1201, QStringLiteral("visee")));
  const QStringList echoLines = Body(1201, QStringLiteral("echo"));
  cv.CurrentX = Xr;
  cv.CurrentY = Y3;
  cv.PrintRun(QStringLiteral("Si "));
  cv.Font.Size = 14;
  cv.CurrentY = cv.CurrentY - 4 * s;
  PrintSymbol(p, QStringLiteral("t"));
  cv.CurrentY = cv.CurrentY + 4 * s;
  cv.Font.Size = 10;
  p.step([&] { cv.SetFontName(QStringLiteral("Arial")); });
  PrintRich(p, echoLines.value(0));
  PrintLines(p, Xr, echoLines.mid(1));
  BlankLines(p, 1);

  // The two formulas on one line: h / d = H / D on the left, 2D = c·τ on
  // the right.
  const double Yf = cv.CurrentY;
  cv.Font.Bold = true;
  const double barY = Yf + 0.6 * TW(p, QStringLiteral("W"));
  cv.CurrentX = W(p) * 0.25 - TW(p, QStringLiteral("d = D")) / 2;
  const auto ratio = [&](const QString &numerator, const QString &denominator) {
    const double x = cv.CurrentX;
    cv.CurrentY = Yf - L(p) / 2;
    PrintItalic(p, numerator);
    cv.Line(x, barY, cv.CurrentX, barY, QBColor(0));
    cv.CurrentX = x;
    cv.CurrentY = Yf + L(p) / 2;
    PrintItalic(p, denominator);
    cv.CurrentY = Yf;
  };
  ratio(QStringLiteral("h"), QStringLiteral("d"));
  cv.PrintRun(QStringLiteral(" = "));
  ratio(QStringLiteral("H"), QStringLiteral("D"));

  cv.CurrentX = W(p) * 0.75 - TW(p, QStringLiteral("2D = c.T")) / 2;
  cv.CurrentY = Yf;
  PrintRich(p, QStringLiteral("2*D* = "), End::Run);
  PrintItalic(p, QStringLiteral("c · "));
  // τ in 14 points, its cell's bottom one unit under the line's.
  const double bottom = cv.CurrentY + TH(p, QStringLiteral("Wq"));
  cv.Font.Bold = false;
  cv.Font.Size = 14;
  cv.CurrentY = bottom - TH(p, QStringLiteral("Wq")) + 1;
  PrintSymbol(p, QStringLiteral("t"));
  p.step([&] { cv.SetFontName(QStringLiteral("Arial")); });

  // The font stays at 14 points for the closing blank lines.
  BlankLines(p, 4);
  StoreLine(p);
  PictureCleanUp(p, true);
}

void Screen1202(Page &p) {
  Canvas &cv = p.cv();
  const double s = p.scale;
  ScreenStart(p, QStringLiteral("L'année-lumière"));
  cv.Font.Size = 10;
  cv.Font.Bold = false;
  BlankLines(p, 1);
  PrintLines(p, W(p) * 0.05, Body(1202, QStringLiteral("definition")));
  BlankLines(p, 1);
  std::int16_t Yp = 0;
  p.step([&] { Yp = I16(cv.CurrentY); });
  BlankLines(p, 1);

  // The order of magnitude, in green, on the left.
  cv.Font.Bold = true;
  cv.ForeColor = QBColor(2);
  PrintCentredOn(p, W(p) * 0.25, QStringLiteral("1 al {S:»} 10^L{13} km"), End::Line,
                 QStringLiteral("1 al = 1013 km"));
  BlankLines(p, 1);
  cv.Font.Bold = false;
  cv.ForeColor = QBColor(0);

  PrintBulletParagraph(p, W(p) * 0.05, Body(1202, QStringLiteral("trajet")));
  BlankLines(p, 1);
  PrintBulletParagraph(p, W(p) * 0.05, Body(1202, QStringLiteral("passe")));
  BlankLines(p, 1);
  p.step([&] { cv.SetFontName(QStringLiteral("Arial")); });
  PrintBulletParagraph(p, W(p) * 0.05, Body(1202, QStringLiteral("loin")));

  // From the star to the Earth, on the right.
  const PictureSize travel = MeasurePicture(p, QStringLiteral("pces1203.bmp"));
  PaintImage1(p, W(p) * 0.75 - travel.width() * s * 0.5, Yp);
  PictureCleanUp(p, false);
}

} // namespace abrevel

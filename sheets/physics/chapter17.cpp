// Chapter 17: locating events in time; period and frequency.
//
// Screen 1701 shows how periodic phenomena give the calendar and the
// standards of duration: cards for the calendar, the standard and three
// astronomical phenomena, chained by arrow pictures to a man-made
// time-keeper. Screen 1702 defines period and frequency, with the formula
// f = 1 / T and its units on two cards.
#include "sheets/physics/physics.h"

#include "content/texts.h"
#include "toolkit/colors.h"
#include "toolkit/devices.h"

namespace abrevel {

namespace {

const QColor kPaleYellow = RGB(255, 255, 180);
const QColor kPaleGreen = RGB(220, 255, 220);

// A card: a white box, its lines centred on the box and stacked about its
// middle, then the tint over the whole box.
void Card(Page &p, double x1, double y1, double x2, double y2, const QStringList &lines,
          const QColor &tint) {
  Canvas &cv = p.cv();
  WhiteBox(p, x1, y1, x2, y2);
  cv.CurrentY = (y1 + y2) / 2 - lines.size() * L(p) / 2;
  for (const QString &line : lines)
    PrintCentredOn(p, (x1 + x2) / 2, line);
  Highlight(p, x1, y1, x2, y2, tint);
}

} // namespace

void Screen1701(Page &p) {
  Canvas &cv = p.cv();
  const double s = p.scale;
  ScreenStart(p, QStringLiteral("Comment se repérer dans le temps ?"));
  BlankLines(p, 1);
  BodyFont(p);

  PrintLines(p, M(p), Body(1701, QStringLiteral("introduction")));
  BlankLines(p, 1);

  // The two column titles on one row.
  PrintBullet(p, M(p), QStringLiteral("Phénomènes astronomiques"), End::Run);
  PrintBullet(p, 0.65 * W(p), QStringLiteral("Dispositifs construits par l'homme"), End::Run);
  BlankLines(p, 1);

  // The calendar, centred on the page, three lines high.
  std::int16_t yA = 0, yB = 0, xL = 0, xR = 0;
  p.step([&] {
    yA = I16(cv.CurrentY);
    yB = I16(yA + 3 * L(p));
    xL = I16(W(p) / 2 - TW(p, QStringLiteral("WWWWW")));
    xR = I16(W(p) / 2 + TW(p, QStringLiteral("WWWWW")));
  });
  Card(p, xL, yA, xR, yB, {QStringLiteral("Calendrier")}, kPaleYellow);

  // The standard of duration under it, the arrow picture between them.
  std::int16_t yC = 0, yD = 0, ym = 0;
  const PictureSize up = PrepareKeyed(p, QStringLiteral("pces1705.bmp"));
  PaintKeyed(p, W(p) / 2 - up.width() * s / 2, yB);
  p.step([&] {
    yC = I16(yB + up.height() * s);
    yD = I16(yC + (yB - yA));
    ym = I16((yC + yD) / 2.0);
  });
  Card(p, xL, yC, xR, yD, {QStringLiteral("Étalon"), QStringLiteral("de durée")}, kPaleYellow);

  // The man-made time-keeper at the right, its arrow pointing at the
  // standard; both centred on the standard's middle line.
  std::int16_t x2 = 0;
  const PictureSize arrow = PrepareKeyed(p, QStringLiteral("pces1706.bmp"));
  PaintKeyed(p, xR, ym - arrow.height() * s / 2);
  p.step([&] { x2 = I16(xR + arrow.width() * s); });
  const PictureSize keeper = PrepareKeyed(p, QStringLiteral("pces1701.bmp"));
  PaintKeyed(p, x2, ym - keeper.height() * s / 2);

  // The astronomical phenomena at the left: the moon level with the
  // standard, day and night above, the seasons below, each linked to the
  // standard by its arrow picture.
  const double cw = xR - xL, ch = yD - yC;
  std::int16_t xL2 = 0, xR2 = 0, yE = 0, yG = 0;
  const PictureSize moonArrow = PrepareKeyed(p, QStringLiteral("pces1704.bmp"));
  p.step([&] {
    xR2 = I16(xL - moonArrow.width() * s);
    xL2 = I16(xR2 - cw);
  });
  PaintKeyed(p, xR2, ym - moonArrow.height() * s / 2);
  const PictureSize dayArrow = PrepareKeyed(p, QStringLiteral("pces1702.bmp"));
  PaintKeyed(p, xR2, yC - dayArrow.height() * s);
  PrepareKeyed(p, QStringLiteral("pces1703.bmp"));
  PaintKeyed(p, xR2, yD);

  p.step([&] {
    yE = I16(yC - 1.5 * ch);
    yG = I16(yC + 1.5 * ch);
  });
  Card(p, xL2, yC, xR2, yD, {QStringLiteral("Phases de"), QStringLiteral("la Lune")}, kPaleGreen);
  Card(p, xL2, yE, xR2, yE + ch,
       {QStringLiteral("Alternance du jour"), QStringLiteral("et de la nuit")}, kPaleGreen);
  Card(p, xL2, yG, xR2, yG + ch, {QStringLiteral("Les saisons")}, kPaleGreen);

  BlankLines(p, 3);
  PictureCleanUp(p, true);
  StoreLine(p);
}

void Screen1702(Page &p) {
  Canvas &cv = p.cv();
  ScreenStart(p, QStringLiteral("Période et fréquence"));
  BlankLines(p, 1);
  BodyFont(p);

  // The two definitions side by side.
  std::int16_t yt = 0;
  p.step([&] { yt = I16(cv.CurrentY); });
  PrintBulletParagraph(p, M(p), Body(1702, QStringLiteral("periode")));
  cv.CurrentY = yt;
  PrintBullet(p, 0.6 * W(p), QStringLiteral("La fréquence est l'inverse de la période."));
  BlankLines(p, 1);

  // The formula card and the units card, side by side under the frequency.
  std::int16_t yb = 0, yb2 = 0, xa = 0, xa2 = 0, xb = 0, xb2 = 0;
  p.step([&] {
    yb = I16(cv.CurrentY);
    yb2 = I16(yb + 3 * L(p));
    xa = I16(0.6 * W(p));
    xa2 = I16(xa + TW(p, QStringLiteral("WWf = TWW")));
    xb = I16(xa2 + TW(p, QStringLiteral("WW")));
    xb2 = I16(xb + TW(p, QStringLiteral("WT en seconde (s)W")));
  });
  WhiteBox(p, xa, yb, xa2, yb2);
  WhiteBox(p, xb, yb, xb2, yb2);
  const double middle = (yb + yb2) / 2.0;

  // f = 1 / T, the fraction built on a bar one "W" wide.
  cv.CurrentX = xa + TW(p, QStringLiteral("WV"));
  cv.CurrentY = (yb + yb2 - L(p)) / 2;
  PrintRich(p, QStringLiteral("*f* = "), End::Run);
  std::int16_t xf = 0;
  p.step([&] { xf = I16(cv.CurrentX); });
  PrintFraction(p, xf, middle, TW(p, QStringLiteral("W")), QStringLiteral("1"),
                QStringLiteral("*T*"));

  // The units, one above the middle line and one below it.
  std::int16_t xc = 0;
  p.step([&] { xc = I16(xb + TW(p, QStringLiteral("W"))); });
  cv.CurrentX = xc;
  cv.CurrentY = middle - L(p);
  PrintRich(p, QStringLiteral("*T* en seconde (s)"));
  cv.CurrentX = xc;
  cv.CurrentY = middle;
  PrintRich(p, QStringLiteral("*f* en hertz (Hz)"));

  Highlight(p, xa, yb, xa2, yb2, kPaleGreen);
  Highlight(p, xb, yb, xb2, yb2, kPaleGreen);
}

} // namespace abrevel

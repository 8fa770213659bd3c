// Chapter 5: from the atom to chemical edifices.
//
// Screen 501 sets the duet and octet rules beside the Lewis model, then
// monoatomic ions beside molecules, with the stable structures and a shared
// pair between the two pairs of headings; screen 502 shows one molecule in
// its different representations; screen 503 the geometry of ammonia, its
// Lewis and Cram representations either side of the centre.
#include "sheets/chemistry/chemistry.h"

#include "content/texts.h"
#include "toolkit/colors.h"
#include "toolkit/devices.h"

#include <algorithm>

namespace abrevel {

namespace {

// Two headings on one line top y: the left at M, the right at W / 2.
void headingsAt(Page &p, double y, const QString &left, const QString &right) {
  Canvas &cv = p.cv();
  cv.CurrentX = M(p);
  cv.CurrentY = y;
  PrintHeading(p, left);
  cv.CurrentX = W(p) / 2;
  cv.CurrentY = y;
  PrintHeading(p, right);
}

} // namespace

void Screen501(Page &p) {
  Canvas &cv = p.cv();
  const double s = p.scale;
  HeadingsSideBySide(p, QStringLiteral("Règles du duet et de l'octet"),
                     QStringLiteral("Modèle de Lewis"));
  cv.Font.Size = 10;
  BlankLines(p, 1);
  cv.Font.Bold = false;

  // Two rows printed line by line: the rule on the left, the covalent bond
  // on the right.
  const QStringList rule = Body(501, QStringLiteral("rule"));
  const QStringList bond = Body(501, QStringLiteral("bond"));
  PrintBullet(p, M(p), rule.value(0), End::Run);
  PrintBullet(p, W(p) / 2, bond.value(0));
  std::int16_t y2 = 0;
  p.step([&] { y2 = I16(cv.CurrentY); });
  cv.CurrentX = M(p);
  PrintRich(p, rule.value(1), End::Run);
  cv.CurrentX = W(p) / 2;
  PrintRich(p, bond.value(1));
  const double rowBottom = cv.CurrentY;

  // The stable structures beside row 2, their right edge at 0.49 W.
  const PictureSize structures = PrepareKeyed(p, QStringLiteral("pces502.gif"));
  std::int16_t yb = y2;
  p.step([&] {
    PaintKeyed(p, 0.49 * W(p) - structures.width() * s, y2);
    yb = I16(y2 + structures.height() * s);
  });

  // The shared pair, composed once and painted under each heading, bottoms
  // on yb. Its rectangle is opaque: should the picture beside row 2 be
  // missing or shorter than it, the bottom comes down so that it still
  // starts under row 2.
  const PictureSize pair = PrepareKeyed(p, QStringLiteral("pces501.gif"));
  p.step([&] {
    const double h = pair.height() * s;
    yb = I16(std::max<double>(yb, rowBottom + h));
    PaintKeyed(p, 0.1 * W(p), yb - h);
    PaintKeyed(p, 0.6 * W(p), yb - h);
  });

  // Monoatomic ions beside molecules, half a line below the pictures.
  std::int16_t y3 = yb;
  p.step([&] { y3 = I16(yb + L(p) / 2); });
  headingsAt(p, y3, QStringLiteral("Ions monoatomiques"), QStringLiteral("Molécules"));
  cv.Font.Size = 10;
  BlankLines(p, 1);
  cv.Font.Bold = false;
  std::int16_t yc = 0;
  p.step([&] { yc = I16(cv.CurrentY); });

  // The left column first; the next screen of the chapter starts below it.
  PrintBulletParagraph(p, M(p), Body(501, QStringLiteral("cations")));
  BlankLines(p, 1);
  PrintBulletParagraph(p, M(p), Body(501, QStringLiteral("anions")));
  BlankLines(p, 3);
  StoreLine(p);

  cv.CurrentY = yc;
  PrintBulletParagraph(p, W(p) / 2, Body(501, QStringLiteral("molecule")));
  BlankLines(p, 1);
  PrintBulletParagraph(p, W(p) / 2, Body(501, QStringLiteral("pairs")));

  PictureCleanUp(p, true);
}

void Screen502(Page &p) {
  Canvas &cv = p.cv();
  const double s = p.scale;
  ScreenStart(p, QStringLiteral("Différentes représentations d'une molécule"));
  BlankLines(p, 1); // in the heading's size
  std::int16_t yp = 0;
  p.step([&] { yp = I16(cv.CurrentY); });

  const PictureSize molecule = PrepareKeyed(p, QStringLiteral("pces503.gif"));
  std::int16_t yb = yp;
  p.step([&] {
    PaintKeyed(p, W(p) / 2 - molecule.width() * s / 2, yp);
    yb = I16(yp + molecule.height() * s);
  });
  PictureCleanUp(p, true);
  cv.CurrentY = yb;

  BodyFont(p);
  p.step([&] { cv.SetFontName(QStringLiteral("Arial")); });
  BlankLines(p, 3);
  StoreLine(p);
}

void Screen503(Page &p) {
  Canvas &cv = p.cv();
  const double s = p.scale;
  ScreenStart(p, QStringLiteral("Géométrie"));
  cv.Font.Size = 10;
  BlankLines(p, 1);
  cv.Font.Bold = false;

  PrintLines(p, M(p), Body(503, QStringLiteral("repulsion")));
  BlankLines(p, 1);
  std::int16_t yp = 0;
  p.step([&] { yp = I16(cv.CurrentY); });

  // Lewis on the left of the centre, Cram on the right, 10 pixels apart
  // from it.
  const PictureSize lewis = MeasurePicture(p, QStringLiteral("pces504.gif"));
  PaintImage1(p, W(p) / 2 - (10 + lewis.width()) * s, yp);
  MeasurePicture(p, QStringLiteral("pces505.gif"));
  PaintImage1(p, W(p) / 2 + 10 * s, yp);

  p.Image1.setPicture(LoadPicture());
}

} // namespace abrevel

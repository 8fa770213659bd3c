// Chapter 6: the periodic classification of the chemical elements.
//
// Screen 601 shows Mendeleïev's medallion over the restricted periodic
// table: the table is painted first and the medallion covers the empty top
// of its first row. Screen 602 repeats the table with the three rules of
// the classification under it. The printed chapter lays both out as one
// sheet, the medallion fully above the table.
#include "sheets/chemistry/chemistry.h"

#include "content/texts.h"
#include "toolkit/colors.h"
#include "toolkit/devices.h"

namespace abrevel {

namespace {

const QString kMedallion = QStringLiteral("pces601.gif");
const QString kTable = QStringLiteral("pces602.gif");

// The heading, the bulleted line on Mendeleïev and the given number of
// blank lines after it. Returns where the pictures start.
std::int16_t mendeleievIntro(Page &p, int blankLines) {
  Canvas &cv = p.cv();
  ScreenStart(p, QStringLiteral("Classification périodique restreinte"));
  cv.Font.Size = 10;
  BlankLines(p, 1);
  cv.Font.Bold = false;
  PrintBullet(p, M(p), BodyLine(601, QStringLiteral("mendeleiev")));
  BlankLines(p, blankLines);
  std::int16_t y0 = 0;
  p.step([&] { y0 = I16(cv.CurrentY); });
  return y0;
}

// A keyed picture centred on the page, its top at y. Returns its height on
// the target.
double keyedCentred(Page &p, const QString &file, double y) {
  const PictureSize size = PrepareKeyed(p, file);
  const double s = p.scale;
  PaintKeyed(p, W(p) / 2 - size.width() * s / 2, y);
  return size.height() * s;
}

// The three rules of the classification from CurrentY down, each one and a
// half lines below the top of the one before.
void classificationRules(Page &p) {
  Canvas &cv = p.cv();
  cv.Font.Size = 10;
  cv.Font.Bold = false;
  p.step([&] { cv.SetFontName(QStringLiteral("Arial")); });
  cv.ForeColor = QBColor(0);

  cv.CurrentY += 1.5 * L(p);
  PrintBullet(p, M(p), BodyLine(602, QStringLiteral("order")), End::Run);
  cv.CurrentY += 1.5 * L(p);
  PrintBullet(p, M(p), BodyLine(602, QStringLiteral("rows")), End::Run);
  cv.CurrentY += 1.5 * L(p);
  PrintBulletParagraph(p, M(p), Body(602, QStringLiteral("families")));
}

} // namespace

void Screen601(Page &p) {
  const double s = p.scale;
  const std::int16_t y0 = mendeleievIntro(p, 1);

  // The table goes first, 0.65 of the medallion's height down; the
  // medallion, painted over it, covers the top of its first row.
  const double h1 = MeasurePicture(p, kMedallion).height();
  keyedCentred(p, kTable, y0 + 0.65 * h1 * s);
  keyedCentred(p, kMedallion, y0);

  PictureCleanUp(p, true);
}

// Stops at its first error: without its table it draws nothing at all.
void Screen602(Page &p) {
  const ErrorRule stopAtFirstError(p, OnError::Stop);
  Canvas &cv = p.cv();
  std::int16_t y = p.line;
  y = I16(y + keyedCentred(p, kTable, y));
  PictureCleanUp(p, true);
  cv.CurrentY = y;
  classificationRules(p);
}

// The printed chapter: the medallion, the table a fifth of the medallion's
// height below it, then the rules.
void PrintSheet6(Page &p) {
  const std::int16_t y0 = mendeleievIntro(p, 3);
  const double h1 = keyedCentred(p, kMedallion, y0);
  std::int16_t y1 = y0, y2 = y0;
  p.step([&] { y1 = I16(y0 + 1.2 * h1); });
  const double h2 = keyedCentred(p, kTable, y1);
  p.step([&] { y2 = I16(y1 + h2); });
  PictureCleanUp(p, true);
  p.cv().CurrentY = y2;
  classificationRules(p);
}

} // namespace abrevel

// Chapter 1: origin and classification of chemical species.
//
// Screen 101 sets a natural and a synthetic species side by side under one
// caption; screen 102 classifies species by their hazards, by what their
// combustion gives and by their solubility.
#include "sheets/chemistry/chemistry.h"

#include "content/texts.h"
#include "toolkit/colors.h"
#include "toolkit/devices.h"

#include <array>

namespace abrevel {

void Screen101(Page &p) {
  Canvas &cv = p.cv();
  const double s = p.scale;
  ScreenStart(p, QStringLiteral("Origine d'une espèce chimique"));
  BlankLines(p, 2);
  std::int16_t Yp = 0;
  p.step([&] { Yp = I16(cv.CurrentY); });

  // The natural species left of the middle, the synthetic one right of it.
  // The first picture's size places both labels.
  std::int16_t Xa = 0, Xb = 0, h1 = 0;
  const PictureSize first = PrepareKeyed(p, QStringLiteral("pces101.bmp"), false);
  p.step([&] {
    const double w1 = first.width() * s;
    Xa = I16(W(p) * 0.45 - w1 / 2);
    Xb = I16(W(p) * 0.55 + w1 / 2);
    h1 = I16(first.height() * s);
    PaintKeyed(p, W(p) * 0.45 - w1, Yp);
  });
  PrepareKeyed(p, QStringLiteral("pces102.bmp"), false);
  PaintKeyed(p, W(p) * 0.55, Yp);

  // Each label straddles the bottom of its picture; the caption below both.
  cv.Font.Size = 10;
  cv.Font.Bold = true;
  std::int16_t Yl = 0;
  p.step([&] {
    Yl = I16(Yp + h1 - 0.5 * L(p));
    cv.CurrentY = Yl;
    PrintCentredOn(p, Xa, QStringLiteral("Origine naturelle"), End::Run);
    cv.CurrentY = Yl;
    PrintCentredOn(p, Xb, QStringLiteral("Origine synthétique"), End::Run);
    cv.CurrentY = Yl + 1.5 * L(p);
    PrintCentredOnPage(p, QStringLiteral("Espèce chimique"));
  });

  BlankLines(p, 4);
  PictureCleanUp(p, true);
  StoreLine(p);
}

void Screen102(Page &p) {
  Canvas &cv = p.cv();
  const double s = p.scale;
  ScreenStart(p, QStringLiteral("Classement des espèces chimiques"));
  cv.Font.Size = 10;
  cv.Font.Italic = false;
  cv.Font.Bold = true;
  BlankLines(p, 1);
  cv.Font.Underline = false;
  cv.ForeColor = QBColor(0);

  // Hazards: four pictograms in a row, each with its label under it. The
  // first pictogram's size lays out all four.
  PrintBullet(p, M(p), QStringLiteral(" Dangers des espèces chimiques"));
  BlankLines(p, 1);
  std::int16_t Yp = 0;
  p.step([&] { Yp = I16(cv.CurrentY); });
  struct Pictogram {
    int k; // column, in elevenths of the width
    const char *file;
    const char *label;
  };
  static constexpr std::array<Pictogram, 4> pictograms = {{
      {2, "pces103a.bmp", "Inflammable"},
      {4, "pces103b.bmp", "Corrosif"},
      {6, "pces103c.bmp", "Nocif ou irritant"},
      {8, "pces103d.bmp", "Toxique"},
  }};
  const PictureSize measured = MeasurePicture(p, QLatin1String(pictograms[0].file));
  const double wM = measured.width() * s;
  const double hM = measured.height() * s;
  // Each pictogram is a diamond: the corners around it are keyed out, so
  // that the page shows through them.
  for (const Pictogram &pictogram : pictograms) {
    PrepareKeyed(p, QLatin1String(pictogram.file), false);
    PaintKeyed(p, pictogram.k * (W(p) / 11), Yp);
  }
  cv.Font.Size = 10;
  cv.Font.Bold = false;
  for (const Pictogram &pictogram : pictograms) {
    const double x = pictogram.k * (W(p) / 11);
    cv.CurrentY = Yp + hM;
    PrintCentredInBox(p, x, x + wM, QString::fromUtf8(pictogram.label));
  }

  cv.Font.Size = 10;
  cv.Font.Bold = true;
  BlankLines(p, 1);
  PrinterBlankLine(p);

  // Organic and inorganic species.
  PrintBullet(p, M(p), QStringLiteral(" Espèces chimiques organiques et inorganiques"));
  BlankLines(p, 1);
  cv.Font.Bold = false;
  PrintLines(p, M(p), Body(102, QStringLiteral("organiques")));
  BlankLines(p, 1);
  PrinterBlankLine(p);

  // Solubility: a soluble and an insoluble species, the labels placed with
  // the second picture's size.
  cv.Font.Bold = true;
  PrintBullet(p, M(p), QStringLiteral(" Solubilité des espèces chimiques"));
  BlankLines(p, 1);
  cv.Font.Bold = false;
  PrintLines(p, M(p), Body(102, QStringLiteral("solvant")));
  BlankLines(p, 1);
  p.step([&] { Yp = I16(cv.CurrentY); });
  PictureSize last = PrepareKeyed(p, QStringLiteral("pces104a.bmp"), false);
  PaintKeyed(p, W(p) * 0.4 - last.width() * s / 2, Yp);
  last = PrepareKeyed(p, QStringLiteral("pces104b.bmp"), false);
  PaintKeyed(p, W(p) * 0.6 - last.width() * s / 2, Yp);
  const double wI = last.width() * s;
  const double hI = last.height() * s;
  const QString soluble = QStringLiteral("Espèce chimique soluble");
  cv.CurrentX = W(p) * 0.4 - wI - TW(p, soluble);
  cv.CurrentY = Yp + hI / 2 - TH(p, soluble) / 2;
  cv.Print(soluble);
  const QString insoluble = QStringLiteral("Espèce chimique insoluble");
  cv.CurrentX = W(p) * 0.6 + wI;
  cv.CurrentY = Yp + hI / 2 - TH(p, insoluble) / 2;
  cv.Print(insoluble);

  PictureCleanUp(p, true);
}

} // namespace abrevel

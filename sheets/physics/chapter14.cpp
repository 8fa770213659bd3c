// Chapter 14: the messages of light.
//
// Screen 1401 sets emission and absorption spectra side by side in four
// framed tables under the two spectroscopes: thermal spectra, the bands of
// a coloured solution, and the lines of mercury vapour. Screen 1402 says
// why lines are the signature of an atom or an ion, beside the absorption
// and emission spectra of mercury, whose lines fall in the same places.
#include "sheets/physics/physics.h"

#include "sheets/physics/columnpair.h"

#include "content/texts.h"
#include "toolkit/colors.h"
#include "toolkit/devices.h"
#include "toolkit/framedtable.h"

#include <algorithm>

namespace abrevel {

namespace {

// An exponent 5 × s above the line top, in 8 points; the size and the line
// come back afterwards.
void RaisedBy5(Page &p, const QString &exponent) {
  Canvas &cv = p.cv();
  const double top = cv.CurrentY;
  cv.Font.Size = 8;
  cv.CurrentY = top - 5 * p.scale;
  cv.PrintRun(exponent);
  cv.Font.Size = 10;
  cv.CurrentY = top;
}

// A charge and an index stacked on one X: the charge 5 × s above the line
// top, the index 5 × s below it, both in 8 points.
void ChargeOverIndex(Page &p, const QString &charge, const QString &index) {
  Canvas &cv = p.cv();
  const double x = cv.CurrentX;
  const double top = cv.CurrentY;
  RaisedBy5(p, charge);
  const double after = cv.CurrentX;
  cv.CurrentX = x;
  cv.Font.Size = 8;
  cv.CurrentY = top + 5 * p.scale;
  cv.PrintRun(index);
  cv.Font.Size = 10;
  cv.CurrentY = top;
  cv.CurrentX = std::max(after, cv.CurrentX);
}

// Two lines of a cell, each centred between x1 and x2, the first at y.
void TwoLines(Page &p, double x1, double x2, double y, const QString &first,
              const QString &second) {
  p.cv().CurrentY = y;
  PrintCentredInBox(p, x1, x2, first);
  PrintCentredInBox(p, x1, x2, second);
}

// A bulleted line at the head of each column, both on the current line;
// the position is left after the right one.
void BulletPair(Page &p, double xl, double xr, const QString &left, const QString &right) {
  Canvas &cv = p.cv();
  std::int16_t y = 0;
  p.step([&] { y = I16(cv.CurrentY); });
  PrintBullet(p, xl, left, End::Run);
  cv.CurrentY = y;
  PrintBullet(p, xr, right);
}

// One table of a pair: its edges, its column split, and the header texts of
// its picture column and text column.
struct SpectrumTable {
  std::int16_t left = 0, right = 0, split = 0;
  QString pictureHead1, pictureHead2, textHead1, textHead2;
};

// The header row of a table, in bold 8 points, between top and Yh.
void HeaderRow(Page &p, const SpectrumTable &t, double top, double Yh) {
  Canvas &cv = p.cv();
  cv.Font.Size = 8;
  cv.Font.Bold = true;
  const double y = (top + Yh) / 2 - TH(p, QStringLiteral("a"));
  TwoLines(p, t.left, t.split, y, t.pictureHead1, t.pictureHead2);
  TwoLines(p, t.split, t.right, y, t.textHead1, t.textHead2);
}

// A spectrum, loaded into Image1, centred in the picture column of a table,
// 5 × s below the top of its row.
void SpectrumInRow(Page &p, const SpectrumTable &t, const QString &file, double rowTop) {
  const PictureSize size = MeasurePicture(p, file);
  PaintImage1(p, (t.left + t.split) / 2.0 - size.width() * p.scale * 0.5, rowTop + 5 * p.scale);
}

FramedTable framed(const SpectrumTable &t, std::vector<double> rows, double splitEnd) {
  return {double(t.left), double(t.right), double(t.split), std::move(rows), splitEnd};
}

} // namespace

void Screen1401(Page &p) {
  Canvas &cv = p.cv();
  const double s = p.scale;
  const std::int16_t Y0 = p.line;
  ScreenStart(p, QStringLiteral(" "));
  cv.Font.Size = 10;
  BlankLines(p, 1);
  std::int16_t Yp = 0;
  p.step([&] { Yp = I16(cv.CurrentY); });

  // The headings and the spectroscopes, the columns placed from the width
  // of the first; each table is as wide as the picture above it.
  const auto [XL, XR, w1] = HeadedPicturePair(
      p, Y0, Yp, {QStringLiteral("Spectres d'émission"), QStringLiteral("pces1401.bmp")},
      {QStringLiteral("Spectres d'absorption"), QStringLiteral("pces1402.bmp")});
  std::int16_t XLe = 0, XRe = 0;
  p.step([&] {
    XLe = I16(XL + w1);
    XRe = I16(XR + w1);
  });

  cv.Font.Size = 10;
  BlankLines(p, 1);
  BulletPair(p, XL, XR, QStringLiteral(" Spectres d'origine thermique"),
             QStringLiteral(" Bandes d'absorption de solutions colorées"));

  // ----- First pair: thermal spectra, bands of a coloured solution -----
  // Rows as tall as the first spectrum and 10 × s; the picture column
  // never narrower than its header.
  const QString columnLabel = QStringLiteral(" Spectre d'absorption ");
  std::int16_t Ytop = 0, Yh = 0, Y1 = 0, Y2 = 0, C = 0;
  cv.Font.Size = 8;
  const PictureSize spectrum = MeasurePicture(p, QStringLiteral("pces1403.bmp"));
  p.step([&] {
    Ytop = I16(cv.CurrentY + 5 * s);
    C = I16(PictureColumnWidth(p, columnLabel, spectrum.width()));
    Yh = I16(Ytop + 2 * TW(p, QStringLiteral("Wq")));
    Y1 = I16(Yh + (10 + spectrum.height()) * s);
    Y2 = I16(Yh + 2 * (10 + spectrum.height()) * s);
  });
  const SpectrumTable thermal{XL,
                              XLe,
                              I16(XL + C),
                              QStringLiteral("Spectre d'émission"),
                              QStringLiteral("(spectre continu)"),
                              QStringLiteral("Température"),
                              QStringLiteral("du corps")};
  const SpectrumTable bands{XR,
                            XRe,
                            I16(XR + C),
                            QStringLiteral("Spectre d'absorption"),
                            QStringLiteral("(spectre de bandes)"),
                            QStringLiteral("Espèce chimique"),
                            QStringLiteral("en solution")};
  // The note under the solution spans the whole table: the column rule
  // stops at the end of the first row.
  const FramedTable thermalFrame =
      framed(thermal, {double(Ytop), double(Yh), double(Y1), double(Y2)}, Y2);
  const FramedTable bandsFrame =
      framed(bands, {double(Ytop), double(Yh), double(Y1), double(Y2)}, Y1);
  FramedTableGround(p, thermalFrame);
  FramedTableGround(p, bandsFrame);
  HeaderRow(p, thermal, Ytop, Yh);
  HeaderRow(p, bands, Ytop, Yh);
  cv.Font.Bold = false;
  cv.Font.Size = 10;

  const double a = TH(p, QStringLiteral("a"));
  TwoLines(p, thermal.split, thermal.right, (Yh + Y1) / 2.0 - a, QStringLiteral("De 1 000 °C"),
           QStringLiteral("à 2 000 °C"));
  TwoLines(p, thermal.split, thermal.right, (Y1 + Y2) / 2.0 - a, QStringLiteral("De 2 000 °C"),
           QStringLiteral("à 9 000 °C"));

  // Potassium permanganate: the charge and the index of MnO4- stacked.
  p.step([&] {
    cv.CurrentX = (bands.split + bands.right - TW(p, QStringLiteral("K+ + MnO4"))) / 2;
    cv.CurrentY = (Yh + Y1) / 2.0 - a / 2;
    cv.PrintRun(QStringLiteral("K"));
    RaisedBy5(p, QStringLiteral("+"));
    cv.PrintRun(QStringLiteral(" + MnO"));
    ChargeOverIndex(p, QStringLiteral("−"), QStringLiteral("4"));
  });

  cv.Font.Size = 8;
  cv.CurrentY = (Y1 + Y2) / 2.0 - 1.5 * TH(p, QStringLiteral("a"));
  for (const QString &line : {QStringLiteral("Les bandes d'absorption sont caractéristiques"),
                              QStringLiteral("des espèces chimiques colorées présentes"),
                              QStringLiteral("dans la solution")}) {
    cv.CurrentX = (bands.left + bands.right - TW(p, line)) * 0.5;
    cv.Print(line);
  }

  SpectrumInRow(p, thermal, QStringLiteral("pces1403.bmp"), Yh);
  SpectrumInRow(p, thermal, QStringLiteral("pces1404.bmp"), Y1);
  SpectrumInRow(p, bands, QStringLiteral("pces1405.bmp"), Yh);
  FramedTableRules(p, thermalFrame);
  FramedTableRules(p, bandsFrame);

  // ----- Second pair: the lines of mercury vapour -----
  BlankLines(p, 1);
  cv.Font.Bold = true;
  cv.Font.Size = 10;
  BulletPair(p, XL, XR, QStringLiteral(" Spectres de raies"),
             QStringLiteral(" Raies d'absorption caractéristiques"));
  cv.CurrentX = XR;
  cv.Print(QStringLiteral("d'un atome ou d'un ion"));

  std::int16_t Ytop2 = 0, Yh2 = 0, Y12 = 0, C2 = 0;
  cv.Font.Size = 8;
  const PictureSize lines = MeasurePicture(p, QStringLiteral("pces1406.bmp"));
  p.step([&] {
    Ytop2 = I16(cv.CurrentY + 5 * s);
    C2 = I16(PictureColumnWidth(p, columnLabel, lines.width()));
    Yh2 = I16(Ytop2 + 2 * TW(p, QStringLiteral("Wq")));
    Y12 = I16(Yh2 + (10 + lines.height()) * s);
  });
  const SpectrumTable emission{XL,
                               XLe,
                               I16(XL + C2),
                               QStringLiteral("Spectre d'émission"),
                               QStringLiteral("(spectre de raies)"),
                               QStringLiteral("Composition du gaz"),
                               QStringLiteral("(atomes ou ions)")};
  const SpectrumTable absorption{XR,
                                 XRe,
                                 I16(XR + C2),
                                 QStringLiteral("Spectre d'absorption"),
                                 QStringLiteral("(spectre de raies)"),
                                 QStringLiteral("Composition"),
                                 QStringLiteral("chimique du gaz")};
  const FramedTable emissionFrame =
      framed(emission, {double(Ytop2), double(Yh2), double(Y12)}, Y12);
  const FramedTable absorptionFrame =
      framed(absorption, {double(Ytop2), double(Yh2), double(Y12)}, Y12);
  FramedTableGround(p, emissionFrame);
  FramedTableGround(p, absorptionFrame);
  HeaderRow(p, emission, Ytop2, Yh2);
  HeaderRow(p, absorption, Ytop2, Yh2);
  cv.Font.Size = 10;
  cv.Font.Bold = false;

  for (const SpectrumTable *t : {&emission, &absorption}) {
    cv.CurrentY = (Yh2 + Y12 - TH(p, QStringLiteral("a"))) / 2;
    PrintCentredInBox(p, t->split, t->right, QStringLiteral("Hg (mercure)"));
  }
  SpectrumInRow(p, emission, QStringLiteral("pces1406.bmp"), Yh2);
  SpectrumInRow(p, absorption, QStringLiteral("pces1407.bmp"), Yh2);
  FramedTableRules(p, emissionFrame);
  FramedTableRules(p, absorptionFrame);

  BlankLines(p, 4);
  StoreLine(p);
  PictureCleanUp(p, false);
}

void Screen1402(Page &p) {
  // The pictures come last and the drawer stops at its first error: a
  // missing spectrum leaves the heading and the paragraphs standing.
  const ErrorRule stopAtFirstError(p, OnError::Stop);
  // Whether it ends or stops, no picture stays loaded after the screen.
  struct CleanUp {
    Page &p;
    ~CleanUp() { PictureCleanUp(p, false); }
  } cleanUp{p};
  Canvas &cv = p.cv();
  const double s = p.scale;
  ScreenStart(p,
              QStringLiteral("Signature d'un atome ou d'un ion : application à l'astrophysique"));
  BlankLines(p, 1);
  BodyFont(p);
  const std::int16_t Yp = I16(cv.CurrentY);

  PrintBulletParagraph(p, M(p), Body(1402, QStringLiteral("principe")));
  BlankLines(p, 1);
  PrintBulletParagraph(p, M(p), Body(1402, QStringLiteral("signature")));
  BlankLines(p, 1);
  PrintBulletParagraph(p, M(p), Body(1402, QStringLiteral("etoile")));

  // The absorption spectrum of mercury above its emission spectrum, both
  // sized by the emission spectrum, so that their lines line up.
  const PictureSize size = MeasurePicture(p, QStringLiteral("pces1406.bmp"));
  const double w = size.width(), h = size.height();
  const double X = W(p) / 2;
  PaintFile(p, QStringLiteral("pces1407.bmp"), X, Yp);
  PaintImage1(p, X, Yp + (h + 10) * s);

  cv.Font.Size = 8;
  const double Xl = X + (w + 10) * s;
  const double a = TH(p, QStringLiteral("a"));
  cv.CurrentY = Yp + 0.5 * h * s - a;
  PrintLines(p, Xl,
             {QStringLiteral("Spectre d'absorption"), QStringLiteral("de la vapeur de mercure")});
  cv.CurrentY = Yp + (h + 10) * s + 0.5 * h * s - a;
  PrintLines(p, Xl,
             {QStringLiteral("Spectre d'émission"), QStringLiteral("de la vapeur de mercure")});
}

} // namespace abrevel

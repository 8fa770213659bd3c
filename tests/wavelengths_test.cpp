// The spectra the application folder ships, checked against the data they
// are computed from (tools/wavelengths.h): one size and one wavelength axis for
// all five, each mercury line where its wavelength falls, the absorption
// lines exactly where the emission lines are, the permanganate band and the
// two thermal spectra.
#include "tests/sheettest.h"
#include "tools/wavelengths.h"

#include <QFile>
#include <QImage>
#include <QStringList>

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace abrevel::sheettest;

namespace {

QImage shipped(int item) {
  return QImage(appDir() + QStringLiteral("/pces14%1.bmp").arg(item, 2, 10, QLatin1Char('0')))
      .convertToFormat(QImage::Format_RGB32);
}

int brightest(QRgb c) { return std::max({qRed(c), qGreen(c), qBlue(c)}); }

// How close two colours are in hue: the cosine of the angle between them.
double sameHue(QRgb c, const spectra::Rgb &expected) {
  const double a[] = {double(qRed(c)), double(qGreen(c)), double(qBlue(c))};
  const double b[] = {expected.r, expected.g, expected.b};
  double dot = 0, na = 0, nb = 0;
  for (int i = 0; i < 3; ++i) {
    dot += a[i] * b[i];
    na += a[i] * a[i];
    nb += b[i] * b[i];
  }
  return dot / std::sqrt(na * nb);
}

int column(double nm) { return static_cast<int>(std::floor(spectra::xOf(nm))); }

} // namespace

TEST(Spectra, TheDataHoldTheMercuryLinesOfTheCourse) {
  for (const double nm : {404.7, 435.8, 546.1, 577.0, 579.1}) {
    const bool found = std::any_of(
        spectra::kMercury.begin(), spectra::kMercury.end(),
        [nm](const spectra::Line &l) { return std::abs(l.nm - nm) < 0.05 && l.weight == 1.0; });
    EXPECT_TRUE(found) << nm;
  }
}

TEST(Spectra, AllFiveShareOneSizeAndEveryRowIsTheSame) {
  for (int item = 3; item <= 7; ++item) {
    SCOPED_TRACE(item);
    const QImage image = shipped(item);
    ASSERT_EQ(image.size(), QSize(spectra::kWidth, spectra::kHeight));
    for (int y = 1; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        ASSERT_EQ(image.pixel(x, y), image.pixel(x, 0)) << x << "," << y;
  }
}

// Emission: bright lines of their own colour where their wavelengths fall,
// black everywhere else. Absorption: the continuous spectrum, darkened in
// exactly the columns the emission lines light.
TEST(Spectra, MercuryLinesLieWhereTheirWavelengthsFall) {
  const QImage emission = shipped(6);
  const QImage absorption = shipped(7);
  for (const spectra::Line &line : spectra::kMercury) {
    SCOPED_TRACE(line.nm);
    const int x = column(line.nm);
    const QRgb lit = emission.pixel(x, 0);
    EXPECT_GE(brightest(lit), line.weight == 1.0 ? 150 : 50);
    EXPECT_GT(sameHue(lit, spectra::colourOf(line.nm)), 0.97);
    const spectra::Pixel continuous = spectra::pixelOf(spectra::wavelengthOfColumn(x), 1.0);
    const int around = std::max({continuous.r, continuous.g, continuous.b});
    EXPECT_LE(brightest(absorption.pixel(x, 0)), (1 - 0.5 * line.weight) * around);
    if (line.weight == 1.0) {
      EXPECT_LE(brightest(absorption.pixel(x, 0)), 0.1 * around);
    }
  }
  std::set<int> lit, darkened;
  for (int x = 0; x < spectra::kWidth; ++x) {
    if (emission.pixel(x, 0) != qRgb(0, 0, 0))
      lit.insert(x);
    const spectra::Pixel c = spectra::pixelOf(spectra::wavelengthOfColumn(x), 1.0);
    const QRgb a = absorption.pixel(x, 0);
    if (std::abs(qRed(a) - c.r) > 1 || std::abs(qGreen(a) - c.g) > 1 ||
        std::abs(qBlue(a) - c.b) > 1)
      darkened.insert(x);
  }
  EXPECT_EQ(lit, darkened);
  // Every lit column lies within a line's width of a line.
  for (const int x : lit) {
    const bool nearLine = std::any_of(
        spectra::kMercury.begin(), spectra::kMercury.end(), [x](const spectra::Line &line) {
          return std::abs(x + 0.5 - spectra::xOf(line.nm)) < spectra::kLineWidth / 2 + 0.5;
        });
    EXPECT_TRUE(nearLine) << x;
  }
}

TEST(Spectra, PermanganateAbsorbsGreenAndYellowAndLetsVioletAndRedThrough) {
  const QImage bands = shipped(5);
  auto transmitted = [&](double nm) {
    const int x = column(nm);
    const spectra::Pixel c = spectra::pixelOf(spectra::wavelengthOfColumn(x), 1.0);
    return brightest(bands.pixel(x, 0)) / double(std::max({c.r, c.g, c.b}));
  };
  for (const double nm : {500.0, 525.0, 546.0, 560.0})
    EXPECT_LT(transmitted(nm), 0.15) << nm;
  for (const double nm : {420.0, 450.0, 620.0, 680.0})
    EXPECT_GT(transmitted(nm), 0.85) << nm;
}

TEST(Spectra, ACoolerBodyLightsOnlyTheRedEndAndAHotterOneTheWholeRange) {
  const QImage warm = shipped(3);
  const QImage hot = shipped(4);
  EXPECT_LE(brightest(warm.pixel(column(450), 0)), 5);
  EXPECT_LE(brightest(warm.pixel(column(500), 0)), 20);
  EXPECT_GE(brightest(warm.pixel(column(680), 0)), 150);
  for (double nm = 420; nm <= 700; nm += 10)
    EXPECT_GE(brightest(hot.pixel(column(nm), 0)), 150) << nm;
}

// The fans of the two spectroscopes of screen 1401 come from the same data:
// where the permanganate spectrum is dark the absorption fan is dark, and
// the colours it lets through (violet, blue, the yellow beyond 575 nm, red)
// are there as bright as in the emission fan. Read across the fan just
// before the screen, where the colours are widest apart. The same holds
// for the fans of the pictures' vector forms, drawn at twice their size as
// on paper.
TEST(Spectra, TheAbsorptionFanShowsWhatThePermanganateSpectrumShows) {
  QFile data(QStringLiteral(ABREVEL_SOURCE_DIR "/assets/src/pces1402.fan"));
  ASSERT_TRUE(data.open(QIODevice::ReadOnly | QIODevice::Text));
  double apexX = 0, apexY = 0, screenX = 0, top = 0, bottom = 0;
  for (const QString &line : QString::fromUtf8(data.readAll()).split(QLatin1Char('\n'))) {
    const QStringList w = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (w.size() == 3 && w[0] == QLatin1String("apex")) {
      apexX = w[1].toDouble();
      apexY = w[2].toDouble();
    } else if (w.size() == 4 && w[0] == QLatin1String("screen")) {
      screenX = w[1].toDouble();
      top = w[2].toDouble();
      bottom = w[3].toDouble();
    }
  }
  ASSERT_GT(screenX, apexX + 10);
  const int x = int(screenX) - 3;
  auto row = [&](double nm) {
    const double onScreen = bottom - (nm - spectra::kFanShortest) /
                                         (spectra::kFanLongest - spectra::kFanShortest) *
                                         (bottom - top);
    return int(apexY + (onScreen - apexY) * (x + 0.5 - apexX) / (screenX - apexX));
  };
  for (const int scale : {1, 2}) {
    SCOPED_TRACE(scale == 1 ? "pictures" : "vector forms at twice their size");
    const QImage emission = scale == 1 ? QImage(appDir() + QStringLiteral("/pces1401.bmp"))
                                       : vectorForm(QStringLiteral("pces1401"), scale);
    const QImage absorption = scale == 1 ? QImage(appDir() + QStringLiteral("/pces1402.bmp"))
                                         : vectorForm(QStringLiteral("pces1402"), scale);
    ASSERT_FALSE(emission.isNull());
    ASSERT_FALSE(absorption.isNull());
    // The middle of the picture's pixel (x, row(nm)).
    auto at = [&](const QImage &image, double nm) {
      return image.pixel(x * scale + scale / 2, row(nm) * scale + scale / 2);
    };
    auto shown = [&](double nm) {
      return brightest(at(absorption, nm)) / double(brightest(at(emission, nm)));
    };
    for (const double nm : {510.0, 525.0, 545.0})
      EXPECT_LT(shown(nm), 0.2) << nm;
    for (const double nm : {440.0, 595.0, 650.0})
      EXPECT_GT(shown(nm), 0.7) << nm;
    // The yellow the solution lets through is yellow in the fan.
    const QRgb yellow = at(absorption, 585.0);
    EXPECT_GT(qRed(yellow), 180);
    EXPECT_GT(qGreen(yellow), 130);
    EXPECT_LT(qBlue(yellow), 80);
  }
}

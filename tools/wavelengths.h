// The spectra of chapter 14 (pces1403.bmp to pces1407.bmp): the data they
// are computed from, the wavelength axis they share and the mapping from a
// wavelength to the colour shown. tools/makewavelengthpictures.cpp draws the pictures
// from this file alone, and the tests check the pictures against it. The
// fans of colours of the two spectroscopes (pces1401, pces1402) are drawn
// by tools/makepictures.cpp from the same data.
//
// Sources:
//  - Mercury (Hg I) lines: wavelengths in air from the NIST Handbook of Basic
//    Atomic Spectroscopic Data, J. E. Sansonetti and W. C. Martin,
//    J. Phys. Chem. Ref. Data 34, 1559 (2005), table "Strong lines of neutral
//    mercury" (also in the NIST Atomic Spectra Database). The brightness of
//    each line in the picture is a drawing weight (strong or weak line as a
//    low-pressure lamp shows them through a school spectroscope), not a
//    measured intensity.
//  - Permanganate ion in water: the absorption band of KMnO4 solutions, with
//    its maximum at 525 nm, vibronic maxima near 507 and 546 nm and
//    shoulders near 490 and 566 nm (molar absorption coefficient about
//    2.4 × 10^3 L mol^-1 cm^-1 at 525 nm; any UV-visible spectrum of dilute
//    KMnO4 shows them). The band is modelled as a sum of Gaussians at those
//    positions; the solution's absorbance at 525 nm is set to 2, a solution
//    that looks deep purple.
//  - Thermal spectra: Planck's law for a black body,
//    B(λ, T) = 2hc² / λ⁵ / (exp(hc / (λ k T)) − 1), with the second radiation
//    constant hc / k = 1.438 776 877 × 10^-2 m K (CODATA 2018). A body at
//    1 500 °C stands for 1 000 °C to 2 000 °C, one at 5 500 °C (the Sun's
//    surface, about 5 772 K) for 2 000 °C to 9 000 °C.
//  - Colours of the visible wavelengths: the piecewise-linear approximation
//    of the spectral colours published by D. Bruton ("Approximate RGB values
//    for visible wavelengths", 1996), with its fading at both ends of the
//    visible range and its display exponent 0.8.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>

namespace spectra {

// ----- One picture size and one wavelength axis for all five spectra ------
// 400 nm at the left edge to 800 nm at the right edge (the visible range as
// the course gives it), 2 nm per pixel.
inline constexpr int kWidth = 200;
inline constexpr int kHeight = 30;
inline constexpr double kShortest = 400.0; // nm, at x = 0
inline constexpr double kLongest = 800.0;  // nm, at x = kWidth

// Where a wavelength falls on the axis, in pixels from the left edge (the
// pixel column holding it is the whole part).
constexpr double xOf(double nm) { return (nm - kShortest) / (kLongest - kShortest) * kWidth; }
// The wavelength at the centre of a pixel column.
constexpr double wavelengthOfColumn(int x) {
  return kShortest + (x + 0.5) * (kLongest - kShortest) / kWidth;
}

// The fans of the spectroscopes spread this range across their screen.
inline constexpr double kFanShortest = 400.0; // nm, deviated most
inline constexpr double kFanLongest = 780.0;  // nm, deviated least

// ----- Mercury ----------------------------------------------------------
struct Line {
  double nm;     // wavelength in air
  double weight; // brightness in the picture, 0 to 1
};
inline constexpr std::array<Line, 7> kMercury{{
    {404.656, 1.0},  // violet
    {407.783, 0.35}, // violet, weak
    {435.833, 1.0},  // blue
    {491.607, 0.35}, // blue-green, weak
    {546.074, 1.0},  // green
    {576.960, 1.0},  // yellow
    {579.066, 1.0},  // yellow
}};
// A line is drawn 2 pixels wide, centred on its place on the axis.
inline constexpr double kLineWidth = 2.0;

// ----- Permanganate ---------------------------------------------------------
struct Peak {
  double nm;       // centre
  double relative; // height relative to the maximum at 525 nm
  double sigma;    // Gaussian width, nm
};
inline constexpr std::array<Peak, 5> kPermanganate{{
    {490.0, 0.30, 9.0},
    {507.0, 0.75, 9.0},
    {525.0, 1.00, 9.0},
    {546.0, 0.90, 9.0},
    {566.0, 0.40, 9.0},
}};
inline constexpr double kPermanganateAbsorbance = 2.0; // at 525 nm

// Absorbance of the solution at a wavelength (normalised so that the sum of
// the peaks is kPermanganateAbsorbance at 525 nm).
inline double permanganateAbsorbance(double nm) {
  auto sum = [](double l) {
    double a = 0;
    for (const Peak &p : kPermanganate)
      a += p.relative * std::exp(-0.5 * ((l - p.nm) / p.sigma) * ((l - p.nm) / p.sigma));
    return a;
  };
  return kPermanganateAbsorbance * sum(nm) / sum(525.0);
}
// The fraction of the light the solution lets through.
inline double permanganateTransmittance(double nm) {
  return std::pow(10.0, -permanganateAbsorbance(nm));
}

// ----- Thermal spectra ------------------------------------------------------
inline constexpr double kSecondRadiationConstant = 1.438776877e-2; // hc / k, m K
inline constexpr double kWarmBodyCelsius = 1500.0;
inline constexpr double kHotBodyCelsius = 5500.0;

// Planck's law up to its constant factor 2hc²: the shape in wavelength.
inline double planck(double nm, double kelvin) {
  const double metres = nm * 1e-9;
  return 1.0 / std::pow(metres, 5) / (std::exp(kSecondRadiationConstant / (metres * kelvin)) - 1.0);
}

// ----- Colours ----------------------------------------------------------------
struct Rgb {
  double r, g, b; // 0 to 1
};

// The colour of a wavelength at full brightness; black outside 380-780 nm.
inline Rgb colourOf(double nm) {
  double r = 0, g = 0, b = 0;
  if (nm >= 380 && nm < 440) {
    r = (440 - nm) / (440 - 380);
    b = 1;
  } else if (nm >= 440 && nm < 490) {
    g = (nm - 440) / (490 - 440);
    b = 1;
  } else if (nm >= 490 && nm < 510) {
    g = 1;
    b = (510 - nm) / (510 - 490);
  } else if (nm >= 510 && nm < 580) {
    r = (nm - 510) / (580 - 510);
    g = 1;
  } else if (nm >= 580 && nm < 645) {
    r = 1;
    g = (645 - nm) / (645 - 580);
  } else if (nm >= 645 && nm <= 780) {
    r = 1;
  }
  // The eye's sensitivity falls off at both ends of the visible range.
  double fade = 0;
  if (nm >= 380 && nm < 420)
    fade = 0.3 + 0.7 * (nm - 380) / (420 - 380);
  else if (nm >= 420 && nm <= 700)
    fade = 1;
  else if (nm > 700 && nm <= 780)
    fade = 0.3 + 0.7 * (780 - nm) / (780 - 700);
  auto shown = [fade](double c) { return c <= 0 ? 0.0 : std::pow(c * fade, 0.8); };
  return {shown(r), shown(g), shown(b)};
}

// A colour at a brightness from 0 (black) to 1, as 8-bit components.
struct Pixel {
  int r, g, b;
};
inline Pixel pixelOf(double nm, double brightness) {
  const Rgb c = colourOf(nm);
  const double k = std::clamp(brightness, 0.0, 1.0);
  auto byte = [k](double v) { return static_cast<int>(std::lround(255.0 * v * k)); };
  return {byte(c.r), byte(c.g), byte(c.b)};
}

// ----- What each picture shows, column by column ---------------------------
// The brightness of a mercury emission spectrum over a pixel column: the
// part of each 2-pixel line that covers the column, times its weight.
inline double mercuryCoverage(int x) {
  double sum = 0;
  for (const Line &line : kMercury) {
    const double centre = xOf(line.nm);
    const double left = std::max<double>(x, centre - kLineWidth / 2);
    const double right = std::min<double>(x + 1, centre + kLineWidth / 2);
    if (right > left)
      sum += (right - left) * line.weight;
  }
  return std::min(sum, 1.0);
}

// A thermal spectrum: the black body's radiance relative to its highest
// value in the visible range, each picture exposed for its own brightest
// wavelength (one and a half times, so that the brightest part of the
// range is saturated as on a photograph). The hotter body fills the range;
// the cooler one lights only its long-wavelength end.
inline constexpr double kExposure = 1.5;
inline double thermalBrightness(double nm, double celsius) {
  const double kelvin = celsius + 273.15;
  double highest = 0;
  for (double l = 380; l <= 780; l += 1)
    highest = std::max(highest, planck(l, kelvin));
  return std::min(1.0, kExposure * planck(nm, kelvin) / highest);
}

// ----- What each picture shows, in words ------------------------------------
// For readers who cannot see the pictures: the viewer names each spectrum by
// this description (gathered at build time by tools/picturedescriptions.cmake,
// which reads the entries as they are written here: {"NAME", "TEXT"}).
struct Description {
  const char *picture;
  const char *text;
};
// One entry a line, each text in one piece.
// clang-format off
inline constexpr std::array<Description, 5> kDescriptions{{
    {"pces1403", "Spectre continu d'un corps à 1 500 °C : noir du violet au vert, puis de plus en plus lumineux de l'orange au rouge"},
    {"pces1404", "Spectre continu d'un corps à 5 500 °C : toutes les couleurs, du violet au rouge"},
    {"pces1405", "Spectre de la lumière blanche après une solution de permanganate de potassium : une large bande noire dans le vert et le jaune"},
    {"pces1406", "Spectre d'émission de la vapeur de mercure : raies violettes, bleue, verte et jaunes sur fond noir"},
    {"pces1407", "Spectre d'absorption de la vapeur de mercure : des raies noires sur le spectre continu de la lumière blanche"},
}};
// clang-format on

} // namespace spectra

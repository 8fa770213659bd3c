// makewavelengthpictures: computes the five spectra of chapter 14 from the data of
// tools/wavelengths.h and writes them as BMP pictures.
//
//   makewavelengthpictures OUTPUT_DIR
//
// pces1403.bmp  thermal spectrum of a body at 1 500 °C (1 000 to 2 000 °C)
// pces1404.bmp  thermal spectrum of a body at 5 500 °C (2 000 to 9 000 °C)
// pces1405.bmp  white light through a permanganate solution
// pces1406.bmp  emission spectrum of mercury vapour: bright lines on black
// pces1407.bmp  absorption spectrum of mercury vapour: dark lines on the
//               continuous spectrum, where the emission lines are
//
// All five share one size and one wavelength axis, so that their lines
// fall in the same pixel columns. Every row of a picture is the same: a
// spectrum varies across, not down.

#include "tools/wavelengths.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>

#include <cstdio>
#include <functional>

namespace {

using spectra::Pixel;

// One picture from the colour of each pixel column.
QImage spectrum(const std::function<Pixel(int)> &column) {
  QImage image(spectra::kWidth, spectra::kHeight, QImage::Format_RGB32);
  for (int x = 0; x < spectra::kWidth; ++x) {
    const Pixel p = column(x);
    for (int y = 0; y < spectra::kHeight; ++y)
      image.setPixel(x, y, qRgb(p.r, p.g, p.b));
  }
  return image;
}

Pixel continuous(int x, double brightness) {
  return spectra::pixelOf(spectra::wavelengthOfColumn(x), brightness);
}

Pixel thermal(int x, double celsius) {
  const double nm = spectra::wavelengthOfColumn(x);
  return spectra::pixelOf(nm, spectra::thermalBrightness(nm, celsius));
}

// Each line adds its own colour, by the part of the column it covers.
Pixel mercuryEmission(int x) {
  double r = 0, g = 0, b = 0;
  for (const spectra::Line &line : spectra::kMercury) {
    const double centre = spectra::xOf(line.nm);
    const double left = std::max<double>(x, centre - spectra::kLineWidth / 2);
    const double right = std::min<double>(x + 1, centre + spectra::kLineWidth / 2);
    if (right <= left)
      continue;
    const Pixel p = spectra::pixelOf(line.nm, (right - left) * line.weight);
    r += p.r;
    g += p.g;
    b += p.b;
  }
  auto byte = [](double v) { return static_cast<int>(std::min(v, 255.0)); };
  return {byte(r), byte(g), byte(b)};
}

// The vector form of a spectrum: a band of the spectrum's height for each
// run of columns of one colour, each reaching half a pixel under the next
// so that no seam shows between them when they are drawn smoothed.
QByteArray spectrumSvg(const QImage &image) {
  const QByteArray w = QByteArray::number(image.width()), h = QByteArray::number(image.height());
  QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<!-- Computed by tools/makewavelengthpictures.cpp; do not edit. -->\n"
                   "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.2\" "
                   "baseProfile=\"tiny\" width=\"" +
                   w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h + "\">\n";
  for (int x = 0; x < image.width();) {
    const QRgb colour = image.pixel(x, 0);
    int end = x + 1;
    while (end < image.width() && image.pixel(end, 0) == colour)
      ++end;
    const double width = end - x + (end < image.width() ? 0.5 : 0.0);
    svg += "<rect x=\"" + QByteArray::number(x) + "\" y=\"0\" width=\"" +
           QByteArray::number(width) + "\" height=\"" + h + "\" fill=\"" +
           QColor(colour).name().toLatin1() + "\"/>\n";
    x = end;
  }
  return svg + "</svg>\n";
}

Pixel mercuryAbsorption(int x) { return continuous(x, 1.0 - spectra::mercuryCoverage(x)); }

Pixel permanganate(int x) {
  return continuous(x, spectra::permanganateTransmittance(spectra::wavelengthOfColumn(x)));
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: makewavelengthpictures OUTPUT_DIR\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  if (!out.exists() && !QDir().mkpath(out.path())) {
    std::fprintf(stderr, "%s: cannot create\n", argv[1]);
    return 1;
  }
  struct Output {
    const char *name;
    std::function<Pixel(int)> column;
  };
  const Output outputs[] = {
      {"pces1403.bmp", [](int x) { return thermal(x, spectra::kWarmBodyCelsius); }},
      {"pces1404.bmp", [](int x) { return thermal(x, spectra::kHotBodyCelsius); }},
      {"pces1405.bmp", permanganate},
      {"pces1406.bmp", mercuryEmission},
      {"pces1407.bmp", mercuryAbsorption},
  };
  int failures = 0;
  for (const Output &o : outputs) {
    const QString path = out.filePath(QString::fromLatin1(o.name));
    const QImage picture = spectrum(o.column);
    if (!picture.save(path, "BMP")) {
      std::fprintf(stderr, "%s: cannot write\n", qPrintable(path));
      ++failures;
      continue;
    }
    QFile vector(out.filePath(
        QString::fromLatin1(o.name).replace(QStringLiteral(".bmp"), QStringLiteral(".svg"))));
    const QByteArray svg = spectrumSvg(picture);
    if (!vector.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        vector.write(svg) != svg.size()) {
      std::fprintf(stderr, "%s: cannot write\n", qPrintable(vector.fileName()));
      ++failures;
      continue;
    }
    std::printf("%-14s %3d x %-3d\n", o.name, spectra::kWidth, spectra::kHeight);
  }
  return failures ? 1 : 0;
}

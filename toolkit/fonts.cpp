#include "toolkit/fonts.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QHash>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace abrevel {

bool isKnownFontName(const QString &name) {
  return name.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0 ||
         name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0;
}

QString faceFor(const QString &name) {
  if (name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("DejaVu Sans");
  return QStringLiteral("Liberation Sans");
}

namespace {

// A sheet uses a handful of fonts, over and over: each is looked up once
// and kept with its metrics, since a font built afresh is matched against
// the font database again at its first use.
struct CachedFont {
  FontSpec sheetFont;
  double dpi;
  QFont font;
  QFontMetricsF metrics;
  int height;
  int ascent;
  // Widths already measured: a sheet measures the same strings at every
  // repaint.
  QHash<QString, double> widths;
};

CachedFont &cachedFont(const FontSpec &font, double dpi) {
  static std::vector<std::unique_ptr<CachedFont>> cache;
  static CachedFont *last = nullptr;
  if (last && last->dpi == dpi && last->sheetFont == font)
    return *last;
  for (const auto &entry : cache)
    if (entry->dpi == dpi && entry->sheetFont == font)
      return *(last = entry.get());
  QFont f(isKnownFontName(font.Name) ? faceFor(font.Name) : font.Name);
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(font.Size * dpi / 72.0))));
  f.setBold(font.Bold);
  f.setItalic(font.Italic);
  f.setUnderline(font.Underline);
  f.setKerning(false);
  f.setStyleStrategy(QFont::PreferNoShaping);
  const QFontMetrics metrics(f);
  cache.push_back(std::make_unique<CachedFont>(
      CachedFont{font, dpi, f, QFontMetricsF(f), metrics.height(), metrics.ascent(), {}}));
  return *(last = cache.back().get());
}

} // namespace

QFont qtFont(const FontSpec &font, double dpi) { return cachedFont(font, dpi).font; }

double installedLineHeight(const FontSpec &font, double dpi) {
  // A whole number of pixels, like a screen font's cell height.
  return cachedFont(font, dpi).height;
}

double installedAscent(const FontSpec &font, double dpi) { return cachedFont(font, dpi).ascent; }

double installedTextWidth(const FontSpec &font, double dpi, const QString &shown) {
  CachedFont &cached = cachedFont(font, dpi);
  const auto known = cached.widths.constFind(shown);
  if (known != cached.widths.cend())
    return *known;
  const double width = cached.metrics.horizontalAdvance(shown);
  if (cached.widths.size() < 4096)
    cached.widths.insert(shown, width);
  return width;
}

QChar symbolToUnicode(QChar c) {
  // Codes 0x20..0x7E of the Symbol encoding (0 = same as ASCII).
  static constexpr std::array<std::uint16_t, 95> low = {
      0,      0,      0x2200, 0,      0x2203, 0,      0,      0x220B, 0,      0,      0x2217,
      0,      0,      0x2212, 0,      0,      0,      0,      0,      0,      0,      0,
      0,      0,      0,      0,      0,      0,      0,      0,      0,      0,      0x2245,
      0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393, 0x0397, 0x0399, 0x03D1, 0x039A,
      0x039B, 0x039C, 0x039D, 0x039F, 0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2,
      0x03A9, 0x039E, 0x03A8, 0x0396, 0,      0x2234, 0,      0x22A5, 0,      0x203E, 0x03B1,
      0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3, 0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB,
      0x03BC, 0x03BD, 0x03BF, 0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9,
      0x03BE, 0x03C8, 0x03B6, 0,      0,      0,      0x223C};
  // Codes 0xA0..0xFE.
  static constexpr std::array<std::uint16_t, 95> high = {
      0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663, 0x2666, 0x2665, 0x2660,
      0x2194, 0x2190, 0x2191, 0x2192, 0x2193, 0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D,
      0x2202, 0x2022, 0x00F7, 0x2260, 0x2261, 0x2248, 0x2026, 0x23D0, 0x23AF, 0x21B5, 0x2135,
      0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229, 0x222A, 0x2283, 0x2287, 0x2284,
      0x2282, 0x2286, 0x2208, 0x2209, 0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A,
      0x22C5, 0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3, 0x25CA, 0x27E8,
      0x00AE, 0x00A9, 0x2122, 0x2211, 0x239B, 0x239C, 0x239D, 0x23A1, 0x23A2, 0x23A3, 0x23A7,
      0x23A8, 0x23A9, 0x23AA, 0x0020, 0x27E9, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F,
      0x23A0, 0x23A4, 0x23A5, 0x23A6, 0x23AB, 0x23AC, 0x23AD};
  const char16_t u = c.unicode();
  if (u >= 0x20 && u <= 0x7E) {
    const auto m = low[u - 0x20];
    return m ? QChar(m) : c;
  }
  if (u >= 0xA0 && u <= 0xFE)
    return QChar(high[u - 0xA0]);
  return c;
}

QString displayText(const FontSpec &font, const QString &text) {
  if (font.Name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) != 0)
    return text;
  QString out = text;
  for (QChar &c : out)
    c = symbolToUnicode(c);
  return out;
}

} // namespace abrevel

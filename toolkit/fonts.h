// Font names as the sheets write them, and the faces that draw them.
//
// The sheets name two fonts. "Arial" is drawn with Liberation Sans, which has
// the same metrics. "Symbol" is a code page as much as a face: its character
// codes select Greek letters, arrows and operators ("q" is theta, "®" the
// right arrow...). Text in the Symbol font is therefore translated to
// Unicode first and drawn with DejaVu Sans, which has all those glyphs.
#pragma once

#include <QFont>
#include <QString>

namespace abrevel {

struct FontSpec {
  QString Name = QStringLiteral("Arial");
  double Size = 10; // points
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;

  bool operator==(const FontSpec &) const = default;
};

// True for the names a sheet may give: "Arial" and "Symbol".
bool isKnownFontName(const QString &name);

// The installed family that draws a font name ("Arial" -> "Liberation Sans").
QString faceFor(const QString &name);

// The Qt font that draws a font of the sheets at a resolution: the size in
// points becomes a whole number of pixels, as a screen font's does.
QFont qtFont(const FontSpec &font, double dpi);

// One line of the font and the width of a text already in display form,
// in pixels at that resolution, measured on the installed faces.
double installedLineHeight(const FontSpec &font, double dpi);
double installedTextWidth(const FontSpec &font, double dpi, const QString &shown);
// The font's ascent in whole pixels: where its baseline lies below a line top.
double installedAscent(const FontSpec &font, double dpi);

// The text as it appears in the given font: Symbol-font text is mapped
// through the Symbol encoding to Unicode; any other font leaves it as it is.
QString displayText(const FontSpec &font, const QString &text);

// One character of the Symbol encoding as Unicode ('q' -> U+03B8 theta).
QChar symbolToUnicode(QChar c);

} // namespace abrevel

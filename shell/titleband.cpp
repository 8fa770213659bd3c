#include "shell/titleband.h"

#include "toolkit/colors.h"
#include "toolkit/errors.h"

#include <array>

namespace abrevel {

QColor titleBandColor() { return RGB(0, 128, 128); }

QString chapterTitle(int chapter) {
  static const std::array<const char *, 19> titles = {
      "1. Espèces chimiques",
      "2. Extraction et caractérisation d'espèces chimiques",
      "3. Synthèse d'espèces chimiques",
      "4. Modèle de l'atome",
      "5. De l'atome aux édifices chimiques",
      "6. La classification périodique des éléments chimiques",
      "7. La mole",
      "8. Concentration molaire",
      "9. La réaction chimique",
      "10. Bilan de matière",
      "11. L'Univers : de l'atome aux galaxies",
      "12. Lumière et mesures de distances",
      "13. Un système dispersif : le prisme",
      "14. Les messages de la lumière",
      "15. Mouvements et forces",
      "16. La gravitation universelle",
      "17. Le temps",
      "18. L'état gazeux",
      "19. Le gaz parfait",
  };
  if (chapter >= 1 && chapter <= 19)
    return QString::fromUtf8(titles[static_cast<size_t>(chapter - 1)]);
  return QStringLiteral("Un système dispersif : le prisme");
}

namespace {

// The chapter's title one character at a time on a band of the given left
// edge, top and height, s target pixels to a band pixel.
void printTitle(Canvas &c, std::int16_t chapter, double left, double top, double height, double s) {
  ignoreErrors([&] {
    c.SetFontName(QStringLiteral("Arial"));
    c.Font.Italic = false;
    c.Font.Underline = false;
  });
  c.Font.Size = chapter == 6 ? 16 : 18;
  c.Font.Bold = true;
  const QString title = chapterTitle(chapter);
  c.CurrentX = left + 30 * s;
  const auto length = title.size();
  for (qsizetype i = 1; i <= length; ++i) {
    ignoreErrors([&] {
      const std::int16_t blue =
          toInt16(static_cast<double>(i) / static_cast<double>(length) * 100.0 + 155.0);
      c.ForeColor = RGB(255, 255, blue);
    });
    c.CurrentY = top + (height - c.TextHeight(title)) / 2 - 2 * s;
    c.PrintRun(title.mid(i - 1, 1));
  }
}

} // namespace

void tito_Paint(Canvas &band, std::int16_t chapter) {
  // The band's background is part of the band, whatever canvas it is
  // painted on.
  band.BackColor = titleBandColor();
  ignoreErrors([&] { band.Cls(); });
  printTitle(band, chapter, 0, 0, band.ScaleHeight(), 1);
}

void paintTitleBand(Canvas &paper, std::int16_t chapter, const QRectF &band, double s) {
  ignoreErrors([&] {
    paper.Line(band.left(), band.top(), band.right() - 1, band.bottom() - 1, titleBandColor(),
               LineForm::FilledBox);
  });
  printTitle(paper, chapter, band.left(), band.top(), band.height(), s);
}

} // namespace abrevel

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

void tito_Paint(Canvas &band, std::int16_t chapter) {
  // The band's background is part of the band, whatever canvas it is
  // painted on.
  band.BackColor = titleBandColor();
  ignoreErrors([&] { band.Cls(); });
  ignoreErrors([&] {
    band.SetFontName(QStringLiteral("Arial"));
    band.Font.Italic = false;
    band.Font.Underline = false;
  });
  band.Font.Size = chapter == 6 ? 16 : 18;
  band.Font.Bold = true;
  const QString title = chapterTitle(chapter);
  band.CurrentX = 30;
  const auto length = title.size();
  for (qsizetype i = 1; i <= length; ++i) {
    ignoreErrors([&] {
      const std::int16_t c =
          toInt16(static_cast<double>(i) / static_cast<double>(length) * 100.0 + 155.0);
      band.ForeColor = RGB(255, 255, c);
    });
    band.CurrentY = (band.ScaleHeight() - band.TextHeight(title)) / 2 - 2;
    band.PrintRun(title.mid(i - 1, 1));
  }
}

} // namespace abrevel

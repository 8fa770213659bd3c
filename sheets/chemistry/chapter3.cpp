// Chapter 3: synthesis of chemical species.
//
// Screen 301 says why species are synthesised, screen 302 shows the four
// stages of a synthesis side by side, screen 303 how a synthesis is written.
#include "sheets/chemistry/chemistry.h"

#include "content/texts.h"
#include "toolkit/devices.h"

#include <array>

namespace abrevel {

void Screen301(Page &p) {
  Canvas &cv = p.cv();
  ScreenStart(p, QStringLiteral("Nécessité de la chimie de synthèse"));
  BlankLines(p, 1);
  cv.CurrentX = M(p);
  cv.Font.Size = 10; // the heading's bold stays on

  PrintBulletParagraph(p, M(p), Body(301, QStringLiteral("demande")));
  BlankLines(p, 1);
  PrintBulletParagraph(p, M(p), Body(301, QStringLiteral("remplacement")));

  BlankLines(p, 3);
  StoreLine(p);
}

void Screen302(Page &p) {
  Canvas &cv = p.cv();
  const double s = p.scale;
  ScreenStart(p, QStringLiteral("Les différentes étapes d'une synthèse"));
  BlankLines(p, 2);
  std::int16_t Yp = 0;
  p.step([&] { Yp = I16(cv.CurrentY); });
  cv.Font.Size = 10;

  // Each stage: its picture centred on its quarter of the width, then its
  // number in bold and its caption from the picture's left edge down.
  struct Stage {
    const char *number;
    const char *caption; // lines separated by '\n'; the first follows the number
  };
  static constexpr std::array<Stage, 4> stages = {{
      {"1.", " Introduction du\nou des réactifs\nde la synthèse."},
      {"2.", " Transformation\nchimique."},
      {"3.", " Extraction du\nou des produits\nde la synthèse."},
      {"4.", " Caractérisation\ndes produits\nde la synthèse\n(chromatographie,\n"
             "test chimique,\nmesure des\ncaractéristiques\nphysiques)."},
  }};
  for (int i = 1; i <= 4; ++i) {
    const Stage &stage = stages[i - 1];
    cv.Font.Bold = true;
    const PictureSize size =
        MeasurePicture(p, QStringLiteral("pces30") + QString::number(i) + QStringLiteral(".bmp"));
    std::int16_t Xi = 0;
    p.step([&] { Xi = I16(0.125 * W(p) + 0.25 * W(p) * (i - 1) - size.width() * s / 2); });
    PaintImage1(p, Xi, Yp);

    cv.CurrentY = Yp + size.height() * s;
    cv.CurrentX = Xi;
    cv.PrintRun(QString::fromUtf8(stage.number));
    cv.Font.Bold = false;
    const QStringList lines = QString::fromUtf8(stage.caption).split(QLatin1Char('\n'));
    cv.Print(lines.first());
    PrintLines(p, Xi, lines.mid(1));
  }

  BlankLines(p, 1);
  PictureCleanUp(p, false);
  StoreLine(p);
}

void Screen303(Page &p) {
  Canvas &cv = p.cv();
  ScreenStart(p, QStringLiteral("Écritures représentant la synthèse"));
  BlankLines(p, 1);
  cv.CurrentX = M(p);
  cv.Font.Size = 10; // the heading's bold stays on

  PrintBullet(p, M(p), QStringLiteral(" Les réactifs réagissent pour donner des produits."));
  BlankLines(p, 1);

  // An example, in plain text after its underlined italic tag.
  cv.Font.Bold = false;
  cv.Font.Underline = true;
  cv.Font.Italic = true;
  cv.CurrentX = M(p);
  cv.PrintRun(QStringLiteral("Exemple"));
  cv.Font.Underline = false;
  cv.Font.Italic = false;
  PrintRich(p, BodyLine(303, QStringLiteral("exemple")));

  // The reaction, centred; the W of the template stands for the arrow.
  cv.Font.Bold = true;
  BlankLines(p, 1);
  PrintCentredOnPage(
      p, QStringLiteral("Alcool + anhydride d'acide {S:®} ester + acide carboxylique"), End::Line,
      QStringLiteral("Alcool + anhydride d'acide W ester + acide carboxylique"));
}

} // namespace abrevel

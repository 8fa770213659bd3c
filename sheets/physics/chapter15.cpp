// Chapter 15: motion and forces.
//
// Screen 1501 says what a frame of reference is, around a picture of a ball
// on a conveyor belt; screen 1502 shows three motions side by side, each a
// chronophotograph over its name and two bullets; screen 1503 states the
// principle of inertia and what a force does to a motion.
//
// These drawers stop at their first error: a picture that cannot be loaded
// leaves the rest of its screen undrawn.
#include "sheets/physics/physics.h"

#include "content/texts.h"
#include "toolkit/devices.h"

#include <array>

namespace abrevel {

void Screen1501(Page &p) {
  const ErrorRule stopAtFirstError(p, OnError::Stop);
  Canvas &cv = p.cv();
  const double s = p.scale;
  ScreenStart(p, QStringLiteral("Référentiel"));
  BlankLines(p, 1);
  BodyFont(p);
  const std::int16_t Yp = I16(cv.CurrentY);

  // Left column: the frame of reference, then the terrestrial one.
  PrintBulletParagraph(p, M(p), Body(1501, QStringLiteral("reference")));
  BlankLines(p, 1);
  PrintBulletParagraph(p, M(p), Body(1501, QStringLiteral("terrestre")));

  // The belt, centred on the middle of the page from the column's top.
  const PictureSize picture = MeasurePicture(p, QStringLiteral("pces1501.jpg"));
  const double w = picture.width(), h = picture.height();
  PaintImage1(p, W(p) / 2 - w * s / 2, Yp);
  const std::int16_t Yb = I16(Yp + h * s);

  // Right column, 20 pixels right of the picture: what the picture shows.
  const std::int16_t Xt = I16(W(p) / 2 + (w / 2 + 20) * s);
  cv.CurrentY = Yp;
  PrintLines(p, Xt, Body(1501, QStringLiteral("tapis")));
  BlankLines(p, 1);
  PrintLines(p, Xt, Body(1501, QStringLiteral("observateur")));

  // The screen goes on below the picture, whatever the columns' length.
  cv.CurrentY = Yb;
  BlankLines(p, 3);
  PictureCleanUp(p, false);
  StoreLine(p);
}

void Screen1502(Page &p) {
  const ErrorRule stopAtFirstError(p, OnError::Stop);
  Canvas &cv = p.cv();
  const double s = p.scale;
  ScreenStart(p, QStringLiteral("Nature du mouvement"));
  BlankLines(p, 1);  // in the heading's size
  cv.Font.Size = 10; // the heading's bold stays on for the labels
  const std::int16_t Yp = I16(cv.CurrentY);

  // Each motion: its chronophotograph centred on its column line, its name
  // and its two bullets (the second may take two lines).
  struct Motion {
    double column; // the column line, a fraction of W
    const char *picture;
    const char *name;
    const char *trajectory;
    const char *speed;
    const char *speedEnd; // the speed bullet's second line, or null
  };
  static constexpr std::array<Motion, 3> motions = {{
      {1.0 / 5, "pces1502.jpg", "Rectiligne uniforme", " La trajectoire est une droite.",
       " La valeur de la vitesse est", "constante."},
      {1.0 / 2, "pces1503.jpg", "Rectiligne non uniforme", " La trajectoire est une droite.",
       " La valeur de la vitesse varie.", nullptr},
      {4.0 / 5, "pces1504.jpg", "Circulaire uniforme", " La trajectoire est un cercle.",
       " La valeur de la vitesse est", "constante."},
  }};

  // The three pictures on one row; the labels go under the last one.
  std::array<std::int16_t, 3> X{};
  double h = 0;
  for (std::size_t i = 0; i < motions.size(); ++i) {
    const PictureSize picture = MeasurePicture(p, QString::fromUtf8(motions[i].picture));
    X[i] = I16(W(p) * motions[i].column - picture.width() * s / 2);
    PaintImage1(p, X[i], Yp);
    h = picture.height();
  }
  const std::int16_t Yl = I16(Yp + h * s + 6 * s);
  p.Image1.setPicture(LoadPicture());

  // The names, bold, on one line top; the last one ends the line.
  cv.Font.Bold = true;
  for (std::size_t i = 0; i < motions.size(); ++i) {
    cv.CurrentY = Yl;
    PrintCentredOn(p, W(p) * motions[i].column, QString::fromUtf8(motions[i].name),
                   i + 1 < motions.size() ? End::Run : End::Line);
  }
  BlankLines(p, 1);
  const std::int16_t Yb = I16(cv.CurrentY);
  cv.Font.Bold = false;

  // The bullets, column by column from the pictures' left edges.
  for (std::size_t i = 0; i < motions.size(); ++i) {
    const Motion &motion = motions[i];
    cv.CurrentY = Yb;
    PrintBullet(p, X[i], QString::fromUtf8(motion.trajectory));
    BlankLines(p, 1);
    PrintBullet(p, X[i], QString::fromUtf8(motion.speed));
    if (motion.speedEnd)
      PrintLines(p, X[i], {QString::fromUtf8(motion.speedEnd)});
  }

  BlankLines(p, 2);
  StoreLine(p);
}

void Screen1503(Page &p) {
  const ErrorRule stopAtFirstError(p, OnError::Stop);
  Canvas &cv = p.cv();
  ScreenStart(p, QStringLiteral("Principe d'inertie et effet d'une force sur le mouvement"));
  BlankLines(p, 1);  // in the heading's size
  cv.Font.Size = 10; // still bold

  PrintBullet(p, M(p), QStringLiteral(" Énoncé du principe d'inertie :"));
  BlankLines(p, 1);
  cv.Font.Bold = false;
  PrintLines(p, M(p), Body(1503, QStringLiteral("principe")));
  BlankLines(p, 1);
  PrintLines(p, M(p), Body(1503, QStringLiteral("validite")));
  BlankLines(p, 1);

  cv.Font.Bold = true;
  PrintBullet(p, M(p), QStringLiteral(" Conséquences du principe d'inertie :"));
  BlankLines(p, 1);
  cv.Font.Bold = false;
  PrintLines(p, M(p), Body(1503, QStringLiteral("consequences")));
}

} // namespace abrevel

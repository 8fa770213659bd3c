// Chapter 4: a model of the atom, drawn as a diagram. A top band of three
// tinted panels (the nucleus, the atom, the electrons) sends arrows down to
// a second band of three panels: set A (chemical element, mass, monoatomic
// ion) on screen 401, set B (isotopes, electrical neutrality, electron
// shells) on screen 402, and both on the printed sheet, where the arrows of
// set B run past set A.
//
// Every panel is a white box, its text, then a gradient in mask pen over
// the box, so that the white takes the colours and the black text stays
// black. All text is Arial 10. The panels' body text is in chapter04.txt.

#include "content/texts.h"
#include "sheets/chemistry/chemistry.h"
#include "toolkit/colors.h"
#include "toolkit/devices.h"

#include <array>

namespace abrevel {

namespace {

// The three panel columns, shared by the top band and both sets: left
// 0.05 W to 0.32 W, middle 0.36 W to 0.63 W, right 0.68 W to 0.95 W.
struct PanelEdges {
  std::int16_t xa1, xa2, xb1, xb2, xc1, xc2;
};

PanelEdges panelEdges(const Page &p) {
  const double W = abrevel::W(p);
  return {I16(0.05 * W), I16(0.32 * W), I16(0.36 * W), I16(0.63 * W), I16(0.68 * W), I16(0.95 * W)};
}

// Gradients of the panels, top colour to bottom colour.
struct Tint {
  QColor top, bottom;
};
const Tint middleTint{RGB(255, 205, 155), RGB(255, 245, 235)};
const Tint rightTint{RGB(205, 155, 255), RGB(255, 245, 255)};

// The gradient's lines stop short of their last point: they run one pixel
// of the target past the white box, so that its last column is tinted too.
void tintPanel(Page &p, double x1, double y1, double x2, double y2, const Tint &tint) {
  TintPanel(p, x1, y1, x2 + 1, y2, tint.top, tint.bottom);
}

// The arrows running down to a set: one per panel, at fractions of W, in
// the colour of the panel they reach.
struct ArrowColumns {
  std::array<double, 3> x;
  std::array<QColor, 3> colour;
};
const ArrowColumns towardsSetA{{0.12, 0.43, 0.75},
                               {RGB(0, 205, 205), RGB(205, 155, 105), RGB(205, 0, 205)}};
const ArrowColumns towardsSetB{{0.25, 0.56, 0.88},
                               {RGB(0, 205, 0), RGB(205, 155, 105), RGB(205, 0, 205)}};

// A vertical line from y1 down to y2 with its head at y2.
void downArrow(Page &p, double x, double y1, double y2, const QColor &colour) {
  p.cv().Line(x, y1, x, y2, colour);
  ArrowHead(p, x, y2, Pointing::Down, colour);
}

// A vertical dashed line; dashes need a one-pixel pen, so the pen width is
// set to 1 for it and given back afterwards.
void dashedLine(Page &p, double x, double y1, double y2, const QColor &colour) {
  Canvas &cv = p.cv();
  const double savedWidth = cv.DrawWidth;
  cv.DrawWidth = 1;
  cv.DrawStyle = 1;
  cv.Line(x, y1, x, y2, colour);
  cv.DrawStyle = 0;
  cv.DrawWidth = savedWidth;
}

// A black horizontal size arrow from x1 to x2 with a head at both ends.
void sizeArrow(Page &p, double x1, double x2, double y) {
  p.cv().Line(x1, y, x2, y, QBColor(0));
  ArrowHead(p, x1, y, Pointing::Left, QBColor(0));
  ArrowHead(p, x2, y, Pointing::Right, QBColor(0));
}

// The three arrows of a screen, three lines long, from the running line
// position down to where the set below starts; the running line position
// takes their tips.
void shortArrows(Page &p, const ArrowColumns &arrows) {
  const double W = abrevel::W(p);
  const std::int16_t Y = p.line;
  const std::int16_t tip = I16(Y + 3 * abrevel::L(p));
  for (std::size_t i = 0; i < 3; ++i)
    downArrow(p, arrows.x[i] * W, Y, tip, arrows.colour[i]);
  p.line = tip;
}

// How the symbol of an element is shown in a legend.
enum class LegendSymbol {
  Nuclide, // X with its nucleon number A above and atomic number Z below
  Plain,   // X alone
};

// A symbol legend on a panel's top-left corner (x, y): a white ellipse
// centred on the corner, "symbole" one line above the corner, the symbol
// below it, and the outline drawn again over the text.
void symbolLegend(Page &p, double x, double y, const QColor &outline, LegendSymbol symbol) {
  Canvas &cv = p.cv();
  const double s = p.scale;
  cv.Font.Size = 10;
  cv.Font.Bold = false;
  const double L = abrevel::L(p);
  // The nuclide, two storeys high, takes a wider ellipse, as wide as the
  // margin lets it, and "symbole" goes a little higher in it, so that the numbers
  // keep clear of each other, of "symbole" and of the outline.
  const bool nuclide = symbol == LegendSymbol::Nuclide;
  const double r = nuclide ? M(p) - 3 * s : TW(p, QStringLiteral("Symb"));
  FilledCircle(p, x, y, r, outline, QBColor(15), 0.6);
  cv.CurrentY = y - (nuclide ? 1.15 : 1.0) * L;
  PrintCentredOn(p, x, QStringLiteral("symbole"));
  cv.CurrentY = y;
  if (nuclide) {
    // A over Z, right before X, the three centred on the corner.
    cv.Font.Size = 8;
    const double numbers = std::max(TW(p, QStringLiteral("A")), TW(p, QStringLiteral("Z")));
    cv.Font.Size = 10;
    const double left = x - (numbers + TW(p, QStringLiteral("X"))) / 2;
    cv.CurrentY = y - 2 * s;
    cv.CurrentX = left;
    PrintSuperscript(p, QStringLiteral("A"));
    cv.CurrentX = left;
    cv.CurrentY = y;
    PrintSubscript(p, QStringLiteral("Z"));
    cv.CurrentY = y - 2 * s;
    cv.CurrentX = left + numbers;
    cv.Print(QStringLiteral("X"));
  } else {
    PrintCentredOn(p, x, QStringLiteral("X"), End::Line, QStringLiteral("A"));
  }
  cv.Circle(x, y, r, outline, 0.6);
}

// One set of the lower band: its titles, the rows of its three columns,
// the centred last row of the middle column and the gradient of its left
// panel (the middle and right panels keep the top band's colours).
struct PanelSet {
  std::array<QString, 3> titles;
  std::array<QStringList, 3> rows;
  QString middleLastRow;
  QString middleLastTemplate;
  Tint leftTint;
};

// Draws a set from the running line position: white boxes eight lines
// high, the titles in bold, six rows printed across the three columns, then
// the gradients. Returns the bottom of the boxes.
std::int16_t drawPanelSet(Page &p, const PanelSet &set) {
  Canvas &cv = p.cv();
  const auto [xa1, xa2, xb1, xb2, xc1, xc2] = panelEdges(p);
  const std::array<double, 3> left{double(xa1), double(xb1), double(xc1)};
  const std::array<double, 3> right{double(xa2), double(xb2), double(xc2)};

  cv.Font.Size = 10;
  cv.Font.Bold = true;
  p.step([&] { cv.SetFontName(QStringLiteral("Arial")); });
  cv.CurrentY = p.line;
  const std::int16_t top = I16(cv.CurrentY);
  const double L = abrevel::L(p);
  const std::int16_t bottom = I16(top + 8 * L);

  for (std::size_t c = 0; c < 3; ++c)
    WhiteBox(p, left[c], top, right[c], bottom);

  cv.CurrentY = top + L / 2;
  for (std::size_t c = 0; c < 3; ++c)
    PrintCentredInBox(p, left[c], right[c], set.titles[c], c == 2 ? End::Line : End::Run);
  cv.Font.Bold = false;

  // Each row runs across the columns; the right column ends it.
  const double indent = TW(p, QStringLiteral("W"));
  for (qsizetype row = 0; row < 6; ++row) {
    for (std::size_t c = 0; c < 3; ++c) {
      const End end = c == 2 ? End::Line : End::Run;
      const QStringList &lines = set.rows[c];
      if (row < lines.size()) {
        cv.CurrentX = left[c] + indent;
        PrintRich(p, lines[row], end);
      } else if (c == 1 && row == 5) {
        PrintCentredInBox(p, xb1, xb2, set.middleLastRow, end, set.middleLastTemplate);
      } else if (end == End::Line) {
        cv.Print();
      }
    }
  }

  tintPanel(p, xa1, top, xa2, bottom, set.leftTint);
  tintPanel(p, xb1, top, xb2, bottom, middleTint);
  tintPanel(p, xc1, top, xc2, bottom, rightTint);
  return bottom;
}

} // namespace

void AtomSheetCommon(Page &p) {
  Canvas &cv = p.cv();
  const double s = p.scale;
  const double W = abrevel::W(p);
  const auto [xa1, xa2, xb1, xb2, xc1, xc2] = panelEdges(p);

  // Bold Arial 10 for the whole band, which starts one line down.
  cv.Font.Size = 10;
  cv.Font.Bold = true;
  p.step([&] { cv.SetFontName(QStringLiteral("Arial")); });
  cv.CurrentY = p.line;
  BlankLines(p, 1);
  const std::int16_t top = I16(cv.CurrentY);

  // The middle panel is as tall as its text and the atom (0.6 of its
  // width); the left panel starts three lines lower, the right one four
  // lines above the common bottom.
  const double L = abrevel::L(p);
  const std::int16_t bottom = I16(top + 6.5 * L + 0.6 * (xb2 - xb1));
  const double leftTop = top + 3 * L;
  const double rightTop = bottom - 4 * L;
  WhiteBox(p, xa1, leftTop, xa2, bottom);
  WhiteBox(p, xb1, top, xb2, bottom);
  WhiteBox(p, xc1, rightTop, xc2, bottom);

  // Left panel: the nucleus, its size, and its protons and neutrons on the
  // last line, one at each edge.
  cv.CurrentY = leftTop + L / 2;
  PrintCentredInBox(p, xa1, xa2, QStringLiteral("Le noyau d'un atome"));
  for (const QString &line : Body(401, QStringLiteral("nucleus")))
    PrintCentredInBox(p, xa1, xa2, line);
  BlankLines(p, 2);
  PrintCentredInBox(p, xa1, xa2, BodyLine(401, QStringLiteral("nucleussize")));
  BlankLines(p, 1);
  const std::int16_t yn = I16(cv.CurrentY);
  const QString protons = QStringLiteral(" *Z* protons");
  const QString neutrons = QStringLiteral(" *N* neutrons");
  const double protonsWidth = TW(p, QStringLiteral(" Z protons "));
  const double neutronsWidth = TW(p, QStringLiteral(" N neutrons "));
  cv.CurrentY = bottom - L;
  cv.CurrentX = xa1;
  PrintRich(p, protons, End::Run);
  cv.CurrentX = xa2 - neutronsWidth;
  PrintRich(p, neutrons, End::Run);

  // Middle panel: the atom and its size; the size arrow goes half a line
  // below it, the atom one line below.
  cv.CurrentY = top + L / 2;
  for (const QString &line : Body(401, QStringLiteral("atom")))
    PrintCentredInBox(p, xb1, xb2, line);
  // The size's raised exponent keeps clear of the line above.
  cv.CurrentY += 3 * p.scale;
  PrintCentredInBox(p, xb1, xb2, BodyLine(401, QStringLiteral("atomsize")));
  const std::int16_t yd = I16(cv.CurrentY + L / 2);
  BlankLines(p, 1);
  const std::int16_t R = I16(0.6 * (xb2 - xb1) / 2);
  const std::int16_t cx = I16((xb1 + xb2) / 2.0);
  const std::int16_t cy = I16(cv.CurrentY + R);

  // Right panel: the electrons.
  cv.CurrentY = rightTop + L / 2;
  PrintLines(p, xc1 + TW(p, QStringLiteral("W")), Body(401, QStringLiteral("electrons")));

  // The gradients, then the protons and neutrons highlighted, all in mask
  // pen: what is drawn after this is not tinted.
  tintPanel(p, xa1, leftTop, xa2, bottom, {RGB(205, 205, 255), RGB(245, 245, 235)});
  tintPanel(p, xb1, top, xb2, bottom, middleTint);
  tintPanel(p, xc1, rightTop, xc2, bottom, rightTint);
  cv.DrawMode = MaskPen;
  cv.Line(xa1, bottom - L, xa1 + protonsWidth, bottom, RGB(105, 255, 255), LineForm::FilledBox);
  cv.Line(xa2 - neutronsWidth, bottom - L, xa2, bottom, RGB(105, 255, 155), LineForm::FilledBox);
  cv.DrawMode = CopyPen;

  // The atom: the electron sphere and the nucleus at its centre.
  FilledCircle(p, cx, cy, R, RGB(255, 180, 255), RGB(255, 180, 255));
  FilledCircle(p, cx, cy, 3 * s, cv.ForeColor, RGB(255, 0, 0));

  // The atom's picture: lower right corner just left of the page centre,
  // level with the atom's centre; then the atom's size arrow.
  const PictureSize atomPicture = PrepareScaledTransparent(p, QStringLiteral("pces402.gif"));
  DrawScaledTransparent(p, 0.5 * W - atomPicture.width() - 18 * s, cy - atomPicture.height());
  sizeArrow(p, cx - R, cx + R, yd);

  // The nucleus picture, centred in the left panel below its size, with a
  // size arrow over its width half a line above it. A missing picture
  // leaves its place empty and its arrow over that place.
  p.Image1.setPicture(LoadPicture());
  const PictureSize nucleusPicture = MeasurePicture(p, QStringLiteral("pces403.gif"));
  const double w = nucleusPicture.width() * s;
  const double h = nucleusPicture.height() * s;
  const double X = (xa1 + xa2 - w) / 2;
  PaintImage1(p, X, yn, w, h);
  if (w > 0)
    sizeArrow(p, X, X + w, yn - L / 2);

  // The electrons' picture, its right edge on the right panel's left edge.
  const PictureSize electronsPicture = PrepareScaledTransparent(p, QStringLiteral("pces401.gif"));
  DrawScaledTransparent(p, xc1 - electronsPicture.width(), rightTop + 10 * s);
  PictureCleanUp(p, true);

  // The symbol legends on the corners of the left and middle panels.
  symbolLegend(p, xa1, leftTop, RGB(100, 100, 255), LegendSymbol::Nuclide);
  symbolLegend(p, xb1, top, RGB(255, 205, 155), LegendSymbol::Plain);

  p.line = bottom;
}

void AtomSheetPartA(Page &p) {
  const PanelSet setA{
      {QStringLiteral("Élément chimique"), QStringLiteral("Masse"),
       QStringLiteral("Ion monoatomique")},
      {Body(401, QStringLiteral("element")), Body(401, QStringLiteral("mass")),
       Body(401, QStringLiteral("ion"))},
      BodyLine(401, QStringLiteral("massformula")),
      QStringLiteral("matom = A x mnucleon"),
      {RGB(105, 255, 255), RGB(235, 255, 255)},
  };
  const std::int16_t top = p.line;
  const std::int16_t bottom = drawPanelSet(p, setA);
  symbolLegend(p, panelEdges(p).xa1, top, RGB(105, 255, 255), LegendSymbol::Plain);
  p.line = bottom;
}

void AtomSheetPartB(Page &p) {
  const PanelSet setB{
      {QStringLiteral("Isotopes"), QStringLiteral("Neutralité électrique"),
       QStringLiteral("Couches électroniques")},
      {Body(402, QStringLiteral("isotopes")), Body(402, QStringLiteral("neutrality")),
       Body(402, QStringLiteral("shells"))},
      BodyLine(402, QStringLiteral("charge")),
      QStringLiteral("e = 1.610-19 C."),
      {RGB(155, 255, 155), RGB(235, 255, 235)},
  };
  drawPanelSet(p, setB);
}

void Screen401(Page &p) {
  AtomSheetCommon(p);
  shortArrows(p, towardsSetA);
  AtomSheetPartA(p);
}

void Screen402(Page &p) {
  AtomSheetCommon(p);
  shortArrows(p, towardsSetB);
  AtomSheetPartB(p);
}

// The printed chapter: the top band, then set A six lines below it and set
// B six lines below set A. The lines to set B start under the top band,
// turn dashed where they would cross set A and come back solid below it.
void PrintSheet4(Page &p) {
  AtomSheetCommon(p);
  const double W = abrevel::W(p);
  const double L = abrevel::L(p);

  const std::int16_t Y = p.line;
  const std::int16_t setATop = I16(Y + 6 * L);
  for (std::size_t i = 0; i < 3; ++i)
    downArrow(p, towardsSetA.x[i] * W, Y, setATop, towardsSetA.colour[i]);
  for (std::size_t i = 0; i < 3; ++i) {
    const double x = towardsSetB.x[i] * W;
    p.cv().Line(x, Y, x, Y + 3 * L, towardsSetB.colour[i]);
    dashedLine(p, x, Y + 3 * L, setATop, towardsSetB.colour[i]);
  }
  p.line = setATop;
  AtomSheetPartA(p);

  const std::int16_t Y2 = p.line;
  const std::int16_t setBTop = I16(Y2 + 6 * L);
  for (std::size_t i = 0; i < 3; ++i) {
    const double x = towardsSetB.x[i] * W;
    downArrow(p, x, Y2 + 3 * L, setBTop, towardsSetB.colour[i]);
    dashedLine(p, x, Y2, Y2 + 3 * L, towardsSetB.colour[i]);
  }
  p.line = setBTop;
  AtomSheetPartB(p);
}

} // namespace abrevel

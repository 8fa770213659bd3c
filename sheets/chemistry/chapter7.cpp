// Chapter 7: the mole.
//
// Screen 701 fans out what one mole stands for, then sets two panels side by
// side: the amount of substance (formulas for n) and the number of entities
// (the Avogadro constant). Screen 702 sets two more in the same frame: the
// molar mass and the molar volume, with a legend of the units below.
//
// Each panel is a white box on a grey shadow with a header band as tall as
// macro.gif, where the picture and the panel's title sit. The formulas are
// boxes tinted after their text in mask pen, so that the text stays black.
// The sentences of the panels are in chapter07.txt.
#include "sheets/chemistry/chemistry.h"

#include "content/texts.h"
#include "toolkit/colors.h"
#include "toolkit/devices.h"

#include <algorithm>
#include <array>

namespace abrevel {

namespace {

// The tint of the formula boxes and of the legend.
const QColor kFormulaTint = RGB(190, 240, 255);

// The two panels of a screen: left 0.05 W to 0.48 W, right 0.52 W to 0.95 W.
struct PanelPair {
  std::int16_t top = 0; // the panels' top
  std::int16_t hP = 0;  // macro.gif's height, screen pixels
  std::int16_t yh = 0;  // the header rule, below the pictures
  std::int16_t xl1 = 0, xl2 = 0, xr1 = 0, xr2 = 0;
  double L = 0;                         // TH("W") in the panels' font
  std::array<std::int16_t, 2> bottom{}; // left, right
};

// The body font of both screens: Arial 10 bold, black.
void boldBody(Page &p) {
  Canvas &cv = p.cv();
  cv.Font.Size = 10;
  cv.Font.Bold = true;
  cv.Font.Italic = false;
  p.step([&] { cv.SetFontName(QStringLiteral("Arial")); });
  cv.ForeColor = QBColor(0);
}

// One panel: its shadow 5 × s right and down, its white body, and the
// picture in Image1 in the header band's top left corner.
void drawPanel(Page &p, const PanelPair &f, double left, double right, double bottom) {
  const double s = p.scale;
  p.cv().Line(left + 5 * s, f.top + 5 * s, right + 5 * s, bottom + 5 * s, QBColor(7),
              LineForm::FilledBox);
  WhiteBox(p, left, f.top, right, bottom);
  PaintImage1(p, left + 3 * s, f.top + 3 * s);
}

// Draws the pair from CurrentY: the left panel kLeft lines deep below its
// header band, the right one kRight, each with its picture. The header band
// is as tall as macro.gif; should that be missing, it still holds a line.
PanelPair panelPair(Page &p, const QString &leftPicture, const QString &rightPicture, int kLeft,
                    int kRight) {
  Canvas &cv = p.cv();
  const double s = p.scale;
  const double W = abrevel::W(p);
  PanelPair f;
  f.L = abrevel::L(p);
  f.top = I16(cv.CurrentY);
  f.xl1 = I16(0.05 * W);
  f.xl2 = I16(0.48 * W);
  f.xr1 = I16(0.52 * W);
  f.xr2 = I16(0.95 * W);

  f.hP = I16(MeasurePicture(p, QStringLiteral("macro.gif")).height());
  f.yh = I16(f.top + std::max((f.hP + 6) * s, f.L + 6 * s));
  f.bottom = {I16(f.yh + kLeft * f.L), I16(f.yh + kRight * f.L)};

  MeasurePicture(p, leftPicture);
  drawPanel(p, f, f.xl1, f.xl2, f.bottom[0]);
  MeasurePicture(p, rightPicture);
  drawPanel(p, f, f.xr1, f.xr2, f.bottom[1]);
  return f;
}

// The panel titles beside the pictures, centred in the header band: the
// left one stays on its line, the right one ends it.
void panelHeaders(Page &p, const PanelPair &f, const QString &left, const QString &right) {
  Canvas &cv = p.cv();
  const double offset = (f.hP + 6) * p.scale;
  const double y = (f.top + f.yh - f.L) / 2;
  cv.CurrentY = y;
  cv.CurrentX = f.xl1 + offset;
  PrintRich(p, left, End::Run);
  cv.CurrentY = y;
  cv.CurrentX = f.xr1 + offset;
  PrintRich(p, right);
}

// A formula box of a panel: from TW("WW") in from the panel's left edge,
// TW("Wn = VmW") wide, over the band ya .. yb.
struct FormulaBox {
  double x1, x2, ya, yb;
  double middle() const { return (ya + yb) / 2; }
};

FormulaBox formulaBox(const Page &p, double panelLeft, double ya, double yb) {
  const double x1 = panelLeft + TW(p, QStringLiteral("WW"));
  return {x1, x1 + TW(p, QStringLiteral("Wn = VmW")), ya, yb};
}

// "left = numerator / denominator" centred in its box as the template, the
// fraction over a rule as wide as the width template.
void boxedFraction(Page &p, const FormulaBox &box, const QString &left, const QString &measure,
                   const QString &numerator, const QString &denominator,
                   const QString &widthTemplate) {
  Canvas &cv = p.cv();
  const double Ym = box.middle();
  cv.CurrentX = (box.x1 + box.x2 - TW(p, measure)) / 2;
  cv.CurrentY = Ym - L(p) / 2;
  PrintRich(p, left, End::Run);
  PrintFraction(p, cv.CurrentX, Ym, TW(p, widthTemplate), numerator, denominator);
}

// A note beside a formula box, centred on its band, in the current font.
void sideNote(Page &p, const FormulaBox &box, const QString &note, End end = End::Run) {
  Canvas &cv = p.cv();
  cv.CurrentX = box.x2 + TW(p, QStringLiteral("ww"));
  cv.CurrentY = box.middle() - L(p) / 2;
  PrintRich(p, note, end);
}

// A block of lines at x centred in the band ya .. yb.
void bandBlock(Page &p, double x, double ya, double yb, const QStringList &lines) {
  p.cv().CurrentY = (ya + yb) / 2 - lines.size() * L(p) / 2;
  PrintLines(p, x, lines);
}

// A yellow rule across a panel, n lines below the header rule.
void yellowRule(Page &p, const PanelPair &f, double x1, double x2, double n) {
  p.cv().Line(x1, f.yh + n * f.L, x2, f.yh + n * f.L, QBColor(14));
}

// The blue header rules and outlines of both panels.
void blueFrame(Page &p, const PanelPair &f) {
  Canvas &cv = p.cv();
  cv.Line(f.xl1, f.yh, f.xl2, f.yh, QBColor(9));
  cv.Line(f.xr1, f.yh, f.xr2, f.yh, QBColor(9));
  cv.Line(f.xl1, f.top, f.xl2, f.bottom[0], QBColor(9), LineForm::Box);
  cv.Line(f.xr1, f.top, f.xr2, f.bottom[1], QBColor(9), LineForm::Box);
}

} // namespace

void Screen701(Page &p) {
  Canvas &cv = p.cv();
  boldBody(p);
  cv.CurrentY = p.line;
  BlankLines(p, 2);

  // What one mole stands for: four lines fanned around the lead line.
  cv.CurrentX = M(p);
  const std::int16_t lead = I16(cv.CurrentY);
  cv.PrintRun(QStringLiteral("À une mole correspond      "));
  const double X = cv.CurrentX;
  const double L = abrevel::L(p);
  struct Branch {
    double offset; // in lines from the lead line's top
    const char *text;
  };
  static constexpr std::array<Branch, 4> fan = {{
      {-2.25, "une quantité de matière"},
      {-0.75, "un nombre d'entités chimiques"},
      {0.75, "une masse : la masse molaire"},
      {2.25, "un volume : le volume molaire"},
  }};
  for (const Branch &branch : fan) {
    cv.CurrentY = lead + branch.offset * L;
    PrintBullet(p, X, QString::fromUtf8(branch.text));
  }
  BlankLines(p, 2);

  const PanelPair f =
      panelPair(p, QStringLiteral("macro.gif"), QStringLiteral("micro.gif"), 10, 10);
  panelHeaders(p, f, QStringLiteral("  Quantité de matière (en mol)"),
               QStringLiteral("  Nombre d'entités chimiques"));

  // Amount of substance: from a mass, and from a volume (gases).
  const FormulaBox byMass = formulaBox(p, f.xl1, f.yh + L, f.yh + 4 * L);
  const FormulaBox byVolume = formulaBox(p, f.xl1, f.yh + 6 * L, f.yh + 9 * L);
  boxedFraction(p, byMass, QStringLiteral("*n* = "), QStringLiteral("n = m"), QStringLiteral("*m*"),
                QStringLiteral("*M*"), QStringLiteral("vv"));
  boxedFraction(p, byVolume, QStringLiteral("*n* = "), QStringLiteral("n = Vm"),
                QStringLiteral("*V*"), QStringLiteral("*V*_{m}"), QStringLiteral("Vm"));
  cv.Font.Bold = false;
  sideNote(p, byMass, QStringLiteral("(dans tous les cas)"));
  sideNote(p, byVolume, QStringLiteral("(intéressant surtout pour les gaz)"));

  // Number of entities: the Avogadro constant, what it counts, and n.
  cv.CurrentY = f.yh + L;
  PrintCentredInBox(p, f.xr1, f.xr2, QStringLiteral("N_{A} = 6,02 · 10^{23} mol^{−1}"), End::Line,
                    QStringLiteral("NA = 6,02 · 1023 mol-1"));
  bandBlock(p, f.xr1 + TW(p, QStringLiteral("W")), f.yh + 3 * L, f.yh + 6 * L,
            Body(701, QStringLiteral("avogadro")));
  const QString entities = QStringLiteral("nombre d'entités");
  const FormulaBox count{double(f.xr1), double(f.xr2), f.yh + 6 * L, f.yh + 10 * L};
  boxedFraction(p, count, QStringLiteral("*n* = "), QStringLiteral("n = ") + entities, entities,
                QStringLiteral("N_{A}"), entities);

  Highlight(p, byMass.x1, byMass.ya, byMass.x2, byMass.yb, kFormulaTint);
  Highlight(p, byVolume.x1, byVolume.ya, byVolume.x2, byVolume.yb, kFormulaTint);

  yellowRule(p, f, f.xl1, f.xl2, 5);
  yellowRule(p, f, f.xr1, f.xr2, 3);
  yellowRule(p, f, f.xr1, f.xr2, 6);
  blueFrame(p, f);

  PictureCleanUp(p, false);
  cv.CurrentY = f.yh + 10 * L;
  BlankLines(p, 3);
  StoreLine(p);
}

// The same frame as screen 701 without its fan: the panels start one line
// below the running line position, so that the legend under them stays
// above the arrows.
void Screen702(Page &p) {
  Canvas &cv = p.cv();
  const double W = abrevel::W(p);
  boldBody(p);
  cv.CurrentY = p.line;
  BlankLines(p, 1);

  const PanelPair f =
      panelPair(p, QStringLiteral("macro.gif"), QStringLiteral("macro.gif"), 15, 10);
  const double L = f.L;
  panelHeaders(p, f, QStringLiteral("  Masse molaire (en g · mol^{−1})"),
               QStringLiteral("  Volume molaire (en L · mol^{−1})"));

  // The molar mass and the molar volume as quotients by n.
  const FormulaBox molarMass = formulaBox(p, f.xl1, f.yh + L, f.yh + 4 * L);
  const FormulaBox molarVolume = formulaBox(p, f.xr1, f.yh + L, f.yh + 4 * L);
  boxedFraction(p, molarMass, QStringLiteral("*M* = "), QStringLiteral("m = m"),
                QStringLiteral("*m*"), QStringLiteral("*n*"), QStringLiteral("vv"));
  boxedFraction(p, molarVolume, QStringLiteral("*V*_{m} = "), QStringLiteral("Vm = m"),
                QStringLiteral("*V*"), QStringLiteral("*n*"), QStringLiteral("vv"));
  cv.Font.Bold = false;
  sideNote(p, molarMass, QStringLiteral("(dans tous les cas)"));
  sideNote(p, molarVolume, QStringLiteral("(pour les gaz)"), End::Line);

  // Where molar masses come from, each between two yellow rules.
  const double x = f.xl1 + TW(p, QStringLiteral("W"));
  bandBlock(p, x, f.yh + 5 * L, f.yh + 8 * L, Body(702, QStringLiteral("atome")));
  bandBlock(p, x, f.yh + 8 * L, f.yh + 11 * L, Body(702, QStringLiteral("ion")));
  bandBlock(p, x, f.yh + 11 * L, f.yh + 15 * L, Body(702, QStringLiteral("molecule")));

  // The molar volume of every gas at two temperatures, each note starting
  // at the panel's middle.
  const double Ym = f.yh + 7.5 * L;
  const double note = (f.xr1 + f.xr2) / 2.0;
  struct Value {
    double dy;
    const char *value, *condition;
  };
  static constexpr std::array<Value, 2> values = {{
      {-1.5, "*V*_{m} = 22,4 L · mol^{−1}", "(0 °C ; 1,013 bar)"},
      {0.5, "*V*_{m} = 24 L · mol^{−1}", "(20 °C ; 1,013 bar)"},
  }};
  for (const Value &v : values) {
    cv.CurrentY = Ym + v.dy * L;
    cv.CurrentX = f.xr1 + TW(p, QStringLiteral("W"));
    PrintRich(p, QString::fromUtf8(v.value), End::Run);
    cv.CurrentX = note;
    cv.Print(QString::fromUtf8(v.condition));
  }

  // The legend of the units, under the right panel.
  cv.CurrentY = f.yh + 10 * L;
  BlankLines(p, 2);
  cv.Font.Bold = true;
  const std::int16_t Yl = I16(cv.CurrentY);
  const double half = TW(p, QStringLiteral("WWWWW"));
  const double lx1 = 0.75 * W - half, lx2 = 0.75 * W + half;
  const double lyb = Yl + 8.5 * L;
  WhiteBox(p, lx1, Yl, lx2, lyb);
  static constexpr std::array<const char *, 5> legend = {
      "*n* en mol", "*m* en g", "*M* en g · mol^{−1}", "*V* en L", "*V*_{m} en L · mol^{−1}"};
  for (std::size_t i = 0; i < legend.size(); ++i) {
    cv.CurrentY = Yl + (0.5 + 1.5 * static_cast<double>(i)) * L;
    cv.CurrentX = lx1 + TW(p, QStringLiteral("W"));
    PrintRich(p, QString::fromUtf8(legend[i]));
  }

  Highlight(p, molarMass.x1, molarMass.ya, molarMass.x2, molarMass.yb, kFormulaTint);
  Highlight(p, molarVolume.x1, molarVolume.ya, molarVolume.x2, molarVolume.yb, kFormulaTint);
  Highlight(p, lx1, Yl, lx2, lyb, kFormulaTint);

  yellowRule(p, f, f.xl1, f.xl2, 5);
  yellowRule(p, f, f.xr1, f.xr2, 5);
  yellowRule(p, f, f.xl1, f.xl2, 8);
  yellowRule(p, f, f.xl1, f.xl2, 11);
  blueFrame(p, f);

  PictureCleanUp(p, false);
  cv.CurrentY = f.yh + 15 * L;
  BlankLines(p, 3);
  StoreLine(p);
}

} // namespace abrevel

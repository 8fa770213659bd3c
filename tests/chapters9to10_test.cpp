// The screens of chapters 9 and 10: the columns of 901 under their picture,
// the annotated equation of 902 and the chain of fractions of 1002, on
// screen and on paper (their fit, texts and missing pictures are checked
// with the whole course).
#include "tests/sheettest.h"
#include "toolkit/errors.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace abrevel;
using namespace abrevel::sheettest;

namespace {

// The recording target's Arial: a line is 1.2 em and a character 0.5 em
// (0.6 em in bold), the em being 10 points at the target's resolution.
struct Metrics {
  double k; // drawing scale
  double em() const { return 10 * 96 * k / 72; }
  double L() const { return 1.2 * em(); }
  double TW(const QString &text) const { return text.size() * 0.5 * em(); }
};

std::vector<DrawOp> textsAfter(const std::vector<DrawOp> &ops, const DrawOp &first) {
  std::vector<DrawOp> after;
  bool seen = false;
  for (const DrawOp &op : ops) {
    if (seen && op.kind == DrawOp::Text)
      after.push_back(op);
    seen = seen || (op.kind == first.kind && op.text == first.text && op.x1 == first.x1 &&
                    op.y1 == first.y1);
  }
  return after;
}

std::vector<DrawOp> linesOf(const std::vector<DrawOp> &ops) {
  std::vector<DrawOp> lines;
  for (const DrawOp &op : ops)
    if (op.kind == DrawOp::Line)
      lines.push_back(op);
  return lines;
}

// A black segment between the two points, drawn in either direction.
bool hasSegment(const std::vector<DrawOp> &ops, double xa, double ya, double xb, double yb) {
  auto near = [](double a, double b) { return std::abs(a - b) < 1e-6; };
  for (const DrawOp &op : linesOf(ops)) {
    if (op.color != QBColor(0))
      continue;
    if ((near(op.x1, xa) && near(op.y1, ya) && near(op.x2, xb) && near(op.y2, yb)) ||
        (near(op.x1, xb) && near(op.y1, yb) && near(op.x2, xa) && near(op.y2, ya)))
      return true;
  }
  return false;
}

} // namespace

TEST(Chapters9to10, Screen901ColumnsHangFromTheLeftEdgeOfItsPicture) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const auto &[w, h] : {std::pair{300, 80}, std::pair{520, 150}}) {
    writePicture(dir.path(), QStringLiteral("pces901.gif"), w, h);
    for (const double dpi : {96.0, kPaperDpi}) {
      SCOPED_TRACE(w);
      SCOPED_TRACE(dpi);
      const Metrics m{dpi / 96};
      const double W = kClientWidth * m.k;
      const auto ops = drawScreen(901, dir.path(), dpi);
      const auto pictures = images(ops);
      ASSERT_EQ(pictures.size(), 1u);
      const DrawOp &picture = pictures[0];
      const double Xp = toInt16(W / 2 - w * m.k / 2);
      EXPECT_NEAR(picture.x1, Xp, 1e-6);
      EXPECT_NEAR(picture.x2 - picture.x1, w * m.k, 1e-6);

      // The headers one blank line under the picture, the left one at its
      // left edge, the right one a "W" past the middle.
      const auto initial =
          textOp(ops, QStringLiteral("Le système chimique à l'état initial contient :"));
      const auto final =
          textOp(ops, QStringLiteral("Le système chimique à l'état final contient :"));
      ASSERT_TRUE(initial && final);
      EXPECT_NEAR(initial->x1, Xp, 1e-6);
      EXPECT_NEAR(initial->y1, picture.y1 + h * m.k + m.L(), 1e-6);
      const double Xr = toInt16(W / 2 + m.TW(QStringLiteral("W")));
      EXPECT_NEAR(final->x1, Xr, 1e-6);
      EXPECT_EQ(final->y1, initial->y1);

      // Each row half a line below the one before (to the whole pixel the
      // bullet rounds it to), its bullets at the columns' edges; the last
      // row has its right item only.
      const char *left[] = {"le ou les réactifs", "le solvant (éventuellement)", "autres."};
      double y = initial->y1;
      for (const char *item : left) {
        y += 1.5 * m.L();
        const auto text = textOp(ops, QString::fromUtf8(item));
        ASSERT_TRUE(text) << item;
        EXPECT_NEAR(text->y1, y, 0.5) << item;
      }
      std::vector<double> bullets;
      for (const DrawOp &op : ops)
        if (op.kind == DrawOp::Text && op.text.startsWith(QChar(0x2022)))
          bullets.push_back(op.x1);
      ASSERT_EQ(bullets.size(), 8u); // 3 left, 4 right, the closing statement
      for (std::size_t i : {0u, 2u, 4u, 7u})
        EXPECT_NEAR(bullets[i], Xp, 1e-6) << i;
      for (std::size_t i : {1u, 3u, 5u, 6u})
        EXPECT_NEAR(bullets[i], Xr, 1e-6) << i;
    }
  }
  // Without the picture its place stays empty and the left column hangs
  // from it as with the shipped picture, left of the right column.
  ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("pces901.gif"))));
  const auto ops = drawScreen(901, dir.path());
  EXPECT_TRUE(images(ops).empty());
  const QString initialText = QStringLiteral("Le système chimique à l'état initial contient :");
  const auto initial = textOp(ops, initialText);
  ASSERT_TRUE(initial);
  EXPECT_EQ(initial->x1, textOp(drawScreen(901, appDir()), initialText)->x1);
  EXPECT_LT(initial->x1, kClientWidth / 2);
}

TEST(Chapters9to10, Screen902NamesTheRedCoefficientOnScreenAndPaper) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const double dpi : {96.0, kPaperDpi}) {
    SCOPED_TRACE(dpi);
    const Metrics m{dpi / 96};
    const double s = m.k, W = kClientWidth * s;
    const auto ops = drawScreen(902, dir.path(), dpi);

    // The equation centred on its template, the coefficient in bold red and
    // everything after it in plain black.
    const auto cu = textOp(ops, QStringLiteral("Cu"));
    ASSERT_TRUE(cu);
    EXPECT_NEAR(cu->x1, (W - m.TW(QStringLiteral("Cu2+ 2 2HO- = Cu(OB)2"))) / 2, 1e-6);
    std::optional<DrawOp> red;
    for (const DrawOp &op : ops)
      if (op.kind == DrawOp::Text && op.color == QBColor(12))
        red = op;
    ASSERT_TRUE(red);
    EXPECT_EQ(red->text, QStringLiteral("2"));
    EXPECT_TRUE(red->font.Bold);
    EXPECT_NEAR(red->y1, cu->y1, 0.5); // the exponent before it rounds the line
    const auto after = textsAfter(ops, *red);
    ASSERT_GE(after.size(), 5u);
    EXPECT_EQ(after[0].text, QStringLiteral(" HO"));
    EXPECT_EQ(after[3].text, QStringLiteral("Cu(OH)"));
    for (const DrawOp &op : after) {
      EXPECT_EQ(op.color, QBColor(0)) << op.text.toStdString();
      EXPECT_FALSE(op.font.Bold) << op.text.toStdString();
    }

    // The arrowhead's tip under the middle of the coefficient, at the foot
    // of its line; the leader down from it and left to where the label ends.
    const double Xc = toInt16(red->x1 + m.TW(QStringLiteral("2")) / 2);
    const double Y0 = toInt16(red->y1 + m.L());
    EXPECT_NEAR(Y0, red->y2, 0.5);
    // Measured in the plain font, the bold figure's middle is off by the
    // difference of their half widths at most.
    EXPECT_NEAR(Xc, (red->x1 + red->x2) / 2, 0.05 * m.em() + 0.5);
    const double Yb = toInt16(Y0 + 2 + m.L());
    const double Xl = toInt16(Xc - m.TW(QStringLiteral("WW")));
    EXPECT_TRUE(hasSegment(ops, Xc, Y0, Xc + 3 * s, Y0 + 6 * s));
    EXPECT_TRUE(hasSegment(ops, Xc, Y0, Xc - 3 * s, Y0 + 6 * s));
    EXPECT_TRUE(hasSegment(ops, Xc, Y0, Xc, Yb));
    EXPECT_TRUE(hasSegment(ops, Xc, Yb, Xl, Yb));
    EXPECT_EQ(linesOf(ops).size(), 4u);

    const auto label = textOp(ops, QStringLiteral("nombre stœchiométrique "));
    ASSERT_TRUE(label);
    EXPECT_NEAR(label->x2, Xl, 1e-6);
    EXPECT_NEAR((label->y1 + label->y2) / 2, Yb, 1e-6);
    EXPECT_FALSE(label->font.Bold);
    EXPECT_EQ(label->color, QBColor(0));
  }
}

TEST(Chapters9to10, Screen1002ChainOfFractionsIsCentredOnItsTemplate) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const double dpi : {96.0, kPaperDpi}) {
    SCOPED_TRACE(dpi);
    const Metrics m{dpi / 96};
    const double s = m.k, W = kClientWidth * s, L = m.L();
    const auto ops = drawScreen(1002, dir.path(), dpi);

    // Three rules, the only lines of the screen, one blank line under the
    // line that announces them.
    const auto rules = linesOf(ops);
    ASSERT_EQ(rules.size(), 3u);
    const auto announce = textOp(ops, QStringLiteral("stœchiométriques lorsque :"));
    ASSERT_TRUE(announce);
    const double Yr = toInt16(announce->y1 + 2 * L);
    const double ruleWidth = m.TW(QStringLiteral("nA"));
    for (const DrawOp &rule : rules) {
      EXPECT_EQ(rule.y1, Yr);
      EXPECT_EQ(rule.y2, Yr);
      EXPECT_EQ(rule.color, QBColor(0));
      EXPECT_NEAR(rule.x2 - rule.x1, ruleWidth, 1e-6);
    }
    const double X1 = toInt16((W - m.TW(QStringLiteral("nA = nB = nC"))) / 2);
    EXPECT_NEAR(rules[0].x1, X1, 1e-6);
    // The template is as wide as the chain: its two ends lie as far from
    // the middle of the page (to the rounding of each start).
    EXPECT_NEAR(W / 2 - rules[0].x1, rules[2].x2 - W / 2, 1.0);

    const char *species[] = {"A", "B", "C"};
    const char *coefficients[] = {"a", "b", "c"};
    for (std::size_t k = 0; k < 3; ++k) {
      SCOPED_TRACE(k);
      const double Xk = rules[k].x1;
      bool numerator = false, index = false, denominator = false;
      for (const DrawOp &op : ops) {
        if (op.kind != DrawOp::Text)
          continue;
        if (op.text == QLatin1String("n") && op.font.Italic && op.x1 == Xk &&
            std::abs(op.y1 - (Yr - 1.4 * L)) < 1e-6)
          numerator = true;
        if (op.text == QLatin1String(species[k]) && op.font.Size == 8 &&
            std::abs(op.x1 - (Xk + m.TW(QStringLiteral("n")))) < 1e-6 &&
            std::abs(op.y1 - (toInt16(Yr - 1.2 * L) + 5 * s)) < 1e-6)
          index = true;
        if (op.text == QLatin1String(coefficients[k]) && op.font.Italic &&
            std::abs(op.x1 - (Xk + (ruleWidth - m.TW(QStringLiteral("a"))) / 2)) < 1e-6 &&
            op.y1 == Yr)
          denominator = true;
      }
      EXPECT_TRUE(numerator);
      EXPECT_TRUE(index);
      EXPECT_TRUE(denominator);
    }

    // An "= " half a line up, one space after each rule but the last; the
    // next rule starts where it ends.
    std::vector<DrawOp> equals;
    for (const DrawOp &op : ops)
      if (op.kind == DrawOp::Text && op.text == QLatin1String("= "))
        equals.push_back(op);
    ASSERT_EQ(equals.size(), 2u);
    for (std::size_t k = 0; k < 2; ++k) {
      EXPECT_NEAR(equals[k].x1, rules[k].x2 + m.TW(QStringLiteral(" ")), 1e-6);
      EXPECT_NEAR(equals[k].y1, Yr - L / 2, 1e-6);
      EXPECT_NEAR(rules[k + 1].x1, toInt16(equals[k].x2), 1e-6);
    }
  }
}

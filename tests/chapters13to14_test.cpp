// The screens of chapters 13 and 14: the framed tables of spectra and their
// column rule, the stacked charge and index of the permanganate ion, the
// built fraction n = c / v, the screen that stops at its first missing
// spectrum, and the text of 1402 kept left of its spectra (their fit,
// texts and missing pictures are checked with the whole course).
#include "sheets/physics/physics.h"
#include "tests/sheettest.h"
#include "toolkit/devices.h"
#include "toolkit/framedtable.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace abrevel;
using namespace abrevel::sheettest;

namespace {

// Fixture pictures: the two spectroscopes (the second shorter, so that a
// drawer reading the wrong one is seen) and spectra of one chosen width.
class SpectraPictures : public ::testing::Test {
protected:
  void write(int spectrumWidth) {
    ASSERT_TRUE(dir.isValid());
    writePicture(dir.path(), QStringLiteral("pces1401.bmp"), 330, 100);
    writePicture(dir.path(), QStringLiteral("pces1402.bmp"), 330, 90);
    for (int i = 3; i <= 7; ++i)
      writePicture(dir.path(), QStringLiteral("pces140%1.bmp").arg(i), spectrumWidth, 30);
  }
  QTemporaryDir dir;
};

bool isLine(const DrawOp &op, const QColor &colour) {
  return op.kind == DrawOp::Line && op.color == colour;
}

// The width of the picture column's label on a recording target: 8 points,
// bold, as the table header is measured.
double labelWidth(double dpi) {
  RecordingCanvas cv(100, 100, dpi);
  cv.Font.Size = 8;
  cv.Font.Bold = true;
  return cv.TextWidth(QStringLiteral(" Spectre d'absorption "));
}

} // namespace

TEST(FramedTable, ShadowThenWhiteGroundThenBlueRulesWithTheSplitStoppingWhereAsked) {
  for (const double k : {1.0, kPaperScale}) {
    SCOPED_TRACE(k);
    RecordingCanvas cv(800 * k, 600 * k, 96 * k);
    Page p = pageFor(cv, QString(), k, 0);
    const FramedTable table{10, 110, 50, {20, 40, 80}, 40};
    FramedTableGround(p, table);
    cv.CurrentX = 60;
    cv.CurrentY = 50;
    cv.Print(QStringLiteral("cellule"));
    FramedTableRules(p, table);

    const auto &ops = cv.ops();
    ASSERT_EQ(ops.size(), 9u);
    EXPECT_EQ(ops[0].kind, DrawOp::FilledBox);
    EXPECT_EQ(ops[0].color, QBColor(7));
    EXPECT_DOUBLE_EQ(ops[0].x1, 10 + 3 * k);
    EXPECT_DOUBLE_EQ(ops[0].y1, 20 + 3 * k);
    EXPECT_DOUBLE_EQ(ops[0].x2, 110 + 3 * k);
    EXPECT_DOUBLE_EQ(ops[0].y2, 80 + 3 * k);
    EXPECT_EQ(ops[1].kind, DrawOp::FilledBox);
    EXPECT_EQ(ops[1].color, QBColor(15));
    EXPECT_DOUBLE_EQ(ops[1].x1, 10);
    EXPECT_DOUBLE_EQ(ops[1].y2, 80);
    EXPECT_EQ(ops[2].kind, DrawOp::Text); // the cell lies under the rules
    for (std::size_t i = 3; i < ops.size(); ++i)
      EXPECT_TRUE(isLine(ops[i], QBColor(9))) << i;
    // Three rules across, the two edges full height, the split to y = 40.
    for (std::size_t i = 3; i < 6; ++i) {
      EXPECT_DOUBLE_EQ(ops[i].x1, 10);
      EXPECT_DOUBLE_EQ(ops[i].x2, 110);
    }
    const DrawOp &split = ops[7];
    EXPECT_DOUBLE_EQ(split.x1, 50);
    EXPECT_DOUBLE_EQ(split.y1, 20);
    EXPECT_DOUBLE_EQ(split.y2, 40);
    EXPECT_DOUBLE_EQ(ops[6].y2, 80);
    EXPECT_DOUBLE_EQ(ops[8].y2, 80);
  }
}

// The picture column is as wide as its label, or as the spectrum and
// 5 × s on either side when that is wider, on screen and on paper; every
// table keeps its split there.
TEST_F(SpectraPictures, PictureColumnTakesTheLabelOrTheSpectrumWhicheverIsWider) {
  for (const int spectrum : {40, 200}) {
    write(spectrum);
    for (const double dpi : {96.0, kPaperDpi}) {
      SCOPED_TRACE(testing::Message() << spectrum << " px at " << dpi << " dpi");
      const double k = dpi / 96;
      const double label = labelWidth(dpi);
      ASSERT_TRUE(spectrum + 10 < label / k || spectrum + 10 > label / k);
      const double C = std::max(label, (spectrum + 10) * k);
      const auto ops = drawScreen(1401, dir.path(), dpi);
      const double W = kClientWidth * k;
      const double XL = W * 0.25 - 330 * k / 2, XR = W * 0.75 - 330 * k / 2;
      std::vector<double> splits;
      for (const DrawOp &op : ops)
        if (isLine(op, QBColor(9)) && op.x1 == op.x2 &&
            ((op.x1 > XL + 1 && op.x1 < XL + 330 * k - 1) ||
             (op.x1 > XR + 1 && op.x1 < XR + 330 * k - 1)))
          splits.push_back(op.x1);
      ASSERT_EQ(splits.size(), 4u);
      EXPECT_NEAR(splits[0], XL + C, 1);
      EXPECT_NEAR(splits[1], XR + C, 1);
      EXPECT_NEAR(splits[2], XL + C, 1);
      EXPECT_NEAR(splits[3], XR + C, 1);
      // Each spectrum is centred in its picture column.
      const auto pictures = images(ops);
      ASSERT_EQ(pictures.size(), 7u);
      EXPECT_NEAR((pictures[2].x1 + pictures[2].x2) / 2, XL + C / 2, 1);
      EXPECT_NEAR((pictures[4].x1 + pictures[4].x2) / 2, XR + C / 2, 1);
    }
  }
}

// Grounds first, then the header, the cells and the spectra, the rules last;
// the absorption table of the first pair has its split over its first row
// only, so that the note below spans the table.
TEST_F(SpectraPictures, TablesAreDrawnGroundFirstRulesLastWithTheNoteAcrossTheWholeTable) {
  write(200);
  const auto ops = drawScreen(1401, dir.path());
  auto firstIndex = [&](auto &&predicate) {
    return std::find_if(ops.begin(), ops.end(), predicate) - ops.begin();
  };
  const auto shadow = firstIndex(
      [](const DrawOp &op) { return op.kind == DrawOp::FilledBox && op.color == QBColor(7); });
  const auto white = firstIndex(
      [](const DrawOp &op) { return op.kind == DrawOp::FilledBox && op.color == QBColor(15); });
  const auto header = firstIndex([](const DrawOp &op) {
    return op.kind == DrawOp::Text && op.text == QStringLiteral("(spectre continu)");
  });
  const auto spectrum = firstIndex([](const DrawOp &op) {
    return op.kind == DrawOp::Image && op.text.endsWith(QLatin1String("pces1403.bmp"));
  });
  const auto rule = firstIndex([](const DrawOp &op) { return isLine(op, QBColor(9)); });
  EXPECT_LT(shadow, white);
  EXPECT_LT(white, header);
  EXPECT_LT(header, spectrum);
  EXPECT_LT(spectrum, rule);
  EXPECT_EQ(ops[shadow].x1 - 3, ops[white].x1);
  EXPECT_EQ(ops[shadow].y2 - 3, ops[white].y2);

  // The right table of the first pair: the split ends on the first row's
  // rule, and the note's lines are centred across the whole table.
  const double XR = 784 * 0.75 - 165, XRe = XR + 330;
  const auto note = textOp(ops, QStringLiteral("des espèces chimiques colorées présentes"));
  ASSERT_TRUE(note);
  EXPECT_NEAR((note->x1 + note->x2) / 2, (XR + XRe) / 2, 0.5);
  const DrawOp *split = nullptr;
  for (const DrawOp &op : ops)
    if (isLine(op, QBColor(9)) && op.x1 == op.x2 && op.x1 > XR + 1 && op.x1 < XRe - 1) {
      split = &op;
      break;
    }
  ASSERT_TRUE(split);
  EXPECT_LT(split->y2, note->y1);
}

TEST_F(SpectraPictures, PermanganateChargeAndIndexAreStackedAboveAndBelowTheLine) {
  write(200);
  for (const double dpi : {96.0, kPaperDpi}) {
    SCOPED_TRACE(dpi);
    const double k = dpi / 96;
    const auto ops = drawScreen(1401, dir.path(), dpi);
    const auto K = textOp(ops, QStringLiteral("K"));
    const auto plus = textOp(ops, QStringLiteral("+"));
    const auto charge = textOp(ops, QStringLiteral("−"));
    const auto index = textOp(ops, QStringLiteral("4"));
    ASSERT_TRUE(K && plus && charge && index);
    const double top = K->y1;
    EXPECT_EQ(K->font.Size, 10);
    EXPECT_DOUBLE_EQ(plus->y1, top - 5 * k);
    EXPECT_DOUBLE_EQ(plus->x1, K->x2);
    EXPECT_DOUBLE_EQ(charge->y1, top - 5 * k);
    EXPECT_DOUBLE_EQ(index->y1, top + 5 * k);
    EXPECT_DOUBLE_EQ(index->x1, charge->x1);
    for (const auto &mark : {plus, charge, index})
      EXPECT_EQ(mark->font.Size, 8);
  }
}

TEST(Chapter13, FractionPlacesItsTermsByHalfTheWidthOfAW) {
  QTemporaryDir empty;
  for (const double dpi : {96.0, kPaperDpi}) {
    SCOPED_TRACE(dpi);
    const double k = dpi / 96;
    const auto ops = drawScreen(1302, empty.path(), dpi);
    const auto n = textOp(ops, QStringLiteral("n"));
    const auto c = textOp(ops, QStringLiteral("c"));
    const auto v = textOp(ops, QStringLiteral("v"));
    ASSERT_TRUE(n && c && v);
    // Bold Arial 10 on the recording target: a "W" is 8 px wide, a "w" too.
    // The line top and the X after " = " are kept as whole pixels.
    const double w = 8 * k;
    const double top = I16(n->y1);
    EXPECT_DOUBLE_EQ(c->y1, top - w / 2);
    EXPECT_DOUBLE_EQ(v->y1, top + w / 2);
    EXPECT_NEAR(c->x1, v->x1, 0.5);
    EXPECT_DOUBLE_EQ(v->x1, I16(c->x1));
    for (const auto &term : {n, c, v}) {
      EXPECT_TRUE(term->font.Italic && term->font.Bold);
      EXPECT_EQ(term->color, QBColor(2));
    }
    const auto bar = std::find_if(ops.begin(), ops.end(),
                                  [](const DrawOp &op) { return isLine(op, QBColor(2)); });
    ASSERT_NE(bar, ops.end());
    EXPECT_DOUBLE_EQ(bar->x1, v->x1);
    EXPECT_DOUBLE_EQ(bar->x2, v->x1 + w);
    EXPECT_DOUBLE_EQ(bar->y1, top + 0.7 * w);
    EXPECT_DOUBLE_EQ(bar->y2, bar->y1);
  }
}

// Screen 1402 stops at its first error: with either spectrum missing its
// heading and paragraphs stand and neither spectrum nor label is drawn;
// screen 1401 skips a missing spectrum and draws everything else.
TEST_F(SpectraPictures, WhatStandsWhenASpectrumIsMissing) {
  write(200);
  struct Case {
    int code;
    const char *missing; // nullptr: every picture there
    std::size_t pictures;
    bool labels; // the labels beside the spectra (1402) or in the tables (1401)
  };
  const Case cases[] = {
      {1402, nullptr, 2, true},         {1402, "pces1406.bmp", 0, false},
      {1402, "pces1407.bmp", 0, false}, {1401, "pces1406.bmp", 6, true},
      {1401, "pces1403.bmp", 6, true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.code << " without " << (c.missing ? c.missing : "-"));
    const QString aside = dir.filePath(QStringLiteral("aside.tmp"));
    if (c.missing) {
      ASSERT_TRUE(QFile::rename(dir.filePath(QLatin1String(c.missing)), aside));
    }
    const auto ops = drawScreen(c.code, dir.path());
    if (c.missing) {
      ASSERT_TRUE(QFile::rename(aside, dir.filePath(QLatin1String(c.missing))));
    }
    EXPECT_EQ(images(ops).size(), c.pictures);
    if (c.code == 1402) {
      EXPECT_TRUE(textOp(ops, QStringLiteral("que les radiations qu'il est capable d'émettre.")));
      EXPECT_TRUE(textOp(ops, QStringLiteral("composition chimique de son enveloppe externe.")));
      EXPECT_EQ(bool(textOp(ops, QStringLiteral("Spectre d'émission"))), c.labels);
      EXPECT_EQ(bool(textOp(ops, QStringLiteral("de la vapeur de mercure"))), c.labels);
    } else {
      EXPECT_TRUE(textOp(ops, QStringLiteral("Hg (mercure)")));
      EXPECT_TRUE(textOp(ops, QStringLiteral("à 9 000 °C")));
      EXPECT_TRUE(textOp(ops, QStringLiteral("chimique du gaz")));
    }
  }
}

// The paragraphs of 1402 end left of the spectra beside them, with the real
// fonts, on screen and on paper.
TEST(Chapter14, ParagraphsStayLeftOfTheSpectra) {
  for (const double dpi : {96.0, kPaperDpi}) {
    SCOPED_TRACE(dpi);
    const double k = dpi / 96;
    RecordingCanvas cv(kClientWidth * k, kClientHeight * k, dpi,
                       RecordingCanvas::Metrics::Installed);
    Page p = pageFor(cv, appDir(), k, findScreen(1402)->lineStart * k);
    callDrawer(p, Screen1402);
    const auto pictures = images(cv.ops());
    ASSERT_EQ(pictures.size(), 2u);
    const double left = pictures[0].x1;
    for (const DrawOp &op : cv.ops()) {
      if (op.kind == DrawOp::Text && op.font.Size == 10 && op.y1 > pictures[0].y1 - 2 * k) {
        EXPECT_LT(op.x2, left - 5 * k) << op.text.toStdString();
      }
    }
  }
}

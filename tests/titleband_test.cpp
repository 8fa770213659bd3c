// The chapter title band, on the recording canvas.
#include "shell/titleband.h"
#include "toolkit/recordingcanvas.h"

#include <gtest/gtest.h>

#include <vector>

using namespace abrevel;

namespace {

std::vector<DrawOp> textOps(const RecordingCanvas &band) {
  std::vector<DrawOp> texts;
  for (const DrawOp &op : band.ops())
    if (op.kind == DrawOp::Text)
      texts.push_back(op);
  return texts;
}

} // namespace

TEST(TitleBand, ColourRunsFromPaleYellowToWhiteCharacterByCharacter) {
  RecordingCanvas band(TitleBandWidth, TitleBandHeight);
  tito_Paint(band, 17);

  ASSERT_FALSE(band.ops().empty());
  EXPECT_EQ(band.ops().front().kind, DrawOp::Clear);
  EXPECT_EQ(band.ops().front().color, QColor(0, 128, 128));

  const std::vector<DrawOp> texts = textOps(band);
  const std::vector<int> blue = {163, 172, 180, 188, 197, 205, 213, 222, 230, 238, 247, 255};
  ASSERT_EQ(texts.size(), blue.size());
  QString drawn;
  double x = 30;
  for (size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(texts[i].color, QColor(255, 255, blue[i])) << i;
    EXPECT_DOUBLE_EQ(texts[i].x1, x) << i;
    x += 0.6 * 18 * 96 / 72; // one bold character of the recording metrics
    drawn += texts[i].text;
  }
  EXPECT_EQ(drawn, QStringLiteral("17. Le temps"));

  // Halves go to the even blue: "8. Concentration molaire" has 24
  // characters, so characters 3, 9, 15, 21 fall on .5.
  RecordingCanvas eight(TitleBandWidth, TitleBandHeight);
  tito_Paint(eight, 8);
  const std::vector<DrawOp> letters = textOps(eight);
  ASSERT_EQ(letters.size(), 24u);
  const struct {
    size_t i;
    int blue;
  } halves[] = {{3, 168}, {9, 192}, {15, 218}, {21, 242}, {24, 255}};
  for (const auto &h : halves)
    EXPECT_EQ(letters[h.i - 1].color, QColor(255, 255, h.blue)) << h.i;
}

TEST(TitleBand, TitleFontAndPlacePerChapter) {
  const struct {
    std::int16_t chapter;
    const char *title;
    double size;
  } cases[] = {
      {1, "1. Espèces chimiques", 18},
      {6, "6. La classification périodique des éléments chimiques", 16},
      {11, "11. L'Univers : de l'atome aux galaxies", 18},
      {19, "19. Le gaz parfait", 18},
      {20, "Un système dispersif : le prisme", 18},
      {0, "Un système dispersif : le prisme", 18},
      {-3, "Un système dispersif : le prisme", 18},
  };
  for (const auto &c : cases) {
    RecordingCanvas band(TitleBandWidth, TitleBandHeight);
    tito_Paint(band, c.chapter);
    QString drawn;
    for (const DrawOp &op : textOps(band)) {
      drawn += op.text;
      EXPECT_EQ(op.font.Name, QStringLiteral("Arial"));
      EXPECT_EQ(op.font.Size, c.size) << c.chapter;
      EXPECT_TRUE(op.font.Bold);
      // Centred on the band's height from the whole title's height, raised
      // by 2 pixels: every character on one line.
      const double lineHeight = 1.2 * c.size * 96 / 72;
      EXPECT_DOUBLE_EQ(op.y1, (TitleBandHeight - lineHeight) / 2 - 2) << c.chapter;
    }
    EXPECT_EQ(drawn, QString::fromUtf8(c.title)) << c.chapter;
  }
}

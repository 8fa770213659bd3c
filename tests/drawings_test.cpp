// The drawings of assets/src, read as they are written: every character of
// a picture at least 12 pixels high, exponents and indices included. An
// exponent or an index is a text of its own in a smaller size; the
// superscript and subscript characters of Unicode (², ₃) are drawn at about
// half the size of the text around them, so they are refused wherever they
// stand.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace {

constexpr double kSmallestText = 12.0; // pixels

bool isRaisedOrLowered(char32_t c) {
  return c == 0x00B2 || c == 0x00B3 || c == 0x00B9 || (c >= 0x2070 && c <= 0x209F);
}

// How much a transform attribute enlarges text vertically.
double heightScale(const QString &transform) {
  double k = 1;
  static const QRegularExpression call(QStringLiteral(R"((scale|matrix)\s*\(([^)]*)\))"));
  for (auto it = call.globalMatch(transform); it.hasNext();) {
    const auto m = it.next();
    QStringList args =
        m.captured(2).split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
    std::vector<double> v;
    for (const QString &a : args)
      v.push_back(a.toDouble());
    if (m.captured(1) == QLatin1String("scale") && !v.empty())
      k *= std::fabs(v.size() > 1 ? v[1] : v[0]);
    else if (m.captured(1) == QLatin1String("matrix") && v.size() == 6)
      k *= std::sqrt(std::fabs(v[0] * v[3] - v[1] * v[2]));
  }
  return k;
}

// What is wrong with the texts of a drawing, one line per fault.
QStringList textFaults(const QByteArray &svg) {
  QStringList faults;
  QXmlStreamReader xml(svg);
  struct Level {
    double fontSize, scale;
  };
  std::vector<Level> levels{{16.0, 1.0}}; // the renderer's default size
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement()) {
      const auto attributes = xml.attributes();
      Level level = levels.back();
      if (attributes.hasAttribute(QStringLiteral("font-size")))
        level.fontSize = attributes.value(QStringLiteral("font-size")).toDouble();
      if (attributes.hasAttribute(QStringLiteral("transform")))
        level.scale *= heightScale(attributes.value(QStringLiteral("transform")).toString());
      levels.push_back(level);
    } else if (xml.isEndElement()) {
      levels.pop_back();
    } else if (xml.isCharacters() && !xml.isWhitespace()) {
      const QString text = xml.text().toString().trimmed();
      const double size = levels.back().fontSize * levels.back().scale;
      if (size < kSmallestText)
        faults
            << QStringLiteral("line %1: \"%2\" at %3 px").arg(xml.lineNumber()).arg(text).arg(size);
      for (char32_t c : text.toUcs4())
        if (isRaisedOrLowered(c)) {
          faults << QStringLiteral("line %1: \"%2\" raises or lowers a character by itself")
                        .arg(xml.lineNumber())
                        .arg(text);
          break;
        }
    }
  }
  if (xml.hasError())
    faults << QStringLiteral("not well formed: %1").arg(xml.errorString());
  return faults;
}

} // namespace

TEST(Drawings, TextFaultsAreFoundWhereverTheSizeComesFrom) {
  const struct {
    const char *svg;
    bool fault;
  } cases[] = {
      {R"x(<svg><text font-size="13">Terre</text></svg>)x", false},
      {R"x(<svg><text font-size="11">Terre</text></svg>)x", true},
      // the size inherited from a group, and a text of its own overriding it
      {R"x(<svg><g font-size="10"><text>Lune</text></g></svg>)x", true},
      {R"x(<svg><g font-size="10"><text font-size="12">Lune</text></g></svg>)x", false},
      // a group scaled down, and one scaled up
      {R"x(<svg><g transform="translate(5,5) scale(0.85)"><text font-size="13">A</text></g></svg>)x",
       true},
      {R"x(<svg><g transform="scale(1.5)"><text font-size="9">A</text></g></svg>)x", false},
      // an exponent or an index written as a Unicode character
      {R"x(<svg><text font-size="14">(K)²</text></svg>)x", true},
      {R"x(<svg><text font-size="14">C₂H₆O</text></svg>)x", true},
      // a comment or a description is not drawn
      {R"x(<svg><!-- tiny --><text font-size="14">8</text></svg>)x", false},
  };
  for (const auto &c : cases)
    EXPECT_EQ(!textFaults(c.svg).isEmpty(), c.fault) << c.svg;
}

TEST(Drawings, EveryCharacterOfEveryDrawingIsAtLeast12PixelsHigh) {
  const QDir sources(QStringLiteral(ABREVEL_SOURCE_DIR "/assets/src"));
  const QStringList drawings = sources.entryList({QStringLiteral("*.svg")}, QDir::Files);
  ASSERT_FALSE(drawings.isEmpty());
  for (const QString &name : drawings) {
    QFile file(sources.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(name);
    const QStringList faults = textFaults(file.readAll());
    EXPECT_TRUE(faults.isEmpty()) << qPrintable(name) << ": " << qPrintable(faults.join("; "));
  }
}

// A keyed picture's edge is either left to the page or taken by its frame:
// a few drawn pixels on an edge otherwise free are a hose, a line or a
// stand cut flat by the edge of the canvas. Three pictures reach their
// edges on purpose: the Sun shown in part at the left of the solar system,
// the round emblem of the Galaxy that fills its square, and the progress
// table of chapter 10, whose rounded corners take a fifth of its sides.
TEST(Drawings, NothingIsCutByTheEdgeOfAKeyedPicture) {
  const QStringList onPurpose{
      QStringLiteral("pces1102.bmp top"),    QStringLiteral("pces1103.bmp top"),
      QStringLiteral("pces1103.bmp bottom"), QStringLiteral("pces1103.bmp left"),
      QStringLiteral("pces1103.bmp right"),  QStringLiteral("pces1001.gif left"),
      QStringLiteral("pces1001.gif right")};
  const QDir app(QStringLiteral(ABREVEL_APP_DIR));
  const QStringList pictures =
      app.entryList({QStringLiteral("pces*.bmp"), QStringLiteral("pces*.gif")}, QDir::Files);
  ASSERT_FALSE(pictures.isEmpty());
  for (const QString &name : pictures) {
    const QImage image = QImage(app.filePath(name)).convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(image.isNull()) << qPrintable(name);
    auto drawn = [&](int x, int y) {
      const QRgb c = image.pixel(x, y);
      return qAlpha(c) >= 128 && (c & 0xffffffu) != 0xffffffu;
    };
    const int w = image.width(), h = image.height();
    const struct {
      const char *edge;
      int length;
      std::function<bool(int)> at;
    } edges[] = {
        {"top", w, [&](int i) { return drawn(i, 0); }},
        {"bottom", w, [&](int i) { return drawn(i, h - 1); }},
        {"left", h, [&](int i) { return drawn(0, i); }},
        {"right", h, [&](int i) { return drawn(w - 1, i); }},
    };
    for (const auto &e : edges) {
      if (onPurpose.contains(name + QLatin1Char(' ') + QLatin1String(e.edge)))
        continue;
      int count = 0;
      for (int i = 0; i < e.length; ++i)
        count += e.at(i) ? 1 : 0;
      EXPECT_TRUE(count == 0 || count >= e.length * 8 / 10)
          << qPrintable(name) << ": " << count << " drawn pixels on the " << e.edge << " edge of "
          << e.length;
    }
  }
}

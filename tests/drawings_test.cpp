// The drawings of assets/src, read as they are written: every character of
// a picture at least 12 pixels high, exponents and indices included. An
// exponent or an index is a text of its own in a smaller size; the
// superscript and subscript characters of Unicode (², ₃) are drawn at about
// half the size of the text around them, so they are refused wherever they
// stand.
#include "tests/sheettest.h"

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
#include <numbers>
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

namespace {

// The numbers of the first line of a data file that starts with `key`.
std::vector<double> dataLine(const QString &path, const QString &key) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
    return {};
  for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
    const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.value(0) != key)
      continue;
    std::vector<double> numbers;
    for (qsizetype i = 1; i < words.size(); ++i)
      numbers.push_back(words[i].toDouble());
    return numbers;
  }
  return {};
}

// Runs of pixels that `take` accepts along a sequence of samples: the
// middle of each run, in sample units.
std::vector<double> runs(int samples, const std::function<bool(int)> &take) {
  std::vector<double> middles;
  int start = -1;
  for (int i = 0; i <= samples; ++i) {
    const bool in = i < samples && take(i);
    if (in && start < 0)
      start = i;
    if (!in && start >= 0) {
      middles.push_back((start + i - 1) / 2.0);
      start = -1;
    }
  }
  return middles;
}

bool isDot(QRgb c) { return qRed(c) < 110 && qBlue(c) > qRed(c) + 30; }

} // namespace

// The chronophotographs of chapter 15 as shipped: the dots of the straight
// motions read along the track, their steps equal or growing by the same
// amount, each dot standing apart from the next, the last one clear of the
// arrowhead; the dots of the circular motion at equal angles. So in the
// pictures and in their vector forms, which the viewer paints on paper.
TEST(Drawings, ChronophotographDotsShowTheirMotion) {
  const QString app = QStringLiteral(ABREVEL_APP_DIR "/");
  const QString src = QStringLiteral(ABREVEL_SOURCE_DIR "/assets/src/");
  constexpr double radius = 4.5;
  for (const bool vector : {false, true}) {
    SCOPED_TRACE(vector ? "vector forms" : "pictures");
    auto picture = [&](const QString &name) {
      return vector ? abrevel::sheettest::vectorForm(name) : QImage(app + name + ".jpg");
    };
    for (const char *name : {"pces1502", "pces1503"}) {
      SCOPED_TRACE(name);
      const QImage image = picture(QLatin1String(name));
      const std::vector<double> track =
          dataLine(src + name + QStringLiteral(".motion"), QStringLiteral("line"));
      ASSERT_FALSE(image.isNull());
      ASSERT_EQ(track.size(), 4u);
      const int y = int(track[1]);
      const std::vector<double> dots =
          runs(image.width(), [&](int x) { return isDot(image.pixel(x, y)); });
      ASSERT_GE(dots.size(), 4u);
      std::vector<double> steps;
      for (std::size_t i = 1; i < dots.size(); ++i)
        steps.push_back(dots[i] - dots[i - 1]);
      for (double step : steps)
        EXPECT_GE(step - 2 * radius, 4.0) << "two dots run together";
      // Equal steps for the uniform motion; for the accelerated one, each
      // step longer than the one before by the same amount.
      const bool uniform = QLatin1String(name) == QLatin1String("pces1502");
      const double growth = uniform ? 0.0 : steps[1] - steps[0];
      if (!uniform) {
        EXPECT_GT(growth, 4.0) << "the steps do not grow";
      }
      for (std::size_t i = 1; i < steps.size(); ++i)
        EXPECT_NEAR(steps[i] - steps[i - 1], growth, 1.5) << i;
      // The arrowhead: the solid grey run that ends at the tip (its point
      // itself too thin to show on the row).
      auto grey = [&](int x) {
        const QRgb c = image.pixel(x, y);
        return !isDot(c) && qRed(c) < 200 && qRed(c) > 120;
      };
      int base = int(track[2]);
      while (base > 0 && !grey(base))
        --base;
      while (base > 0 && grey(base - 1))
        --base;
      EXPECT_GE(base - (dots.back() + radius), 2.0) << "the last dot touches the arrow";
    }

    const QImage circle = picture(QStringLiteral("pces1504"));
    const std::vector<double> c =
        dataLine(src + QStringLiteral("pces1504.motion"), QStringLiteral("circle"));
    ASSERT_FALSE(circle.isNull());
    ASSERT_EQ(c.size(), 4u);
    constexpr int perTurn = 720;
    auto onCircle = [&](int i) {
      const double angle = i * 2 * std::numbers::pi / perTurn;
      return isDot(circle.pixel(int(std::lround(c[0] + c[2] * std::cos(angle))),
                                int(std::lround(c[1] - c[2] * std::sin(angle)))));
    };
    // One turn read from a place between two dots, so that no dot is split
    // across its start.
    int from = 0;
    while (from < perTurn && onCircle(from))
      ++from;
    const std::vector<double> dots = runs(perTurn, [&](int i) { return onCircle(from + i); });
    ASSERT_GE(dots.size(), 3u);
    const double step = dots[1] - dots[0];
    for (std::size_t i = 1; i < dots.size(); ++i)
      EXPECT_NEAR(dots[i] - dots[i - 1], step, 3.0) << i;
    EXPECT_NEAR(dots.size() * step, perTurn, 6.0) << "the dots do not go round evenly";
    EXPECT_GT(step * 2 * std::numbers::pi / perTurn * c[2] - 2 * radius, 4.0)
        << "two dots run together";
  }
}

// makepictures: renders the drawings of assets/src into the pictures that the
// application folder ships.
//
//   makepictures SOURCE_DIR OUTPUT_DIR
//
// Every SOURCE_DIR/NAME.svg is drawn at its own size (its width and height in
// pixels) and written as OUTPUT_DIR/NAME.bmp, unless the table below gives it
// another format:
//
//  - BMP (the default): 24 bits, drawn over pure white. The viewer keys pure
//    white out of these pictures, so white is where the page shows through,
//    and un-blends from white what touches it (edges, letters, near-white
//    joined to it); a drawing that needs a visibly white area uses a
//    near-white (#FCFCFC) shut in by its lines.
//  - GIF: real transparency (a Graphics Control Extension with a transparent
//    index) where the drawing leaves the canvas uncovered; a pixel at least
//    half covered is opaque, in the colour the drawing gives it. White is
//    keyed out of GIFs too, so an opaque pure white pixel is reported.
//  - PNG: the same palette picture as a GIF, stored as an indexed PNG.
//  - Keyed GIF: drawn over pure white like a BMP, stored as a GIF whose
//    pure white pixels are the transparent index. For pictures with text:
//    the edges of the letters blend with white as they would on paper,
//    instead of being cut to whole pixels at the edge of the canvas.
//  - JPEG: drawn over pure white like a BMP and written by Qt's JPEG writer
//    at quality JpegQuality. JPEG pictures are painted as they are, never
//    keyed: what must look like the page is drawn as part of the picture.
//
// GIF and PNG pictures are reduced to a palette (median cut, no dithering);
// the table can ask for fewer colours to get the flat look of the small
// window pictures. A table row may also make its picture from another
// drawing turned left to right, so that a pair of mirrored arrows comes from
// one source.
//
// The drawings are the pictures' vector forms too: the viewer paints
// NAME.svg wherever NAME is shown larger than its pixels, and the build
// copies them beside the pictures. Where a picture is more than its drawing,
// the tool writes OUTPUT_DIR/NAME.svg as well: a mirrored picture's drawing
// turned left to right; a graph's, a chronophotograph's or a spectroscope's
// drawing with the plot, the motion or the fan of colours added as vectors.
//
// Whatever Qt's SVG renderer complains about in a drawing (an unresolved
// reference, an unknown attribute value) makes the run fail. Some features
// beyond SVG Tiny, clip paths for one, it leaves out silently: look at what a
// changed drawing gives.

#include <QBuffer>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <QSvgRenderer>

#include <gif_lib.h>

#include "tools/wavelengths.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <numbers>
#include <vector>

namespace {

enum class Format { Bmp, Gif, Png, KeyedGif, Jpeg };

// High enough that thin strokes and small labels keep clean edges.
constexpr int JpegQuality = 92;

struct Rule {
  const char *name; // output name, without its suffix
  Format format;
  int colours;          // opaque palette entries at most (GIF, PNG; 0 for the others)
  const char *mirrorOf; // drawn from this source turned left to right
};

// Pictures that are not plain BMPs.
constexpr std::array kRules{
    Rule{"pces401", Format::Gif, 255, nullptr},
    Rule{"pces402", Format::Gif, 255, nullptr},
    Rule{"pces403", Format::Gif, 255, nullptr},
    Rule{"pces501", Format::Gif, 255, nullptr},
    Rule{"pces502", Format::Gif, 255, nullptr},
    Rule{"pces503", Format::Gif, 255, nullptr},
    Rule{"pces504", Format::Gif, 255, nullptr},
    Rule{"pces505", Format::Gif, 255, nullptr},
    Rule{"pces601", Format::Gif, 255, nullptr},
    Rule{"pces602", Format::Gif, 255, nullptr},
    Rule{"pces801", Format::KeyedGif, 255, nullptr},
    Rule{"pces802", Format::KeyedGif, 255, nullptr},
    Rule{"pces803", Format::KeyedGif, 255, nullptr},
    Rule{"pces901", Format::KeyedGif, 255, nullptr},
    Rule{"pces1001", Format::KeyedGif, 255, nullptr},
    Rule{"macro", Format::Gif, 255, nullptr},
    Rule{"micro", Format::Gif, 255, nullptr},
    Rule{"pces1801", Format::KeyedGif, 255, nullptr},
    Rule{"pces1802", Format::Gif, 255, nullptr},
    Rule{"pces1901", Format::KeyedGif, 255, nullptr},
    Rule{"fbas", Format::Gif, 15, nullptr},
    Rule{"fhaut", Format::Gif, 15, "fbas"},
    Rule{"imprimer", Format::Gif, 15, nullptr},
    Rule{"fermer", Format::Gif, 15, nullptr},
    Rule{"main", Format::Gif, 15, nullptr},
    Rule{"abrevel", Format::Png, 15, nullptr},
    Rule{"pces1501", Format::Jpeg, 0, nullptr},
    Rule{"pces1502", Format::Jpeg, 0, nullptr},
    Rule{"pces1503", Format::Jpeg, 0, nullptr},
    Rule{"pces1504", Format::Jpeg, 0, nullptr},
    Rule{"pces1601", Format::Jpeg, 0, nullptr},
    Rule{"pces1602", Format::Gif, 255, nullptr},
    Rule{"pces1603", Format::Gif, 255, nullptr},
};

bool g_svgTrouble = false;

void reportMessage(QtMsgType type, const QMessageLogContext &context, const QString &message) {
  const QByteArray text = message.toLocal8Bit();
  std::fprintf(stderr, "%s\n", text.constData());
  if (type != QtDebugMsg && type != QtInfoMsg && context.category &&
      QByteArray(context.category).startsWith("qt.svg"))
    g_svgTrouble = true;
}

QImage render(const QString &svgPath, bool onWhite) {
  QSvgRenderer renderer(svgPath);
  if (!renderer.isValid())
    return {};
  const QSize size = renderer.defaultSize();
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(onWhite ? Qt::white : Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
  painter.end();
  return image;
}

// --- Palette reduction ------------------------------------------------------

struct Entry {
  QRgb colour;
  int count;
};

int channel(QRgb c, int k) { return k == 0 ? qRed(c) : k == 1 ? qGreen(c) : qBlue(c); }

// Median cut: splits the colour box with the widest channel range (weighted
// by how many pixels it holds) at its median until there are `most` boxes;
// each box becomes the pixel-weighted mean of its colours.
std::vector<QRgb> medianCut(std::vector<Entry> entries, int most) {
  struct Box {
    std::size_t begin, end;
  };
  auto spread = [&](const Box &b, int &widest) {
    int best = -1;
    for (int k = 0; k < 3; ++k) {
      int lo = 255, hi = 0;
      for (std::size_t i = b.begin; i < b.end; ++i) {
        lo = std::min(lo, channel(entries[i].colour, k));
        hi = std::max(hi, channel(entries[i].colour, k));
      }
      if (hi - lo > best) {
        best = hi - lo;
        widest = k;
      }
    }
    return best;
  };
  std::vector<Box> boxes{{0, entries.size()}};
  while (static_cast<int>(boxes.size()) < most) {
    // The box to split: the largest range times pixel count.
    std::size_t pick = boxes.size();
    double bestScore = 0;
    int pickChannel = 0;
    for (std::size_t b = 0; b < boxes.size(); ++b) {
      if (boxes[b].end - boxes[b].begin < 2)
        continue;
      int widest = 0;
      const int range = spread(boxes[b], widest);
      long pixels = 0;
      for (std::size_t i = boxes[b].begin; i < boxes[b].end; ++i)
        pixels += entries[i].count;
      const double score = double(range) * std::sqrt(double(pixels));
      if (range > 0 && score > bestScore) {
        bestScore = score;
        pick = b;
        pickChannel = widest;
      }
    }
    if (pick == boxes.size())
      break;
    Box box = boxes[pick];
    std::sort(entries.begin() + long(box.begin), entries.begin() + long(box.end),
              [&](const Entry &a, const Entry &b) {
                const int ca = channel(a.colour, pickChannel);
                const int cb = channel(b.colour, pickChannel);
                return ca != cb ? ca < cb : a.colour < b.colour;
              });
    long total = 0;
    for (std::size_t i = box.begin; i < box.end; ++i)
      total += entries[i].count;
    long seen = 0;
    std::size_t cut = box.begin;
    while (cut < box.end - 1 && seen + entries[cut].count <= total / 2)
      seen += entries[cut++].count;
    if (cut == box.begin)
      cut = box.begin + 1;
    boxes[pick] = {box.begin, cut};
    boxes.push_back({cut, box.end});
  }
  std::vector<QRgb> palette;
  for (const Box &b : boxes) {
    double r = 0, g = 0, bl = 0, n = 0;
    for (std::size_t i = b.begin; i < b.end; ++i) {
      r += qRed(entries[i].colour) * double(entries[i].count);
      g += qGreen(entries[i].colour) * double(entries[i].count);
      bl += qBlue(entries[i].colour) * double(entries[i].count);
      n += entries[i].count;
    }
    palette.push_back(qRgb(int(r / n + 0.5), int(g / n + 0.5), int(bl / n + 0.5)));
  }
  std::sort(palette.begin(), palette.end());
  palette.erase(std::unique(palette.begin(), palette.end()), palette.end());
  return palette;
}

// A palette picture: index 0 is transparent, the others are opaque colours.
struct Indexed {
  int width = 0, height = 0;
  std::vector<QRgb> palette;         // palette[0] is the transparent entry
  std::vector<unsigned char> pixels; // row after row
  int whitePixels = 0;               // opaque pixels of pure white
};

// With whiteIsKey, pure white pixels are transparent as well.
Indexed reduce(const QImage &drawn, int colours, bool whiteIsKey) {
  const QImage image = drawn.convertToFormat(QImage::Format_ARGB32);
  Indexed out;
  out.width = image.width();
  out.height = image.height();
  auto shown = [whiteIsKey](QRgb c) {
    return qAlpha(c) >= 128 && !(whiteIsKey && (c & 0xffffffu) == 0xffffffu);
  };
  QHash<QRgb, int> counts;
  for (int y = 0; y < image.height(); ++y) {
    const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if (shown(row[x]))
        ++counts[row[x] | 0xff000000u];
  }
  std::vector<Entry> entries;
  for (auto it = counts.cbegin(); it != counts.cend(); ++it)
    entries.push_back({it.key(), it.value()});
  std::sort(entries.begin(), entries.end(),
            [](const Entry &a, const Entry &b) { return a.colour < b.colour; });
  std::vector<QRgb> opaque;
  if (static_cast<int>(entries.size()) <= colours)
    for (const Entry &e : entries)
      opaque.push_back(e.colour);
  else
    opaque = medianCut(entries, colours);

  out.palette.push_back(qRgb(255, 255, 255));
  out.palette.insert(out.palette.end(), opaque.begin(), opaque.end());
  QHash<QRgb, unsigned char> nearest;
  for (const Entry &e : entries) {
    int best = 1;
    long bestDistance = -1;
    for (std::size_t i = 1; i < out.palette.size(); ++i) {
      const long dr = qRed(e.colour) - qRed(out.palette[i]);
      const long dg = qGreen(e.colour) - qGreen(out.palette[i]);
      const long db = qBlue(e.colour) - qBlue(out.palette[i]);
      const long d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
      if (bestDistance < 0 || d < bestDistance) {
        bestDistance = d;
        best = int(i);
      }
    }
    nearest.insert(e.colour, static_cast<unsigned char>(best));
  }
  out.pixels.resize(std::size_t(out.width) * std::size_t(out.height));
  for (int y = 0; y < image.height(); ++y) {
    const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      unsigned char index = 0;
      if (shown(row[x])) {
        index = nearest.value(row[x] | 0xff000000u);
        if ((out.palette[index] & 0xffffffu) == 0xffffffu)
          ++out.whitePixels;
      }
      out.pixels[std::size_t(y) * std::size_t(out.width) + std::size_t(x)] = index;
    }
  }
  return out;
}

// --- Graphs computed from measured data --------------------------------------
//
// A drawing may have a data file NAME.graph beside NAME.svg: the measured
// points and the axes they are plotted on. The tool plots them over the
// rendered drawing, so that the graph always shows exactly the data kept in
// that one file. Lines of the file (blank lines and "#" comments aside):
//
//   area LEFT TOP WIDTH HEIGHT          the plotting area, drawing pixels
//   x MIN MAX STEP DECIMALS TITLE...    the horizontal axis, one tick a step
//   y MIN MAX STEP DECIMALS TITLE...    the vertical axis
//   reciprocal                          plot 1 / a against b
//   fit origin                          the least-squares line through (0, 0)
//   point A B                           one measurement
//   description TEXT...                 what the picture shows, in French,
//                                       for readers who cannot see it (the
//                                       viewer's, not drawn)
//
// Labels are Liberation Sans, 13 pixels, with a decimal comma.

struct Axis {
  double min = 0, max = 1, step = 1;
  int decimals = 0;
  QString title;
};

struct Graph {
  QRectF area;
  Axis x, y;
  bool reciprocal = false;
  bool fitOrigin = false;
  std::vector<QPointF> points; // as measured: (a, b)
};

bool readGraph(const QString &path, Graph &graph) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    std::fprintf(stderr, "%s: cannot read\n", qPrintable(path));
    return false;
  }
  const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
  bool haveArea = false, haveX = false, haveY = false;
  for (int n = 0; n < lines.size(); ++n) {
    const QString line = lines[n].trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
      continue;
    const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    std::vector<double> numbers;
    for (qsizetype i = 1; i < words.size(); ++i) {
      bool ok = false;
      const double value = words[i].toDouble(&ok);
      if (!ok)
        break;
      numbers.push_back(value);
    }
    const QString &key = words[0];
    bool good = false;
    if (key == QLatin1String("area") && numbers.size() == 4) {
      graph.area = QRectF(numbers[0], numbers[1], numbers[2], numbers[3]);
      good = haveArea = true;
    } else if ((key == QLatin1String("x") || key == QLatin1String("y")) && numbers.size() >= 4 &&
               numbers[1] > numbers[0] && numbers[2] > 0) {
      Axis &axis = key == QLatin1String("x") ? graph.x : graph.y;
      axis = Axis{numbers[0], numbers[1], numbers[2], int(numbers[3]),
                  words.mid(5).join(QLatin1Char(' '))};
      good = true;
      (key == QLatin1String("x") ? haveX : haveY) = true;
    } else if (key == QLatin1String("reciprocal") && words.size() == 1) {
      good = graph.reciprocal = true;
    } else if (key == QLatin1String("fit") && words.size() == 2 &&
               words[1] == QLatin1String("origin")) {
      good = graph.fitOrigin = true;
    } else if (key == QLatin1String("description") && words.size() > 1) {
      good = true;
    } else if (key == QLatin1String("point") && words.size() == 3 && numbers.size() == 2 &&
               !(graph.reciprocal && numbers[0] == 0)) {
      graph.points.emplace_back(numbers[0], numbers[1]);
      good = true;
    }
    if (!good) {
      std::fprintf(stderr, "%s:%d: cannot read \"%s\"\n", qPrintable(path), n + 1,
                   qPrintable(line));
      return false;
    }
  }
  if (!haveArea || !haveX || !haveY || graph.points.empty()) {
    std::fprintf(stderr, "%s: needs an area, both axes and points\n", qPrintable(path));
    return false;
  }
  return true;
}

QString decimalComma(double value, int decimals) {
  return QString::number(value, 'f', decimals).replace(QLatin1Char('.'), QLatin1Char(','));
}

// Plots the graph over the drawing with the painter, on the drawing's
// pixels: into the picture, and into the drawing's vector form. Returns
// false when a point falls outside the axes, which would mean the axes do
// not fit the data.
bool drawGraph(QPainter &p, const Graph &graph, const QString &path, bool report) {
  const QRectF a = graph.area;
  auto px = [&](double x) {
    return a.left() + (x - graph.x.min) / (graph.x.max - graph.x.min) * a.width();
  };
  auto py = [&](double y) {
    return a.bottom() - (y - graph.y.min) / (graph.y.max - graph.y.min) * a.height();
  };
  std::vector<QPointF> plotted;
  for (const QPointF &m : graph.points)
    plotted.emplace_back(graph.reciprocal ? 1.0 / m.x() : m.x(), m.y());
  for (const QPointF &q : plotted)
    if (q.x() < graph.x.min || q.x() > graph.x.max || q.y() < graph.y.min || q.y() > graph.y.max) {
      std::fprintf(stderr, "%s: a point lies outside the axes\n", qPrintable(path));
      return false;
    }

  p.setRenderHint(QPainter::Antialiasing);
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(13);
  p.setFont(font);
  const QFontMetricsF metrics(font);
  const double eps = 1e-9;

  // Grid, axes, ticks and their values.
  p.setPen(QPen(QColor(0xD5, 0xDC, 0xE3), 1));
  for (double x = graph.x.min + graph.x.step; x <= graph.x.max + eps; x += graph.x.step)
    p.drawLine(QPointF(px(x), a.top()), QPointF(px(x), a.bottom()));
  for (double y = graph.y.min + graph.y.step; y <= graph.y.max + eps; y += graph.y.step)
    p.drawLine(QPointF(a.left(), py(y)), QPointF(a.right(), py(y)));
  const QColor ink(0x22, 0x22, 0x22);
  p.setPen(QPen(ink, 1.5));
  p.drawLine(a.bottomLeft(), QPointF(a.right() + 10, a.bottom()));
  p.drawLine(a.bottomLeft(), QPointF(a.left(), a.top() - 10));
  p.setBrush(ink);
  p.drawPolygon(
      QPolygonF({QPointF(a.right() + 16, a.bottom()), QPointF(a.right() + 8, a.bottom() - 4),
                 QPointF(a.right() + 8, a.bottom() + 4)}));
  p.drawPolygon(QPolygonF({QPointF(a.left(), a.top() - 16), QPointF(a.left() - 4, a.top() - 8),
                           QPointF(a.left() + 4, a.top() - 8)}));
  for (double x = graph.x.min; x <= graph.x.max + eps; x += graph.x.step) {
    p.drawLine(QPointF(px(x), a.bottom()), QPointF(px(x), a.bottom() + 4));
    const QString text =
        x == graph.x.min && x == 0 ? QStringLiteral("0") : decimalComma(x, graph.x.decimals);
    p.drawText(
        QPointF(px(x) - metrics.horizontalAdvance(text) / 2, a.bottom() + 5 + metrics.ascent()),
        text);
  }
  for (double y = graph.y.min; y <= graph.y.max + eps; y += graph.y.step) {
    p.drawLine(QPointF(a.left() - 4, py(y)), QPointF(a.left(), py(y)));
    const QString text = decimalComma(y, graph.y.decimals);
    p.drawText(
        QPointF(a.left() - 7 - metrics.horizontalAdvance(text), py(y) + metrics.ascent() / 2 - 1),
        text);
  }
  // Axis titles: the vertical one above its arrow, the horizontal one under
  // the end of its axis.
  p.drawText(QPointF(a.left() + 8, a.top() - 8), graph.y.title);
  p.drawText(QPointF(a.right() + 16 - metrics.horizontalAdvance(graph.x.title),
                     a.bottom() + 7 + metrics.ascent() + metrics.height()),
             graph.x.title);

  // The line through the origin that fits the points best (least squares:
  // slope = sum xy / sum xx), across the whole axis.
  if (graph.fitOrigin) {
    double sxy = 0, sxx = 0;
    for (const QPointF &q : plotted) {
      sxy += q.x() * q.y();
      sxx += q.x() * q.x();
    }
    const double slope = sxy / sxx;
    const double xEnd = std::min(graph.x.max, graph.y.max / slope);
    p.setPen(QPen(QColor(0x2E, 0x6D, 0xB4), 1.8));
    p.drawLine(QPointF(px(0), py(0)), QPointF(px(xEnd), py(slope * xEnd)));
    if (report)
      std::printf("%s: fitted slope %.6g\n", qPrintable(QFileInfo(path).fileName()), slope);
  }
  // The measured points, as crosses.
  p.setPen(QPen(QColor(0xB0, 0x2A, 0x1E), 2));
  for (const QPointF &q : plotted) {
    const QPointF c(px(q.x()), py(q.y()));
    p.drawLine(c + QPointF(-4, -4), c + QPointF(4, 4));
    p.drawLine(c + QPointF(-4, 4), c + QPointF(4, -4));
  }
  return true;
}

// --- Data files read line by line ------------------------------------------
//
// Blank lines and "#" comments aside, each line is a keyword followed by
// numbers or words. `take` is given the keyword, the numbers (none unless
// every word after the keyword is one) and the words of one line, and says
// whether it understood them; the first line it refuses fails the picture.
bool readDataLines(const QString &path,
                   const std::function<bool(const QString &, const std::vector<double> &,
                                            const QStringList &)> &take) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    std::fprintf(stderr, "%s: cannot read\n", qPrintable(path));
    return false;
  }
  const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
  for (int n = 0; n < lines.size(); ++n) {
    const QString line = lines[n].trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
      continue;
    const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    // The numbers, when every word after the keyword is one.
    std::vector<double> numbers;
    for (qsizetype i = 1; i < words.size(); ++i) {
      bool ok = false;
      numbers.push_back(words[i].toDouble(&ok));
      if (!ok) {
        numbers.clear();
        break;
      }
    }
    if (!take(words[0], numbers, words.mid(1))) {
      std::fprintf(stderr, "%s:%d: cannot read \"%s\"\n", qPrintable(path), n + 1,
                   qPrintable(line));
      return false;
    }
  }
  return true;
}

// --- Chronophotographs ---------------------------------------------------------
//
// A drawing may have a data file NAME.motion beside NAME.svg: the motion a
// chronophotograph shows. The tool computes the positions of the moving
// point at equal time intervals and draws them as dots on the track, with
// the track itself and the arrow of the direction of motion; the drawing
// holds only the ground and the frame. Lines of the file:
//
//   line X1 Y1 X2 Y2        a straight track from (X1, Y1), the arrow's tip at (X2, Y2)
//   circle CX CY R ANGLE    a circle travelled anticlockwise, the arrow's tip at ANGLE
//   dots COUNT FROM TO      COUNT positions, the first at FROM and the last at TO
//                           along the track: pixels from the start of a line,
//                           degrees anticlockwise from the right on a circle
//   uniform                 equal steps
//   accelerated FIRST       the steps grow by the same amount each time (a
//                           uniformly accelerated motion), the first one FIRST long
//
// The run fails when two dots would touch or a dot would touch the arrow:
// a dot must stand clear of its neighbours and of the arrowhead.

constexpr double kDotRadius = 4.5;
constexpr double kDotGap = 5.0; // the least clear space between two dots
constexpr double kArrowLength = 8.0;
constexpr double kArrowHalfWidth = 4.0;
constexpr double kArrowClearance = 2.0;

struct Motion {
  bool circle = false;
  QPointF start, tip; // a line
  QPointF centre;     // a circle
  double radius = 0, arrowAngle = 0;
  int count = 0;
  double from = 0, to = 0;
  bool accelerated = false;
  double firstStep = 0;
};

bool readMotion(const QString &path, Motion &motion) {
  bool haveTrack = false, haveDots = false, haveSteps = false;
  const bool read = readDataLines(
      path, [&](const QString &key, const std::vector<double> &v, const QStringList &words) {
        if (key == QLatin1String("line") && v.size() == 4 && !haveTrack) {
          motion.start = QPointF(v[0], v[1]);
          motion.tip = QPointF(v[2], v[3]);
          return haveTrack = motion.start != motion.tip;
        }
        if (key == QLatin1String("circle") && v.size() == 4 && !haveTrack && v[2] > 0) {
          motion.circle = true;
          motion.centre = QPointF(v[0], v[1]);
          motion.radius = v[2];
          motion.arrowAngle = v[3];
          return haveTrack = true;
        }
        if (key == QLatin1String("dots") && v.size() == 3 && v[0] >= 2 &&
            v[0] == std::floor(v[0]) && v[2] > v[1]) {
          motion.count = int(v[0]);
          motion.from = v[1];
          motion.to = v[2];
          return haveDots = true;
        }
        if (key == QLatin1String("uniform") && words.empty())
          return haveSteps = true;
        if (key == QLatin1String("accelerated") && v.size() == 1 && v[0] > 0) {
          motion.accelerated = true;
          motion.firstStep = v[0];
          return haveSteps = true;
        }
        return false;
      });
  if (read && !(haveTrack && haveDots && haveSteps))
    std::fprintf(stderr, "%s: needs a track, dots and their steps\n", qPrintable(path));
  return read && haveTrack && haveDots && haveSteps;
}

// Where the dots fall along the track, in the track's own unit. With
// uniformly accelerated motion, the distances covered in equal times grow
// by the same amount from one interval to the next.
std::vector<double> dotPlaces(const Motion &m) {
  const int steps = m.count - 1;
  const double span = m.to - m.from;
  std::vector<double> places{m.from};
  double growth = 0;
  double step = span / steps;
  if (m.accelerated && steps >= 2) {
    step = m.firstStep;
    growth = (span - steps * step) / (steps * (steps - 1) / 2.0);
  }
  for (int k = 0; k < steps; ++k)
    places.push_back(places.back() + step + k * growth);
  return places;
}

double distanceToSegment(QPointF p, QPointF a, QPointF b) {
  const QPointF ab = b - a;
  const double t =
      std::clamp(QPointF::dotProduct(p - a, ab) / QPointF::dotProduct(ab, ab), 0.0, 1.0);
  const QPointF d = p - (a + t * ab);
  return std::hypot(d.x(), d.y());
}

// What a chronophotograph's motion adds to its drawing, in the drawing's
// pixels: the track (a circle, or a line from the start to the arrow's
// base), the arrowhead and the dots.
struct MotionShapes {
  bool circle = false;
  QPointF centre;
  double radius = 0;
  QPointF start, base;
  QPolygonF arrow;
  std::vector<QPointF> dots;
};

// Places the track, the arrow and the dots on a picture of the given size;
// false when the motion cannot be shown (dots touching each other or the
// arrow, or leaving the picture).
bool layOutMotion(const Motion &m, const QSize &size, const QString &path, MotionShapes &shapes) {
  if (m.accelerated && m.count < 3) {
    std::fprintf(stderr, "%s: an accelerated motion needs three dots at least\n", qPrintable(path));
    return false;
  }
  const std::vector<double> places = dotPlaces(m);
  if (m.accelerated && places[2] - places[1] <= places[1] - places[0]) {
    std::fprintf(stderr, "%s: the first step is too long for the steps to grow\n",
                 qPrintable(path));
    return false;
  }
  auto onCircle = [&](double degrees) {
    const double a = degrees * std::numbers::pi / 180.0;
    return m.centre + QPointF(m.radius * std::cos(a), -m.radius * std::sin(a));
  };
  // The arrow's tip and the direction it points to.
  QPointF tip = m.tip, direction;
  if (m.circle) {
    tip = onCircle(m.arrowAngle);
    const double a = m.arrowAngle * std::numbers::pi / 180.0;
    direction = QPointF(-std::sin(a), -std::cos(a));
  } else {
    const QPointF d = m.tip - m.start;
    direction = d / std::hypot(d.x(), d.y());
  }
  const QPointF base = tip - kArrowLength * direction;
  const QPointF across(-direction.y() * kArrowHalfWidth, direction.x() * kArrowHalfWidth);
  const QPolygonF arrow({tip, base + across, base - across});

  std::vector<QPointF> &dots = shapes.dots;
  for (double place : places)
    dots.push_back(m.circle ? onCircle(place) : m.start + place * direction);
  for (std::size_t i = 0; i < dots.size(); ++i) {
    const QPointF c = dots[i];
    if (i > 0) {
      const QPointF d = c - dots[i - 1];
      if (std::hypot(d.x(), d.y()) < 2 * kDotRadius + kDotGap) {
        std::fprintf(stderr, "%s: dots %zu and %zu touch\n", qPrintable(path), i, i + 1);
        return false;
      }
    }
    double toArrow = arrow.containsPoint(c, Qt::OddEvenFill) ? 0 : 1e9;
    for (int k = 0; k < 3; ++k)
      toArrow = std::min(toArrow, distanceToSegment(c, arrow[k], arrow[(k + 1) % 3]));
    if (toArrow < kDotRadius + kArrowClearance) {
      std::fprintf(stderr, "%s: dot %zu touches the arrow\n", qPrintable(path), i + 1);
      return false;
    }
    if (!QRectF(QPointF(0, 0), QSizeF(size))
             .adjusted(kDotRadius, kDotRadius, -kDotRadius, -kDotRadius)
             .contains(c)) {
      std::fprintf(stderr, "%s: dot %zu leaves the picture\n", qPrintable(path), i + 1);
      return false;
    }
  }

  shapes.circle = m.circle;
  shapes.centre = m.centre;
  shapes.radius = m.radius;
  shapes.start = m.start;
  shapes.base = base;
  shapes.arrow = arrow;
  return true;
}

// Draws the motion with the painter: into the picture, and into the
// drawing's vector form.
void paintMotion(QPainter &p, const MotionShapes &m) {
  p.setRenderHint(QPainter::Antialiasing);
  const QColor track(0x9A, 0xA6, 0xB4);
  QPen dashed(track, 1);
  dashed.setDashPattern({4, 3});
  p.setPen(dashed);
  p.setBrush(Qt::NoBrush);
  if (m.circle)
    p.drawEllipse(m.centre, m.radius, m.radius);
  else
    p.drawLine(m.start, m.base);
  p.setPen(Qt::NoPen);
  p.setBrush(track);
  p.drawPolygon(m.arrow);
  p.setBrush(QColor(0x1F, 0x3B, 0x73));
  for (const QPointF &c : m.dots)
    p.drawEllipse(c, kDotRadius, kDotRadius);
}

// --- Light spread by a prism ---------------------------------------------------
//
// A drawing may have a data file NAME.fan beside NAME.svg: the fan of
// colours a prism spreads onto a screen, computed from the colours and
// the solution of tools/wavelengths.h, so that the fan shows exactly what the
// spectra of chapter 14 show. Lines of the file:
//
//   apex X Y                 where the rays leave the prism
//   screen X TOP BOTTOM      the screen they reach: the longest wavelength at
//                            TOP, the shortest at BOTTOM, evenly in between
//   through permanganate     the light has crossed the permanganate solution
//                            (without this line: white light)
//
// The fan covers the visible range of the spectra, red deviated least.

struct Fan {
  QPointF apex;
  double screenX = 0, top = 0, bottom = 0;
  bool permanganate = false;
};

bool readFan(const QString &path, Fan &fan) {
  bool haveApex = false, haveScreen = false;
  const bool read = readDataLines(
      path, [&](const QString &key, const std::vector<double> &v, const QStringList &words) {
        if (key == QLatin1String("apex") && v.size() == 2) {
          fan.apex = QPointF(v[0], v[1]);
          return haveApex = true;
        }
        if (key == QLatin1String("screen") && v.size() == 3 && v[2] > v[1]) {
          fan.screenX = v[0];
          fan.top = v[1];
          fan.bottom = v[2];
          return haveScreen = true;
        }
        if (key == QLatin1String("through") && words == QStringList{"permanganate"})
          return fan.permanganate = true;
        return false;
      });
  if (read && !(haveApex && haveScreen && fan.screenX > fan.apex.x() + 1))
    std::fprintf(stderr, "%s: needs an apex and a screen beyond it\n", qPrintable(path));
  return read && haveApex && haveScreen && fan.screenX > fan.apex.x() + 1;
}

// Each pixel between the apex and the screen takes the colour of the
// wavelength whose ray crosses it, dimmed by what the solution absorbs;
// the edges of the fan are smoothed by sampling each pixel 4 × 4 times.
void drawFan(QImage &image, const Fan &fan) {
  const double run = fan.screenX - fan.apex.x();
  const int x0 = int(std::floor(fan.apex.x()));
  const int x1 = int(std::ceil(fan.screenX));
  const int y0 = int(std::floor(std::min(fan.apex.y(), fan.top)));
  const int y1 = int(std::ceil(std::max(fan.apex.y(), fan.bottom)));
  constexpr int n = 4;
  for (int y = std::max(y0, 0); y < std::min(y1, image.height()); ++y)
    for (int x = std::max(x0, 0); x < std::min(x1, image.width()); ++x) {
      double r = 0, g = 0, b = 0;
      int covered = 0;
      for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
          const double sx = x + (i + 0.5) / n, sy = y + (j + 0.5) / n;
          if (sx <= fan.apex.x() || sx >= fan.screenX)
            continue;
          // Where the ray through this point meets the screen.
          const double onScreen = fan.apex.y() + (sy - fan.apex.y()) * run / (sx - fan.apex.x());
          if (onScreen < fan.top || onScreen > fan.bottom)
            continue;
          const double nm =
              spectra::kFanShortest + (fan.bottom - onScreen) / (fan.bottom - fan.top) *
                                          (spectra::kFanLongest - spectra::kFanShortest);
          const double shown = fan.permanganate ? spectra::permanganateTransmittance(nm) : 1.0;
          const spectra::Pixel c = spectra::pixelOf(nm, shown);
          r += c.r;
          g += c.g;
          b += c.b;
          ++covered;
        }
      if (!covered)
        continue;
      const QRgb under = image.pixel(x, y);
      const double k = double(covered) / (n * n);
      auto mix = [&](double fanSum, int ground) {
        return int(std::lround(fanSum / (n * n) + ground * (1 - k)));
      };
      image.setPixel(x, y, qRgb(mix(r, qRed(under)), mix(g, qGreen(under)), mix(b, qBlue(under))));
    }
}

// The fan as vector shapes, for its vector form: a wedge from the apex to
// the screen for each nanometre, in the colour the raster fan gives its
// middle (runs of one colour merged). The wedges are drawn from red to
// violet, each reaching under the ones drawn after it down to half a pixel
// above the bottom of the screen, so that their smoothed edges blend with
// the colour beside them instead of leaving a seam; the last one, the
// violet pixel at the bottom of the screen, alone draws the fan's lower
// edge (smoothed once, as the fan's upper edge is).
void paintFan(QPainter &p, const Fan &fan) {
  const double span = spectra::kFanLongest - spectra::kFanShortest;
  auto onScreen = [&](double nm) {
    return fan.bottom - (nm - spectra::kFanShortest) / span * (fan.bottom - fan.top);
  };
  auto colourOf = [&](double nm) {
    const double shown = fan.permanganate ? spectra::permanganateTransmittance(nm) : 1.0;
    const spectra::Pixel c = spectra::pixelOf(nm, shown);
    return QColor(c.r, c.g, c.b);
  };
  auto wedge = [&](const QColor &colour, double top, double bottom) {
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({fan.apex, QPointF(fan.screenX, top), QPointF(fan.screenX, bottom)}));
  };
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  const double nmPerPixel = span / (fan.bottom - fan.top);
  // The wavelength at the top of the bottom pixel.
  const double lowest = spectra::kFanShortest + nmPerPixel;
  constexpr double step = 1.0;
  double from = spectra::kFanLongest;
  while (from > lowest + 1e-9) {
    const QColor colour = colourOf(from - step / 2);
    double to = std::max(from - step, lowest);
    while (to > lowest + 1e-9 && colourOf(std::max(to - step, lowest) + step / 2) == colour)
      to = std::max(to - step, lowest);
    wedge(colour, onScreen(from), fan.bottom - 0.5);
    from = to;
  }
  wedge(colourOf(spectra::kFanShortest + nmPerPixel / 2), onScreen(lowest), fan.bottom);
}

// --- Vector forms ----------------------------------------------------------------
// The viewer paints a picture's drawing, NAME.svg beside it, wherever the
// picture is shown larger than its pixels. The drawings of assets/src are
// shipped as they are; a picture that is more than its drawing gets a
// vector form of its own here: a mirrored picture, its drawing turned left
// to right, and a picture with computed shapes (a graph, a motion, a fan
// of colours), its drawing with those shapes added as vectors.

// The drawing's text split around its content: the opening <svg ...> tag
// and what precedes it, the content, and the closing tag.
struct SvgParts {
  QByteArray head, body, tail;
};

bool splitSvg(const QByteArray &text, SvgParts &parts) {
  const qsizetype open = text.indexOf("<svg");
  const qsizetype openEnd = open < 0 ? -1 : text.indexOf('>', open);
  const qsizetype close = text.lastIndexOf("</svg>");
  if (openEnd < 0 || close < openEnd)
    return false;
  parts.head = text.left(openEnd + 1);
  parts.body = text.mid(openEnd + 1, close - openEnd - 1);
  parts.tail = text.mid(close);
  return true;
}

// The drawing turned left to right about the middle of its view box.
QByteArray mirroredSvg(const QByteArray &text, const QRectF &viewBox) {
  SvgParts parts;
  if (!splitSvg(text, parts))
    return {};
  const QByteArray shift = QByteArray::number(2 * viewBox.x() + viewBox.width(), 'g', 10);
  return parts.head + "\n<g transform=\"matrix(-1 0 0 1 " + shift + " 0)\">" + parts.body +
         "</g>\n" + parts.tail;
}

// The drawing with shapes added over it by `paint`, which draws in the
// drawing's pixels; they are mapped onto its view box. Empty when `paint`
// fails.
QByteArray svgWithShapes(const QByteArray &text, const QSize &pixels, const QRectF &viewBox,
                         const std::function<bool(QPainter &)> &paint) {
  SvgParts parts;
  if (!splitSvg(text, parts))
    return {};
  QBuffer plot;
  plot.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&plot);
  generator.setSize(pixels);
  generator.setViewBox(QRect(QPoint(0, 0), pixels));
  {
    QPainter painter(&generator);
    if (!paint(painter))
      return {};
  }
  SvgParts drawn;
  if (!splitSvg(plot.data(), drawn))
    return {};
  // The generator's title and description are not part of the shapes.
  static const QRegularExpression labels(QStringLiteral("<title>.*</title>|<desc>.*</desc>"),
                                         QRegularExpression::DotMatchesEverythingOption |
                                             QRegularExpression::InvertedGreedinessOption);
  const QByteArray shapes = QString::fromUtf8(drawn.body).remove(labels).toUtf8();
  const QByteArray toViewBox =
      "matrix(" + QByteArray::number(viewBox.width() / pixels.width(), 'g', 10) + " 0 0 " +
      QByteArray::number(viewBox.height() / pixels.height(), 'g', 10) + " " +
      QByteArray::number(viewBox.x(), 'g', 10) + " " + QByteArray::number(viewBox.y(), 'g', 10) +
      ")";
  return parts.head + parts.body + "<g transform=\"" + toViewBox + "\">" + shapes + "</g>\n" +
         parts.tail;
}

bool writeText(const QByteArray &text, const QString &path) {
  QFile file(path);
  return !text.isEmpty() && file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         file.write(text) == text.size();
}

// --- Writers -----------------------------------------------------------------

bool writeBmp(const QImage &drawn, const QString &path) {
  return drawn.convertToFormat(QImage::Format_RGB32).save(path, "BMP");
}

bool writeJpeg(const QImage &drawn, const QString &path) {
  return drawn.convertToFormat(QImage::Format_RGB32).save(path, "JPEG", JpegQuality);
}

bool writeGif(const Indexed &picture, const QString &path) {
  int bits = 1;
  while ((1 << bits) < static_cast<int>(picture.palette.size()))
    ++bits;
  std::vector<GifColorType> colours(std::size_t(1) << bits, GifColorType{0, 0, 0});
  for (std::size_t i = 0; i < picture.palette.size(); ++i)
    colours[i] = GifColorType{static_cast<GifByteType>(qRed(picture.palette[i])),
                              static_cast<GifByteType>(qGreen(picture.palette[i])),
                              static_cast<GifByteType>(qBlue(picture.palette[i]))};

  int error = 0;
  GifFileType *gif = EGifOpenFileName(QFile::encodeName(path).constData(), false, &error);
  if (!gif) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(path), GifErrorString(error));
    return false;
  }
  ColorMapObject *map = GifMakeMapObject(1 << bits, colours.data());
  EGifSetGifVersion(gif, true);
  bool ok = map && EGifPutScreenDesc(gif, picture.width, picture.height, bits, 0, map) == GIF_OK;

  GraphicsControlBlock control{};
  control.DisposalMode = DISPOSAL_UNSPECIFIED;
  control.UserInputFlag = false;
  control.DelayTime = 0;
  control.TransparentColor = 0;
  GifByteType extension[4];
  const std::size_t length = EGifGCBToExtension(&control, extension);
  ok = ok && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension) == GIF_OK;
  ok = ok && EGifPutImageDesc(gif, 0, 0, picture.width, picture.height, false, nullptr) == GIF_OK;
  std::vector<GifPixelType> line(std::size_t(picture.width));
  for (int y = 0; ok && y < picture.height; ++y) {
    std::copy_n(picture.pixels.begin() + long(y) * picture.width, picture.width, line.begin());
    ok = EGifPutLine(gif, line.data(), picture.width) == GIF_OK;
  }
  if (!ok)
    std::fprintf(stderr, "%s: %s\n", qPrintable(path), GifErrorString(gif->Error));
  if (EGifCloseFile(gif, &error) != GIF_OK) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(path), GifErrorString(error));
    ok = false;
  }
  GifFreeMapObject(map);
  return ok;
}

bool writePng(const Indexed &picture, const QString &path) {
  QImage image(picture.width, picture.height, QImage::Format_Indexed8);
  QList<QRgb> table(picture.palette.begin(), picture.palette.end());
  table[0] = qRgba(255, 255, 255, 0);
  image.setColorTable(table);
  for (int y = 0; y < picture.height; ++y)
    std::copy_n(picture.pixels.begin() + long(y) * picture.width, picture.width, image.scanLine(y));
  return image.save(path, "PNG");
}

const Rule *ruleFor(const QString &name) {
  for (const Rule &rule : kRules)
    if (name == QLatin1String(rule.name))
      return &rule;
  return nullptr;
}

bool make(const QString &name, const QString &sourceDir, const QDir &out) {
  static const Rule plain{nullptr, Format::Bmp, 0, nullptr};
  const Rule *found = ruleFor(name);
  const Rule &rule = found ? *found : plain;
  const QString source = QDir(sourceDir).filePath(
      (rule.mirrorOf ? QString::fromLatin1(rule.mirrorOf) : name) + ".svg");

  g_svgTrouble = false;
  const bool onWhite =
      rule.format == Format::Bmp || rule.format == Format::KeyedGif || rule.format == Format::Jpeg;
  QImage drawn = render(source, onWhite);
  if (drawn.isNull()) {
    std::fprintf(stderr, "%s: not a drawing Qt can read\n", qPrintable(source));
    return false;
  }
  if (g_svgTrouble) {
    std::fprintf(stderr, "%s: uses something the renderer cannot draw\n", qPrintable(source));
    return false;
  }
  QFile sourceFile(source);
  const QByteArray sourceText = sourceFile.open(QIODevice::ReadOnly) ? sourceFile.readAll() : "";
  const QRectF viewBox = QSvgRenderer(source).viewBoxF();
  // The picture's own vector form, when it is more than its drawing.
  QByteArray vectorText;
  if (rule.mirrorOf) {
    drawn = drawn.mirrored(true, false);
    vectorText = mirroredSvg(sourceText, viewBox);
    if (vectorText.isEmpty()) {
      std::fprintf(stderr, "%s: cannot turn the drawing\n", qPrintable(source));
      return false;
    }
  }
  // Adds what the tool computed to the vector form, drawn by `paint`.
  auto addShapes = [&](const QString &dataFile, const std::function<bool(QPainter &)> &paint) {
    vectorText =
        svgWithShapes(vectorText.isEmpty() ? sourceText : vectorText, drawn.size(), viewBox, paint);
    if (vectorText.isEmpty())
      std::fprintf(stderr, "%s: cannot add its shapes to the drawing\n", qPrintable(dataFile));
    return !vectorText.isEmpty();
  };
  const QString graphFile = QDir(sourceDir).filePath(name + ".graph");
  if (QFile::exists(graphFile)) {
    Graph graph;
    if (!readGraph(graphFile, graph))
      return false;
    QPainter painter(&drawn);
    if (!drawGraph(painter, graph, graphFile, true))
      return false;
    if (!addShapes(graphFile, [&](QPainter &p) { return drawGraph(p, graph, graphFile, false); }))
      return false;
  }
  const QString motionFile = QDir(sourceDir).filePath(name + ".motion");
  if (QFile::exists(motionFile)) {
    Motion motion;
    MotionShapes shapes;
    if (!readMotion(motionFile, motion) || !layOutMotion(motion, drawn.size(), motionFile, shapes))
      return false;
    {
      QPainter painter(&drawn);
      paintMotion(painter, shapes);
    }
    if (!addShapes(motionFile, [&](QPainter &p) {
          paintMotion(p, shapes);
          return true;
        }))
      return false;
  }
  const QString fanFile = QDir(sourceDir).filePath(name + ".fan");
  if (QFile::exists(fanFile)) {
    Fan fan;
    if (!readFan(fanFile, fan))
      return false;
    drawFan(drawn, fan);
    if (!addShapes(fanFile, [&](QPainter &p) {
          paintFan(p, fan);
          return true;
        }))
      return false;
  }
  const QString vectorPath = out.filePath(name + ".svg");
  if (!vectorText.isEmpty() && !writeText(vectorText, vectorPath)) {
    std::fprintf(stderr, "%s: cannot write\n", qPrintable(vectorPath));
    return false;
  }

  QString path;
  bool ok = false;
  int colours = 0;
  if (rule.format == Format::Bmp) {
    path = out.filePath(name + ".bmp");
    ok = writeBmp(drawn, path);
  } else if (rule.format == Format::Jpeg) {
    path = out.filePath(name + ".jpg");
    ok = writeJpeg(drawn, path);
  } else {
    const Indexed picture = reduce(drawn, rule.colours, rule.format == Format::KeyedGif);
    colours = int(picture.palette.size()) - 1;
    if (picture.whitePixels)
      std::fprintf(stderr, "%s: %d opaque white pixels will show the background\n",
                   qPrintable(source), picture.whitePixels);
    const bool gif = rule.format != Format::Png;
    path = out.filePath(name + (gif ? ".gif" : ".png"));
    ok = gif ? writeGif(picture, path) : writePng(picture, path);
  }
  if (!ok) {
    std::fprintf(stderr, "%s: cannot write\n", qPrintable(path));
    return false;
  }
  std::printf("%-14s %3d x %-3d", qPrintable(QFileInfo(path).fileName()), drawn.width(),
              drawn.height());
  if (colours)
    std::printf("  %d colours + transparent", colours);
  std::printf("\n");
  return true;
}

} // namespace

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  qInstallMessageHandler(reportMessage);

  const QStringList args = QCoreApplication::arguments();
  if (args.size() != 3) {
    std::fprintf(stderr, "usage: makepictures SOURCE_DIR OUTPUT_DIR\n");
    return 2;
  }
  const QString sourceDir = args.at(1);
  QDir out(args.at(2));
  if (!out.exists() && !QDir().mkpath(out.path())) {
    std::fprintf(stderr, "%s: cannot create\n", qPrintable(out.path()));
    return 1;
  }

  QStringList names;
  for (const QFileInfo &file : QDir(sourceDir).entryInfoList({"*.svg"}, QDir::Files, QDir::Name))
    names << file.completeBaseName();
  if (names.isEmpty()) {
    std::fprintf(stderr, "%s: no drawings\n", qPrintable(sourceDir));
    return 1;
  }
  for (const Rule &rule : kRules)
    if (rule.mirrorOf && names.contains(QLatin1String(rule.mirrorOf)))
      names << QString::fromLatin1(rule.name);
  names.removeDuplicates();
  names.sort();

  int failures = 0;
  for (const QString &name : names)
    if (!make(name, sourceDir, out))
      ++failures;
  return failures ? 1 : 0;
}

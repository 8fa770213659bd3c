#include "toolkit/svgtext.h"

#include <QPainter>
#include <QRegularExpression>
#include <QTextLayout>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cmath>
#include <memory>

namespace abrevel {

namespace {

// What a text inherits from its groups, as far as it is known.
struct Style {
  QString family;
  double size = 0;
  int weight = QFont::Normal;
  bool italic = false;
  QColor fill = Qt::black;
  Qt::Alignment anchor = Qt::AlignLeft;
  QTransform transform;
  bool stroked = false;
  bool preserve = false; // spaces kept as written
};

// Elements that draw something, each painted as a whole in its place.
bool drawable(QStringView name) {
  static const QStringList names = {
      QStringLiteral("path"),    QStringLiteral("rect"),     QStringLiteral("circle"),
      QStringLiteral("ellipse"), QStringLiteral("line"),     QStringLiteral("polyline"),
      QStringLiteral("polygon"), QStringLiteral("image"),    QStringLiteral("use"),
      QStringLiteral("text"),    QStringLiteral("textArea"), QStringLiteral("svg"),
      QStringLiteral("switch"),  QStringLiteral("a"),        QStringLiteral("foreignObject"),
      QStringLiteral("video"),   QStringLiteral("animation")};
  return names.contains(name);
}

std::optional<double> number(QStringView text) {
  QStringView value = text.trimmed();
  if (value.endsWith(QLatin1String("px")))
    value.chop(2);
  bool ok = false;
  const double n = value.toDouble(&ok);
  if (!ok || !std::isfinite(n))
    return std::nullopt;
  return n;
}

// A transform list of translate, rotate, scale and matrix; nothing for any
// other form.
std::optional<QTransform> parseTransform(QStringView text) {
  static const QRegularExpression item(QStringLiteral(R"(^[\s,]*([a-zA-Z]+)\s*\(([^)]*)\))"));
  static const QRegularExpression separator(QStringLiteral(R"([\s,]+)"));
  QTransform transform;
  QString rest = text.toString();
  while (!rest.trimmed().isEmpty()) {
    const QRegularExpressionMatch match = item.match(rest);
    if (!match.hasMatch())
      return std::nullopt;
    QList<double> a;
    for (const QString &part : match.captured(2).split(separator, Qt::SkipEmptyParts)) {
      const std::optional<double> n = number(part);
      if (!n)
        return std::nullopt;
      a.append(*n);
    }
    const QString op = match.captured(1);
    if (op == QLatin1String("translate") && (a.size() == 1 || a.size() == 2))
      transform.translate(a[0], a.size() == 2 ? a[1] : 0);
    else if (op == QLatin1String("scale") && (a.size() == 1 || a.size() == 2))
      transform.scale(a[0], a.size() == 2 ? a[1] : a[0]);
    else if (op == QLatin1String("rotate") && a.size() == 1)
      transform.rotate(a[0]);
    else if (op == QLatin1String("rotate") && a.size() == 3)
      transform.translate(a[1], a[2]).rotate(a[0]).translate(-a[1], -a[2]);
    else if (op == QLatin1String("matrix") && a.size() == 6)
      transform = QTransform(a[0], a[1], a[2], a[3], a[4], a[5]) * transform;
    else
      return std::nullopt;
    rest = rest.mid(match.capturedLength());
  }
  return transform;
}

// Applies one presentation attribute; false for an attribute or a value
// that cannot be drawn exactly as text.
bool applyStyle(Style &style, QStringView name, QStringView value) {
  if (name == QLatin1String("font-family")) {
    style.family = value.trimmed().toString();
    return !style.family.isEmpty() && !style.family.contains(QLatin1Char(',')) &&
           !style.family.contains(QLatin1Char('\'')) && !style.family.contains(QLatin1Char('"'));
  }
  if (name == QLatin1String("font-size")) {
    const std::optional<double> size = number(value);
    style.size = size.value_or(0);
    return size && *size > 0;
  }
  if (name == QLatin1String("font-weight")) {
    bool ok = false;
    const int weight = value.toInt(&ok);
    if (value == QLatin1String("normal"))
      style.weight = QFont::Normal;
    else if (value == QLatin1String("bold"))
      style.weight = QFont::Bold;
    else if (ok && weight >= 100 && weight <= 900 && weight % 100 == 0)
      style.weight = weight;
    else
      return false;
    return true;
  }
  if (name == QLatin1String("font-style")) {
    style.italic = value == QLatin1String("italic");
    return style.italic || value == QLatin1String("normal");
  }
  if (name == QLatin1String("fill")) {
    // A text that is not filled is not drawn as text (an invalid colour).
    if (value == QLatin1String("none")) {
      style.fill = QColor();
      return true;
    }
    if (!value.startsWith(QLatin1Char('#')))
      return false;
    style.fill = QColor(value.toString());
    return style.fill.isValid();
  }
  if (name == QLatin1String("text-anchor")) {
    if (value == QLatin1String("start"))
      style.anchor = Qt::AlignLeft;
    else if (value == QLatin1String("middle"))
      style.anchor = Qt::AlignHCenter;
    else if (value == QLatin1String("end"))
      style.anchor = Qt::AlignRight;
    else
      return false;
    return true;
  }
  if (name == QLatin1String("transform")) {
    const std::optional<QTransform> transform = parseTransform(value);
    if (transform)
      style.transform = *transform * style.transform;
    return transform.has_value();
  }
  if (name == QLatin1String("fill-opacity") || name == QLatin1String("opacity")) {
    const std::optional<double> opacity = number(value);
    return opacity && *opacity >= 1;
  }
  if (name == QLatin1String("xml:space")) {
    style.preserve = value == QLatin1String("preserve");
    return style.preserve || value == QLatin1String("default");
  }
  if (name == QLatin1String("stroke")) {
    style.stroked = value != QLatin1String("none");
    return true;
  }
  // What only shapes use.
  static const QStringList shapesOnly = {
      QStringLiteral("stroke-width"),      QStringLiteral("stroke-linecap"),
      QStringLiteral("stroke-linejoin"),   QStringLiteral("stroke-dasharray"),
      QStringLiteral("stroke-dashoffset"), QStringLiteral("stroke-miterlimit"),
      QStringLiteral("stroke-opacity"),    QStringLiteral("fill-rule")};
  return shapesOnly.contains(name);
}

// Applies every attribute of an element; false when one is unknown. extra
// are the element's own attributes that do not change its texts.
bool applyAll(Style &style, const QXmlStreamAttributes &attributes, const QStringList &extra) {
  bool known = true;
  for (const QXmlStreamAttribute &attribute : attributes)
    if (!extra.contains(attribute.qualifiedName()) &&
        !applyStyle(style, attribute.qualifiedName(), attribute.value()))
      known = false;
  return known;
}

class Separator {
public:
  explicit Separator(const QByteArray &svg) : svg(svg) {}

  std::optional<TextSeparatedDrawing> run() {
    QXmlStreamReader xml(svg);
    xml.setNamespaceProcessing(false);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("svg"))
      return std::nullopt;
    static const QStringList rootAttributes = {
        QStringLiteral("xmlns"),   QStringLiteral("xmlns:xlink"),
        QStringLiteral("version"), QStringLiteral("baseProfile"),
        QStringLiteral("width"),   QStringLiteral("height"),
        QStringLiteral("viewBox"), QStringLiteral("preserveAspectRatio")};
    Style style;
    const bool known = applyAll(style, xml.attributes(), rootAttributes);
    out.texts.append(QList<SvgTextRun>());
    group(xml, style, known);
    if (xml.hasError())
      return std::nullopt;
    if (!write())
      return std::nullopt;
    return out;
  }

private:
  // The children of the root or a group.
  void group(QXmlStreamReader &xml, const Style &style, bool textsKnown) {
    while (xml.readNextStartElement()) {
      const QStringView name = xml.name();
      if (name == QLatin1String("g")) {
        Style inner = style;
        const bool known = applyAll(inner, xml.attributes(), {});
        group(xml, inner, textsKnown && known);
      } else if (!drawable(name)) {
        xml.skipCurrentElement();
      } else if (name == QLatin1String("text") && textsKnown) {
        std::optional<SvgTextRun> text = readText(xml, style);
        if (text) {
          out.texts.last().append(*text);
          layerOf.append(-1);
          textLast = true;
        } else {
          shape();
        }
      } else {
        xml.skipCurrentElement();
        shape();
      }
    }
  }

  void shape() {
    if (textLast) {
      out.texts.append(QList<SvgTextRun>());
      textLast = false;
    }
    layerOf.append(out.texts.size() - 1);
  }

  // Reads a text element to its end; nothing when it has anything that
  // cannot be drawn exactly.
  static std::optional<SvgTextRun> readText(QXmlStreamReader &xml, const Style &outer) {
    static const QStringList position = {QStringLiteral("x"), QStringLiteral("y")};
    Style style = outer;
    bool known = applyAll(style, xml.attributes(), position);
    const std::optional<double> x = number(xml.attributes().value(QLatin1String("x")));
    const std::optional<double> y = number(xml.attributes().value(QLatin1String("y")));
    known = known && (x || !xml.attributes().hasAttribute(QLatin1String("x"))) &&
            (y || !xml.attributes().hasAttribute(QLatin1String("y")));
    SvgTextRun run;
    run.transform = style.transform;
    run.at = QPointF(x.value_or(0), y.value_or(0));
    run.anchor = style.anchor;
    run.size = style.size;
    auto span = [](const Style &s, const QString &text, bool tspan) {
      return SvgTextSpan{text, s.family, s.size, s.weight, s.italic, s.fill, tspan, s.preserve};
    };
    auto usable = [](const Style &s) {
      return !s.family.isEmpty() && s.size > 0 && s.fill.isValid() && !s.stroked;
    };
    known = known && usable(style);
    while (!xml.atEnd()) {
      const QXmlStreamReader::TokenType token = xml.readNext();
      if (token == QXmlStreamReader::EndElement)
        break;
      if (token == QXmlStreamReader::Characters) {
        run.spans.append(span(style, xml.text().toString(), false));
      } else if (token == QXmlStreamReader::StartElement) {
        if (xml.name() != QLatin1String("tspan")) {
          known = false;
          xml.skipCurrentElement();
          continue;
        }
        Style inner = style;
        known = applyAll(inner, xml.attributes(), {}) && usable(inner) &&
                inner.transform == style.transform && inner.anchor == style.anchor && known;
        QString text;
        while (!xml.atEnd()) {
          const QXmlStreamReader::TokenType t = xml.readNext();
          if (t == QXmlStreamReader::EndElement)
            break;
          if (t == QXmlStreamReader::Characters) {
            text += xml.text();
          } else if (t == QXmlStreamReader::StartElement) {
            known = false;
            xml.skipCurrentElement();
          }
        }
        run.spans.append(span(inner, text, true));
      }
    }
    if (!known)
      return std::nullopt;
    return run;
  }

  // The drawing again, once per layer, without the texts taken out.
  bool write() {
    QList<QByteArray> layers(out.texts.size());
    std::vector<std::unique_ptr<QXmlStreamWriter>> writers;
    for (QByteArray &layer : layers)
      writers.push_back(std::make_unique<QXmlStreamWriter>(&layer));
    QXmlStreamReader xml(svg);
    xml.setNamespaceProcessing(false);
    // For each open element: whether it is a group, and the layer its
    // tokens go to (All, Nowhere or a layer).
    constexpr int All = -2, Nowhere = -1;
    struct Open {
      bool group;
      int to;
    };
    QList<Open> open;
    int drawn = 0;
    while (!xml.atEnd()) {
      const QXmlStreamReader::TokenType token = xml.readNext();
      int to = open.isEmpty() || open.last().group ? All : open.last().to;
      if (token == QXmlStreamReader::StartElement) {
        const bool inGroup = open.isEmpty() || open.last().group;
        const bool isGroup = open.isEmpty() || (inGroup && xml.name() == QLatin1String("g"));
        if (inGroup && !isGroup && drawable(xml.name())) {
          if (drawn >= layerOf.size())
            return false;
          to = layerOf[drawn++];
          to = to < 0 ? Nowhere : to;
        }
        open.append({isGroup, to});
      } else if (token == QXmlStreamReader::EndElement) {
        if (open.isEmpty())
          return false;
        to = open.takeLast().to;
      }
      if (to == All)
        for (auto &writer : writers)
          writer->writeCurrentToken(xml);
      else if (to >= 0)
        writers[to]->writeCurrentToken(xml);
    }
    if (xml.hasError() || drawn != layerOf.size())
      return false;
    writers.clear();
    out.layers = layers;
    return true;
  }

  const QByteArray &svg;
  TextSeparatedDrawing out;
  QList<int> layerOf; // for each drawn element, its layer, -1 for a text taken out
  bool textLast = false;
};

} // namespace

std::optional<TextSeparatedDrawing> separateTexts(const QByteArray &svg) {
  return Separator(svg).run();
}

void drawTextRun(QPainter &painter, const SvgTextRun &run) {
  // Laid out as the renderer lays a text out: in a font of 100 pixels,
  // scaled down, its spaces gathered, anchored on the width of the line.
  const double scale = 100.0 / run.size;
  QString line;
  QList<QTextLayout::FormatRange> formats;
  bool appendSpace = false;
  for (const SvgTextSpan &span : run.spans) {
    QString text = span.text;
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const bool gathered = !span.preserve;
    const bool prependSpace = !appendSpace && !span.tspan && gathered && !line.isEmpty() &&
                              text.startsWith(QLatin1Char(' '));
    if (appendSpace || prependSpace)
      line.append(QLatin1Char(' '));
    bool appendSpaceNext = !span.tspan && gathered && text.endsWith(QLatin1Char(' '));
    if (gathered) {
      text = text.simplified();
      if (text.isEmpty())
        appendSpaceNext = false;
    }
    QFont font = painter.font();
    font.setFamilies({span.family});
    font.setPointSizeF(span.size);
    font.setPixelSize(static_cast<int>(span.size * scale));
    font.setWeight(QFont::Weight(span.weight));
    font.setStyle(span.italic ? QFont::StyleItalic : QFont::StyleNormal);
    QTextLayout::FormatRange range;
    range.start = static_cast<int>(line.size());
    range.length = static_cast<int>(text.size());
    range.format.setFont(font);
    range.format.setForeground(span.fill);
    if (appendSpace)
      ++formats.last().length;
    else if (prependSpace) {
      --range.start;
      ++range.length;
    }
    formats.append(range);
    appendSpace = appendSpaceNext;
    line += text;
  }
  if (line.isEmpty())
    return;
  QTextLayout layout(line);
  QTextOption option = layout.textOption();
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  layout.setFormats(formats);
  layout.beginLayout();
  QTextLine first = layout.createLine();
  while (layout.createLine().isValid()) {
  }
  layout.endLayout();
  if (!first.isValid())
    return;
  double x = 0;
  if (run.anchor == Qt::AlignHCenter)
    x -= 0.5 * first.naturalTextWidth();
  else if (run.anchor == Qt::AlignRight)
    x -= first.naturalTextWidth();
  first.setPosition(QPointF(x, -first.ascent()));
  painter.save();
  painter.setTransform(run.transform, true);
  painter.scale(1 / scale, 1 / scale);
  layout.draw(&painter, run.at * scale);
  painter.restore();
}

} // namespace abrevel

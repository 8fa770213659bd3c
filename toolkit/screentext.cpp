#include "toolkit/screentext.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <utility>

namespace abrevel {

namespace {

constexpr unsigned ScriptMarks = ExponentText | IndexText | VectorText;
constexpr unsigned ShiftedMarks = ExponentText | IndexText | SymbolText | VectorText;

// Text that needs no space before it.
bool closesUp(const QString &text) {
  if (text.isEmpty())
    return true;
  const QChar c = text.front();
  return c.isSpace() || c == QLatin1Char(',') || c == QLatin1Char('.') || c == QLatin1Char(';') ||
         c == QLatin1Char(')') || c == QLatin1Char(']');
}

QString bracketed(const QString &part) {
  return part.contains(QLatin1Char(' ')) ? QLatin1Char('(') + part + QLatin1Char(')') : part;
}

// Where a value falls among edges: the index k with edges[k] <= v <
// edges[k + 1], or -1 outside.
int slot(const std::vector<double> &edges, double v) {
  for (size_t k = 0; k + 1 < edges.size(); ++k)
    if (v >= edges[k] && v < edges[k + 1])
      return static_cast<int>(k);
  return -1;
}

} // namespace

QString linearText(const std::vector<TextRun> &runs) {
  QString out;
  unsigned previousScript = 0;
  double previousRight = 0;
  bool spaceDue = false;
  const auto word = [&](const char *w) {
    if (!out.isEmpty() && !out.endsWith(QLatin1Char(' ')))
      out += QLatin1Char(' ');
    out += QLatin1String(w);
    out += QLatin1Char(' ');
  };
  for (size_t i = 0; i < runs.size(); ++i) {
    const TextRun &run = runs[i];
    const unsigned script = run.marks & ScriptMarks;
    if (script != previousScript) {
      if (script & ExponentText)
        word("exposant");
      else if (script & IndexText)
        word("indice");
      else if (script & VectorText)
        word("vecteur");
      else
        spaceDue = true; // back on the line after a script
    } else if (i > 0 && run.cell.left() - previousRight > 0.25 * run.cell.height() &&
               !out.endsWith(QLatin1Char(' '))) {
      out += QLatin1Char(' '); // a gap the drawer left between two runs
    }
    if (spaceDue && !closesUp(run.text) && !out.endsWith(QLatin1Char(' ')))
      out += QLatin1Char(' ');
    spaceDue = false;
    out += run.text;
    previousScript = script;
    previousRight = run.cell.right();
  }
  return out.simplified();
}

void ScreenText::clear() {
  m_entries.clear();
  m_tables.clear();
  m_numerator.clear();
  m_denominator.clear();
  m_lineEnded = true;
}

void ScreenText::addRun(const QRectF &cell, const QString &shown, unsigned marks, double size) {
  const TextRun run{cell, shown, marks, size};
  if (marks & NumeratorText) {
    if (!m_denominator.empty())
      closeFraction(); // a new fraction begins
    m_numerator.push_back(run);
    return;
  }
  if (marks & DenominatorText) {
    m_denominator.push_back(run);
    return;
  }
  closeFraction();
  place(run);
}

void ScreenText::endLine() {
  closeFraction();
  m_lineEnded = true;
}

void ScreenText::addPicture(const QString &source, const QRectF &rect) {
  closeFraction();
  Entry entry;
  entry.kind = ReadingItem::Picture;
  entry.picture = source;
  entry.rect = rect;
  m_entries.push_back(std::move(entry));
  m_lineEnded = true;
}

void ScreenText::addTable(const std::vector<double> &columns, const std::vector<double> &rows) {
  closeFraction();
  if (columns.size() >= 2 && rows.size() >= 2)
    m_tables.push_back({columns, rows});
  m_lineEnded = true;
}

void ScreenText::closeFraction() {
  if (m_numerator.empty() && m_denominator.empty())
    return;
  QRectF numerator, denominator;
  for (const TextRun &r : m_numerator)
    numerator = numerator.isNull() ? r.cell : numerator.united(r.cell);
  for (const TextRun &r : m_denominator)
    denominator = denominator.isNull() ? r.cell : denominator.united(r.cell);
  const QRectF both = numerator.isNull()     ? denominator
                      : denominator.isNull() ? numerator
                                             : numerator.united(denominator);
  // The fraction reads as one run on the line whose middle its rule marks.
  const double height = both.height() / 2;
  const QRectF cell(both.left(), both.center().y() - height / 2, both.width(), height);
  const QString text = bracketed(linearText(m_numerator)) + QStringLiteral(" sur ") +
                       bracketed(linearText(m_denominator));
  m_numerator.clear();
  m_denominator.clear();
  place(TextRun{cell, text, PlainText});
}

void ScreenText::place(const TextRun &drawn) {
  TextRun run = drawn;
  const bool heading = run.marks & HeadingText;
  const ReadingItem::Kind kind = heading ? ReadingItem::Heading : ReadingItem::Line;
  bool continues = false;
  if (!m_lineEnded && !m_entries.empty() && m_entries.back().kind == kind &&
      !m_entries.back().runs.empty()) {
    const Entry &line = m_entries.back();
    const TextRun &last = line.runs.back();
    // The line's own height: its last run that is not shifted off it.
    QRectF base = line.runs.front().cell;
    double baseSize = line.runs.front().size;
    for (const TextRun &r : line.runs)
      if (!(r.marks & ShiftedMarks)) {
        base = r.cell;
        baseSize = r.size;
      }
    if (!(run.marks & ShiftedMarks) && run.size > 0 && run.size < baseSize) {
      if (run.cell.top() < base.top() - 1)
        run.marks |= ExponentText;
      else if (run.cell.top() > base.top() + 1)
        run.marks |= IndexText;
    }
    const double gap = run.cell.left() - last.cell.right();
    const bool onward = gap > -2 && gap < 3 * base.height();
    const bool level = (run.marks & ShiftedMarks)
                           ? run.cell.top() < base.bottom() && run.cell.bottom() > base.top()
                           : std::abs(run.cell.top() - base.top()) <= base.height() / 2;
    continues = onward && level;
  }
  if (!continues) {
    // A line does not start with blanks alone.
    if (run.text.trimmed().isEmpty())
      return;
    Entry entry;
    entry.kind = kind;
    m_entries.push_back(std::move(entry));
  }
  Entry &line = m_entries.back();
  line.runs.push_back(run);
  line.rect = line.rect.isNull() ? run.cell : line.rect.united(run.cell);
  m_lineEnded = false;
}

std::vector<size_t> ScreenText::readingOrder(double pageWidth) const {
  std::vector<size_t> order;
  std::vector<size_t> band;
  // Columns are read one after the other. A band of narrow items ends at an
  // item that spans half the page. In a band, items whose heights overlap
  // or nearly touch form a strip (a block of lines, a picture with its
  // caption just under it); in a strip, items whose widths overlap,
  // directly or through others, form a column. Strips are read in the order
  // they were begun, columns left to right, each in drawing order.
  const auto flush = [&] {
    if (band.empty())
      return;
    const auto rectOf = [&](size_t e) { return m_entries[e].rect; };
    // Nearly touching: closer than 0.6 of the band's shortest line (a half-line
    // gap, as under a picture before its caption).
    double line = 1e9;
    for (size_t e : band)
      if (m_entries[e].kind != ReadingItem::Picture)
        line = std::min(line, rectOf(e).height());
    const double touch = line < 1e9 ? 0.6 * line : 8;

    std::vector<int> strip(band.size());
    std::vector<std::pair<double, double>> strips; // top, bottom
    std::vector<size_t> byTop(band.size());
    for (size_t i = 0; i < band.size(); ++i)
      byTop[i] = i;
    std::sort(byTop.begin(), byTop.end(),
              [&](size_t a, size_t b) { return rectOf(band[a]).top() < rectOf(band[b]).top(); });
    for (size_t i : byTop) {
      const QRectF r = rectOf(band[i]);
      if (strips.empty() || r.top() > strips.back().second + touch)
        strips.emplace_back(r.top(), r.bottom());
      else
        strips.back().second = std::max(strips.back().second, r.bottom());
      strip[i] = static_cast<int>(strips.size()) - 1;
    }
    std::vector<size_t> firstDrawn(strips.size(), band.size());
    for (size_t i = 0; i < band.size(); ++i)
      firstDrawn[static_cast<size_t>(strip[i])] =
          std::min(firstDrawn[static_cast<size_t>(strip[i])], i);

    std::vector<size_t> column(band.size(), 0);
    for (size_t k = 0; k < strips.size(); ++k) {
      std::vector<std::pair<double, double>> spans, columns;
      for (size_t i = 0; i < band.size(); ++i)
        if (strip[i] == static_cast<int>(k))
          spans.emplace_back(rectOf(band[i]).left(), rectOf(band[i]).right());
      std::sort(spans.begin(), spans.end());
      for (const auto &span : spans) {
        if (!columns.empty() && span.first < columns.back().second)
          columns.back().second = std::max(columns.back().second, span.second);
        else
          columns.push_back(span);
      }
      for (size_t i = 0; i < band.size(); ++i)
        if (strip[i] == static_cast<int>(k))
          for (size_t c = 0; c < columns.size(); ++c)
            if (rectOf(band[i]).left() >= columns[c].first &&
                rectOf(band[i]).left() <= columns[c].second)
              column[i] = c;
    }
    std::vector<size_t> sorted(band.size());
    for (size_t i = 0; i < band.size(); ++i)
      sorted[i] = i;
    std::stable_sort(sorted.begin(), sorted.end(), [&](size_t a, size_t b) {
      const size_t sa = firstDrawn[static_cast<size_t>(strip[a])];
      const size_t sb = firstDrawn[static_cast<size_t>(strip[b])];
      return std::make_pair(sa, column[a]) < std::make_pair(sb, column[b]);
    });
    for (size_t i : sorted)
      order.push_back(band[i]);
    band.clear();
  };
  for (size_t e = 0; e < m_entries.size(); ++e) {
    if (pageWidth > 0 && m_entries[e].rect.width() < pageWidth / 2) {
      band.push_back(e);
      continue;
    }
    if (pageWidth > 0)
      flush();
    order.push_back(e);
  }
  flush();
  return order;
}

std::vector<ReadingItem> ScreenText::items(double pageWidth) const {
  // Which table cell each line lies in, by its centre.
  struct Cell {
    int table = -1, row = 0, column = 0;
  };
  std::vector<Cell> cells(m_entries.size());
  for (size_t e = 0; e < m_entries.size(); ++e) {
    if (m_entries[e].kind == ReadingItem::Picture)
      continue;
    const QPointF c = m_entries[e].rect.center();
    for (size_t t = 0; t < m_tables.size(); ++t) {
      const int row = slot(m_tables[t].rows, c.y());
      const int column = slot(m_tables[t].columns, c.x());
      if (row >= 0 && column >= 0) {
        cells[e] = {static_cast<int>(t), row, column};
        break;
      }
    }
  }

  std::vector<ReadingItem> items;
  std::vector<bool> tableDone(m_tables.size(), false);
  for (size_t e : readingOrder(pageWidth)) {
    const Entry &entry = m_entries[e];
    if (cells[e].table < 0) {
      ReadingItem item;
      item.kind = entry.kind;
      item.rect = entry.rect;
      item.text = entry.kind == ReadingItem::Picture ? entry.picture : linearText(entry.runs);
      if (!item.text.isEmpty() || item.kind == ReadingItem::Picture)
        items.push_back(std::move(item));
      continue;
    }
    // A table is read where its first line was drawn: row by row, each
    // row's cells left to right, a cell's lines top to bottom.
    const int t = cells[e].table;
    if (tableDone[static_cast<size_t>(t)])
      continue;
    tableDone[static_cast<size_t>(t)] = true;
    std::map<std::tuple<int, int>, std::vector<size_t>> byCell;
    for (size_t k = 0; k < m_entries.size(); ++k)
      if (cells[k].table == t)
        byCell[{cells[k].row, cells[k].column}].push_back(k);
    std::map<int, QStringList> rows;
    std::map<int, QRectF> rowRects;
    for (auto &[key, members] : byCell) {
      std::sort(members.begin(), members.end(), [&](size_t a, size_t b) {
        const QRectF &ra = m_entries[a].rect, &rb = m_entries[b].rect;
        return std::make_pair(ra.top(), ra.left()) < std::make_pair(rb.top(), rb.left());
      });
      QStringList lines;
      for (size_t k : members) {
        lines << linearText(m_entries[k].runs);
        QRectF &r = rowRects[std::get<0>(key)];
        r = r.isNull() ? m_entries[k].rect : r.united(m_entries[k].rect);
      }
      rows[std::get<0>(key)] << lines.join(QLatin1Char(' '));
    }
    for (const auto &[row, texts] : rows) {
      ReadingItem item;
      item.kind = ReadingItem::Line;
      item.text = texts.join(QStringLiteral(" ; "));
      item.rect = rowRects[row];
      items.push_back(std::move(item));
    }
  }
  return items;
}

QString ScreenText::text(double pageWidth,
                         const std::function<QString(const QString &)> &describe) const {
  QStringList lines;
  for (const ReadingItem &item : items(pageWidth))
    lines << (item.kind == ReadingItem::Picture && describe ? describe(item.text) : item.text);
  return lines.join(QLatin1Char('\n'));
}

} // namespace abrevel

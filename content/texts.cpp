#include "content/texts.h"

#include <QDirIterator>
#include <QFile>
#include <QMutex>

#include <optional>

namespace abrevel {

namespace {

// A block header, "@CODE NAME": the code a 16-bit number in ASCII digits,
// the name a run of characters that are not white space, white space
// between them and nothing but white space after. White space is meant in
// the Unicode sense: a no-break space never hides in a name.
std::optional<TextKey> blockHeader(QStringView line) {
  const qsizetype end = line.size();
  qsizetype i = 1; // after the '@'
  const auto skip = [&](bool spaces) {
    const qsizetype from = i;
    while (i < end && line[i].isSpace() == spaces)
      ++i;
    return i - from;
  };
  const qsizetype digits = i;
  while (i < end && line[i] >= QLatin1Char('0') && line[i] <= QLatin1Char('9'))
    ++i;
  bool number = false;
  const int code = line.sliced(digits, i - digits).toInt(&number);
  if (!number || code > 32767 || skip(true) == 0)
    return std::nullopt;
  const qsizetype name = i;
  if (skip(false) == 0)
    return std::nullopt;
  const qsizetype nameEnd = i;
  skip(true);
  if (i != end)
    return std::nullopt;
  return TextKey{code, line.sliced(name, nameEnd - name).toString()};
}

} // namespace

std::map<TextKey, QStringList> parseTexts(const QString &source, QStringList *errors) {
  std::map<TextKey, QStringList> texts;
  const QStringList lines = source.split(QLatin1Char('\n'));
  TextKey current{0, QString()};
  bool inBlock = false;
  auto fail = [&](int n, const QString &why) {
    if (errors)
      errors->append(QStringLiteral("line %1: %2").arg(n).arg(why));
  };
  for (int i = 0; i < lines.size(); ++i) {
    QString line = lines[i];
    if (line.endsWith(QLatin1Char('\r')))
      line.chop(1);
    if (line.startsWith(QLatin1Char('#')))
      continue;
    if (line.startsWith(QLatin1Char('@'))) {
      const std::optional<TextKey> header = blockHeader(line);
      if (!header) {
        fail(i + 1, QStringLiteral("bad block header"));
        inBlock = false;
        continue;
      }
      current = *header;
      if (texts.count(current))
        fail(i + 1, QStringLiteral("block named twice"));
      texts[current] = QStringList();
      inBlock = true;
      continue;
    }
    if (line.isEmpty()) {
      inBlock = false;
      continue;
    }
    if (!inBlock) {
      fail(i + 1, QStringLiteral("text outside a block"));
      continue;
    }
    texts[current].append(line);
  }
  for (const auto &[key, body] : texts)
    if (body.isEmpty())
      fail(0, QStringLiteral("empty block @%1 %2").arg(key.first).arg(key.second));
  return texts;
}

namespace {
QMutex missingLock;
QStringList &missingList() {
  static QStringList missing;
  return missing;
}
} // namespace

const std::map<TextKey, QStringList> &allTexts() {
  static const std::map<TextKey, QStringList> texts = [] {
    std::map<TextKey, QStringList> all;
    // The names are sorted out here rather than by a name filter, which
    // would start a regular expression engine for one suffix.
    QDirIterator files(QStringLiteral(":/content"), QDir::Files);
    while (files.hasNext()) {
      const QString name = files.next();
      if (!name.endsWith(QLatin1String(".txt")))
        continue;
      QFile file(name);
      if (file.open(QIODevice::ReadOnly))
        all.merge(parseTexts(QString::fromUtf8(file.readAll()), nullptr));
    }
    return all;
  }();
  return texts;
}

QStringList Body(int screen, const QString &name) {
  const auto &texts = allTexts();
  const auto it = texts.find({screen, name});
  if (it != texts.end())
    return it->second;
  const QMutexLocker lock(&missingLock);
  const QString key = QStringLiteral("@%1 %2").arg(screen).arg(name);
  if (!missingList().contains(key))
    missingList().append(key);
  return {};
}

QString BodyLine(int screen, const QString &name) {
  return Body(screen, name).join(QLatin1Char(' '));
}

QStringList missingTexts() {
  const QMutexLocker lock(&missingLock);
  return missingList();
}

} // namespace abrevel

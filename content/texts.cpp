#include "content/texts.h"

#include <QDirIterator>
#include <QFile>
#include <QMutex>
#include <QRegularExpression>

namespace abrevel {

std::map<TextKey, QStringList> parseTexts(const QString &source, QStringList *errors) {
  std::map<TextKey, QStringList> texts;
  // Spaces in the Unicode sense: a no-break space never hides in a name.
  static const QRegularExpression header(QStringLiteral("^@(\\d+)\\s+(\\S+)\\s*$"),
                                         QRegularExpression::UseUnicodePropertiesOption);
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
      const auto m = header.match(line);
      // A screen code is a 16-bit number written in ASCII digits.
      bool number = false;
      const int code = m.hasMatch() ? m.captured(1).toInt(&number) : 0;
      if (!number || code > 32767) {
        fail(i + 1, QStringLiteral("bad block header"));
        inBlock = false;
        continue;
      }
      current = {code, m.captured(2)};
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
    QDirIterator files(QStringLiteral(":/content"), {QStringLiteral("*.txt")}, QDir::Files);
    while (files.hasNext()) {
      QFile file(files.next());
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

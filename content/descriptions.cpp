#include "content/descriptions.h"

#include <QFile>
#include <QStringList>

#include <algorithm>

namespace abrevel {

const std::map<QString, QString> &pictureDescriptions() {
  static const std::map<QString, QString> descriptions = [] {
    std::map<QString, QString> all;
    QFile file(QStringLiteral(":/descriptions/pictures.txt"));
    if (!file.open(QIODevice::ReadOnly))
      return all;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
      const qsizetype tab = line.indexOf(QLatin1Char('\t'));
      if (tab > 0)
        all[line.left(tab)] = line.mid(tab + 1).trimmed();
    }
    return all;
  }();
  return descriptions;
}

QString pictureDescription(const QString &file) {
  // The name alone, whichever separator the folder was written with.
  QString name = file.mid(
      std::max(file.lastIndexOf(QLatin1Char('/')), file.lastIndexOf(QLatin1Char('\\'))) + 1);
  name =
      name.left(name.indexOf(QLatin1Char('.')) < 0 ? name.size() : name.indexOf(QLatin1Char('.')));
  const auto &all = pictureDescriptions();
  const auto found = all.find(name.toLower());
  return found == all.end() ? QString() : found->second;
}

} // namespace abrevel

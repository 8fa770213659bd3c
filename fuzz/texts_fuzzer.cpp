// The content text parser with any file contents: it never fails on its
// own, what it keeps are well-formed blocks, and writing those blocks back
// out (with Windows line ends, which the parser takes off) gives a file that
// reads as the same blocks without a complaint.
#include "content/texts.h"
#include "fuzz/check.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>

using namespace abrevel;

namespace {

QString writtenOut(const std::map<TextKey, QStringList> &texts) {
  QString out;
  for (const auto &[key, lines] : texts) {
    if (lines.isEmpty())
      continue;
    out += QStringLiteral("@%1 %2\r\n").arg(key.first).arg(key.second);
    for (const QString &line : lines)
      out += line + QStringLiteral("\r\n");
    out += QStringLiteral("\r\n");
  }
  return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, size_t size) {
  const QString source =
      QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
  QStringList errors;
  const auto texts = parseTexts(source, &errors);

  const qsizetype sourceLines = source.count(QLatin1Char('\n')) + 1;
  qsizetype keptLines = 0;
  for (const auto &[key, lines] : texts) {
    FUZZ_CHECK(key.first >= 0 && key.first <= 32767);
    FUZZ_CHECK(!key.second.isEmpty());
    for (QChar c : key.second)
      FUZZ_CHECK(!c.isSpace());
    if (lines.isEmpty())
      FUZZ_CHECK(!errors.isEmpty()); // an empty block is reported
    for (const QString &line : lines) {
      FUZZ_CHECK(!line.isEmpty());
      FUZZ_CHECK(!line.startsWith(QLatin1Char('#')) && !line.startsWith(QLatin1Char('@')));
      FUZZ_CHECK(!line.contains(QLatin1Char('\n')));
      ++keptLines;
    }
  }
  FUZZ_CHECK(keptLines + qsizetype(texts.size()) <= sourceLines);

  QStringList again;
  auto reread = parseTexts(writtenOut(texts), &again);
  FUZZ_CHECK(again.isEmpty());
  for (auto it = reread.begin(); it != reread.end();)
    it = it->second.isEmpty() ? reread.erase(it) : std::next(it);
  auto kept = texts;
  std::erase_if(kept, [](const auto &entry) { return entry.second.isEmpty(); });
  FUZZ_CHECK(reread == kept);
  return 0;
}

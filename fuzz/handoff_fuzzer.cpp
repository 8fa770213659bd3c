// The hand-off file TEMPO.SPC with any bytes the parent (or anything else)
// may have left in it: the chapter and the running flag read as the record
// rules say, and the viewer's writes change its own two strings and nothing
// else, whatever the file held.
#include "fuzz/check.h"
#include "shell/handoff.h"

#include <QByteArray>
#include <QDir>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <unistd.h>

using namespace abrevel;

namespace {

// A folder of the fuzzer's own, in memory when the system has one, removed
// when the run ends.
std::string *madeFolder = nullptr;

QString folder() {
  if (!madeFolder) {
    const std::string base =
        access("/dev/shm", W_OK) == 0 ? std::string("/dev/shm") : QDir::tempPath().toStdString();
    madeFolder = new std::string(base + "/abrevel-fuzz-XXXXXX");
    FUZZ_CHECK(mkdtemp(madeFolder->data()) != nullptr);
    std::atexit([] { QDir(QString::fromStdString(*madeFolder)).removeRecursively(); });
  }
  return QString::fromStdString(*madeFolder) + QLatin1Char('/');
}

void writeFile(const QString &path, const QByteArray &bytes) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  FUZZ_CHECK(fd >= 0);
  FUZZ_CHECK(::write(fd, bytes.constData(), bytes.size()) == bytes.size());
  ::close(fd);
}

QByteArray readFile(const QString &path) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
  FUZZ_CHECK(fd >= 0);
  QByteArray bytes;
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
    bytes.append(buffer, n);
  ::close(fd);
  return bytes;
}

// What a record holds by the rules: a 2-byte little-endian length (126 at
// most counts), then that many bytes, all inside the file, or nothing.
QByteArray recordText(const QByteArray &file, int record) {
  const qsizetype at = qsizetype(record - 1) * HandoffRecordLength;
  if (file.size() < at + 2)
    return {};
  const int declared = std::uint8_t(file[at]) | (std::uint8_t(file[at + 1]) << 8);
  const int n = std::min(declared, HandoffRecordTextMax);
  if (file.size() < at + 2 + n)
    return {};
  return file.mid(at + 2, n);
}

// The file after the viewer wrote `text` into `record`: the same bytes,
// extended with zeros when it was shorter, and the string at the record.
QByteArray written(QByteArray file, int record, const QByteArray &text) {
  const qsizetype at = qsizetype(record - 1) * HandoffRecordLength;
  const qsizetype end = at + 2 + text.size();
  if (file.size() < end)
    file.append(QByteArray(end - file.size(), '\0'));
  file[at] = char(text.size() & 0xFF);
  file[at + 1] = char(text.size() >> 8);
  std::copy(text.begin(), text.end(), file.begin() + at + 2);
  return file;
}

bool sameNumber(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, size_t size) {
  const QString path = handoffPath(folder());
  const QByteArray before(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
  writeFile(path, before);

  // Reading changes nothing and reads what the rules say.
  const QByteArray chapterText = recordText(before, ChapterRecord);
  FUZZ_CHECK(readRecord(path, ChapterRecord) == chapterText);
  FUZZ_CHECK(readRecord(path, RunningFlagRecord) == recordText(before, RunningFlagRecord));
  const double value = handoff::repaint(folder());
  FUZZ_CHECK(!std::isnan(value));
  FUZZ_CHECK(sameNumber(value, Val(fromWindows1252(chapterText))));
  FUZZ_CHECK(readFile(path) == before);

  // Start-up: the running flag, then the chapter, or 0 when it is none.
  const std::int16_t chapter = handoff::startup(folder());
  FUZZ_CHECK(chapter == chapterOf(fromWindows1252(chapterText)).value_or(0));
  const QByteArray started = written(before, RunningFlagRecord, "OUI");
  FUZZ_CHECK(readFile(path) == started);

  // Shutdown: "NON" and " 0", every other byte as it was.
  handoff::shutdown(folder());
  FUZZ_CHECK(readFile(path) ==
             written(written(started, RunningFlagRecord, "NON"), ChapterRecord, " 0"));
  FUZZ_CHECK(handoff::repaint(folder()) == 0);
  return 0;
}

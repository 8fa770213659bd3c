#include "shell/handoff.h"

#include "toolkit/errors.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

namespace abrevel {

namespace {

// The file opened for one access, closed when the access ends. It is opened
// for reading and writing; failing that, for writing only, so that the flags
// still go where they can, or for reading only. A missing file is never
// created: the file is the parent's, and one the parent did not write holds
// no chapter. No open ever waits: a pipe with that name that no one writes
// to reads empty.
class HandoffFile {
public:
  explicit HandoffFile(const QString &path) {
    const QByteArray name = QFile::encodeName(path);
    for (const int access : {O_RDWR, O_WRONLY, O_RDONLY}) {
      do
        m_fd = ::open(name.constData(), access | O_NONBLOCK | O_CLOEXEC);
      while (m_fd < 0 && errno == EINTR);
      if (m_fd >= 0 || errno == ENOENT || errno == ENOTDIR)
        break;
    }
    m_missing = m_fd < 0 && (errno == ENOENT || errno == ENOTDIR);
  }
  ~HandoffFile() {
    if (m_fd >= 0)
      ::close(m_fd);
  }
  HandoffFile(const HandoffFile &) = delete;
  HandoffFile &operator=(const HandoffFile &) = delete;

  // No file of that name (or no such folder).
  bool missing() const { return m_missing; }
  // The last read could not read the file at all.
  bool readFailed() const { return m_readFailed; }

  // The record is read whole in one call, and again until two readings
  // agree: the parent may be rewriting it at that very moment, and a length
  // from one string with the text of another must not pass for a chapter.
  // Nothing outside the record is read.
  QByteArray read(int record) const {
    m_readFailed = m_fd < 0;
    if (m_fd < 0 || record < 1)
      return {};
    const off_t at = static_cast<off_t>(record - 1) * HandoffRecordLength;
    std::array<char, HandoffRecordLength> bytes{}, again{};
    ssize_t got = readAt(bytes.data(), bytes.size(), at);
    for (int reading = 0; reading < 16; ++reading) {
      const ssize_t gotAgain = readAt(again.data(), again.size(), at);
      const bool same = gotAgain == got &&
                        (got <= 0 || std::equal(bytes.begin(), bytes.begin() + got, again.begin()));
      if (same)
        break;
      bytes = again;
      got = gotAgain;
    }
    m_readFailed = got < 0;
    if (got < 2)
      return {}; // the length field lies beyond the end of the file
    const auto byte = [&](int i) { return static_cast<unsigned char>(bytes[i]); };
    const int declared = byte(0) | (byte(1) << 8);
    const int n = std::min(declared, HandoffRecordTextMax);
    if (2 + n > got)
      return {}; // the text runs past the end of the file
    return QByteArray(bytes.data() + 2, n);
  }

  // The length field and the text go out in one write call.
  bool write(int record, const QByteArray &text) const {
    if (m_fd < 0 || record < 1)
      return false;
    const QByteArray kept = text.left(HandoffRecordTextMax);
    QByteArray bytes;
    bytes.reserve(2 + kept.size());
    bytes.append(static_cast<char>(kept.size() & 0xFF));
    bytes.append(static_cast<char>((kept.size() >> 8) & 0xFF));
    bytes.append(kept);
    const off_t at = static_cast<off_t>(record - 1) * HandoffRecordLength;
    ssize_t written;
    do
      written = ::pwrite(m_fd, bytes.constData(), static_cast<size_t>(bytes.size()), at);
    while (written < 0 && errno == EINTR);
    return written == bytes.size();
  }

private:
  ssize_t readAt(void *buffer, size_t n, off_t at) const {
    ssize_t got;
    do
      got = ::pread(m_fd, buffer, n, at);
    while (got < 0 && errno == EINTR);
    return got;
  }

  int m_fd = -1;
  bool m_missing = false;
  mutable bool m_readFailed = false;
};

bool ignoredBlank(QChar c) {
  return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

} // namespace

QString handoffPath(const QString &appFolder) { return appFolder + QStringLiteral("TEMPO.SPC"); }

double Val(const QString &text) {
  // The significant characters, blanks dropped wherever they stand.
  QString s;
  s.reserve(text.size());
  for (QChar c : text)
    if (!ignoredBlank(c))
      s.append(c);

  std::string number;
  qsizetype i = 0;
  const auto at = [&](qsizetype k) { return k < s.size() ? s[k] : QChar(); };
  if (at(i) == QLatin1Char('+') || at(i) == QLatin1Char('-'))
    number += static_cast<char>(s[i++].unicode());
  bool digits = false;
  while (isDigit(at(i))) {
    number += static_cast<char>(s[i++].unicode());
    digits = true;
  }
  if (at(i) == QLatin1Char('.')) {
    number += '.';
    ++i;
    while (isDigit(at(i))) {
      number += static_cast<char>(s[i++].unicode());
      digits = true;
    }
  }
  if (!digits)
    return 0;
  // An exponent counts only when digits follow it ("1E" is 1).
  const QChar e = at(i).toUpper();
  if (e == QLatin1Char('E') || e == QLatin1Char('D')) {
    qsizetype k = i + 1;
    std::string exponent = "e";
    if (at(k) == QLatin1Char('+') || at(k) == QLatin1Char('-'))
      exponent += static_cast<char>(s[k++].unicode());
    if (isDigit(at(k))) {
      while (isDigit(at(k)))
        exponent += static_cast<char>(s[k++].unicode());
      number += exponent;
    }
  }

  const char *first = number.data();
  if (*first == '+')
    ++first; // from_chars takes no plus sign
  double value = 0;
  const auto result = std::from_chars(first, number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too small is 0, too large an infinity of the number's sign.
    const bool negativeExponent = number.find("e-") != std::string::npos;
    if (negativeExponent)
      return 0;
    const double huge = std::numeric_limits<double>::infinity();
    return number[0] == '-' ? -huge : huge;
  }
  return value;
}

std::optional<std::int16_t> chapterOf(const QString &text) {
  try {
    return toInt16(Val(text));
  } catch (const DrawError &) {
    return std::nullopt;
  }
}

QString fromWindows1252(const QByteArray &bytes) {
  // 0x80..0x9F, where Windows-1252 differs from Latin-1 (0 = unassigned,
  // kept as the control character of the same code).
  static constexpr std::array<char16_t, 32> high = {
      0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  QString out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    const char16_t mapped = (b >= 0x80 && b <= 0x9F) ? high[b - 0x80] : 0;
    out.append(QChar(mapped ? mapped : char16_t(b)));
  }
  return out;
}

QByteArray readRecord(const QString &path, int record) { return HandoffFile(path).read(record); }

bool writeRecord(const QString &path, int record, const QByteArray &text) {
  return HandoffFile(path).write(record, text);
}

namespace handoff {

std::int16_t startup(const QString &appFolder, FileState *state) {
  const HandoffFile file(handoffPath(appFolder));
  file.write(RunningFlagRecord, QByteArrayLiteral("OUI"));
  // A value that does not fit 16 bits leaves the chapter at 0.
  const std::int16_t chapter = chapterOf(fromWindows1252(file.read(ChapterRecord))).value_or(0);
  if (state)
    *state = file.missing()      ? FileState::Missing
             : file.readFailed() ? FileState::Unreadable
                                 : FileState::Read;
  return chapter;
}

double repaint(const QString &appFolder) {
  const HandoffFile file(handoffPath(appFolder));
  return Val(fromWindows1252(file.read(ChapterRecord)));
}

void shutdown(const QString &appFolder) {
  const HandoffFile file(handoffPath(appFolder));
  file.write(RunningFlagRecord, QByteArrayLiteral("NON"));
  file.write(ChapterRecord, QByteArrayLiteral(" 0"));
}

void endWithoutChapter(const QString &appFolder) {
  const HandoffFile file(handoffPath(appFolder));
  file.write(RunningFlagRecord, QByteArrayLiteral("NON"));
}

} // namespace handoff

namespace {

// The session the process's exit ends, if it is still running then.
std::atomic<HandoffSession *> sessionAtExit{nullptr};

void endSessionAtExit() {
  if (HandoffSession *session = sessionAtExit.exchange(nullptr))
    session->shutdown();
}

void watchAtExit(HandoffSession *session) {
  // Registered once, as late as possible: exit runs it before the
  // destructors of everything that existed before it, Qt's included.
  static const bool registered = [] {
    std::atexit(endSessionAtExit);
    std::at_quick_exit(endSessionAtExit);
    return true;
  }();
  (void)registered;
  sessionAtExit.store(session);
}

void stopWatching(HandoffSession *session) {
  HandoffSession *watched = session;
  sessionAtExit.compare_exchange_strong(watched, nullptr);
}

} // namespace

HandoffSession::HandoffSession(QString appFolder) : m_folder(std::move(appFolder)) {}

HandoffSession::~HandoffSession() { stopWatching(this); }

std::int16_t HandoffSession::startup() {
  const std::int16_t chapter = handoff::startup(m_folder, &m_fileState);
  if (!m_ended.load())
    watchAtExit(this);
  return chapter;
}

double HandoffSession::repaint() const { return handoff::repaint(m_folder); }

bool HandoffSession::takeEnd() {
  if (m_ended.exchange(true))
    return false;
  stopWatching(this);
  return true;
}

void HandoffSession::shutdown() {
  if (takeEnd())
    handoff::shutdown(m_folder);
}

void HandoffSession::endWithoutChapter() {
  if (takeEnd())
    handoff::endWithoutChapter(m_folder);
}

} // namespace abrevel

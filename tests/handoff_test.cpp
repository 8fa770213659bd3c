// The hand-off file shared with the parent application: the number rule,
// the record layout, and the promise that nothing but the viewer's own two
// strings ever changes.
#include "shell/handoff.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

using namespace abrevel;

namespace {

QByteArray readAll(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return {};
  return file.readAll();
}

void writeAll(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ASSERT_EQ(file.write(bytes), bytes.size());
}

// A record's bytes as the parent writes them: length, then the text.
QByteArray record(const QByteArray &text) {
  QByteArray bytes;
  bytes.append(static_cast<char>(text.size() & 0xFF));
  bytes.append(static_cast<char>(text.size() >> 8));
  return bytes + text;
}

// A file of `records` records filled with a known pattern, record 25
// holding the given chapter text.
QByteArray parentFile(int records, const QByteArray &chapter) {
  QByteArray bytes(records * HandoffRecordLength, '\0');
  for (int i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<char>((i * 37 + 11) & 0xFF);
  bytes.replace((ChapterRecord - 1) * HandoffRecordLength, 2 + chapter.size(), record(chapter));
  return bytes;
}

class HandoffFileTest : public ::testing::Test {
protected:
  QTemporaryDir dir;
  QString folder() const { return dir.path() + QLatin1Char('/'); }
  QString path() const { return handoffPath(folder()); }
};

} // namespace

TEST(Val, ReadsTheLeadingNumberLikeTheParent) {
  const struct {
    const char *text;
    double value;
  } cases[] = {
      {"7", 7},     {" 7", 7},        {" 12", 12},   {"2.5", 2.5},  {"-3", -3},    {"+4", 4},
      {"1 2", 12},  {"1\t2\n3", 123}, {" - 5", -5},  {".5", 0.5},   {"5.4", 5.4},  {"7abc", 7},
      {"7,5", 7},   {"1.2.3", 1.2},   {"1E2", 100},  {"1e-1", 0.1}, {"2D3", 2000}, {"3E", 3},
      {"3E+", 3},   {"abc", 0},       {"", 0},       {"   ", 0},    {"-", 0},      {".", 0},
      {"7\r\n", 7}, {"00000009", 9},  {"1E-400", 0},
  };
  for (const auto &c : cases)
    EXPECT_DOUBLE_EQ(Val(QString::fromUtf8(c.text)), c.value) << c.text;
  EXPECT_EQ(Val(QStringLiteral("1E400")), std::numeric_limits<double>::infinity());
  EXPECT_EQ(Val(QStringLiteral("-1E400")), -std::numeric_limits<double>::infinity());
}

TEST(Val, ChapterRoundsHalvesToEvenAndRejectsWhatDoesNotFit) {
  const struct {
    const char *text;
    std::optional<std::int16_t> chapter;
  } cases[] = {
      {" 12", 12},
      {"2.5", 2},
      {"3.5", 4},
      {"abc", 0},
      {"", 0},
      {"0.4", 0},
      {"-0.5", 0},
      {"32767", 32767},
      {"32768", std::nullopt},
      {"99999", std::nullopt},
      {"-32769", std::nullopt},
      {"1E400", std::nullopt},
  };
  for (const auto &c : cases)
    EXPECT_EQ(chapterOf(QString::fromUtf8(c.text)), c.chapter) << c.text;
}

TEST(Windows1252, DecodesTheParentsCodePage) {
  EXPECT_EQ(fromWindows1252(QByteArray("\x80 \xe9t\xe9 \x9c", 7)), QStringLiteral("€ été œ"));
}

TEST_F(HandoffFileTest, StartUpReadsTheChapterTheParentWrote) {
  const struct {
    QByteArray chapter;
    std::int16_t expected;
  } cases[] = {
      {" 12", 12}, {"7", 7}, {"2.5", 2}, {"3.5", 4}, {"abc", 0}, {"", 0}, {"99999", 0},
  };
  for (const auto &c : cases) {
    writeAll(path(), parentFile(30, c.chapter));
    EXPECT_EQ(handoff::startup(folder()), c.expected) << c.chapter.constData();
    EXPECT_EQ(readRecord(path(), RunningFlagRecord), QByteArray("OUI"));
  }
}

TEST_F(HandoffFileTest, MissingFileIsNeverCreated) {
  ASSERT_FALSE(QFile::exists(path()));
  handoff::FileState state = handoff::FileState::Read;
  EXPECT_EQ(handoff::startup(folder(), &state), 0);
  EXPECT_EQ(state, handoff::FileState::Missing);
  EXPECT_EQ(handoff::repaint(folder()), 0.0);
  handoff::endWithoutChapter(folder());
  handoff::shutdown(folder());
  EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(HandoffFileTest, StartUpTellsWhatItFoundOfTheFile) {
  const struct {
    const char *what;
    QByteArray chapter; // null: a folder in the file's place, which opens but cannot be read
    handoff::FileState state;
  } cases[] = {
      {"a chapter", "3", handoff::FileState::Read},
      {"no chapter", "abc", handoff::FileState::Read},
      {"a folder", QByteArray(), handoff::FileState::Unreadable},
  };
  for (const auto &c : cases) {
    QTemporaryDir caseDir;
    const QString folder = caseDir.path() + QLatin1Char('/');
    if (c.chapter.isNull())
      ASSERT_TRUE(QDir().mkdir(handoffPath(folder)));
    else
      writeAll(handoffPath(folder), parentFile(30, c.chapter));
    handoff::FileState state = handoff::FileState::Missing;
    handoff::startup(folder, &state);
    EXPECT_EQ(state, c.state) << c.what;
  }
}

TEST_F(HandoffFileTest, EndWithoutChapterWritesTheRunningFlagAlone) {
  for (const QByteArray &chapter : {QByteArray("0"), QByteArray("abc"), QByteArray("")}) {
    const QByteArray before = parentFile(30, chapter);
    writeAll(path(), before);
    EXPECT_EQ(handoff::startup(folder()), 0);
    handoff::endWithoutChapter(folder());
    QByteArray expected = before;
    expected.replace((RunningFlagRecord - 1) * HandoffRecordLength, 5, record("NON"));
    EXPECT_EQ(readAll(path()), expected) << chapter.constData();
  }
}

TEST_F(HandoffFileTest, RecordsBeyondTheEndOrCutShortReadEmpty) {
  const QByteArray chapterStart = QByteArray((ChapterRecord - 1) * HandoffRecordLength, 'x');
  const struct {
    const char *what;
    QByteArray file;
  } cases[] = {
      {"file ends before record 25", QByteArray(1000, '\0')},
      {"file ends inside the length field", chapterStart + QByteArray(1, '\x02')},
      {"file ends inside the text", chapterStart + record("12").left(3)},
  };
  for (const auto &c : cases) {
    writeAll(path(), c.file);
    EXPECT_EQ(readRecord(path(), ChapterRecord), QByteArray()) << c.what;
    EXPECT_EQ(handoff::repaint(folder()), 0.0) << c.what;
  }
  // The parent writes just the string: a file ending right after it is whole.
  writeAll(path(), chapterStart + record(" 9"));
  EXPECT_EQ(handoff::repaint(folder()), 9.0);
}

TEST_F(HandoffFileTest, LengthBeyondTheRecordReadsOnlyTheRecordsOwnText) {
  QByteArray bytes = parentFile(30, "");
  const int at = (ChapterRecord - 1) * HandoffRecordLength;
  bytes[at] = char(0xFF);
  bytes[at + 1] = char(0x7F); // 32767 bytes claimed
  bytes.replace(at + 2, 3, "8  ");
  writeAll(path(), bytes);
  const QByteArray text = readRecord(path(), ChapterRecord);
  EXPECT_EQ(text, bytes.mid(at + 2, HandoffRecordTextMax));
  // Val stops at the first byte of the pattern that cannot continue "8".
  EXPECT_EQ(handoff::repaint(folder()), Val(fromWindows1252(text)));
}

TEST_F(HandoffFileTest, OnlyTheViewersTwoStringsEverChange) {
  const QByteArray before = parentFile(40, "5");
  writeAll(path(), before);

  EXPECT_EQ(handoff::startup(folder()), 5);
  EXPECT_EQ(handoff::repaint(folder()), 5.0);
  handoff::shutdown(folder());

  const QByteArray after = readAll(path());
  ASSERT_EQ(after.size(), before.size());
  const int flag = (RunningFlagRecord - 1) * HandoffRecordLength;
  const int chapter = (ChapterRecord - 1) * HandoffRecordLength;
  EXPECT_EQ(after.mid(flag, 5), record("NON"));
  EXPECT_EQ(after.mid(chapter, 4), record(" 0"));
  EXPECT_EQ(after.mid(chapter, 4), QByteArray("\x02\x00 0", 4));
  for (int i = 0; i < after.size(); ++i) {
    const bool own = (i >= flag && i < flag + 5) || (i >= chapter && i < chapter + 4);
    if (!own) {
      ASSERT_EQ(after[i], before[i]) << "byte " << i << " changed";
    }
  }
}

TEST_F(HandoffFileTest, UnusableFolderGivesNoChapterAndNoFile) {
  const QString missing = dir.path() + QStringLiteral("/missing/");
  EXPECT_EQ(handoff::startup(missing), 0);
  EXPECT_EQ(handoff::repaint(missing), 0.0);
  handoff::shutdown(missing);
  EXPECT_FALSE(QDir(missing).exists());
}

TEST_F(HandoffFileTest, ReadOnlyFileStillGivesItsChapter) {
  if (::geteuid() == 0)
    GTEST_SKIP() << "root writes through file permissions";
  const QByteArray before = parentFile(30, "6");
  writeAll(path(), before);
  QFile::setPermissions(path(), QFileDevice::ReadOwner);
  EXPECT_EQ(handoff::startup(folder()), 6);
  handoff::shutdown(folder());
  EXPECT_EQ(readAll(path()), before);
}

// The hand-off file in the states a parent, a user or a badly copied folder
// leave it in: absent, of another type, of any size, with any permissions,
// and with anything in records 18 and 25. Each access runs as the viewer
// runs, in a process of its own (as an ordinary user where the tests run as
// root, so that permissions count): start-up, a repaint, shutdown. In each
// case the chapter is what the rules make of record 25, the flags land
// where the file can be written, no access reads more than record 25 (each
// reading whole, twice at most), and no byte the viewer does not own
// changes.
namespace {

// What the viewer's accesses gave, seen from inside its process.
struct Accesses {
  std::int16_t chapter = -1;
  double repaint = -1;
  long long startupRead = -1; // bytes read by the start-up access
  long long repaintRead = -1;
};

// The bytes this thread has read so far, as the kernel counts them: the
// count shown does not include the reading of the count itself, the next
// count does.
struct ReadCount {
  long long bytes = -1;
  long long cost = 0; // the length of the count's own text
};
ReadCount readCount() {
  const int fd = ::open("/proc/thread-self/io", O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return {};
  char text[512] = {};
  const ssize_t n = ::read(fd, text, sizeof text - 1);
  ::close(fd);
  const char *at = n > 0 ? std::strstr(text, "rchar:") : nullptr;
  return at ? ReadCount{std::atoll(at + 6), n} : ReadCount{};
}
long long readBetween(const ReadCount &from, const ReadCount &to) {
  return from.bytes < 0 || to.bytes < 0 ? -1 : to.bytes - from.bytes - from.cost;
}

// Runs the three accesses in a child process, as nobody when the tests run
// as root.
std::optional<Accesses> runAccesses(const QString &folder) {
  int pipe[2];
  if (::pipe(pipe) != 0)
    return std::nullopt;
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipe[0]);
    // Another user, who can still read its own counts in /proc.
    if (::geteuid() == 0 &&
        (::setgid(65534) != 0 || ::setuid(65534) != 0 || ::prctl(PR_SET_DUMPABLE, 1) != 0))
      ::_exit(3);
    Accesses got;
    const ReadCount start = readCount();
    got.chapter = handoff::startup(folder);
    const ReadCount started = readCount();
    got.repaint = handoff::repaint(folder);
    const ReadCount repainted = readCount();
    got.startupRead = readBetween(start, started);
    got.repaintRead = readBetween(started, repainted);
    handoff::shutdown(folder);
    const bool sent = ::write(pipe[1], &got, sizeof got) == sizeof got;
    ::_exit(sent ? 0 : 4);
  }
  ::close(pipe[1]);
  // An access that waits (on a pipe, a lock) fails the case instead of
  // hanging the tests.
  pollfd ready{pipe[0], POLLIN, 0};
  Accesses got;
  const bool received =
      child > 0 && ::poll(&ready, 1, 20000) == 1 && ::read(pipe[0], &got, sizeof got) == sizeof got;
  ::close(pipe[0]);
  int status = 0;
  if (child > 0) {
    if (!received)
      ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
  }
  if (!received || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return std::nullopt;
  return got;
}

QByteArray withRecord(QByteArray file, int n, const QByteArray &bytes) {
  const int at = (n - 1) * HandoffRecordLength;
  if (file.size() < at + bytes.size())
    file.append(QByteArray(at + bytes.size() - file.size(), '\0'));
  file.replace(at, bytes.size(), bytes);
  return file;
}

// The file after a start-up and a shutdown that could write.
QByteArray afterTheViewer(const QByteArray &before) {
  return withRecord(withRecord(before, RunningFlagRecord, record("NON")), ChapterRecord,
                    record(" 0"));
}

// What becomes of the file.
enum class Outcome {
  Flags,     // the viewer's two strings written, every other byte as it was
  Untouched, // every byte as it was
  NotAFile,  // it stays what it was, no file in its place
  NoFile,    // no file is created
};

struct FileCase {
  const char *what;
  // Prepares the folder; returns the bytes the file holds.
  std::function<QByteArray(const QString &dir, const QString &path)> make;
  std::int16_t chapter; // start-up
  double value;         // the repaint that follows
  Outcome outcome;
};

const QFileDevice::Permissions kReadWrite = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ReadOther | QFileDevice::WriteOther;
const QFileDevice::Permissions kReadOnlyFolder =
    QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther | QFileDevice::ExeOther;
const QFileDevice::Permissions kOpenFolder = QFileDevice::Permissions(0x7777);

QByteArray put(const QString &path, const QByteArray &bytes,
               QFileDevice::Permissions mode = kReadWrite) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    file.write(bytes);
  file.close();
  QFile::setPermissions(path, mode);
  return bytes;
}

auto parentWrote(const QByteArray &file) {
  return [file](const QString &, const QString &path) { return put(path, file); };
}

// A parent's file whose record 25 holds these bytes, length field included.
auto chapterBytes(const QByteArray &bytes) {
  return parentWrote(withRecord(parentFile(30, ""), ChapterRecord, bytes));
}

} // namespace

TEST_F(HandoffFileTest, EveryFaultOfTheFileKeepsTheRulesAndTheParentsBytes) {
  const double inf = std::numeric_limits<double>::infinity();
  // "9" and spaces to the end of the record, the next record starting with
  // a digit: only the record's own 126 bytes count.
  const auto lengthPastTheRecord =
      parentWrote(withRecord(withRecord(parentFile(30, ""), ChapterRecord,
                                        "\x7f" + QByteArray(1, '\0') + "9" + QByteArray(125, ' ')),
                             ChapterRecord + 1, "5"));
  const FileCase cases[] = {
      // Its type.
      {"a folder named TEMPO.SPC",
       [](const QString &, const QString &path) {
         QDir().mkdir(path);
         return QByteArray();
       },
       0, 0, Outcome::NotAFile},
      {"a pipe named TEMPO.SPC that no one writes to",
       [](const QString &, const QString &path) {
         ::mkfifo(QFile::encodeName(path).constData(), 0666);
         return QByteArray();
       },
       0, 0, Outcome::NotAFile},
      {"a link to the parent's file",
       [](const QString &dir, const QString &path) {
         const QByteArray bytes = put(dir + QStringLiteral("/real.spc"), parentFile(30, " 9"));
         QFile::link(dir + QStringLiteral("/real.spc"), path);
         return bytes;
       },
       9, 9, Outcome::Flags},
      // Its size.
      {"empty", parentWrote({}), 0, 0, Outcome::Flags},
      {"ends inside record 18", parentWrote(parentFile(30, "7").left(17 * 128 + 3)), 0, 0,
       Outcome::Flags},
      {"ends before record 25", parentWrote(parentFile(30, "").left(24 * 128)), 0, 0,
       Outcome::Flags},
      {"ends right after the chapter", parentWrote(parentFile(30, "7").left(24 * 128 + 3)), 7, 7,
       Outcome::Flags},
      {"a gigabyte, most of it a hole",
       [](const QString &, const QString &path) {
         const QByteArray bytes = put(path, parentFile(30, " 12"));
         QFile(path).resize(qint64(1) << 30);
         return bytes;
       },
       12, 12, Outcome::Flags},
      // Its permissions.
      {"read only",
       [](const QString &, const QString &path) {
         return put(path, parentFile(30, "6"), QFileDevice::ReadOwner | QFileDevice::ReadOther);
       },
       6, 6, Outcome::Untouched},
      {"write only",
       [](const QString &, const QString &path) {
         return put(path, parentFile(30, "6"), QFileDevice::WriteOwner | QFileDevice::WriteOther);
       },
       0, 0, Outcome::Flags},
      {"no permission at all",
       [](const QString &, const QString &path) { return put(path, parentFile(30, "6"), {}); }, 0,
       0, Outcome::Untouched},
      {"missing", [](const QString &, const QString &) { return QByteArray(); }, 0, 0,
       Outcome::NoFile},
      {"missing in a read-only folder",
       [](const QString &dir, const QString &) {
         QFile::setPermissions(dir, kReadOnlyFolder);
         return QByteArray();
       },
       0, 0, Outcome::NoFile},
      {"writable in a read-only folder",
       [](const QString &dir, const QString &path) {
         const QByteArray bytes = put(path, parentFile(30, "3"));
         QFile::setPermissions(dir, kReadOnlyFolder);
         return bytes;
       },
       3, 3, Outcome::Flags},
      // Record 25: its length field.
      {"length 0", chapterBytes(record("")), 0, 0, Outcome::Flags},
      {"length 126, the whole record", chapterBytes(record("5" + QByteArray(125, ' '))), 5, 5,
       Outcome::Flags},
      {"length 127, past the record", lengthPastTheRecord, 9, 9, Outcome::Flags},
      {"length 65535", chapterBytes("\xff\xff" + QByteArray("8") + QByteArray(125, 'x')), 8, 8,
       Outcome::Flags},
      // Record 25: code-page bytes.
      {"a no-break space first",
       chapterBytes(record("\xa0"
                           "7")),
       0, 0, Outcome::Flags},
      {"accented letters after the number", chapterBytes(record("7\xe9\xe8")), 7, 7,
       Outcome::Flags},
      {"a euro sign", chapterBytes(record("\x80")), 0, 0, Outcome::Flags},
      {"a zero byte first",
       chapterBytes(record(QByteArray("\0"
                                      "7",
                                      2))),
       0, 0, Outcome::Flags},
      {"a zero byte after the number",
       chapterBytes(record(QByteArray("7\0"
                                      "1",
                                      3))),
       7, 7, Outcome::Flags},
      // Record 25: numbers that do not fit.
      {"32768", parentWrote(parentFile(30, "32768")), 0, 32768, Outcome::Flags},
      {"-32769", parentWrote(parentFile(30, "-32769")), 0, -32769, Outcome::Flags},
      {"1D400", parentWrote(parentFile(30, "1D400")), 0, inf, Outcome::Flags},
      {"19.5, halves to even", parentWrote(parentFile(30, "19.5")), 20, 19.5, Outcome::Flags},
      {"-0.5", parentWrote(parentFile(30, "-0.5")), 0, -0.5, Outcome::Flags},
      // Record 18: a longer text of the parent's.
      {"a longer running flag",
       parentWrote(withRecord(parentFile(30, "7"), RunningFlagRecord,
                              record("UN TEXTE DU PARENT, PLUS LONG"))),
       7, 7, Outcome::Flags},
  };

  for (const FileCase &c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir caseDir;
    ASSERT_TRUE(caseDir.isValid());
    // The viewer's process may run as another user: the folder is open to all.
    ASSERT_TRUE(QFile::setPermissions(caseDir.path(), kOpenFolder));
    const QString folder = caseDir.path() + QLatin1Char('/');
    const QString path = handoffPath(folder);
    const QByteArray before = c.make(caseDir.path(), path);
    const qint64 sizeBefore = QFileInfo(path).size();
    const bool link = QFileInfo(path).isSymLink();

    const std::optional<Accesses> got = runAccesses(folder);
    // Back to the owner's hands, to be read and removed.
    QFile::setPermissions(caseDir.path(), kOpenFolder);
    if (QFileInfo(path).isFile())
      QFile::setPermissions(path, kReadWrite);
    ASSERT_TRUE(got.has_value()) << "the viewer's process did not finish";
    EXPECT_EQ(got->chapter, c.chapter);
    EXPECT_EQ(got->repaint, c.value);
    // Record 25 read whole, twice at most, and nothing else.
    EXPECT_GE(got->startupRead, 0);
    EXPECT_LE(got->startupRead, 2 * HandoffRecordLength);
    EXPECT_LE(got->repaintRead, 2 * HandoffRecordLength);

    const QFileInfo after(path);
    EXPECT_EQ(after.isSymLink(), link);
    switch (c.outcome) {
    case Outcome::NotAFile:
      EXPECT_TRUE(after.exists());
      EXPECT_FALSE(after.isFile()) << "a file took its place";
      break;
    case Outcome::NoFile:
      EXPECT_FALSE(after.exists());
      break;
    case Outcome::Flags:
    case Outcome::Untouched: {
      const QByteArray expected = c.outcome == Outcome::Flags ? afterTheViewer(before) : before;
      EXPECT_EQ(after.size(), std::max<qint64>(sizeBefore, expected.size()));
      QFile file(path);
      ASSERT_TRUE(file.open(QIODevice::ReadOnly));
      EXPECT_EQ(file.read(expected.size() + 4096),
                expected +
                    QByteArray(std::min<qint64>(4096, after.size() - expected.size()), '\0'));
      break;
    }
    }
  }
}

// A viewer's session ends once, whichever end comes first, and a process
// that exits while the session runs (as Qt makes it exit when the display
// connection breaks) ends it on its way out. Each case runs in a process
// of its own, which starts the session on a parent's file, does what the
// case says, and exits through exit() unless the case ends it otherwise.
// "rewrite" stands for the parent writing its records again after the end:
// they must stay, since nothing may write after the first end.
namespace {

void parentRewrites(const QString &folder) {
  writeRecord(handoffPath(folder), RunningFlagRecord, "P18");
  writeRecord(handoffPath(folder), ChapterRecord, "P25");
}

} // namespace

TEST_F(HandoffFileTest, SessionEndsOnceAndAtExitIfStillRunning) {
  const struct {
    const char *what;
    void (*run)(std::unique_ptr<HandoffSession> &, const QString &folder);
    QByteArray flag, chapter; // records 18 and 25 afterwards
  } cases[] = {
      {"exit() while running", [](auto &, const QString &) { std::exit(1); }, "NON", " 0"},
      {"quick_exit() while running", [](auto &, const QString &) { std::quick_exit(1); }, "NON",
       " 0"},
      {"shut down, rewrite, exit()",
       [](auto &s, const QString &f) {
         s->shutdown();
         parentRewrites(f);
       },
       "P18", "P25"},
      {"ended without a chapter, exit()", [](auto &s, const QString &) { s->endWithoutChapter(); },
       "NON", "7"},
      {"ended without a chapter, shut down, exit()",
       [](auto &s, const QString &) {
         s->endWithoutChapter();
         s->shutdown();
       },
       "NON", "7"},
      {"shut down twice, rewrite in between",
       [](auto &s, const QString &f) {
         s->shutdown();
         parentRewrites(f);
         s->shutdown();
       },
       "P18", "P25"},
      {"destroyed without an end (a test's window), exit()",
       [](auto &s, const QString &) { s.reset(); }, "OUI", "7"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    const QByteArray before = parentFile(30, "7");
    writeAll(path(), before);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      auto session = std::make_unique<HandoffSession>(folder());
      if (session->startup() != 7)
        ::_exit(3);
      c.run(session, folder());
      std::exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), 3);
    const QByteArray expected = withRecord(withRecord(before, RunningFlagRecord, record(c.flag)),
                                           ChapterRecord, record(c.chapter));
    EXPECT_EQ(readAll(path()), expected);
  }
}

// The real program started as the parent starts it (no window system: the
// offscreen platform), on a parent's file of 30 records, and ended by
// each termination signal at each moment, or by having no chapter. After
// every end, record 18 tells the parent that no viewer runs, each byte the
// viewer does not own is as the parent left it, and a signal's end is the
// signal's own (the program killed by the first one sent).
namespace {

enum class Moment {
  StartUp, // pending when the program starts: seen before its window exists
  Open,    // once the start-up access has written "OUI"
};

struct ProgramEnd {
  int status = -1; // as waitpid gives it
  QByteArray err;
  bool finished = false;
};

// Runs the program on `folder`, sends `signals` at `moment`, and waits for
// its end.
ProgramEnd runViewer(const QString &folder, Moment moment, const std::vector<int> &signals,
                     bool hangUpIgnored) {
  QTemporaryDir logDir;
  const QByteArray exe = ABREVEL_EXE;
  const QByteArray appFolder = QFile::encodeName(folder);
  const QByteArray log = QFile::encodeName(logDir.filePath(QStringLiteral("stderr")));
  char *const argv[] = {const_cast<char *>(exe.constData()), const_cast<char *>("--app-folder"),
                        const_cast<char *>(appFolder.constData()), nullptr};
  // Signals sent at start-up wait, blocked, until the program catches them.
  sigset_t held, before;
  sigemptyset(&held);
  for (const int signal : {SIGTERM, SIGINT, SIGHUP})
    sigaddset(&held, signal);
  ::pthread_sigmask(SIG_BLOCK, &held, &before);
  const pid_t child = ::fork();
  if (child == 0) {
    const int err = ::open(log.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (err < 0 || null < 0 || ::dup2(err, 2) < 0 || ::dup2(null, 1) < 0)
      ::_exit(120);
    if (hangUpIgnored)
      ::signal(SIGHUP, SIG_IGN);
    if (moment == Moment::Open)
      ::sigprocmask(SIG_SETMASK, &before, nullptr);
    ::execv(argv[0], argv);
    ::_exit(121);
  }
  ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
  ProgramEnd end;
  if (child < 0)
    return end;

  const QString tempo = handoffPath(folder);
  const auto waitFor = [&](const std::function<bool()> &done) {
    for (int i = 0; i < 3000; ++i) {
      if (done())
        return true;
      const timespec tenMs{0, 10000000};
      ::nanosleep(&tenMs, nullptr);
    }
    return false;
  };
  bool exited = false;
  const auto ended = [&] {
    exited = exited || ::waitpid(child, &end.status, WNOHANG) == child;
    return exited;
  };
  if (moment == Moment::Open)
    waitFor([&] { return ended() || readRecord(tempo, RunningFlagRecord) == "OUI"; });
  for (const int signal : signals)
    if (!exited)
      ::kill(child, signal);
  end.finished = waitFor(ended);
  if (!end.finished) {
    ::kill(child, SIGKILL);
    ::waitpid(child, &end.status, 0);
  }
  QFile err(QFile::decodeName(log));
  if (err.open(QIODevice::ReadOnly))
    end.err = err.readAll();
  return end;
}

// The lines of the program's own on standard error (the platform may add
// its notices).
QByteArrayList ownLines(const QByteArray &err) {
  QByteArrayList own;
  for (const QByteArray &line : err.split('\n'))
    if (line.startsWith("abrevel"))
      own << line;
  return own;
}

} // namespace

TEST(RealViewerEnd, EverySignalAtEveryMomentAndNoChapterTellTheParent) {
  enum class File { Flags, NotRunning, None };
  const struct {
    const char *what;
    QByteArray chapter; // null: no TEMPO.SPC
    Moment moment;
    std::vector<int> signals;
    bool hangUpIgnored;
    int killedBy; // 0: exit status 0
    File file;
  } cases[] = {
      {"SIGTERM at start-up", "7", Moment::StartUp, {SIGTERM}, false, SIGTERM, File::Flags},
      {"SIGINT at start-up", "7", Moment::StartUp, {SIGINT}, false, SIGINT, File::Flags},
      {"SIGHUP at start-up", "7", Moment::StartUp, {SIGHUP}, false, SIGHUP, File::Flags},
      {"SIGTERM, open", " 12", Moment::Open, {SIGTERM}, false, SIGTERM, File::Flags},
      {"SIGINT, open", " 12", Moment::Open, {SIGINT}, false, SIGINT, File::Flags},
      {"SIGHUP, open", " 12", Moment::Open, {SIGHUP}, false, SIGHUP, File::Flags},
      {"SIGINT then SIGTERM, open",
       "3",
       Moment::Open,
       {SIGINT, SIGTERM},
       false,
       SIGINT,
       File::Flags},
      {"SIGTERM three times, open",
       "3",
       Moment::Open,
       {SIGTERM, SIGTERM, SIGTERM},
       false,
       SIGTERM,
       File::Flags},
      // Started under nohup: the hang-up is ignored, SIGTERM still ends it.
      {"SIGHUP ignored from the start, then SIGTERM",
       "3",
       Moment::Open,
       {SIGHUP, SIGTERM},
       true,
       SIGTERM,
       File::Flags},
      {"SIGTERM at start-up, no chapter",
       " 0",
       Moment::StartUp,
       {SIGTERM},
       false,
       SIGTERM,
       File::Flags},
      {"SIGTERM at start-up, no file",
       QByteArray(),
       Moment::StartUp,
       {SIGTERM},
       false,
       SIGTERM,
       File::None},
      {"chapter 0", " 0", Moment::StartUp, {}, false, 0, File::NotRunning},
      {"no chapter number", "abc", Moment::StartUp, {}, false, 0, File::NotRunning},
      {"no file", QByteArray(), Moment::StartUp, {}, false, 0, File::None},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    const QString tempo = handoffPath(folder);
    const QByteArray before = c.chapter.isNull() ? QByteArray() : parentFile(30, c.chapter);
    if (!c.chapter.isNull())
      writeAll(tempo, before);

    const ProgramEnd end = runViewer(folder, c.moment, c.signals, c.hangUpIgnored);
    ASSERT_TRUE(end.finished) << "the viewer still ran 30 s later";
    if (c.killedBy) {
      EXPECT_TRUE(WIFSIGNALED(end.status) && WTERMSIG(end.status) == c.killedBy)
          << "wait status " << end.status << "\n"
          << end.err.constData();
    } else {
      EXPECT_TRUE(WIFEXITED(end.status) && WEXITSTATUS(end.status) == 0)
          << "wait status " << end.status << "\n"
          << end.err.constData();
    }

    switch (c.file) {
    case File::Flags:
      EXPECT_EQ(readAll(tempo), afterTheViewer(before));
      break;
    case File::NotRunning:
      EXPECT_EQ(readAll(tempo), withRecord(before, RunningFlagRecord, record("NON")));
      break;
    case File::None:
      EXPECT_FALSE(QFileInfo::exists(tempo));
      break;
    }
    // Without a chapter and without a signal, one line says why.
    const QByteArrayList own = ownLines(end.err);
    if (c.killedBy) {
      EXPECT_TRUE(own.isEmpty()) << end.err.constData();
    } else {
      ASSERT_EQ(own.size(), 1) << end.err.constData();
      EXPECT_TRUE(own[0].startsWith("abrevel : aucun chapitre")) << own[0].constData();
      EXPECT_TRUE(own[0].contains(QFile::encodeName(QDir::toNativeSeparators(tempo))))
          << own[0].constData();
    }
  }
}

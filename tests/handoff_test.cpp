// The hand-off file shared with the parent application: the number rule,
// the record layout, and the promise that nothing but the viewer's own two
// strings ever changes.
#include "shell/handoff.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
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

TEST_F(HandoffFileTest, MissingFileIsCreatedWithTheRunningFlagOnly) {
  ASSERT_FALSE(QFile::exists(path()));
  EXPECT_EQ(handoff::startup(folder()), 0);
  // Record 18 is the last thing written: nothing lies beyond its string.
  QByteArray expected(17 * HandoffRecordLength, '\0');
  expected += record("OUI");
  EXPECT_EQ(readAll(path()), expected);
  EXPECT_EQ(handoff::repaint(folder()), 0.0);
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

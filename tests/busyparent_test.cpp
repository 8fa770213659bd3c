// A busy parent: while the viewer turns pages by key presses, another
// process rewrites the chapter record, in every form a parent writes it,
// and all its own records of TEMPO.SPC, every millisecond. The viewer must
// never end, never show a screen of a chapter nobody wrote (a length read
// from one string with the text of another), and never touch a byte of the
// parent's records.
#include "shell/handoff.h"
#include "shell/screentable.h"
#include "shell/viewerwindow.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

using namespace abrevel;

namespace {

constexpr int kRecords = 30;
constexpr int kPageTurns = 2000;

// The chapter texts the parent writes, in turn: "7", " 7" and "7.4" for
// every chapter.
std::vector<QByteArray> chapterTexts() {
  std::vector<QByteArray> texts;
  for (int chapter = 1; chapter <= 19; ++chapter) {
    const QByteArray n = QByteArray::number(chapter);
    texts.push_back(n);
    texts.push_back(" " + n);
    texts.push_back(n + ".4");
  }
  return texts;
}

// What the parent writes at its step `step`: (offset, bytes), one write
// each: the chapter string into record 25, and every record of its own
// whole, with bytes that tell the step.
std::vector<std::pair<off_t, QByteArray>> parentWrites(const std::vector<QByteArray> &texts,
                                                       long step) {
  std::vector<std::pair<off_t, QByteArray>> writes;
  const QByteArray &text = texts[static_cast<size_t>(step) % texts.size()];
  QByteArray chapter;
  chapter.append(char(text.size()));
  chapter.append('\0');
  writes.emplace_back((ChapterRecord - 1) * HandoffRecordLength, chapter + text);
  for (int n = 1; n <= kRecords; ++n) {
    if (n == RunningFlagRecord || n == ChapterRecord)
      continue;
    QByteArray bytes(HandoffRecordLength, '\0');
    for (int i = 0; i < bytes.size(); ++i)
      bytes[i] = char((step * 131 + n * 17 + i * 7) & 0xFF);
    writes.emplace_back((n - 1) * HandoffRecordLength, bytes);
  }
  return writes;
}

} // namespace

TEST(BusyParent, PageTurnsWhileTheParentRewritesTheFileEveryMillisecond) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const QString &name : QDir(QStringLiteral(ABREVEL_APP_DIR)).entryList(QDir::Files))
    if (name.endsWith(QLatin1String(".gif")) || name.endsWith(QLatin1String(".bmp")) ||
        name.endsWith(QLatin1String(".jpg"))) {
      ASSERT_TRUE(QFile::copy(QStringLiteral(ABREVEL_APP_DIR "/") + name, dir.filePath(name)));
    }
  const QString path = handoffPath(dir.path() + QLatin1Char('/'));

  // The parent's file as it starts the viewer.
  const std::vector<QByteArray> texts = chapterTexts();
  QByteArray file(kRecords * HandoffRecordLength, '\0');
  for (const auto &[at, bytes] : parentWrites(texts, 0))
    file.replace(at, bytes.size(), bytes);
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(file), file.size());
  }

  ViewerWindow w(dir.path(), handoffChapters(dir.path()), ViewerWindow::Options{false, false});
  int ends = 0;
  w.endProgram = [&] { ++ends; };
  ASSERT_TRUE(w.Form_Load());
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

  // The parent, in a process of its own. Everything it writes is made
  // before it starts, so that it only writes, sleeps and listens for the
  // end of the test.
  std::vector<std::vector<std::pair<off_t, QByteArray>>> plan;
  for (long step = 0; step < 2 * static_cast<long>(texts.size()); ++step)
    plan.push_back(parentWrites(texts, step));
  int stop[2], done[2];
  ASSERT_EQ(::pipe(stop), 0);
  ASSERT_EQ(::pipe(done), 0);
  const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  const pid_t parent = ::fork();
  ASSERT_GE(parent, 0);
  if (parent == 0) {
    ::close(stop[1]);
    ::close(done[0]);
    ::fcntl(stop[0], F_SETFL, O_NONBLOCK);
    long step = 0;
    for (;;) {
      ++step;
      for (const auto &[at, bytes] : plan[static_cast<size_t>(step) % plan.size()])
        if (::pwrite(fd, bytes.constData(), static_cast<size_t>(bytes.size()), at) != bytes.size())
          ::_exit(2);
      char byte;
      if (::read(stop[0], &byte, 1) == 0)
        break; // the test has finished turning pages
      const timespec millisecond{0, 1000000};
      ::nanosleep(&millisecond, nullptr);
    }
    ::_exit(::write(done[1], &step, sizeof step) == sizeof step ? 0 : 3);
  }
  ::close(stop[0]);
  ::close(done[1]);
  ::close(fd);

  std::set<int> chaptersShown;
  for (int turn = 0; turn < kPageTurns && !HasFailure(); ++turn) {
    QTest::keyClick(&w, turn % 3 == 2 ? Qt::Key_Left : Qt::Key_Right);
    const int chapter = w.page().chapter;
    ASSERT_EQ(ends, 0) << "the viewer ended at turn " << turn;
    ASSERT_TRUE(chapter >= 1 && chapter <= 19) << "chapter " << chapter << " at turn " << turn;
    ASSERT_EQ(w.page().screen / 100, chapter) << "turn " << turn;
    ASSERT_NE(findScreen(w.page().screen), nullptr) << "screen " << w.page().screen;
    chaptersShown.insert(chapter);
  }

  ::close(stop[1]);
  long last = -1;
  pollfd ready{done[0], POLLIN, 0};
  const bool finished =
      ::poll(&ready, 1, 10000) == 1 && ::read(done[0], &last, sizeof last) == sizeof last;
  ::close(done[0]);
  if (!finished)
    ::kill(parent, SIGKILL);
  int status = 0;
  ::waitpid(parent, &status, 0);
  ASSERT_TRUE(finished && WIFEXITED(status) && WEXITSTATUS(status) == 0);
  // The parent wrote while the pages turned: more than one chapter showed.
  EXPECT_GT(chaptersShown.size(), 1u);

  // The file as the parent left it: every write of its, in order, over the
  // file it started with; the viewer's running flag alone is the viewer's.
  for (long step = 1; step <= last; ++step)
    for (const auto &[at, bytes] : plan[static_cast<size_t>(step) % plan.size()])
      file.replace(at, bytes.size(), bytes);
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray after = f.readAll();
  ASSERT_EQ(after.size(), file.size());
  const int flag = (RunningFlagRecord - 1) * HandoffRecordLength;
  EXPECT_EQ(after.mid(flag, 5), QByteArray("\x03\x00OUI", 5));
  for (int i = 0; i < after.size(); ++i)
    if (i < flag || i >= flag + 5) {
      ASSERT_EQ(after[i], file[i]) << "byte " << i << " of record " << i / HandoffRecordLength + 1;
    }
}

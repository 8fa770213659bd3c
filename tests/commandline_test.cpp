// The command line, through the real program: bad arguments, the headless
// screen render.
#include "shell/commandline.h"
#include "shell/handoff.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using namespace abrevel;

namespace {

struct ProgramRun {
  int status = -1;
  QByteArray out;
  QByteArray err;
};

ProgramRun runProgram(const QStringList &arguments,
                      const QString &executable = QStringLiteral(ABREVEL_EXE)) {
  QProcess program;
  program.start(executable, arguments);
  ProgramRun run;
  if (!program.waitForFinished(60000)) {
    program.kill();
    program.waitForFinished();
    return run;
  }
  run.status = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
  run.out = program.readAllStandardOutput();
  run.err = program.readAllStandardError();
  return run;
}

} // namespace

TEST(CommandLine, ParsesTheThreeModes) {
  const QString dir = QStringLiteral(ABREVEL_APP_DIR);
  ParsedCommandLine p = parseCommandLine({});
  ASSERT_TRUE(p.ok());
  EXPECT_EQ(p.command.mode, CommandLine::Mode::Viewer);

  p = parseCommandLine({"--app-folder", dir, "--render-screen", "1202", "a.png"});
  ASSERT_TRUE(p.ok()) << p.error.toStdString();
  EXPECT_EQ(p.command.mode, CommandLine::Mode::RenderScreen);
  EXPECT_EQ(p.command.code, 1202);
  EXPECT_EQ(p.command.output, QStringLiteral("a.png"));
  EXPECT_EQ(p.command.appFolder, dir);
  EXPECT_EQ(p.command.scale, 1.0);
  // A scale before or after its mode, with a decimal comma or point.
  for (const auto &[arguments, scale] :
       {std::pair{QStringList{"--scale", "2", "--render-screen", "101", "a.png"}, 2.0},
        std::pair{QStringList{"--render-screen", "101", "a.png", "--scale", "1,5"}, 1.5},
        std::pair{QStringList{"--render-screen", "101", "a.png", "--scale", "4.0"}, 4.0}}) {
    p = parseCommandLine(arguments);
    ASSERT_TRUE(p.ok()) << p.error.toStdString();
    EXPECT_EQ(p.command.scale, scale);
  }

  p = parseCommandLine({"--print-chapter", "19", "b.pdf", "--app-folder", dir});
  ASSERT_TRUE(p.ok()) << p.error.toStdString();
  EXPECT_EQ(p.command.mode, CommandLine::Mode::PrintChapter);
  EXPECT_EQ(p.command.chapter, 19);
  EXPECT_EQ(p.command.output, QStringLiteral("b.pdf"));

  EXPECT_EQ(parseCommandLine({"--help"}).command.mode, CommandLine::Mode::Help);
}

TEST(CommandLine, BadArgumentsGetOneLineAndStatusTwo) {
  QTemporaryDir dir;
  const QString png = dir.filePath(QStringLiteral("out.png"));
  const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
  const QString nowhere = dir.filePath(QStringLiteral("no/such/folder/out.png"));
  const QStringList cases[] = {
      {"--frobnicate"},
      {"stray"},
      {"--render-screen"},
      {"--render-screen", "101"},
      {"--render-screen", "abc", png},
      {"--render-screen", "104", png},
      {"--render-screen", "-101", png},
      {"--render-screen", "101", ""},
      {"--render-screen", "101", nowhere},
      {"--print-chapter", "0", pdf},
      {"--print-chapter", "20", pdf},
      {"--print-chapter", "x", pdf},
      {"--print-chapter", "3"},
      {"--print-chapter", "3", pdf, "--render-screen", "101", png},
      {"--print-course"},
      {"--print-course", ""},
      {"--print-course", dir.filePath(QStringLiteral("no/such/folder/course.pdf"))},
      {"--print-course", pdf, "--print-chapter", "3", pdf},
      {"--render-screen", "101", png, "--print-course", pdf},
      {"--app-folder"},
      {"--app-folder", dir.filePath(QStringLiteral("missing"))},
      {"--app-folder", dir.path(), "--app-folder", dir.path()},
      {"--render-screen", "101", png, "--scale"},
      {"--render-screen", "101", png, "--scale", "0.99"},
      {"--render-screen", "101", png, "--scale", "4,01"},
      {"--render-screen", "101", png, "--scale", "-2"},
      {"--render-screen", "101", png, "--scale", "2x"},
      {"--render-screen", "101", png, "--scale", "1e0"},
      {"--render-screen", "101", png, "--scale", "inf"},
      {"--render-screen", "101", png, "--scale", ""},
      {"--render-screen", "101", png, "--scale", "2", "--scale", "2"},
      {"--print-chapter", "3", pdf, "--scale", "2"},
      {"--scale", "2"},
  };
  for (const QStringList &arguments : cases) {
    const ProgramRun run = runProgram(arguments);
    const QString what = arguments.join(QLatin1Char(' '));
    EXPECT_EQ(run.status, BadArgumentStatus) << what.toStdString();
    EXPECT_EQ(run.err.count('\n'), 1) << what.toStdString() << ": " << run.err.constData();
    EXPECT_TRUE(run.err.startsWith("abrevel : ")) << run.err.constData();
  }
  EXPECT_FALSE(QFile::exists(png));
  EXPECT_FALSE(QFile::exists(pdf));
}

TEST(CommandLine, HelpPrintsTheUsage) {
  const ProgramRun run = runProgram({"--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.out.contains("--render-screen CODE")) << run.out.constData();
  EXPECT_TRUE(run.err.isEmpty());
}

TEST(CommandLine, RenderScreenDrawsTheWindowWithoutTouchingTheHandoffFile) {
  QTemporaryDir dir;
  // An application folder with the pictures and a parent's TEMPO.SPC.
  for (const QString &name : QDir(QStringLiteral(ABREVEL_APP_DIR)).entryList(QDir::Files))
    if (!name.startsWith(QLatin1String("abrevel")) && name != QLatin1String("TEMPO.SPC"))
      QFile::copy(QStringLiteral(ABREVEL_APP_DIR "/") + name, dir.filePath(name));
  const QString tempo = handoffPath(dir.path() + QLatin1Char('/'));
  QByteArray parent(30 * HandoffRecordLength, '\x5A');
  {
    QFile file(tempo);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(parent);
  }

  const QString png = dir.filePath(QStringLiteral("screen.png"));
  const ProgramRun run = runProgram({"--app-folder", dir.path(), "--render-screen", "102", png});
  ASSERT_EQ(run.status, 0) << run.err.constData();
  const QImage image(png);
  ASSERT_EQ(image.size(), QSize(784, 561));
  // The band across the top, the page's cream below it.
  EXPECT_EQ(image.pixelColor(2, 2), QColor(0, 128, 128));
  EXPECT_EQ(image.pixelColor(780, 100), QColor(255, 253, 227));
  // Screen 102 shows the previous arrow only: its square at the left of the
  // bottom frame holds the arrow picture, the next arrow's square is bare.
  const QRect previous(335, 526, 32, 32), next(415, 526, 32, 32);
  bool previousDrawn = false, nextDrawn = false;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      previousDrawn |= image.pixelColor(previous.topLeft() + QPoint(x, y)) != QColor(255, 253, 227);
      nextDrawn |= image.pixelColor(next.topLeft() + QPoint(x, y)) != QColor(255, 253, 227);
    }
  EXPECT_TRUE(previousDrawn);
  EXPECT_FALSE(nextDrawn);

  QFile file(tempo);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), parent);
}

// The whole course in one file: a page per chapter, in order, each the page
// the print button prints for that chapter, and a progress line per chapter.
TEST(CommandLine, PrintCourseWritesEveryChapterOnItsOwnPage) {
  QTemporaryDir dir;
  const QString course = dir.filePath(QStringLiteral("course.pdf"));
  const QString chapter = dir.filePath(QStringLiteral("chapter.pdf"));
  const ProgramRun run = runProgram({"--app-folder", ABREVEL_APP_DIR, "--print-course", course});
  ASSERT_EQ(run.status, 0) << run.err.constData();
  const QStringList progress =
      QString::fromUtf8(run.err).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_EQ(progress.size(), 19);
  for (int n = 1; n <= 19; ++n)
    EXPECT_TRUE(progress[n - 1].startsWith(QStringLiteral("abrevel : page %1 sur 19 ").arg(n)))
        << progress[n - 1].toStdString();

  QProcess pdfinfo;
  pdfinfo.start(QStringLiteral("pdfinfo"), {course});
  ASSERT_TRUE(pdfinfo.waitForFinished(30000));
  const QString info = QString::fromUtf8(pdfinfo.readAllStandardOutput());
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+19\\n"))))
      << info.toStdString();
  EXPECT_TRUE(info.contains(QStringLiteral("(A4)"))) << info.toStdString();

  // Pages 4 and 17 look exactly like the pages of --print-chapter 4 and 17.
  const auto pageImage = [&](const QString &pdf, int page) {
    QProcess render;
    const QString stem = dir.filePath(QStringLiteral("page"));
    render.start(QStringLiteral("pdftoppm"),
                 {"-png", "-r", "40", "-singlefile", "-f", QString::number(page), "-l",
                  QString::number(page), pdf, stem});
    render.waitForFinished(30000);
    return QImage(stem + QStringLiteral(".png"));
  };
  for (const int n : {4, 17}) {
    SCOPED_TRACE(n);
    ASSERT_EQ(runProgram(
                  {"--app-folder", ABREVEL_APP_DIR, "--print-chapter", QString::number(n), chapter})
                  .status,
              0);
    const QImage alone = pageImage(chapter, 1).convertToFormat(QImage::Format_RGB32);
    const QImage inCourse = pageImage(course, n).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(alone.isNull());
    // The same page, but for the letters inside pictures drawn from their
    // drawings: Qt rasterises a drawing's text with glyphs it shares across
    // the whole process, which the course's open PDF painter leaves hinted
    // a shade differently (two levels at this resolution). Anything moved
    // or missing differs by far more.
    ASSERT_EQ(alone.size(), inCourse.size());
    int worst = 0;
    for (int y = 0; y < alone.height(); ++y)
      for (int x = 0; x < alone.width(); ++x) {
        const QRgb a = alone.pixel(x, y), b = inCourse.pixel(x, y);
        worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                          std::abs(qBlue(a) - qBlue(b))});
      }
    EXPECT_LE(worst, 4);
    EXPECT_NE(inCourse.convertToFormat(QImage::Format_RGB32),
              pageImage(course, n + 1).convertToFormat(QImage::Format_RGB32));
  }
}

// The window and the widget libraries are in a module beside the program,
// loaded only to open the window. A program without its module says so in
// one line and leaves the parent's file as the parent wrote it; the
// headless modes run without the module.
TEST(CommandLine, ViewerWithoutItsModuleSaysSoAndLeavesTheHandoffFile) {
  QTemporaryDir programFolder, appFolder;
  const QString alone = programFolder.filePath(QStringLiteral("abrevel"));
  ASSERT_TRUE(QFile::copy(QStringLiteral(ABREVEL_EXE), alone));
  const QString tempo = handoffPath(appFolder.path() + QLatin1Char('/'));
  QFile file(tempo);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  ASSERT_TRUE(writeRecord(tempo, ChapterRecord, "3"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray written = file.readAll();
  file.close();

  const ProgramRun viewer = runProgram({"--app-folder", appFolder.path()}, alone);
  EXPECT_EQ(viewer.status, 1);
  EXPECT_EQ(viewer.err.count('\n'), 1) << viewer.err.constData();
  EXPECT_TRUE(viewer.err.startsWith("abrevel : ")) << viewer.err.constData();
  EXPECT_TRUE(viewer.err.contains("libabrevel_viewer.so")) << viewer.err.constData();
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), written);

  const QString png = appFolder.filePath(QStringLiteral("101.png"));
  const ProgramRun render =
      runProgram({"--app-folder", ABREVEL_APP_DIR, "--render-screen", "101", png}, alone);
  EXPECT_EQ(render.status, 0) << render.err.constData();
  EXPECT_EQ(QImage(png).size(), QSize(784, 561));
}

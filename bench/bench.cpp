// The viewer's speed, in process, on the paths a student waits for:
//
//   Repaint/CODE        a repaint of the screen on the window's surface, as
//                       the window does it (pictures reloaded from the
//                       application folder every time);
//   DecodePng/CODE      the same screen saved as PNG and decoded with
//                       QImage::load: the floor for a viewer that would show
//                       pictures of its screens instead of drawing them;
//   PageTurn/CODE       a page turn on the real window (offscreen platform):
//                       the arrow key delivered to the end of the paint;
//   Render/CODE/K       the screen as --render-screen draws it, at scale K
//                       (1 and 2), before the PNG is written;
//   PrintChapter/N      chapter N printed to a PDF file (laid out at 300 dpi,
//                       written as vectors, finished with its title,
//                       author and language);
//   PrintCourse         the whole course printed to one PDF file, with its
//                       bookmarks;
//   RecordChapter/N     the recording target's pass over chapter N's page.
//
// With --cold CODE the program instead times the first repaint of the
// process (window built, fonts not yet looked up) and prints it in
// milliseconds; tools/bench.sh runs it once per process.
#include "shell/commandline.h"
#include "shell/printing.h"
#include "shell/screentable.h"
#include "shell/viewerwindow.h"
#include "toolkit/recordingcanvas.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>

using namespace abrevel;

namespace {

QString appFolder() { return QStringLiteral(ABREVEL_APP_DIR); }

// The window loaded on a screen, at the client size, not yet shown.
std::unique_ptr<ViewerWindow> loadedWindow(int code) {
  auto window = std::make_unique<ViewerWindow>(appFolder(),
                                               fixedChapter(static_cast<std::int16_t>(code / 100)),
                                               ViewerWindow::Options{false, false});
  window->resize(ReferenceClientSize);
  window->Form_Load();
  window->page().screen = static_cast<std::int16_t>(code);
  return window;
}

// The window shown on a screen, its first paint done.
std::unique_ptr<ViewerWindow> windowOn(int code) {
  auto window = loadedWindow(code);
  window->show();
  QCoreApplication::processEvents();
  return window;
}

void Repaint(benchmark::State &state, int code) {
  auto window = windowOn(code);
  for (auto _ : state) {
    window->repaint(); // the platform's erase, then the repaint handler
    benchmark::DoNotOptimize(window->surface().image().constBits());
  }
}

void DecodePng(benchmark::State &state, const QString &file) {
  for (auto _ : state) {
    QImage image;
    image.load(file);
    benchmark::DoNotOptimize(image.constBits());
  }
}

void PageTurn(benchmark::State &state, int code) {
  auto window = windowOn(code - 1);
  QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
  QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
  for (auto _ : state) {
    QApplication::sendEvent(window.get(), &right);
    QCoreApplication::processEvents(); // the window's paint
    state.PauseTiming();
    if (window->page().screen != code)
      state.SkipWithError("the page did not turn");
    QApplication::sendEvent(window.get(), &left);
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
}

void Render(benchmark::State &state, int code, double scale) {
  for (auto _ : state) {
    const QImage image = renderScreen(appFolder(), code, scale);
    benchmark::DoNotOptimize(image.constBits());
  }
}

void PrintToPdf(benchmark::State &state, int chapter, const QString &pdf) {
  for (auto _ : state)
    if (!printChapterToPdf(appFolder(), chapter, pdf, nullptr))
      state.SkipWithError("the PDF could not be written");
}

void PrintCourse(benchmark::State &state, const QString &pdf) {
  for (auto _ : state)
    if (!printCourseToPdf(appFolder(), pdf, nullptr, nullptr))
      state.SkipWithError("the PDF could not be written");
}

void RecordChapter(benchmark::State &state, int chapter) {
  const double k = 300.0 / 96;
  for (auto _ : state) {
    RecordingCanvas paper(760 * k, 1080 * k, 300);
    Page page;
    page.applicationFolder = appFolder();
    page.AppFolder = withTrailingSeparator(appFolder());
    page.chapter = static_cast<std::int16_t>(chapter);
    DrawChapterPage(page, paper, static_cast<std::int16_t>(chapter));
    benchmark::DoNotOptimize(paper.ops().size());
  }
}

int coldRepaint(int code) {
  QElapsedTimer clock;
  auto window = loadedWindow(code);
  window->setAttribute(Qt::WA_DontShowOnScreen);
  window->show();
  clock.start();
  window->repaint();
  std::printf("%.3f\n", clock.nsecsElapsed() / 1e6);
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc == 3 && std::strcmp(argv[1], "--cold") == 0)
    return coldRepaint(std::atoi(argv[2]));

  QTemporaryDir scratch;
  for (const ScreenRow &row : screenTable()) {
    if (!row.drawer)
      continue;
    const int code = row.code;
    const std::string name = std::to_string(code);
    benchmark::RegisterBenchmark(("Repaint/" + name).c_str(), Repaint, code)
        ->Unit(benchmark::kMicrosecond);
    // The screen as the headless renderer writes it.
    const QString png = scratch.filePath(QStringLiteral("%1.png").arg(code));
    {
      auto window = windowOn(code);
      QImage image(ReferenceClientSize, QImage::Format_RGB32);
      window->render(&image);
      image.save(png, "PNG");
    }
    benchmark::RegisterBenchmark(("DecodePng/" + name).c_str(), DecodePng, png)
        ->Unit(benchmark::kMicrosecond);
    for (const int scale : {1, 2})
      benchmark::RegisterBenchmark(("Render/" + name + "/" + std::to_string(scale)).c_str(), Render,
                                   code, scale)
          ->Unit(benchmark::kMicrosecond);
    if (row.previousShown)
      benchmark::RegisterBenchmark(("PageTurn/" + name).c_str(), PageTurn, code)
          ->Unit(benchmark::kMicrosecond);
  }
  for (int chapter = 1; chapter <= 19; ++chapter) {
    const auto drawers = printDrawers(chapter);
    if (drawers.empty() || std::find(drawers.begin(), drawers.end(), nullptr) != drawers.end())
      continue;
    const std::string name = std::to_string(chapter);
    benchmark::RegisterBenchmark(("PrintChapter/" + name).c_str(), PrintToPdf, chapter,
                                 scratch.filePath(QStringLiteral("chapter.pdf")))
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("RecordChapter/" + name).c_str(), RecordChapter, chapter)
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::RegisterBenchmark("PrintCourse", PrintCourse,
                               scratch.filePath(QStringLiteral("course.pdf")))
      ->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

// The viewer window driven as the user and the parent application drive it:
// start-up and shutdown through TEMPO.SPC, page turns by arrow releases and
// keys (synthetic Qt events), chapter changes written while it is open.
// Nothing here depends on what a page drawer draws.
#include "shell/commandline.h"
#include "shell/handoff.h"
#include "shell/screentable.h"
#include "shell/titleband.h"
#include "shell/viewerwindow.h"
#include "toolkit/rastercanvas.h"

#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

using namespace abrevel;

namespace {

// What the user sees of the navigation: the screen code and the arrows.
struct Navigation {
  int screen;
  bool previous;
  bool next;
  bool operator==(const Navigation &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Navigation &n) {
  return out << "screen " << n.screen << (n.previous ? " <" : " -") << (n.next ? " >" : " -");
}

Navigation navigation(const ViewerWindow &w) {
  return {w.page().screen, !w.fhaut->isHidden(), !w.fbas->isHidden()};
}

class ViewerTest : public ::testing::Test {
protected:
  QTemporaryDir dir;
  int ends = 0;

  QString tempo() const { return handoffPath(dir.path() + QLatin1Char('/')); }
  // The parent writes the chapter, creating its file when there is none.
  void parentWrites(const QByteArray &chapter) {
    QFile file(tempo());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.close();
    ASSERT_TRUE(writeRecord(tempo(), ChapterRecord, chapter));
  }
  QByteArray recordText(int n) const { return readRecord(tempo(), n); }

  // A viewer on the hand-off file of the test's folder, not yet loaded.
  std::unique_ptr<ViewerWindow> viewer(const QByteArray &chapter) {
    parentWrites(chapter);
    auto w = std::make_unique<ViewerWindow>(dir.path(), handoffChapters(dir.path()),
                                            ViewerWindow::Options{false, false});
    w->endProgram = [this] { ++ends; };
    return w;
  }

  // A viewer loaded, shown and painted once, as after start-up.
  std::unique_ptr<ViewerWindow> running(const QByteArray &chapter) {
    auto w = viewer(chapter);
    EXPECT_TRUE(w->Form_Load());
    w->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    w->repaint();
    return w;
  }
};

} // namespace

TEST_F(ViewerTest, NoChapterEndsAtOnceWithoutAWindow) {
  for (const QByteArray &chapter : {QByteArray(""), QByteArray("0"), QByteArray("abc"),
                                    QByteArray("0.4"), QByteArray("99999")}) {
    ends = 0;
    auto w = viewer(chapter);
    EXPECT_FALSE(w->Form_Load()) << chapter.constData();
    EXPECT_TRUE(w->ended());
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(w->isVisible());
    // The parent learns that no viewer runs; its chapter text stays.
    EXPECT_EQ(recordText(RunningFlagRecord), QByteArray("NON"));
    EXPECT_EQ(recordText(ChapterRecord), chapter);
    // A close after the end neither unloads nor writes.
    ASSERT_TRUE(writeRecord(tempo(), RunningFlagRecord, "PARENT"));
    w->close();
    EXPECT_EQ(recordText(RunningFlagRecord), QByteArray("PARENT"));
    EXPECT_EQ(recordText(ChapterRecord), chapter);
  }
}

TEST_F(ViewerTest, NoFileAtStartUpEndsWithoutCreatingIt) {
  auto w = std::make_unique<ViewerWindow>(dir.path(), handoffChapters(dir.path()),
                                          ViewerWindow::Options{false, false});
  w->endProgram = [this] { ++ends; };
  EXPECT_FALSE(w->Form_Load());
  EXPECT_EQ(ends, 1);
  w->close();
  EXPECT_FALSE(QFile::exists(tempo()));
}

TEST_F(ViewerTest, LoadOpensTheChaptersFirstScreen) {
  auto w = viewer(" 12");
  ASSERT_TRUE(w->Form_Load());
  EXPECT_EQ(w->page().chapter, 12);
  EXPECT_EQ(w->page().screen, 1201);
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Abrevel"));
  EXPECT_EQ(w->page().AppFolder, dir.path() + QLatin1Char('/'));
  EXPECT_EQ(recordText(RunningFlagRecord), QByteArray("OUI"));
  // The arrow frame at the bottom centre of the client area.
  EXPECT_EQ(w->Frame1->geometry(), QRect((w->width() - 113) / 2, w->height() - 35, 113, 33));
  // It stays there when the window is resized.
  const QPoint placed = w->Frame1->pos();
  w->resize(600, 450);
  EXPECT_EQ(w->Frame1->pos(), placed);
}

TEST(LoadGeometry, CentredFrameOnWideScreensMaximizedOtherwise) {
  const struct {
    QRect screen;
    bool maximized;
    QRect frame;
  } cases[] = {
      {QRect(0, 0, 1024, 768), false, QRect(112, 84, 800, 600)},
      {QRect(0, 0, 1920, 1080), false, QRect(560, 240, 800, 600)},
      {QRect(0, 0, 851, 640), false, QRect(25, 20, 800, 600)},
      {QRect(1920, 0, 1280, 1024), false, QRect(2160, 212, 800, 600)},
      {QRect(0, 0, 1280, 500), false, QRect(240, 0, 800, 600)},
      {QRect(0, 0, 850, 1000), true, QRect(0, 0, 850, 1000)},
      {QRect(0, 0, 800, 600), true, QRect(0, 0, 800, 600)},
      {QRect(0, 0, 640, 480), true, QRect(0, 0, 640, 480)},
  };
  for (const auto &c : cases) {
    const LoadGeometry g = loadGeometry(c.screen);
    EXPECT_EQ(g.maximized, c.maximized) << c.screen.width();
    if (!c.maximized) {
      EXPECT_EQ(g.frame, c.frame) << c.screen.width();
    }
  }
}

TEST_F(ViewerTest, ClosingWritesNotRunningAndNoChapter) {
  const struct {
    const char *how;
    void (*close)(ViewerWindow &);
  } cases[] = {
      {"close button", [](ViewerWindow &w) { QTest::mouseClick(w.Image2, Qt::LeftButton); }},
      {"window manager", [](ViewerWindow &w) { w.windowHandle()->close(); }},
  };
  for (const auto &c : cases) {
    ends = 0;
    auto w = running("4");
    c.close(*w);
    EXPECT_TRUE(w->unloaded()) << c.how;
    EXPECT_EQ(ends, 1) << c.how;
    EXPECT_FALSE(w->isVisible()) << c.how;
    EXPECT_EQ(recordText(RunningFlagRecord), QByteArray("NON")) << c.how;
    EXPECT_EQ(recordText(ChapterRecord), QByteArray(" 0")) << c.how;
    // A second close does not unload again.
    parentWrites("4");
    w->close();
    EXPECT_EQ(ends, 1) << c.how;
    EXPECT_EQ(recordText(ChapterRecord), QByteArray("4")) << c.how;
  }
}

TEST_F(ViewerTest, ArrowKeysTurnPagesWithinTheChapter) {
  auto w = running("1");
  EXPECT_EQ(navigation(*w), (Navigation{101, false, true}));
  // The keys reach the window whichever control they are sent to.
  const struct {
    QWidget *to;
    Qt::Key key;
    Navigation after;
  } steps[] = {
      {w.get(), Qt::Key_Left, {101, false, true}},    {w->tito, Qt::Key_Right, {102, true, false}},
      {w->Frame1, Qt::Key_Right, {102, true, false}}, {w->Image2, Qt::Key_Up, {102, true, false}},
      {w.get(), Qt::Key_Down, {102, true, false}},    {w->fhaut, Qt::Key_Left, {101, false, true}},
      {w.get(), Qt::Key_Space, {101, false, true}},
  };
  for (const auto &s : steps) {
    QTest::keyClick(s.to, s.key);
    EXPECT_EQ(navigation(*w), s.after) << s.key;
  }
  EXPECT_EQ(ends, 0);
}

TEST_F(ViewerTest, ArrowTurnsThePageOnlyWhenReleasedOnIt) {
  // Release points in pixels relative to the next arrow, pressed at its centre.
  const struct {
    QPoint release;
    bool turns;
  } releases[] = {
      {{16, 16}, true},  {{0, 0}, true},    {{32, 32}, true},  {{32, 0}, true},
      {{33, 16}, false}, {{16, 33}, false}, {{-1, 16}, false}, {{16, -1}, false},
  };
  for (const auto &r : releases) {
    auto w = running("2");
    QTest::mousePress(w->fbas, Qt::LeftButton, {}, QPoint(16, 16));
    QTest::mouseRelease(w->fbas, Qt::LeftButton, {}, r.release);
    const Navigation expected =
        r.turns ? Navigation{202, true, true} : Navigation{201, false, true};
    EXPECT_EQ(navigation(*w), expected) << r.release.x() << "," << r.release.y();
  }
  // The same test in twips, to the twip: the edge is 32 × 15.
  const struct {
    double x, y;
    bool turns;
  } twips[] = {
      {480, 240, true}, {481, 240, false},  {240, 480, true},   {240, 481, false},
      {0, 0, true},     {-0.5, 240, false}, {240, -0.5, false}, {480, 480, true},
  };
  for (const auto &t : twips) {
    auto w = running("2");
    w->fbas_MouseUp(Qt::LeftButton, {}, t.x, t.y);
    EXPECT_EQ(w->page().screen, t.turns ? 202 : 201) << t.x << "," << t.y;
    if (!t.turns)
      continue;
    // And back with the previous arrow, same rule.
    w->fhaut_MouseUp(Qt::LeftButton, {}, t.x, t.y);
    EXPECT_EQ(navigation(*w), (Navigation{201, false, true})) << t.x << "," << t.y;
  }
}

TEST_F(ViewerTest, HiddenArrowDoesNothing) {
  auto w = running("2");
  w->fhaut_MouseUp(Qt::LeftButton, {}, 10, 10);
  EXPECT_EQ(navigation(*w), (Navigation{201, false, true}));
  QTest::keyClick(w.get(), Qt::Key_Right);
  QTest::keyClick(w.get(), Qt::Key_Right);
  EXPECT_EQ(navigation(*w), (Navigation{203, true, false}));
  w->fbas_MouseUp(Qt::LeftButton, {}, 10, 10);
  EXPECT_EQ(navigation(*w), (Navigation{203, true, false}));
}

TEST_F(ViewerTest, ChapterThatIsNotWholeRestartsItsFirstScreenAtEveryRepaint) {
  auto w = running("5.4");
  EXPECT_EQ(w->page().chapter, 5);
  EXPECT_EQ(navigation(*w), (Navigation{501, false, true}));
  QTest::keyClick(w.get(), Qt::Key_Right);
  EXPECT_EQ(navigation(*w), (Navigation{501, false, true}));
  QTest::mouseClick(w->fbas, Qt::LeftButton, {}, QPoint(16, 16));
  EXPECT_EQ(navigation(*w), (Navigation{501, false, true}));
  EXPECT_EQ(ends, 0);
}

TEST_F(ViewerTest, ChapterWithoutScreensShowsAnEmptyPageAndTheDefaultTitle) {
  auto w = running("1");
  QTest::keyClick(w.get(), Qt::Key_Right);
  ASSERT_EQ(navigation(*w), (Navigation{102, true, false}));

  parentWrites("20");
  w->repaint();
  EXPECT_EQ(w->page().chapter, 20);
  // No table row: nothing drawn and the arrows as they were.
  EXPECT_EQ(navigation(*w), (Navigation{2001, true, false}));
  const QImage page = w->surface().image();
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x)
      ASSERT_EQ(page.pixel(x, y), windowBackColor().rgb()) << x << "," << y;

  // The band, left of its buttons, shows the default title.
  const QImage band = w->tito->grab().toImage().convertToFormat(QImage::Format_RGB32);
  RasterCanvas expected(QSize(TitleBandWidth, TitleBandHeight));
  tito_Paint(expected, 20);
  const QRect title(0, 0, 690, TitleBandHeight);
  EXPECT_EQ(band.copy(title), expected.image().copy(title));
}

TEST_F(ViewerTest, ChapterWrittenDuringTheSessionTakesOverAtTheNextRepaint) {
  auto w = running("5");
  QTest::keyClick(w.get(), Qt::Key_Right);
  ASSERT_EQ(navigation(*w), (Navigation{502, true, true}));

  parentWrites("9");
  // Nothing happens until a repaint: the next page turn runs one.
  EXPECT_EQ(w->page().chapter, 5);
  QTest::mouseClick(w->fbas, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(w->page().chapter, 9);
  EXPECT_EQ(navigation(*w), (Navigation{901, false, true}));

  // A plain repaint notices a change too.
  parentWrites(" 12");
  w->repaint();
  EXPECT_EQ(navigation(*w), (Navigation{1201, false, true}));
  EXPECT_EQ(ends, 0);
}

TEST_F(ViewerTest, ChapterZeroAtRepaintEndsWithoutUnloadingAndSaysNotRunning) {
  auto w = running("3");
  parentWrites("0");
  QTest::keyClick(w.get(), Qt::Key_Right);
  EXPECT_TRUE(w->ended());
  EXPECT_FALSE(w->unloaded());
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(recordText(RunningFlagRecord), QByteArray("NON"));
  EXPECT_EQ(recordText(ChapterRecord), QByteArray("0"));
  ASSERT_TRUE(writeRecord(tempo(), RunningFlagRecord, "PARENT"));
  w->close();
  EXPECT_FALSE(w->unloaded());
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(recordText(RunningFlagRecord), QByteArray("PARENT"));
  EXPECT_EQ(recordText(ChapterRecord), QByteArray("0"));
}

TEST_F(ViewerTest, ChapterBeyondSixteenBitsKeepsTheChapter) {
  auto w = running("7");
  QTest::keyClick(w.get(), Qt::Key_Right);
  ASSERT_EQ(w->page().screen, 702);
  parentWrites("40000");
  w->repaint();
  // The value differs from the chapter on display but cannot become one:
  // the chapter stays and, as for any other change, its first screen shows.
  EXPECT_EQ(w->page().chapter, 7);
  EXPECT_EQ(navigation(*w), (Navigation{701, false, true}));
  EXPECT_EQ(ends, 0);
}

TEST(ViewerControls, DesignLayoutTooltipsAndPointer) {
  ViewerWindow w(QStringLiteral(ABREVEL_APP_DIR), fixedChapter(1),
                 ViewerWindow::Options{false, false});
  const struct {
    QWidget *control;
    QWidget *parent;
    QRect geometry;
    const char *toolTip;
  } controls[] = {
      {w.Frame1, &w, QRect(264, 152, 113, 33), ""},
      {w.fbas, w.Frame1, QRect(80, 0, 32, 32), "suivant"},
      {w.fhaut, w.Frame1, QRect(0, 0, 32, 32), "précédent"},
      {w.tito, &w, QRect(0, 0, 779, 41), ""},
      {w.Image3, w.tito, QRect(704, 0, 32, 32), "Imprimer l'abrevel"},
      {w.Image2, w.tito, QRect(744, 4, 32, 32), "Fermer l'abrevel"},
  };
  for (const auto &c : controls) {
    EXPECT_EQ(c.control->parentWidget(), c.parent) << c.toolTip;
    EXPECT_EQ(c.control->geometry(), c.geometry) << c.toolTip;
    EXPECT_EQ(c.control->toolTip(), QString::fromUtf8(c.toolTip));
  }
  for (QWidget *button : {static_cast<QWidget *>(w.fbas), static_cast<QWidget *>(w.fhaut),
                          static_cast<QWidget *>(w.Image3), static_cast<QWidget *>(w.Image2)}) {
    if (QFile::exists(QStringLiteral(ABREVEL_APP_DIR "/main.gif"))) {
      EXPECT_EQ(button->cursor().hotSpot(), QPoint(12, 1));
    } else {
      EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);
    }
  }
  EXPECT_EQ(w.palette().color(QPalette::Window), QColor(255, 253, 227));
  EXPECT_EQ(w.tito->palette().color(QPalette::Window), QColor(0, 128, 128));
}

TEST(ViewerSound, MissingSoundOrNoDeviceLeavesTheViewerSilentAndResponsive) {
  QTemporaryDir empty;
  for (const QString &folder : {QStringLiteral(ABREVEL_APP_DIR), empty.path()}) {
    ViewerWindow w(folder, fixedChapter(2), ViewerWindow::Options{false, true});
    int ends = 0;
    w.endProgram = [&] { ++ends; };
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(w.Form_Load());
    w.Form_Paint();
    for (int i = 0; i < 3; ++i)
      w.fbas_MouseUp(Qt::LeftButton, {}, 16, 16);
    w.fhaut_MouseUp(Qt::LeftButton, {}, 16, 16);
    EXPECT_EQ(w.page().screen, 202);
    w.Form_Unload();
    EXPECT_FALSE(w.MMControl1.isOpen());
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_EQ(ends, 1);
  }
}

// The player lives in a module beside the program, so that the headless
// modes never load the multimedia libraries: it must be there and whole.
TEST(ViewerSound, PlayerModuleSitsBesideTheProgramWithItsThreeEntries) {
  QLibrary module(QStringLiteral(ABREVEL_APP_DIR "/abrevel_sound"));
  ASSERT_TRUE(module.load()) << module.errorString().toStdString();
  for (const char *entry : {"abrevelClickOpen", "abrevelClickPlay", "abrevelClickClose"})
    EXPECT_NE(module.resolve(entry), nullptr) << entry;
  // Without a file there is nothing to play.
  using OpenFn = void *(*)(const QString &);
  const auto open = reinterpret_cast<OpenFn>(module.resolve("abrevelClickOpen"));
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(open(QStringLiteral("/nonexistent/clac.wav")), nullptr);
}

// The headless renderer composes the window's picture without a widget: it
// must be the picture the window itself shows, pixel for pixel, for every
// screen: the band and its buttons, the arrows' frame and the arrows that
// show. The buttons come from the application folder's pictures, from
// their drawn substitutes when the pictures are missing, and from pictures
// of other sizes, which a picture control shows at its left, centred
// vertically and cut to its square.
TEST(WindowPicture, HeadlessRenderIsWhatTheWindowShows) {
  const QString pictures = QStringLiteral(ABREVEL_APP_DIR);
  const QStringList buttons = {QStringLiteral("fbas.gif"), QStringLiteral("fhaut.gif"),
                               QStringLiteral("imprimer.gif"), QStringLiteral("fermer.gif")};
  QTemporaryDir withoutButtons, oddButtons;
  for (const QString &name : QDir(pictures).entryList(QDir::Files)) {
    if (buttons.contains(name))
      continue;
    for (const QTemporaryDir *dir : {&withoutButtons, &oddButtons})
      ASSERT_TRUE(QFile::copy(pictures + QLatin1Char('/') + name, dir->filePath(name)));
  }
  const QSize oddSizes[] = {{20, 44}, {48, 20}, {12, 12}, {40, 40}};
  for (int i = 0; i < 4; ++i) {
    QImage odd(oddSizes[i], QImage::Format_ARGB32);
    odd.fill(QColor(200, 30, 30, 160));
    for (int y = 0; y < odd.height(); y += 3)
      for (int x = 0; x < odd.width(); ++x)
        odd.setPixelColor(x, y, QColor(20, 20, 160));
    ASSERT_TRUE(odd.save(oddButtons.filePath(buttons[i]), "PNG"));
  }

  for (const QString &folder : {pictures, withoutButtons.path(), oddButtons.path()}) {
    SCOPED_TRACE(folder.toStdString());
    for (const ScreenRow &row : screenTable()) {
      ViewerWindow window(folder, fixedChapter(static_cast<std::int16_t>(row.code / 100)),
                          ViewerWindow::Options{false, false});
      window.setAttribute(Qt::WA_DontShowOnScreen);
      window.resize(ReferenceClientSize);
      ASSERT_TRUE(window.Form_Load());
      window.page().screen = row.code;
      window.Form_Paint();
      QImage shown(ReferenceClientSize, QImage::Format_RGB32);
      window.render(&shown);
      const QImage rendered = renderScreen(folder, row.code).convertToFormat(QImage::Format_RGB32);
      EXPECT_TRUE(rendered == shown) << "screen " << row.code;
    }
  }
}

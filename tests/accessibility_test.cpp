// The viewer as assistive technology sees it, in process: the words a
// screen gives a reader (formulas in linear form, tables row by row,
// columns and captions in order), the pictures' descriptions, and the
// window's accessible tree through QAccessible: names, roles, actions, the
// page document and the keyboard's focus.
#include "content/descriptions.h"
#include "shell/accessibility.h"
#include "shell/screentable.h"
#include "shell/titleband.h"
#include "shell/viewerwindow.h"
#include "shell/windowpicture.h"
#include "toolkit/devices.h"
#include "toolkit/recordingcanvas.h"

#include <QAccessible>
#include <QApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace abrevel;

namespace {

// A page drawn on a recording canvas with a text log attached.
struct Logged {
  RecordingCanvas cv{784, 561};
  ScreenText log;
  Page page;
  Logged() {
    cv.textLog = &log;
    page.target = &cv;
  }
  std::vector<QString> lines() const {
    std::vector<QString> out;
    for (const ReadingItem &item : log.items(784))
      out.push_back(item.text);
    return out;
  }
};

QAccessibleInterface *accessible(QObject *object) {
  return QAccessible::queryAccessibleInterface(object);
}

QAccessibleInterface *findChild(QAccessibleInterface *root, QAccessible::Role role,
                                const QString &name) {
  if (!root)
    return nullptr;
  if (root->role() == role && root->text(QAccessible::Name) == name)
    return root;
  for (int i = 0; i < root->childCount(); ++i)
    if (QAccessibleInterface *found = findChild(root->child(i), role, name))
      return found;
  return nullptr;
}

} // namespace

// ----- The words of a screen -------------------------------------------------------

TEST(ScreenText, FormulasReadInLinearForm) {
  const struct {
    const char *marked; // as the content writes a line
    const char *read;
  } cases[] = {
      {"Mg^{2+} et Cl^{−}", "Mg exposant 2+ et Cl exposant −"},
      {"H_{2}O", "H indice 2 O"},
      {"10^{−3} m", "10 exposant −3 m"},
      {"x_{max}^{2}", "x indice max exposant 2"},
      {"{V:F} = m {V:g}", "vecteur F = m vecteur g"},
      {"{S:l} {S:»} 500 nm", "λ ≈ 500 nm"},
      {"{S:Dq} {S:®} *n*", "Δθ → n"},
  };
  for (const auto &c : cases) {
    Logged t;
    t.cv.CurrentX = 40;
    t.cv.CurrentY = 100;
    PrintRich(t.page, QString::fromUtf8(c.marked));
    ASSERT_EQ(t.lines().size(), 1u) << c.marked;
    EXPECT_EQ(t.lines()[0], QString::fromUtf8(c.read)) << c.marked;
  }
}

TEST(ScreenText, SmallRunsDrawnAboveOrBelowTheirLineReadAsExponentsAndIndices) {
  // As a drawer does by hand, without the primitives.
  Logged t;
  Canvas &cv = t.cv;
  cv.CurrentX = 40;
  cv.CurrentY = 100;
  cv.PrintRun(QStringLiteral("kg · m"));
  cv.Font.Size = 8;
  cv.CurrentY = 92;
  cv.PrintRun(QStringLiteral("−3"));
  cv.Font.Size = 10;
  cv.CurrentY = 100;
  cv.PrintRun(QStringLiteral(" et θ"));
  cv.Font.Size = 8;
  cv.CurrentY = 105;
  cv.PrintRun(QStringLiteral("fus"));
  cv.Font.Size = 10;
  cv.CurrentY = 100;
  cv.Print(QStringLiteral(" petit"));
  cv.Font.Size = 8; // a small run on the line itself is plain text
  cv.CurrentX = 40;
  cv.PrintRun(QStringLiteral("note"));
  EXPECT_EQ(t.lines(),
            (std::vector<QString>{QStringLiteral("kg · m exposant −3 et θ indice fus petit"),
                                  QStringLiteral("note")}));
}

TEST(ScreenText, FractionReadsAsOneRunOfItsLine) {
  Logged t;
  t.cv.CurrentX = 40;
  t.cv.CurrentY = 100;
  PrintRich(t.page, QStringLiteral("c = "), End::Run);
  PrintFraction(t.page, t.cv.CurrentX, 108, 40, QStringLiteral("n"), QStringLiteral("V"));
  t.cv.CurrentY = 100;
  PrintRich(t.page, QStringLiteral(" et "), End::Run);
  PrintFraction(t.page, t.cv.CurrentX, 108, 80, QStringLiteral("n_{A}"), QStringLiteral("a"));
  t.cv.Print();
  EXPECT_EQ(t.lines(), (std::vector<QString>{QStringLiteral("c = n sur V et (n indice A) sur a")}));
}

TEST(ScreenText, HeadingsPicturesTablesAndColumnsInReadingOrder) {
  Logged t;
  Canvas &cv = t.cv;
  cv.CurrentX = 40;
  cv.CurrentY = 40;
  PrintHeading(t.page, QStringLiteral("Titre"));
  BodyFont(t.page);
  // A table filled column by column is read row by row.
  const TableGrid grid{{40, 200, 360}, {80, 100, 120}};
  ShadowedTable(t.page, grid);
  const char *cells[2][2] = {{"Grandeur", "Unité"}, {"Masse", "kg"}};
  for (int column = 0; column < 2; ++column)
    for (int row = 0; row < 2; ++row) {
      StartInCell(t.page, grid, column, row, QString::fromUtf8(cells[row][column]));
      PrintRich(t.page, QString::fromUtf8(cells[row][column]), End::Run);
    }
  // Two columns printed line by line are read column by column.
  const char *rows[2][2] = {{"gauche un", "droite un"}, {"gauche deux", "droite deux"}};
  cv.CurrentY = 140;
  for (const auto &row : rows) {
    cv.CurrentX = 40;
    PrintRich(t.page, QString::fromUtf8(row[0]), End::Run);
    cv.CurrentX = 420;
    PrintRich(t.page, QString::fromUtf8(row[1]));
  }
  // Two pictures side by side, then their captions just under them: each
  // picture is followed by its own caption.
  const Picture picture(QImage(60, 40, QImage::Format_RGB32), QStringLiteral("/app/pces1403.bmp"));
  cv.PaintPicture(picture, 100, 200);
  cv.PaintPicture(picture, 500, 200);
  cv.CurrentY = 242;
  for (const auto &[x, caption] : {std::pair{110, "chaud"}, std::pair{510, "froid"}}) {
    cv.CurrentX = x;
    PrintRich(t.page, QString::fromUtf8(caption), End::Run);
  }
  cv.Print();

  std::vector<QString> texts;
  std::vector<ReadingItem::Kind> kinds;
  for (const ReadingItem &item : t.log.items(784)) {
    texts.push_back(item.text);
    kinds.push_back(item.kind);
  }
  EXPECT_EQ(texts,
            (std::vector<QString>{"Titre", "Grandeur ; Unité", "Masse ; kg", "gauche un",
                                  "gauche deux", "droite un", "droite deux", "/app/pces1403.bmp",
                                  "chaud", "/app/pces1403.bmp", "froid"}));
  EXPECT_EQ(kinds.front(), ReadingItem::Heading);
  EXPECT_EQ(kinds[7], ReadingItem::Picture);
  EXPECT_EQ(std::count(kinds.begin(), kinds.end(), ReadingItem::Heading), 1);
}

// Every screen as a reader gets it: the chapter's title first, then its
// words, and every picture it draws described, none by a bare "Image".
TEST(ScreenReading, EveryScreenHasItsTitleHeadingAndDescribedPictures) {
  Page page;
  RasterCanvas surface(ReferenceClientSize);
  attachWindowSurface(page, surface, QStringLiteral(ABREVEL_APP_DIR));
  for (const ScreenRow &row : screenTable()) {
    page.chapter = static_cast<std::int16_t>(row.code / 100);
    page.screen = row.code;
    const std::vector<ReadingItem> items = readScreen(page, ReferenceClientSize);
    ASSERT_GE(items.size(), 2u) << row.code;
    EXPECT_EQ(items[0].kind, ReadingItem::Heading) << row.code;
    EXPECT_EQ(items[0].text, chapterTitle(row.code / 100)) << row.code;
    EXPECT_NE(
        std::find_if(items.begin() + 1, items.end(),
                     [](const ReadingItem &item) { return item.kind != ReadingItem::Picture; }),
        items.end())
        << row.code << " reads no words";
    for (const ReadingItem &item : items) {
      if (item.kind == ReadingItem::Picture) {
        EXPECT_NE(item.text, QStringLiteral("Image"))
            << row.code << " draws an undescribed picture";
      }
    }
    // Reading draws on its own canvas and hands the page back as it was.
    EXPECT_EQ(page.target, &surface);
  }
}

TEST(ScreenReading, ScreensReadAsTheyAreDrawn) {
  // Lines that must follow one another (not necessarily at once) in the
  // reading of a screen.
  const struct {
    int screen;
    std::vector<const char *> inOrder;
  } cases[] = {
      {102,
       {"Classement des espèces chimiques", "une flamme, inflammable", "Inflammable",
        "un point d'exclamation", "Nocif ou irritant", "tête de mort", "Toxique"}},
      {203,
       {"Caractéristiques physiques ; Symbole ; Unité", "Masse volumique ; ρ = m sur V",
        "Densité ; d = (masse d'un volume) sur (masse du même volume d'eau) ; sans unité"}},
      {401, {"A = Z + N", "10 exposant", "m indice atome"}},
      {1402,
       {"Signature d'un atome ou d'un ion", "Spectre d'absorption de la vapeur de mercure",
        "Spectre d'émission de la vapeur de mercure"}},
  };
  Page page;
  RasterCanvas surface(ReferenceClientSize);
  attachWindowSurface(page, surface, QStringLiteral(ABREVEL_APP_DIR));
  for (const auto &c : cases) {
    page.chapter = static_cast<std::int16_t>(c.screen / 100);
    page.screen = static_cast<std::int16_t>(c.screen);
    const std::vector<ReadingItem> items = readScreen(page, ReferenceClientSize);
    size_t at = 0;
    for (const char *expected : c.inOrder) {
      const QString wanted = QString::fromUtf8(expected);
      while (at < items.size() && !items[at].text.contains(wanted))
        ++at;
      EXPECT_LT(at, items.size()) << c.screen << ": \"" << expected << "\" not read, or too early";
    }
  }
}

// ----- The pictures' descriptions ----------------------------------------------------

TEST(PictureDescriptions, EveryCoursePictureIsDescribedInCorrectFrench) {
  const auto &all = pictureDescriptions();
  // The drawings, the graph and the computed spectra alike.
  for (const char *name : {"pces101", "pces103a", "pces1403", "pces1407", "pces1901", "macro"})
    EXPECT_FALSE(all.count(QString::fromLatin1(name)) == 0) << name;
  EXPECT_EQ(pictureDescription(QStringLiteral("C:\\abrevel\\PCES1406.BMP")),
            all.at(QStringLiteral("pces1406")));
  EXPECT_TRUE(pictureDescription(QStringLiteral("fbas.gif")).isEmpty());

  const QString hunspell = QStandardPaths::findExecutable(QStringLiteral("hunspell"));
  if (hunspell.isEmpty())
    GTEST_SKIP() << "hunspell is not installed (tools/setup.sh installs it)";
  QStringList texts;
  for (const auto &[name, text] : all) {
    EXPECT_FALSE(text.isEmpty()) << qPrintable(name);
    texts << text;
  }
  QProcess check;
  check.start(hunspell, {QStringLiteral("-d"), QStringLiteral("fr_FR"), QStringLiteral("-l")});
  ASSERT_TRUE(check.waitForStarted());
  check.write(texts.join(QLatin1Char('\n')).toUtf8());
  check.closeWriteChannel();
  ASSERT_TRUE(check.waitForFinished(30000));
  ASSERT_EQ(check.exitCode(), 0) << check.readAllStandardError().toStdString();
  // Names of people and instruments, and the course's own terms.
  const QStringList known = {QStringLiteral("Büchner"), QStringLiteral("Cram"),
                             QStringLiteral("Kofler"),  QStringLiteral("Lewis"),
                             QStringLiteral("Duet"),    QStringLiteral("Hydrodistillation")};
  for (const QString &word : QString::fromUtf8(check.readAllStandardOutput())
                                 .split(QLatin1Char('\n'), Qt::SkipEmptyParts))
    EXPECT_TRUE(known.contains(word)) << "misspelt in a description: " << word.toStdString();
}

// ----- The window through QAccessible ----------------------------------------------

class AccessibleViewer : public ::testing::Test {
protected:
  std::unique_ptr<ViewerWindow> w;
  void SetUp() override {
    w = std::make_unique<ViewerWindow>(QStringLiteral(ABREVEL_APP_DIR), fixedChapter(14),
                                       ViewerWindow::Options{false, false});
    w->endProgram = [] {};
    ASSERT_TRUE(w->Form_Load());
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    w->repaint();
  }
  QAccessibleInterface *button(const char *name) {
    return findChild(accessible(w.get()), QAccessible::Button, QString::fromUtf8(name));
  }
};

TEST_F(AccessibleViewer, ButtonsAreNamedPushButtonsThatPressAsAClickDoes) {
  const struct {
    const char *name;
    QWidget *widget;
  } buttons[] = {{"Imprimer le chapitre", w->Image3},
                 {"Fermer", w->Image2},
                 {"Écran précédent", w->fhaut},
                 {"Écran suivant", w->fbas}};
  for (const auto &b : buttons) {
    QAccessibleInterface *iface = button(b.name);
    ASSERT_NE(iface, nullptr) << b.name;
    EXPECT_EQ(iface->object(), b.widget) << b.name;
    EXPECT_TRUE(iface->state().focusable) << b.name;
  }
  // On the first screen the previous arrow is hidden: invisible, no action.
  EXPECT_TRUE(button("Écran précédent")->state().invisible);
  EXPECT_TRUE(button("Écran précédent")->actionInterface()->actionNames().isEmpty());
  button("Écran précédent")->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  QTest::qWait(50);
  EXPECT_EQ(w->page().screen, 1401);

  QAccessibleInterface *next = button("Écran suivant");
  EXPECT_EQ(next->actionInterface()->actionNames(),
            QStringList{QAccessibleActionInterface::pressAction()});
  next->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  QTRY_COMPARE(w->page().screen, std::int16_t(1402));
  EXPECT_TRUE(w->fbas->isHidden());
  EXPECT_EQ(accessible(w.get())->text(QAccessible::Name),
            QStringLiteral("14. Les messages de la lumière, écran 2 sur 2"));

  button("Fermer")->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  QTRY_VERIFY(w->unloaded());
}

TEST_F(AccessibleViewer, PageIsADocumentOfTheScreensWordsReadAfreshAfterATurn) {
  QAccessibleInterface *window = accessible(w.get());
  QAccessibleInterface *document = screenDocument(w.get());
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(window->child(window->indexOfChild(document)), document);
  EXPECT_EQ(document->role(), QAccessible::Document);
  EXPECT_EQ(document->parent(), window);
  // The band names the chapter, the arrows' frame what it is for.
  EXPECT_EQ(accessible(w->tito)->text(QAccessible::Name), chapterTitle(14));
  EXPECT_EQ(accessible(w->Frame1)->text(QAccessible::Name), QStringLiteral("Changer d'écran"));
  const QString first = document->textInterface()->text(0, -1);
  EXPECT_TRUE(
      first.startsWith(QStringLiteral("14. Les messages de la lumière\nSpectres d'émission")))
      << first.left(80).toStdString();
  EXPECT_NE(findChild(document, QAccessible::Heading, QStringLiteral("Spectres d'absorption")),
            nullptr);
  EXPECT_NE(
      findChild(document, QAccessible::Graphic, pictureDescription(QStringLiteral("pces1405"))),
      nullptr);
  for (int i = 0; i < document->childCount(); ++i)
    EXPECT_TRUE(first.contains(document->child(i)->text(QAccessible::Name)));

  // (That a turn is signalled over AT-SPI, the end-to-end test under Xvfb
  // checks: here no platform bridge is active to signal it.)
  QTest::keyClick(w.get(), Qt::Key_Right);
  EXPECT_EQ(window->text(QAccessible::Name),
            QStringLiteral("14. Les messages de la lumière, écran 2 sur 2"));
  const QString second = document->textInterface()->text(0, -1);
  EXPECT_NE(second, first);
  EXPECT_TRUE(second.contains(QStringLiteral("application à l'astrophysique")));
  EXPECT_NE(
      findChild(document, QAccessible::Graphic, pictureDescription(QStringLiteral("pces1406"))),
      nullptr);
}

TEST_F(AccessibleViewer, KeyboardAloneReachesEveryShownButtonAndKeepsAFocus) {
  // The window opens with the keyboard on the page, no button framed.
  EXPECT_TRUE(w->hasFocus());
  EXPECT_TRUE(screenDocument(w.get())->state().focused);
  QTest::keyClick(w.get(), Qt::Key_Tab);
  ASSERT_TRUE(w->Image3->hasFocus());
  // Tab skips the hidden previous arrow.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_TRUE(w->Image2->hasFocus());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_TRUE(w->fbas->hasFocus());
  // Space presses it; the arrow hides and hands the focus to the other one.
  QTest::keyClick(w->fbas, Qt::Key_Space);
  EXPECT_EQ(w->page().screen, 1402);
  EXPECT_TRUE(w->fhaut->hasFocus());
  // Left and Right turn pages whatever has the focus.
  QTest::keyClick(w->fhaut, Qt::Key_Left);
  EXPECT_EQ(w->page().screen, 1401);
  EXPECT_TRUE(w->fbas->hasFocus());
  QTest::keyClick(w->fbas, Qt::Key_Return);
  EXPECT_EQ(w->page().screen, 1402);
  EXPECT_TRUE(w->fhaut->hasFocus());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
  EXPECT_TRUE(w->Image2->hasFocus());
  QTest::keyClick(w->Image2, Qt::Key_Space);
  EXPECT_TRUE(w->unloaded());
}

#include "shell/viewerwindow.h"

#include "shell/accessibility.h"
#include "shell/handoff.h"
#include "shell/printdialog.h"
#include "shell/printing.h"
#include "shell/screentable.h"
#include "shell/titleband.h"
#include "toolkit/colors.h"
#include "toolkit/errors.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <optional>

namespace abrevel {

namespace {

// The decoration the window assumes until the window manager tells: an
// 8-pixel border, a 31-pixel title bar.
const QSize ReferenceDecoration = QSize(800, 600) - ReferenceClientSize;

// The arrow's square, edges included, in twips.
constexpr double ArrowTwips = ButtonSize * TwipsPerPixel;

// Key codes of the arrow keys as the handler knows them.
constexpr int KeyLeft = 37;
constexpr int KeyRight = 39;

int keyCodeOf(const QKeyEvent &event) {
  switch (event.key()) {
  case Qt::Key_Left:
    return KeyLeft;
  case Qt::Key_Right:
    return KeyRight;
  default:
    return 0;
  }
}

class HandoffChapters : public ChapterSource {
public:
  explicit HandoffChapters(const QString &applicationFolder)
      : m_folder(withTrailingSeparator(applicationFolder)), m_session(m_folder) {}
  std::int16_t startup() override { return m_session.startup(); }
  double repaint() override { return m_session.repaint(); }
  void shutdown() override { m_session.shutdown(); }
  void endWithoutChapter() override { m_session.endWithoutChapter(); }
  QString noChapterNotice() const override {
    const QString path = QDir::toNativeSeparators(handoffPath(m_folder));
    switch (m_session.fileState()) {
    case handoff::FileState::Missing:
      return QStringLiteral("abrevel : aucun chapitre à montrer, %1 n'existe pas (l'application "
                            "parente y inscrit le chapitre avant de lancer la visionneuse)")
          .arg(path);
    case handoff::FileState::Unreadable:
      return QStringLiteral("abrevel : aucun chapitre à montrer, %1 ne peut pas être lu").arg(path);
    case handoff::FileState::Read:
      break;
    }
    return QStringLiteral("abrevel : aucun chapitre à montrer, l'enregistrement 25 de %1 ne "
                          "donne aucun numéro de chapitre")
        .arg(path);
  }

private:
  QString m_folder;
  HandoffSession m_session;
};

class FixedChapter : public ChapterSource {
public:
  explicit FixedChapter(std::int16_t chapter) : m_chapter(chapter) {}
  std::int16_t startup() override { return m_chapter; }
  double repaint() override { return m_chapter; }
  void shutdown() override {}

private:
  std::int16_t m_chapter;
};

} // namespace

LoadGeometry loadGeometry(const QRect &screen) {
  if (screen.width() <= 850)
    return {true, screen};
  const QSize frame(800, 600);
  const int left = screen.x() + (screen.width() - frame.width()) / 2;
  // A screen lower than the frame keeps the title bar on it.
  const int top = std::max(screen.y(), screen.y() + (screen.height() - frame.height()) / 2);
  return {false, QRect(QPoint(left, top), frame)};
}

std::unique_ptr<ChapterSource> handoffChapters(const QString &applicationFolder) {
  return std::make_unique<HandoffChapters>(applicationFolder);
}

std::unique_ptr<ChapterSource> fixedChapter(std::int16_t chapter) {
  return std::make_unique<FixedChapter>(chapter);
}

// ----- ImageButton -----------------------------------------------------------

ImageButton::ImageButton(QWidget *parent, const QString &name, const QRect &geometry,
                         const QString &toolTip)
    : QLabel(parent) {
  setObjectName(name);
  setGeometry(geometry);
  setToolTip(toolTip);
  setFocusPolicy(Qt::NoFocus);
}

void ImageButton::setPicture(const QString &applicationFolder, WindowButton button) {
  // As fine as the screen: the pixmap keeps the image's pixel ratio.
  setPixmap(QPixmap::fromImage(buttonPicture(applicationFolder, button, devicePixelRatioF())));
}

void ImageButton::mousePressEvent(QMouseEvent *event) {
  m_pressed = true;
  event->accept();
}

void ImageButton::mouseReleaseEvent(QMouseEvent *event) {
  const QPointF at = event->position();
  const bool click =
      m_pressed && event->button() == Qt::LeftButton && rect().contains(at.toPoint());
  m_pressed = false;
  event->accept();
  if (onMouseUp)
    onMouseUp(event->button(), event->modifiers(), at.x() * TwipsPerPixel, at.y() * TwipsPerPixel);
  if (click && onClick)
    onClick();
}

void ImageButton::press() {
  if (onPress && !isHidden())
    onPress();
}

void ImageButton::keyPressEvent(QKeyEvent *event) {
  switch (event->key()) {
  case Qt::Key_Space:
  case Qt::Key_Return:
  case Qt::Key_Enter:
    if (!event->isAutoRepeat()) {
      event->accept();
      press();
      return;
    }
    break;
  default:
    break;
  }
  QLabel::keyPressEvent(event);
}

void ImageButton::paintEvent(QPaintEvent *event) {
  QLabel::paintEvent(event);
  if (!hasFocus())
    return;
  QPainter painter(this);
  painter.setPen(QPen(m_focusColour, 1, Qt::DotLine));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

// ----- ArrowFrame --------------------------------------------------------------

ArrowFrame::ArrowFrame(QWidget *parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Frame1"));
}

void ArrowFrame::paintEvent(QPaintEvent *) { QPainter(this).fillRect(rect(), windowBackColor()); }

// ----- TitleBand ---------------------------------------------------------------

TitleBand::TitleBand(const Page &page, QWidget *parent)
    : QWidget(parent), m_page(page), m_canvas(QSize(TitleBandWidth, TitleBandHeight)) {
  setObjectName(QStringLiteral("tito"));
  setGeometry(0, 0, TitleBandWidth, TitleBandHeight);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, titleBandColor());
  setPalette(colours);
}

void TitleBand::paintEvent(QPaintEvent *) {
  m_canvas.resize(size(), devicePixelRatioF());
  tito_Paint(m_canvas, m_page.chapter);
  QPainter(this).drawImage(0, 0, m_canvas.image());
}

// ----- ViewerWindow ------------------------------------------------------------

ViewerWindow::ViewerWindow(const QString &applicationFolder,
                           std::unique_ptr<ChapterSource> chapters, Options options)
    : m_options(options), m_chapters(std::move(chapters)), m_surface(ReferenceClientSize) {
  endProgram = [] { QCoreApplication::exit(0); };
  installViewerAccessibility();
  setObjectName(QStringLiteral("Abrevel"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, windowBackColor());
  setPalette(colours);
  resize(ReferenceClientSize);

  attachWindowSurface(m_page, m_surface, applicationFolder);

  const QString folder = withTrailingSeparator(applicationFolder);

  // The controls, in the window's design order.
  Frame1 = new ArrowFrame(this);
  Frame1->setGeometry(ArrowFrameDesignRect);
  fbas = new ImageButton(Frame1, QStringLiteral("fbas"), NextArrowRect, QStringLiteral("suivant"));
  fhaut = new ImageButton(Frame1, QStringLiteral("fhaut"), PreviousArrowRect,
                          QStringLiteral("précédent"));
  fbas->hide();
  fhaut->hide();
  tito = new TitleBand(m_page, this);
  Image3 = new ImageButton(tito, QStringLiteral("Image3"), PrintButtonRect,
                           QStringLiteral("Imprimer l'abrevel"));
  Image2 = new ImageButton(tito, QStringLiteral("Image2"), CloseButtonRect,
                           QStringLiteral("Fermer l'abrevel"));

  fbas->setPicture(applicationFolder, WindowButton::Next);
  fhaut->setPicture(applicationFolder, WindowButton::Previous);
  Image3->setPicture(applicationFolder, WindowButton::Print);
  Image2->setPicture(applicationFolder, WindowButton::Close);

  // The pointing hand over the four buttons, its hot spot at the fingertip.
  const QPixmap hand(folder + QStringLiteral("main.gif"));
  const QCursor pointer = hand.isNull() ? QCursor(Qt::PointingHandCursor) : QCursor(hand, 12, 1);
  for (ImageButton *button : {fbas, fhaut, Image3, Image2})
    button->setCursor(pointer);

  const QString icon = folder + QStringLiteral("abrevel.png");
  if (QFileInfo(icon).isFile())
    setWindowIcon(QIcon(icon));

  fbas->onMouseUp = [this](Qt::MouseButton b, Qt::KeyboardModifiers s, double x, double y) {
    fbas_MouseUp(b, s, x, y);
  };
  fhaut->onMouseUp = [this](Qt::MouseButton b, Qt::KeyboardModifiers s, double x, double y) {
    fhaut_MouseUp(b, s, x, y);
  };
  Image2->onClick = [this] { Image2_Click(); };
  Image3->onClick = [this] { Image3_Click(); };

  // The keyboard and assistive technology press the buttons as a click
  // does: an arrow released at its centre, print, close.
  const double centre = ButtonSize / 2.0 * TwipsPerPixel;
  fbas->onPress = [this, centre] { fbas_MouseUp(Qt::LeftButton, {}, centre, centre); };
  fhaut->onPress = [this, centre] { fhaut_MouseUp(Qt::LeftButton, {}, centre, centre); };
  Image3->onPress = [this] { Image3_Click(); };
  Image2->onPress = [this] { Image2_Click(); };
  Frame1->setAccessibleName(QStringLiteral("Changer d'écran"));
  Image3->setAccessibleName(QStringLiteral("Imprimer le chapitre"));
  Image2->setAccessibleName(QStringLiteral("Fermer"));
  fhaut->setAccessibleName(QStringLiteral("Écran précédent"));
  fbas->setAccessibleName(QStringLiteral("Écran suivant"));
  // The focus mark: pale yellow on the teal band, teal on the page.
  Image3->setFocusColour(RGB(255, 255, 155));
  Image2->setFocusColour(RGB(255, 255, 155));
  fhaut->setFocusColour(titleBandColor());
  fbas->setFocusColour(titleBandColor());

  // Key preview: the window sees the keys whichever control has the focus.
  for (QWidget *control : {static_cast<QWidget *>(Frame1), static_cast<QWidget *>(fbas),
                           static_cast<QWidget *>(fhaut), static_cast<QWidget *>(tito),
                           static_cast<QWidget *>(Image3), static_cast<QWidget *>(Image2)}) {
    control->setFocusPolicy(Qt::NoFocus);
    control->installEventFilter(this);
  }
  // Tab and Shift+Tab go through the buttons that show, in the order they
  // are read: print and close on the band, then the arrows. A click does not
  // take the focus.
  for (ImageButton *button : {Image3, Image2, fhaut, fbas})
    button->setFocusPolicy(Qt::TabFocus);
  setTabOrder(Image3, Image2);
  setTabOrder(Image2, fhaut);
  setTabOrder(fhaut, fbas);
}

ViewerWindow::~ViewerWindow() = default;

bool ViewerWindow::Form_Load() {
  m_page.AppFolder = withTrailingSeparator(m_page.applicationFolder);
  m_page.chapter = m_chapters->startup();
  if (m_page.chapter == 0) {
    // The parent must still learn that no viewer runs.
    m_chapters->endWithoutChapter();
    end();
    return false;
  }

  if (m_options.placeOnScreen) {
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen) {
      const LoadGeometry geometry = loadGeometry(screen->geometry());
      m_settling = true;
      if (geometry.maximized) {
        // Filling the screen also where nothing maximizes windows.
        const QRect available = screen->availableGeometry();
        resize(available.size());
        move(available.topLeft());
        setWindowState(windowState() | Qt::WindowMaximized);
      } else {
        // The frame is 800 × 600 once the window manager's decoration is
        // known; until then the usual decoration is assumed.
        m_frameTarget = geometry.frame;
        m_decoration = ReferenceDecoration;
        m_requestedClient = geometry.frame.size() - ReferenceDecoration;
        resize(m_requestedClient);
        move(geometry.frame.topLeft());
      }
    }
  }

  if (m_options.sound) {
    m_soundFolder = withTrailingSeparator(m_page.applicationFolder);
    MMControl1.Open(m_soundFolder + QStringLiteral("clac.wav"));
  }
  setWindowTitle(QStringLiteral("Abrevel"));
  // No screen code for a chapter beyond 16 bits: the page stays empty.
  ignoreErrors([&] { m_page.screen = toInt16(m_page.chapter * 100 + 1); });
  clearWindow();
  placeFrame1(m_requestedClient.isValid() ? m_requestedClient : size());
  // The window opens with the keyboard on the page itself (no button
  // framed): a screen reader starts on the page, Tab goes to the buttons.
  setFocus(Qt::OtherFocusReason);
  return true;
}

void ViewerWindow::Form_Paint() {
  if (m_ended)
    return;
  const double value = m_chapters->repaint();
  if (value != m_page.chapter) {
    std::optional<std::int16_t> chapter;
    try {
      chapter = toInt16(value);
    } catch (const DrawError &) {
      // A value beyond 16 bits leaves the chapter as it is.
    }
    if (chapter == 0) {
      m_chapters->endWithoutChapter();
      end();
      return;
    }
    if (chapter)
      setChapter(*chapter);
    ignoreErrors([&] { m_page.screen = toInt16(m_page.chapter * 100 + 1); });
    clearWindow();
  }

  const ScreenRow *row = drawScreenOnSurface(m_page, m_surface);
  nameScreen();
  if (!row)
    return; // an empty page; the arrows keep their state
  fhaut->setVisible(row->previousShown);
  fbas->setVisible(row->nextShown);
}

std::vector<ReadingItem> ViewerWindow::readCurrentScreen() { return readScreen(m_page, size()); }

void ViewerWindow::nameScreen() {
  const int named = m_page.chapter * 10000 + m_page.screen;
  if (named == m_namedScreen)
    return;
  m_namedScreen = named;
  setAccessibleName(screenName(m_page.chapter, m_page.screen));
  tito->setAccessibleName(chapterTitle(m_page.chapter));
  // Reading the new screen for assistive technology draws it once more:
  // done after the page turn has shown it, and only when something reads.
  if (QAccessible::isActive())
    QTimer::singleShot(0, this, [this] { announceScreen(this); });
}

void ViewerWindow::Form_Unload() {
  if (m_unloaded)
    return;
  m_unloaded = true;
  MMControl1.Close();
  m_chapters->shutdown();
  end();
}

void ViewerWindow::Image2_Click() { close(); }

void ViewerWindow::Image3_Click() {
  if (m_ended)
    return;
  abrevel::Image3_Click(this, m_page);
  // Back from the dialog, the window takes the keyboard again (where no
  // window manager hands it back), the focus where it was.
  if (isVisible())
    activateWindow();
  // The next repaint takes the page state back to the window.
  update();
}

void ViewerWindow::fbas_MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, double x, double y) {
  turnPage(fbas, +1, x, y);
}

void ViewerWindow::fhaut_MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, double x, double y) {
  turnPage(fhaut, -1, x, y);
}

void ViewerWindow::turnPage(ImageButton *arrow, int step, double x, double y) {
  if (m_ended || arrow->isHidden())
    return;
  // A release off the arrow cancels the click.
  if (x < 0 || x > ArrowTwips || y < 0 || y > ArrowTwips)
    return;
  const QPointer<QWidget> hadFocus = focusWidget();
  arrow->hide();
  MMControl1.Play();
  moveScreen(step);
  keepFocus(hadFocus);
}

void ViewerWindow::keepFocus(QWidget *hadFocus) {
  if (hadFocus != fbas && hadFocus != fhaut)
    return;
  ImageButton *other = hadFocus == fbas ? fhaut : fbas;
  QWidget *next = !hadFocus->isHidden() ? hadFocus : !other->isHidden() ? other : Image3;
  if (focusWidget() != next)
    next->setFocus(Qt::OtherFocusReason);
}

void ViewerWindow::Form_KeyDown(int keyCode, Qt::KeyboardModifiers) {
  if (m_ended)
    return;
  const QPointer<QWidget> hadFocus = focusWidget();
  if (keyCode == KeyLeft && !fhaut->isHidden())
    moveScreen(-1);
  if (keyCode == KeyRight && !fbas->isHidden())
    moveScreen(+1);
  keepFocus(hadFocus);
}

void ViewerWindow::moveScreen(int step) {
  ignoreErrors([&] { m_page.screen = toInt16(m_page.screen + step); });
  clearWindow();
  Form_Paint();
  // The screen is drawn: the window's paint, at once, only shows it.
  m_surfaceDrawn = true;
  repaint();
  m_surfaceDrawn = false;
}

void ViewerWindow::clearWindow() {
  // The surface has the screen's own pixels: on a high-density screen more
  // of them than the window's size, which the drawers keep seeing.
  m_surface.resize(size(), devicePixelRatioF());
  m_surface.Cls();
}

void ViewerWindow::setChapter(std::int16_t chapter) {
  if (chapter == m_page.chapter)
    return;
  m_page.chapter = chapter;
  // The band names the chapter: let it repaint with the new one.
  tito->update();
}

void ViewerWindow::end() {
  m_ended = true;
  if (endProgram)
    endProgram();
}

void ViewerWindow::placeFrame1(QSize client) { Frame1->move(arrowFramePosition(client)); }

void ViewerWindow::fitFrameToDecoration() {
  if (!m_settling || !m_frameTarget.isValid() || !isVisible() ||
      (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)))
    return;
  const QRect frame = frameGeometry();
  const QSize decoration = frame.size() - geometry().size();
  // While the window manager takes the window in, the frame it reports
  // can be anything: only a frame around the client is a decoration.
  const bool plausible =
      frame.contains(geometry()) && decoration.width() <= 200 && decoration.height() <= 200;
  if (!plausible || decoration == m_decoration)
    return;
  m_decoration = decoration;
  m_requestedClient = m_frameTarget.size() - decoration;
  resize(m_requestedClient);
  move(m_frameTarget.topLeft());
  placeFrame1(m_requestedClient);
}

bool ViewerWindow::event(QEvent *event) {
  switch (event->type()) {
  case QEvent::Show:
  case QEvent::Move:
  case QEvent::Resize:
  case QEvent::WindowActivate: {
    const bool handled = QWidget::event(event);
    fitFrameToDecoration();
    return handled;
  }
  case QEvent::MouseButtonPress:
  case QEvent::KeyPress:
    // The user has the window: its load-time geometry is settled.
    m_settling = false;
    break;
  default:
    break;
  }
  return QWidget::event(event);
}

void ViewerWindow::paintEvent(QPaintEvent *) {
  // The platform's erase, then the repaint handler, on the window's surface;
  // during a page turn, which has just drawn it, the surface is shown as it is.
  if (!m_surfaceDrawn || m_surface.size() != size() ||
      m_surface.pixelRatio() != devicePixelRatioF()) {
    clearWindow();
    Form_Paint();
  }
  QPainter(this).drawImage(0, 0, m_surface.image());
  // The window manager may tell its decoration only once the window is on
  // the screen, without moving or resizing it: look again after painting.
  if (m_settling && m_frameTarget.isValid())
    QTimer::singleShot(0, this, [this] { fitFrameToDecoration(); });
}

void ViewerWindow::resizeEvent(QResizeEvent *event) {
  QWidget::resizeEvent(event);
  // Maximized at load: the frame goes to the bottom centre of the size the
  // window is given.
  if (m_settling && (windowState() & Qt::WindowMaximized))
    placeFrame1(size());
}

void ViewerWindow::closeEvent(QCloseEvent *event) {
  // A program already ended (no chapter) closes without unloading.
  if (!m_ended)
    Form_Unload();
  event->accept();
}

void ViewerWindow::keyPressEvent(QKeyEvent *event) {
  const int code = keyCodeOf(*event);
  if (code == 0) {
    QWidget::keyPressEvent(event);
    return;
  }
  Form_KeyDown(code, event->modifiers());
  event->accept();
}

bool ViewerWindow::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::MouseButtonPress)
    m_settling = false;
  if (event->type() == QEvent::KeyPress) {
    m_settling = false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (keyCodeOf(*key) != 0) {
      Form_KeyDown(keyCodeOf(*key), key->modifiers());
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

} // namespace abrevel

#include "shell/accessibility.h"

#include "shell/viewerwindow.h"
#include "shell/windowpicture.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <utility>
#include <vector>

namespace abrevel {

namespace {

// Text that a reader may walk through, fixed once given; no selection, no
// caret that moves.
class FixedText : public QAccessibleTextInterface {
public:
  virtual QString fixedText() const = 0;
  virtual QRect fixedRect() const = 0;

  void selection(int, int *startOffset, int *endOffset) const override {
    *startOffset = *endOffset = 0;
  }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QString text(int startOffset, int endOffset) const override {
    const QString all = fixedText();
    startOffset = std::clamp(startOffset, 0, static_cast<int>(all.size()));
    endOffset = endOffset < 0 ? static_cast<int>(all.size())
                              : std::clamp(endOffset, startOffset, static_cast<int>(all.size()));
    return all.mid(startOffset, endOffset - startOffset);
  }
  int characterCount() const override { return static_cast<int>(fixedText().size()); }
  QRect characterRect(int) const override { return fixedRect(); }
  int offsetAtPoint(const QPoint &) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int offset, int *startOffset, int *endOffset) const override {
    *startOffset = *endOffset = offset;
    return {};
  }
};

QRect toGlobal(const QWidget *window, const QRectF &rect) {
  return QRect(window->mapToGlobal(rect.topLeft().toPoint()), rect.size().toSize());
}

// One heading, line or picture of the page.
class ScreenItem : public QAccessibleInterface, public FixedText {
public:
  ScreenItem(QAccessibleInterface *document, ViewerWindow *window, ReadingItem item)
      : m_document(document), m_window(window), m_item(std::move(item)) {}

  bool isValid() const override { return !m_window.isNull(); }
  QObject *object() const override { return nullptr; }
  QWindow *window() const override { return m_window ? m_window->windowHandle() : nullptr; }
  QAccessibleInterface *childAt(int, int) const override { return nullptr; }
  QAccessibleInterface *parent() const override { return m_document; }
  QAccessibleInterface *child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface *) const override { return -1; }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? m_item.text : QString();
  }
  void setText(QAccessible::Text, const QString &) override {}
  QRect rect() const override { return fixedRect(); }
  QAccessible::Role role() const override {
    switch (m_item.kind) {
    case ReadingItem::Heading:
      return QAccessible::Heading;
    case ReadingItem::Picture:
      return QAccessible::Graphic;
    case ReadingItem::Line:
      break;
    }
    return QAccessible::Paragraph;
  }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.readOnly = true;
    return s;
  }
  void *interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface && m_item.kind != ReadingItem::Picture)
      return static_cast<QAccessibleTextInterface *>(this);
    return nullptr;
  }

  QString fixedText() const override { return m_item.text; }
  QRect fixedRect() const override { return m_window ? toGlobal(m_window, m_item.rect) : QRect(); }

private:
  QAccessibleInterface *m_document;
  QPointer<ViewerWindow> m_window;
  ReadingItem m_item;
};

// The page: a document whose text is the whole screen, one item a line.
class ScreenDocument : public QAccessibleInterface, public FixedText {
public:
  explicit ScreenDocument(ViewerWindow *window) : m_window(window) {}
  ~ScreenDocument() override { dropItems(); }

  // Reads the window's screen again if it shows another one since the last
  // reading. True when it changed.
  bool refresh() const {
    if (!m_window)
      return false;
    const Key key{m_window->page().chapter, m_window->page().screen, m_window->ended()};
    if (m_read && key == m_key)
      return false;
    auto *self = const_cast<ScreenDocument *>(this);
    self->dropItems();
    self->m_key = key;
    self->m_read = true;
    if (!key.ended)
      for (ReadingItem &item : m_window->readCurrentScreen()) {
        auto *child = new ScreenItem(self, m_window, std::move(item));
        self->m_items.push_back(QAccessible::registerAccessibleInterface(child));
      }
    QStringList lines;
    for (QAccessible::Id id : m_items)
      lines << QAccessible::accessibleInterface(id)->text(QAccessible::Name);
    self->m_text = lines.join(QLatin1Char('\n'));
    return true;
  }

  bool isValid() const override { return !m_window.isNull(); }
  QObject *object() const override { return nullptr; }
  QWindow *window() const override { return m_window ? m_window->windowHandle() : nullptr; }
  QAccessibleInterface *childAt(int x, int y) const override {
    refresh();
    for (QAccessible::Id id : m_items) {
      QAccessibleInterface *item = QAccessible::accessibleInterface(id);
      if (item && item->rect().contains(x, y))
        return item;
    }
    return nullptr;
  }
  QAccessibleInterface *parent() const override {
    return m_window ? QAccessible::queryAccessibleInterface(m_window) : nullptr;
  }
  QAccessibleInterface *child(int index) const override {
    refresh();
    if (index < 0 || index >= static_cast<int>(m_items.size()))
      return nullptr;
    return QAccessible::accessibleInterface(m_items[static_cast<size_t>(index)]);
  }
  int childCount() const override {
    refresh();
    return static_cast<int>(m_items.size());
  }
  int indexOfChild(const QAccessibleInterface *child) const override {
    refresh();
    for (size_t i = 0; i < m_items.size(); ++i)
      if (QAccessible::accessibleInterface(m_items[i]) == child)
        return static_cast<int>(i);
    return -1;
  }
  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name || !m_window)
      return {};
    return screenName(m_window->page().chapter, m_window->page().screen);
  }
  void setText(QAccessible::Text, const QString &) override {}
  QRect rect() const override { return fixedRect(); }
  QAccessible::Role role() const override { return QAccessible::Document; }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.readOnly = true;
    s.focusable = true;
    s.focused = m_window && m_window->hasFocus();
    return s;
  }
  void *interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface *>(this)
                                              : nullptr;
  }

  QString fixedText() const override {
    refresh();
    return m_text;
  }
  // The text as last read, without reading again.
  const QString &lastText() const { return m_text; }
  QRect fixedRect() const override {
    return m_window ? QRect(m_window->mapToGlobal(QPoint(0, 0)), m_window->size()) : QRect();
  }

private:
  struct Key {
    int chapter = 0, screen = 0;
    bool ended = false;
    bool operator==(const Key &) const = default;
  };

  void dropItems() {
    for (QAccessible::Id id : m_items) {
      if (QAccessibleInterface *item = QAccessible::accessibleInterface(id)) {
        QAccessibleEvent gone(item, QAccessible::ObjectDestroyed);
        QAccessible::updateAccessibility(&gone);
      }
      QAccessible::deleteAccessibleInterface(id);
    }
    m_items.clear();
  }

  QPointer<ViewerWindow> m_window;
  Key m_key;
  bool m_read = false;
  std::vector<QAccessible::Id> m_items;
  QString m_text;
};

// A picture button: a push button whose press does what a click does.
class AccessibleImageButton : public QAccessibleWidget {
public:
  explicit AccessibleImageButton(ImageButton *button)
      : QAccessibleWidget(button, QAccessible::Button) {}

  QStringList actionNames() const override {
    return widget()->isVisible() ? QStringList{pressAction()} : QStringList();
  }
  void doAction(const QString &action) override {
    if (action != pressAction() || !widget()->isVisible())
      return;
    // After the call returns: pressing print opens a modal dialog, which
    // must not hold the reader's request until it closes.
    QPointer<ImageButton> button = static_cast<ImageButton *>(widget());
    QTimer::singleShot(0, button, [button] {
      if (button && button->isVisible())
        button->press();
    });
  }
  QStringList keyBindingsForAction(const QString &) const override { return {}; }
};

// The window: the controls, then the page document as its last child.
class AccessibleViewerWindow : public QAccessibleWidget {
public:
  explicit AccessibleViewerWindow(ViewerWindow *window)
      : QAccessibleWidget(window, QAccessible::Window) {
    m_document = QAccessible::registerAccessibleInterface(new ScreenDocument(window));
  }
  ~AccessibleViewerWindow() override { QAccessible::deleteAccessibleInterface(m_document); }

  ScreenDocument *document() const {
    return static_cast<ScreenDocument *>(QAccessible::accessibleInterface(m_document));
  }

  int childCount() const override { return QAccessibleWidget::childCount() + 1; }
  QAccessibleInterface *child(int index) const override {
    const int controls = QAccessibleWidget::childCount();
    return index == controls ? document() : QAccessibleWidget::child(index);
  }
  int indexOfChild(const QAccessibleInterface *child) const override {
    if (child == document())
      return QAccessibleWidget::childCount();
    return QAccessibleWidget::indexOfChild(child);
  }
  QAccessibleInterface *focusChild() const override {
    // The window itself holds the focus: the reader is on the page.
    if (widget()->hasFocus())
      return document();
    return QAccessibleWidget::focusChild();
  }

private:
  QAccessible::Id m_document = 0;
};

QAccessibleInterface *viewerFactory(const QString &, QObject *object) {
  if (auto *button = dynamic_cast<ImageButton *>(object))
    return new AccessibleImageButton(button);
  if (auto *window = dynamic_cast<ViewerWindow *>(object))
    return new AccessibleViewerWindow(window);
  return nullptr;
}

} // namespace

void installViewerAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(viewerFactory);
    return true;
  }();
  (void)installed;
}

QAccessibleInterface *screenDocument(ViewerWindow *window) {
  auto *iface =
      dynamic_cast<AccessibleViewerWindow *>(QAccessible::queryAccessibleInterface(window));
  return iface ? iface->document() : nullptr;
}

void announceScreen(ViewerWindow *window) {
  if (!QAccessible::isActive())
    return;
  auto *document = static_cast<ScreenDocument *>(screenDocument(window));
  if (!document)
    return;
  const QString before = document->lastText();
  if (!document->refresh())
    return;
  QAccessibleEvent named(document, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&named);
  QAccessibleEvent changed(document, QAccessible::VisibleDataChanged);
  QAccessible::updateAccessibility(&changed);
  QAccessibleTextUpdateEvent text(document, 0, before, document->fixedText());
  QAccessible::updateAccessibility(&text);
  for (int i = 0; i < document->childCount(); ++i) {
    QAccessibleEvent created(document->child(i), QAccessible::ObjectCreated);
    QAccessible::updateAccessibility(&created);
  }
  // A reader on the page hears the new one at once.
  if (window->hasFocus()) {
    QAccessibleEvent focus(document, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
  }
}

} // namespace abrevel

#include "ui/accessibility/keyboard_access.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include "ui/fatal_error.h"

namespace ui {

NameBoxKeys::NameBoxKeys(const ProgrammingControls& controls, Click click, QObject* parent)
    : QObject(parent), controls_(controls), click_(std::move(click)) {
  for (QLineEdit* name : controls_.Text8)
    name->installEventFilter(this);
}

bool NameBoxKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key != Qt::Key_F1 && key != Qt::Key_Return && key != Qt::Key_Enter) return false;
  for (int row = 0; row < kRegisterCount; ++row) {
    if (controls_.Text8[row] != watched) continue;
    Guarded([this, row] { click_(row); });
    return true;
  }
  return false;
}

FocusHandover::FocusHandover(QWidget& window, QObject* parent) : QObject(parent), window_(window) {
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* /*now*/) {
    auto* button = qobject_cast<QAbstractButton*>(old);
    if (button == nullptr || button->isEnabled() || button->window() != &window_) return;
    // Qt has already moved the focus on, but while the click still runs the button that is
    // enabled in its place may be disabled yet: look again when the click is over.
    QPointer<QAbstractButton> from = button;
    QTimer::singleShot(0, this, [from] {
      if (!from || from->isEnabled()) return;
      if (QWidget* next = NextAfter(from)) next->setFocus(Qt::TabFocusReason);
    });
  });
}

QWidget* FocusHandover::NextAfter(QWidget* from) {
  for (QWidget* next = from->nextInFocusChain(); next != nullptr && next != from;
       next = next->nextInFocusChain()) {
    if (next->window() != from->window()) continue;
    // The tab control hands its focus on to its strip.
    QWidget* taker = next;
    while (taker->focusProxy() != nullptr)
      taker = taker->focusProxy();
    if (qobject_cast<QTabBar*>(taker) != nullptr) continue;
    if (!next->isEnabled() || !next->isVisible()) continue;
    if ((next->focusPolicy() & Qt::TabFocus) == 0) continue;
    return next;
  }
  return nullptr;
}

WithheldPages::WithheldPages(QTabWidget& tabs, QObject* parent) : QObject(parent), tabs_(tabs) {
  for (int page = 0; page < tabs_.count(); ++page)
    tabs_.widget(page)->installEventFilter(this);
}

bool WithheldPages::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::EnabledChange) {
    for (int page = 0; page < tabs_.count(); ++page) {
      if (tabs_.widget(page) == watched) Show(page);
    }
  }
  return false;
}

void WithheldPages::Show(int page) {
  const bool withheld = !tabs_.isTabEnabled(page);
  QString caption = tabs_.tabText(page);
  caption.remove(QLatin1Char('&'));
  const QString note = QStringLiteral("unavailable while an operation runs");
  tabs_.tabBar()->setAccessibleTabName(
      page, withheld ? caption + QStringLiteral(", ") + note : QString());
  tabs_.widget(page)->setAccessibleDescription(withheld ? note : QString());
}

}  // namespace ui

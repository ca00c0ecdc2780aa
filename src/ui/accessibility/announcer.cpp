#include "ui/accessibility/announcer.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "ui/accessibility/label_changes.h"

namespace ui {
namespace {

QString Joined(const QString& caption, const QString& text) {
  return caption.isEmpty() ? text : caption + QStringLiteral(": ") + text;
}

}  // namespace

Announcer::Announcer(QWidget& window, QObject* parent) : QObject(parent), window_(window) {
  restore_.setSingleShot(true);
  restore_.setInterval(0);
  connect(&restore_, &QTimer::timeout, this, &Announcer::Restore);
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* /*now*/) {
    // Later, not now: a control loses the focus also while it is being destroyed, and then it
    // is gone by the time this runs.
    if (old != nullptr && old == carrier_) {
      restore_.start();
    }
  });
}

void Announcer::Watch(QPlainTextEdit* box, const QString& caption) {
  connect(box, &QPlainTextEdit::textChanged, this, [this, box, caption] {
    const QString result = Joined(caption, box->toPlainText());
    box->setAccessibleDescription(box->toPlainText());
    if (!box->toPlainText().isEmpty()) Announce(box, result);
  });
}

void Announcer::Watch(QLineEdit* box, const QString& caption) {
  connect(box, &QLineEdit::textChanged, this, [this, box, caption](const QString& text) {
    box->setAccessibleDescription(text);
    if (!text.isEmpty()) Announce(box, Joined(caption, text));
  });
}

void Announcer::Watch(QLabel* label) {
  QPointer<QLabel> watched = label;
  OnLabelTextChange(label, [this, watched] {
    if (!watched || watched->text().isEmpty()) return;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(watched);
    if (iface != nullptr) Announce(watched, iface->text(QAccessible::Name));
  });
}

void Announcer::Announce(QWidget* source, const QString& message) {
  QWidget* focus = QApplication::focusWidget();
  if (focus == nullptr || focus == source || focus->window() != &window_) return;
  if (focus != carrier_) {
    Restore();
    carrier_ = focus;
    saved_ = focus->accessibleDescription();
  }
  // Qt reports the new description to assistive technology, which speaks it for the focused
  // control; the same message twice in a row is said again.
  if (focus->accessibleDescription() == message) focus->setAccessibleDescription(saved_);
  focus->setAccessibleDescription(message);
}

void Announcer::Restore() {
  if (carrier_ && carrier_->hasFocus()) return;  // it has the focus again
  if (carrier_) carrier_->setAccessibleDescription(saved_);
  carrier_ = nullptr;
  saved_.clear();
}

}  // namespace ui

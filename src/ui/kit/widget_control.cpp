#include "ui/kit/widget_control.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "ui/kit/design.h"

namespace ui {
namespace {

bool IsTextBox(const QWidget* widget) {
  return qobject_cast<const QLineEdit*>(widget) != nullptr ||
         qobject_cast<const QPlainTextEdit*>(widget) != nullptr;
}

QPalette::ColorRole TextRole(const QWidget* widget) {
  return IsTextBox(widget) ? QPalette::Text : QPalette::WindowText;
}

}  // namespace

QString WidgetControl::Text() const {
  if (auto* box = qobject_cast<QLineEdit*>(widget_)) return box->text();
  if (auto* box = qobject_cast<QPlainTextEdit*>(widget_)) return box->toPlainText();
  if (auto* label = qobject_cast<QLabel*>(widget_)) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(widget_)) return button->text();
  return {};
}

void WidgetControl::Text(const QString& vNewValue) {
  if (auto* box = qobject_cast<QLineEdit*>(widget_)) {
    box->setText(vNewValue);
  } else if (auto* box = qobject_cast<QPlainTextEdit*>(widget_)) {
    box->setPlainText(vNewValue);
  } else if (auto* label = qobject_cast<QLabel*>(widget_)) {
    label->setText(vNewValue);
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget_)) {
    button->setText(vNewValue);
  }
}

operations::Rgb WidgetControl::TextColour() const {
  return widget_ ? widget_->palette().color(TextRole(widget_)).rgb() : 0;
}

void WidgetControl::TextColour(operations::Rgb vNewValue) {
  if (!widget_) return;
  if (IsTextBox(widget_)) {
    SetBoxTextColour(widget_, vNewValue);
  } else {
    SetLabelTextColour(widget_, vNewValue);
  }
}

bool WidgetControl::Checked() const {
  auto* button = qobject_cast<QAbstractButton*>(widget_);
  return button != nullptr && button->isChecked();
}

void WidgetControl::Checked(bool vNewValue) {
  if (auto* button = qobject_cast<QAbstractButton*>(widget_)) button->setChecked(vNewValue);
}

bool WidgetControl::Enabled() const {
  return widget_ && widget_->isEnabled();
}

void WidgetControl::Enabled(bool vNewValue) {
  if (widget_) widget_->setEnabled(vNewValue);
}

bool WidgetControl::Visible() const {
  return widget_ && !widget_->isHidden();
}

void WidgetControl::Visible(bool vNewValue) {
  if (widget_) widget_->setVisible(vNewValue);
}

void WidgetControl::SetFocus(bool selectText) {
  if (!widget_) return;
  widget_->setFocus();
  if (!selectText) return;
  if (auto* box = qobject_cast<QLineEdit*>(widget_)) box->selectAll();
  if (auto* box = qobject_cast<QPlainTextEdit*>(widget_)) box->selectAll();
}

}  // namespace ui

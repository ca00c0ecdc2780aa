#pragma once

#include <QPointer>
#include <QWidget>

#include "operations/control_view.h"

namespace ui {

// A widget of the windows as the page logic sees it. Text boxes, labels, buttons and selectors
// each show their text their own way; a text box's colour is its text's, a label's its
// caption's. A widget that is gone reads as empty and ignores what it is told.
class WidgetControl final : public operations::ControlView {
 public:
  explicit WidgetControl(QWidget* widget) : widget_(widget) {}

  QString Text() const override;
  void Text(const QString& vNewValue) override;
  operations::Rgb TextColour() const override;
  void TextColour(operations::Rgb vNewValue) override;
  bool Checked() const override;
  void Checked(bool vNewValue) override;
  bool Enabled() const override;
  void Enabled(bool vNewValue) override;
  bool Visible() const override;
  void Visible(bool vNewValue) override;
  void SetFocus(bool selectText) override;

 private:
  QPointer<QWidget> widget_;
};

}  // namespace ui

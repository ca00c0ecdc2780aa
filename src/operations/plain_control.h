#pragma once

#include "operations/control_view.h"

namespace operations {

// A control that is only data: what talvora-cli gives the page model in place of a window.
class PlainControl final : public ControlView {
 public:
  QString Text() const override { return text_; }
  void Text(const QString& vNewValue) override { text_ = vNewValue; }
  Rgb TextColour() const override { return colour_; }
  void TextColour(Rgb vNewValue) override { colour_ = vNewValue; }
  bool Checked() const override { return checked_; }
  void Checked(bool vNewValue) override { checked_ = vNewValue; }
  bool Enabled() const override { return enabled_; }
  void Enabled(bool vNewValue) override { enabled_ = vNewValue; }
  bool Visible() const override { return visible_; }
  void Visible(bool vNewValue) override { visible_ = vNewValue; }
  void SetFocus(bool /*selectText*/) override { focused_ = true; }
  bool Focused() const { return focused_; }

 private:
  QString text_;
  Rgb colour_ = MakeRgb(0, 0, 0);
  bool checked_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  bool focused_ = false;
};

}  // namespace operations

#pragma once

#include <QString>
#include <cstdint>

namespace operations {

// A colour as the windows store it: 0xAARRGGBB, alpha always opaque.
using Rgb = std::uint32_t;
constexpr Rgb MakeRgb(int red, int green, int blue) {
  return 0xFF000000u | (static_cast<Rgb>(red & 0xFF) << 16) |
         (static_cast<Rgb>(green & 0xFF) << 8) | static_cast<Rgb>(blue & 0xFF);
}

// One control of a page as the page's logic sees it: what it shows, in which colour, whether
// it is checked, enabled and shown, and whether it takes the focus. The windows implement it
// over their widgets, talvora-cli over plain data, so each operation is written once.
class ControlView {
 public:
  virtual ~ControlView() = default;

  virtual QString Text() const = 0;
  virtual void Text(const QString& vNewValue) = 0;
  virtual Rgb TextColour() const = 0;
  virtual void TextColour(Rgb vNewValue) = 0;
  // Selectors and option buttons.
  virtual bool Checked() const = 0;
  virtual void Checked(bool vNewValue) = 0;
  virtual bool Enabled() const = 0;
  virtual void Enabled(bool vNewValue) = 0;
  // Whether the control itself is shown (it may still sit on a page that is not).
  virtual bool Visible() const = 0;
  virtual void Visible(bool vNewValue) = 0;
  // Takes the keyboard focus; with `selectText`, its whole text is selected too.
  virtual void SetFocus(bool selectText = false) = 0;
};

}  // namespace operations

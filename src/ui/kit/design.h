#pragma once

// The units, faces and colours the windows are designed in, and how they map onto the screen.

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QString>

class QWidget;

namespace ui {

// The design's faces. They are not installed on Linux: RegisterFontSubstitutes makes them
// resolve to faces of similar build from Debian's font packages.
inline constexpr const char* kTahoma = "Tahoma";
inline constexpr const char* kArialRounded = "Arial Rounded MT Bold";
inline constexpr const char* kMsSansSerif = "MS Sans Serif";

// Liberation Sans is no wider than the design's Tahoma, so captions keep fitting their
// controls; Comfortaa is a rounded face like Arial Rounded MT Bold.
void RegisterFontSubstitutes();

// What the design gives no face of its own (message boxes, menus, tooltips, file dialogs):
// DejaVu Sans, a plain face the package depends on, the same on every machine whatever else
// is installed.
QFont PlainFont();

// A bold face of the design at a size in points. The size is fixed in pixels (96 dots per
// inch), so text keeps its room in a layout that is fixed in pixels whatever the screen.
QFont DesignFont(const char* family, double points);

// A place in the design: left and top within the container, width and height, in twips.
struct Twips {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Places controls in one container. It knows where the container's top-left corner lies in
// the window, in twips, and rounds every control to the pixel nearest to its place in the
// window, so that neighbours in different containers line up as designed.
class Designer {
 public:
  Designer(QWidget* container, QPoint originTwips) : container_(container), origin_(originTwips) {}

  QWidget* Container() const { return container_; }
  // The designer of a container that this one has placed at `at`.
  Designer Inside(QWidget* child, const Twips& at) const {
    return Designer(child, origin_ + QPoint(at.left, at.top));
  }
  // The pixel rectangle of a place, relative to the container.
  QRect PixelRect(const Twips& at) const;
  // Names the control, gives it its face and puts it in its place.
  void Place(QWidget* control, const QString& name, const QFont& font, const Twips& at) const;

 private:
  QWidget* container_;
  QPoint origin_;
};

// Colours of text boxes (background and text) and of labels (background and caption).
void SetBoxBackground(QWidget* box, QRgb colour);
void SetBoxTextColour(QWidget* box, QRgb colour);
void SetLabelBackground(QWidget* label, QRgb colour);
void SetLabelTextColour(QWidget* label, QRgb colour);

}  // namespace ui

#pragma once

class QWidget;

namespace ui {

// Shows the Close button of a window's title bar as available or not. On X11 the window's
// Motif hints say which functions the window manager may offer, and may be rewritten while the
// window is mapped; a window manager that follows them drops or greys the button. Where there
// is no X11 (the offscreen platform, Wayland) nothing changes: the close request is refused
// all the same.
void ShowCloseButton(QWidget& window, bool available);

}  // namespace ui

#pragma once

#include <QString>

namespace e2e {

// What the X11 tests ask of the server in DISPLAY directly. Windows are given by their id as
// xdotool gives it.

// How many pixels of a window are not black; 0 when it cannot be read.
int PaintedPixels(const QString& window);

// Sends a window the close request a window manager's close button sends (WM_DELETE_WINDOW) and
// waits until the server has taken it; false if it could not be sent.
bool SendCloseRequest(const QString& window);

}  // namespace e2e

#pragma once

#include <QString>

namespace e2e {

// How many pixels of an X11 window (its id as xdotool gives it, on the server in DISPLAY) are
// not black; 0 when it cannot be read.
int PaintedPixels(const QString& window);

}  // namespace e2e

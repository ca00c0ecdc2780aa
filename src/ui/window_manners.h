#pragma once

#include <QtGlobal>
#include <functional>

class QWidget;

namespace ui {

// Title-bar buttons of the designed windows. Each is fixed in size as well, so that a window
// manager reads no resizing from the size hints (minimum equal to maximum) and offers no
// maximize; without a minimize or maximize hint Qt tells X11 window managers (Motif hints) and
// draws its own Wayland title bar with neither button.
//
// The main window: caption, window menu and Close. A dialog of the start-up window, so that the
// window manager keeps it over that window and lists the two as one.
inline constexpr Qt::WindowFlags kMainWindowFlags = Qt::Dialog | Qt::CustomizeWindowHint |
                                                    Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                    Qt::WindowCloseButtonHint;
// The help windows: a narrow tool-window caption with Close only.
inline constexpr Qt::WindowFlags kHelpWindowFlags =
    Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
// The start-up window: Minimize and Close; a window of fixed size has nothing to maximize.
inline constexpr Qt::WindowFlags kStartWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

// Brings `window` back to its normal state whenever a desktop maximizes it, makes it full screen
// or, while `mayNotMinimize` says so, minimizes it: a fixed window cannot fill the screen (a
// Wayland compositor ends a client whose surface does not match a maximized state), and a
// minimized modal window leaves the window behind it taking no input with no way back.
void KeepNormalState(QWidget& window, std::function<bool()> mayNotMinimize);

// Centres `window`'s frame on the primary screen's available area, now and again once the window
// manager has framed the window (the frame's size is known only then).
void CentreFrameOnScreen(QWidget& window);

}  // namespace ui

#pragma once

#include <QByteArray>

namespace ui {

// Which window system the program asks Qt for, from the session's environment: the value for
// QT_QPA_PLATFORM, or empty to leave Qt's own choice. In a Wayland session that also offers X11
// (XWayland: DISPLAY set), X11 is used: there designed positions, the main window's modality
// and its Close function are honoured by the desktop, which a Wayland compositor leaves to
// itself. QT_QPA_PLATFORM set by the user (for instance "wayland") always wins.
QByteArray ChoosePlatform(const QByteArray& qpaPlatform, const QByteArray& waylandDisplay,
                          const QByteArray& x11Display);

// Sets QT_QPA_PLATFORM as ChoosePlatform says; before the application object is made.
void ApplyPlatformChoice();

}  // namespace ui

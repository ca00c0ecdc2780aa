#pragma once

// A private X display for tests of what the window manager is told: an Xvfb server of the
// test's own, a connection to it that reads the windows' properties, and a pointer that clicks
// as the operator's mouse would (XTest).

#include <xcb/xcb.h>

#include <QPoint>
#include <QProcess>
#include <QString>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace e2e {

class X11Display {
 public:
  X11Display();
  ~X11Display();
  X11Display(const X11Display&) = delete;
  X11Display& operator=(const X11Display&) = delete;

  // False when no Xvfb could be started here.
  bool Running() const { return connection_ != nullptr; }
  // The DISPLAY value of the server.
  const QString& Name() const { return name_; }

  // The windows of a process that are on the screen, by their caption (_NET_WM_NAME).
  std::map<std::string, xcb_window_t> Shown(std::int64_t pid);
  std::string Caption(xcb_window_t window);
  // The window a dialog belongs to (WM_TRANSIENT_FOR), or 0.
  xcb_window_t TransientFor(xcb_window_t window);
  // The 32-bit fields of a property, empty when the window has none.
  std::vector<std::uint32_t> Cardinals(xcb_window_t window, const char* property);

  // A click of the left button at a point of a window's client area.
  void Click(xcb_window_t window, QPoint at);
  // What the Close button of a title bar asks (WM_DELETE_WINDOW).
  void AskToClose(xcb_window_t window);

 private:
  xcb_atom_t Atom(const char* name);
  std::string Text(xcb_window_t window, xcb_atom_t property, xcb_atom_t type);

  QProcess server_;
  QString name_;
  xcb_connection_t* connection_ = nullptr;
  xcb_window_t root_ = 0;
};

}  // namespace e2e

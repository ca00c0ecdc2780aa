#include "ui/kit/window_focus.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace ui {

void DropStaleFocusConnections(QWidget& window) {
  QWindow* handle = window.windowHandle();
  if (handle == nullptr) return;
  QObject::disconnect(handle, &QWindow::focusObjectChanged, qApp, nullptr);
  // A window hidden while it had the focus may still be the focus window: it keeps the one
  // connection Qt makes for the focus window (by the names Qt uses for it).
  if (QGuiApplication::focusWindow() == handle) {
    QObject::connect(handle, SIGNAL(focusObjectChanged(QObject*)), qApp,
                     SLOT(_q_updateFocusObject(QObject*)));
  }
}

}  // namespace ui

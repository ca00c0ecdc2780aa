#include "ui/platform_choice.h"

#include <QtGlobal>

namespace ui {

QByteArray ChoosePlatform(const QByteArray& qpaPlatform, const QByteArray& waylandDisplay,
                          const QByteArray& x11Display) {
  if (!qpaPlatform.isEmpty() || waylandDisplay.isEmpty() || x11Display.isEmpty()) return {};
  return QByteArrayLiteral("xcb");
}

void ApplyPlatformChoice() {
  const QByteArray chosen =
      ChoosePlatform(qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"), qgetenv("DISPLAY"));
  if (!chosen.isEmpty()) qputenv("QT_QPA_PLATFORM", chosen);
}

}  // namespace ui

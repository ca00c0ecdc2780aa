#include "program_leaks.h"

#include <QDir>
#include <QFile>

namespace e2e {

QString WriteLeakSuppressions(const QString& folder) {
  QFile file(QDir(folder).filePath("leaks.supp"));
  const QByteArray libraries =
      "leak:libdbus-1\nleak:libglib-2.0\nleak:libfontconfig\nleak:libQt6Gui\n"
      "leak:libQt6XcbQpa\nleak:libwayland-client\nleak:libQt6WaylandClient\nleak:libqwayland\n";
  if (!file.open(QIODevice::WriteOnly) || file.write(libraries) != libraries.size() ||
      !file.flush())
    return {};
  return file.fileName();
}

}  // namespace e2e

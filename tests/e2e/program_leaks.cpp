#include "program_leaks.h"

#include <QDir>
#include <QFile>

#include "support/leak_suppressions.h"

namespace e2e {

QString WriteLeakSuppressions(const QString& folder) {
  QFile file(QDir(folder).filePath("leaks.supp"));
  const QByteArray libraries(kLeakSuppressions);
  if (!file.open(QIODevice::WriteOnly) || file.write(libraries) != libraries.size() ||
      !file.flush())
    return {};
  return file.fileName();
}

}  // namespace e2e

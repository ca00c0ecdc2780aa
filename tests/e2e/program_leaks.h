#pragma once

#include <QString>

namespace e2e {

// LeakSanitizer's suppressions for the program started by a test, written into `folder`; the
// path to give LSAN_OPTIONS as suppressions=PATH. Only what a library keeps for the process's
// life, named by its library (D-Bus, fontconfig, Qt's platform plugins and their client
// libraries); any other leak still fails the run. Empty when the file cannot be written.
QString WriteLeakSuppressions(const QString& folder);

}  // namespace e2e

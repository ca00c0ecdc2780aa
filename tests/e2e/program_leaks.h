#pragma once

#include <QString>

namespace e2e {

// LeakSanitizer's suppressions for the program started by a test, written into `folder`; the
// path to give LSAN_OPTIONS as suppressions=PATH: the same libraries the test programs suppress.
// Empty when the file cannot be written.
QString WriteLeakSuppressions(const QString& folder);

}  // namespace e2e

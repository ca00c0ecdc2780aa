#pragma once

#include <QProcessEnvironment>
#include <QStringList>
#include <optional>

namespace bench {

// Milliseconds from starting `command` (program and arguments) to the first top-level window
// of its process being mapped and viewable on the X display in $DISPLAY; the process is ended
// then. Nothing when there is no X display or no window came within ten seconds.
std::optional<double> LaunchToWindowMs(const QStringList& command,
                                       const QProcessEnvironment& environment);

}  // namespace bench

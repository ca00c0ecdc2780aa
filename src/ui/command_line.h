#pragma once

#include <optional>
#include <ostream>

namespace ui {

// The options of `talvora` that print something and end: --help, --version and --list-ports.
// Returns the exit status when one of them was given; nothing when the windows are to start
// (other arguments are Qt's).
std::optional<int> RunCommandLine(int argc, char** argv, std::ostream& out);

}  // namespace ui

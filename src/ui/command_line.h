#pragma once

#include <QString>
#include <optional>
#include <ostream>

namespace ui {

// What the command line of `talvora` asks for. --help, --version and --list-ports print and
// end the program (with `exitStatus`); --log FILE (or TALVORA_LOG) writes the traffic log.
// Options it does not know are Qt's own (-platform, -style, ...) and are left to Qt.
struct CommandLine {
  std::optional<int> exitStatus;
  QString logFile;
};

// Reads the arguments before any window exists, so that the printing options work without a
// display.
CommandLine ReadCommandLine(int argc, char** argv, std::ostream& out);

}  // namespace ui

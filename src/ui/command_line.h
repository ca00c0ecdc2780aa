#pragma once

#include <QString>
#include <optional>
#include <ostream>

namespace ui {

// What the command line of `talvora` asks for. --help, --version and --list-ports print and
// end the program (with `exitStatus`); --log FILE (or TALVORA_LOG) writes the traffic log.
// Qt's own options (-platform, -style, ...) are left to Qt; any other option or argument is
// refused with the usage on `err` and status 2, as is an empty --log.
struct CommandLine {
  std::optional<int> exitStatus;
  QString logFile;
};

// Reads the arguments before any window exists, so that the printing options work without a
// display.
CommandLine ReadCommandLine(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace ui

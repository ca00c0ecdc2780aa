#include "ui/command_line.h"

#include <string>

#include "ports/port_map.h"
#include "settings/settings_file.h"

namespace ui {
namespace {

void PrintUsage(std::ostream& out) {
  out << "usage: talvora [--list-ports | --version | --help]\n"
         "\n"
         "Configures and tests a serial radio transceiver module on COM1 to COM4.\n"
         "\n"
         "  --list-ports  each COM name with its device, what that is and where the mapping\n"
         "                came from, then the other serial devices detected\n"
         "  --version     the program's version\n"
         "  --help        this text\n"
         "\n"
         "A COM name maps to the device in TALVORA_COMn when it is set, else to COMn in the\n"
         "[ports] section of "
      << settings::SettingsFilePath().toStdString()
      << ",\n"
         "else to the devices detected, in a stable order, and then /dev/ttyS0 to /dev/ttyS3.\n"
         "A right-click on a port in the start-up window chooses its device.\n";
}

}  // namespace

std::optional<int> RunCommandLine(int argc, char** argv, std::ostream& out) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      PrintUsage(out);
      return 0;
    }
    if (arg == "--version") {
      out << "talvora " << TALVORA_VERSION << "\n";
      return 0;
    }
    if (arg == "--list-ports") {
      for (const std::string& line : ports::FormatListing(ports::ListPorts()))
        out << line << "\n";
      return 0;
    }
  }
  return std::nullopt;
}

}  // namespace ui

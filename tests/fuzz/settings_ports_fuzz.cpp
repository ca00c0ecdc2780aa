// The settings file as whatever bytes: reading it ends without a fault; a file with problems
// gives no device, and no problem carries a control byte to the terminal; a file without
// problems maps only COM1 to COM4, each to a device without blanks around it.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/control_bytes.h"
#include "ports/port_settings.h"
#include "settings/settings_file.h"

namespace {

// A settings folder of the target's own for the life of the process.
const QTemporaryDir& Folder() {
  static const QTemporaryDir folder = [] {
    QTemporaryDir made;
    qputenv("XDG_CONFIG_HOME", made.path().toLocal8Bit());
    QDir().mkpath(made.path() + "/talvora");
    return made;
  }();
  return folder;
}

}  // namespace

int talvora_fuzz_settings_ports(const std::uint8_t* data, std::size_t size) {
  if (!Folder().isValid()) std::abort();
  {
    QFile file(settings::SettingsFilePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    if (file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
        static_cast<qint64>(size)) {
      std::abort();
    }
  }
  const ports::PortSettings read = ports::ReadPortSettings();
  if (!read.problems.empty()) {
    if (!read.devices.empty()) std::abort();
    for (const std::string& problem : read.problems) {
      if (fuzz::HasControlByte(problem)) std::abort();
    }
    return 0;
  }
  for (const auto& [name, device] : read.devices) {
    if (name != "COM1" && name != "COM2" && name != "COM3" && name != "COM4") std::abort();
    if (device.empty() || device.front() == ' ' || device.back() == ' ') std::abort();
    if (fuzz::HasControlByte(device)) std::abort();
  }
  return 0;
}

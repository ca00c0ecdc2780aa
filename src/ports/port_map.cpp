#include "ports/port_map.h"

#include <QFileInfo>
#include <algorithm>
#include <cstdlib>
#include <set>

#include "ports/console_identity.h"
#include "ports/port_names.h"
#include "ports/port_settings.h"
#include "settings/settings_file.h"

namespace ports {
namespace {

constexpr const char* kSimulated = "sim";

std::string Canonical(const std::string& device) {
  const QString real = QFileInfo(QString::fromStdString(device)).canonicalFilePath();
  return real.isEmpty() ? device : real.toStdString();
}

PortSettings CurrentSettings() {
  PortSettings settings = ReadPortSettings();
  ReportSettingsProblems(settings);
  return settings;
}

// TALVORA_COMn, then [ports] COMn.
std::optional<PortMapping> ExplicitMapping(int number, const PortSettings& settings) {
  PortMapping mapping;
  mapping.name = ComName(number);
  const std::string variable = ComVariable(number);
  // Blanks around the value are dropped, as in the settings file.
  const QByteArray value = qgetenv(variable.c_str()).trimmed();
  if (!value.isEmpty()) {
    mapping.device = value.toStdString();
    mapping.source = Source::Environment;
    mapping.origin = "environment (" + variable + ")";
    return mapping;
  }
  if (const auto it = settings.devices.find(mapping.name); it != settings.devices.end()) {
    mapping.device = it->second;
    mapping.source = Source::Settings;
    mapping.origin = "settings (" + settings::SettingsFilePath().toStdString() + ")";
    return mapping;
  }
  return std::nullopt;
}

class Machine {
 public:
  Machine() : detected_(StableOrder(Detector().Detect())) {}

  const std::vector<DetectedPort>& Detected() const { return detected_; }

  const DetectedPort* Find(const std::string& device) const {
    const std::string real = Canonical(device);
    const auto it = std::find_if(detected_.begin(), detected_.end(), [&](const DetectedPort& p) {
      return p.path == device || p.node == real;
    });
    return it == detected_.end() ? nullptr : &*it;
  }

  std::string Describe(const std::string& device) const {
    if (IsSimulated(device)) return "simulated radio system";
    if (const DetectedPort* port = Find(device)) return port->description;
    if (IsConsolePath(device)) return "the system console, not available as a radio port";
    if (!QFileInfo::exists(QString::fromStdString(device))) return "not present";
    return {};
  }

 private:
  std::vector<DetectedPort> detected_;
};

std::vector<PortMapping> MapAll(const Machine& machine) {
  const PortSettings settings = CurrentSettings();
  std::vector<std::optional<PortMapping>> explicitOnes;
  std::set<std::string> taken;
  for (int number = 1; number <= kComCount; ++number) {
    explicitOnes.push_back(ExplicitMapping(number, settings));
    if (explicitOnes.back()) taken.insert(Canonical(explicitOnes.back()->device));
  }
  std::vector<DetectedPort> free;
  for (const DetectedPort& port : machine.Detected()) {
    if (taken.count(port.node) == 0) free.push_back(port);
  }

  std::vector<PortMapping> mappings;
  auto next = free.begin();
  for (int number = 1; number <= kComCount; ++number) {
    PortMapping mapping;
    if (const auto& given = explicitOnes[static_cast<std::size_t>(number - 1)]) {
      mapping = *given;
    } else if (next != free.end()) {
      mapping.name = ComName(number);
      mapping.device = next->path;
      mapping.source = Source::Automatic;
      mapping.origin = "automatic";
      ++next;
    } else {
      mapping.name = ComName(number);
      mapping.device = "/dev/ttyS" + std::to_string(number - 1);
      mapping.source = Source::Automatic;
      mapping.origin = "automatic (no device detected for it)";
    }
    mapping.description = machine.Describe(mapping.device);
    mappings.push_back(mapping);
  }
  return mappings;
}

}  // namespace

bool IsSimulated(const std::string& device) {
  return device == kSimulated || device.rfind(std::string(kSimulated) + ":", 0) == 0;
}

std::optional<PortMapping> MapPort(const std::string& name, Detail detail) {
  const int number = ComNumber(name);
  if (number == 0) return std::nullopt;
  if (detail == Detail::DeviceOnly) {
    if (auto given = ExplicitMapping(number, CurrentSettings())) return given;
  }
  return MapAll(Machine())[static_cast<std::size_t>(number - 1)];
}

PortListing ListPorts() {
  const Machine machine;
  PortListing listing;
  listing.ports = MapAll(machine);
  for (const DetectedPort& port : machine.Detected()) {
    const bool mapped =
        std::any_of(listing.ports.begin(), listing.ports.end(), [&](const PortMapping& m) {
          return m.device == port.path || Canonical(m.device) == port.node;
        });
    if (!mapped) listing.others.push_back(port);
  }
  return listing;
}

std::vector<DetectedPort> DetectedPorts() {
  return StableOrder(Detector().Detect());
}

std::vector<std::string> FormatListing(const PortListing& listing) {
  std::size_t width = 0;
  for (const PortMapping& port : listing.ports)
    width = std::max(width, port.device.size());
  std::vector<std::string> lines;
  for (const PortMapping& port : listing.ports) {
    std::string line =
        port.name + "  " + port.device + std::string(width - port.device.size(), ' ');
    line += "  " + (port.description.empty() ? std::string("-") : port.description);
    line += "  [" + port.origin + "]";
    lines.push_back(line);
  }
  if (listing.others.empty()) {
    lines.emplace_back("other detected devices: none");
  } else {
    lines.emplace_back("other detected devices:");
    for (const DetectedPort& port : listing.others)
      lines.push_back("  " + port.path + "  " + port.description);
  }
  return lines;
}

}  // namespace ports

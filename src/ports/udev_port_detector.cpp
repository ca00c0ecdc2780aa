#include "ports/udev_port_detector.h"

#include <dirent.h>
#include <libudev.h>
#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <memory>
#include <sstream>

#include "ports/console_identity.h"

namespace ports {
namespace {

constexpr const char* kByIdFolder = "/dev/serial/by-id";
constexpr const char* kVirtualDevices = "/devices/virtual/";
constexpr const char* kTtyClass = "/sys/class/tty";

struct UdevDeleter {
  void operator()(udev* u) const { udev_unref(u); }
  void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
  void operator()(udev_device* d) const { udev_device_unref(d); }
};
template <typename T>
using UdevPtr = std::unique_ptr<T, UdevDeleter>;

std::string Text(const char* value) {
  return value == nullptr ? std::string() : std::string(value);
}

std::string Attribute(udev_device* device, const char* name) {
  std::string value = Text(udev_device_get_sysattr_value(device, name));
  while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back())) != 0) {
    value.pop_back();
  }
  return value;
}

// The UART types of the kernel's serial core that operators meet on PCs.
std::string UartName(const std::string& type) {
  static constexpr std::array<const char*, 13> kNames = {
      "",        "8250",  "16450",    "16550",  "16550A", "Cirrus", "16650",
      "16650V2", "16750", "Startech", "16C950", "16654",  "16850"};
  char* end = nullptr;
  const long number = std::strtol(type.c_str(), &end, 10);
  if (end == type.c_str() || number <= 0) return {};
  if (number < static_cast<long>(kNames.size())) return kNames[static_cast<std::size_t>(number)];
  return "type " + type;
}

// "FTDI FT232R USB UART, serial A50285BI (0403:6001)".
std::string UsbDescription(udev_device* usb) {
  std::string text = Attribute(usb, "manufacturer");
  const std::string product = Attribute(usb, "product");
  if (!product.empty()) text += (text.empty() ? "" : " ") + product;
  if (text.empty()) text = "USB serial adapter";
  const std::string serial = Attribute(usb, "serial");
  if (!serial.empty()) text += ", serial " + serial;
  const std::string vendorId = Attribute(usb, "idVendor");
  const std::string productId = Attribute(usb, "idProduct");
  if (!vendorId.empty() && !productId.empty()) text += " (" + vendorId + ":" + productId + ")";
  return text;
}

// The by-id link udev made for the node: from udev's own record, or, where udev keeps none
// (a container), from the links in /dev/serial/by-id.
std::string StableName(udev_device* device, const std::string& node) {
  for (udev_list_entry* link = udev_device_get_devlinks_list_entry(device); link != nullptr;
       link = udev_list_entry_get_next(link)) {
    std::string name = Text(udev_list_entry_get_name(link));
    if (name.rfind(std::string(kByIdFolder) + "/", 0) == 0) return name;
  }
  const QDir byId(QString::fromLatin1(kByIdFolder));
  const QString target = QString::fromStdString(node);
  for (const QFileInfo& link : byId.entryInfoList(QDir::System | QDir::Files, QDir::Name)) {
    if (link.isSymLink() && link.canonicalFilePath() == target) {
      return link.absoluteFilePath().toStdString();
    }
  }
  return node;
}

// The kernel's ttys with a device behind them. Virtual terminals, pseudo-terminals and the
// console, most of the kernel's list and none of them a port, have none: a stat each rules
// them out, where asking udev about every tty costs tens of milliseconds.
std::vector<std::string> TtysWithADevice() {
  std::vector<std::string> names;
  DIR* folder = ::opendir(kTtyClass);
  if (folder == nullptr) return names;
  while (const dirent* entry = ::readdir(folder)) {
    if (entry->d_name[0] == '.') continue;
    const std::string device = std::string(entry->d_name) + "/device";
    struct stat info {};
    if (::fstatat(::dirfd(folder), device.c_str(), &info, 0) == 0) names.push_back(entry->d_name);
  }
  ::closedir(folder);
  return names;
}

}  // namespace

std::vector<DetectedPort> UdevPortDetector::Detect() {
  std::vector<DetectedPort> found;
  const UdevPtr<udev> context(udev_new());
  if (!context) return found;
  const std::vector<dev_t> consoles = ActiveConsoleDevices(
      [](const std::string& path, struct stat& info) { return ::stat(path.c_str(), &info); });

  for (const std::string& name : TtysWithADevice()) {
    const UdevPtr<udev_device> device(
        udev_device_new_from_subsystem_sysname(context.get(), "tty", name.c_str()));
    if (!device || udev_device_get_parent(device.get()) == nullptr) continue;
    const std::string syspath = Text(udev_device_get_syspath(device.get()));
    if (syspath.find(kVirtualDevices) != std::string::npos) continue;
    const std::string node = Text(udev_device_get_devnode(device.get()));
    // The console by its device numbers: its node may have any name.
    if (node.empty() || IsConsoleDevice(udev_device_get_devnum(device.get()), consoles)) continue;
    DetectedPort port{node, node, {}};
    if (udev_device* usb =
            udev_device_get_parent_with_subsystem_devtype(device.get(), "usb", "usb_device")) {
      port.description = UsbDescription(usb);
    } else {
      // A serial-core port: the kernel says 0 ("unknown") where no UART answered its probe.
      const std::string uart = UartName(Attribute(device.get(), "type"));
      if (uart.empty()) continue;
      port.description = "on-board serial port (" + uart + " UART)";
    }
    port.path = StableName(device.get(), node);
    found.push_back(port);
  }
  return found;
}

std::vector<std::string> UdevPortDetector::Consoles() {
  std::vector<std::string> nodes;
  const UdevPtr<udev> context(udev_new());
  if (!context) return nodes;
  const UdevPtr<udev_device> console(
      udev_device_new_from_subsystem_sysname(context.get(), "tty", "console"));
  if (!console) return nodes;
  std::istringstream active(Attribute(console.get(), "active"));
  for (std::string name; active >> name;)
    nodes.push_back("/dev/" + name);
  return nodes;
}

}  // namespace ports

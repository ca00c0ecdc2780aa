// The system console told by its device numbers.

#include "ports/console_identity.h"

#include <gtest/gtest.h>
#include <sys/sysmacros.h>

#include <map>
#include <memory>

#include "support/stub_detector.h"

namespace ports {
namespace {

TEST(ConsoleIdentity, TheFixedConsoleDevicesAndTheActiveOnes) {
  struct Row {
    unsigned major;
    unsigned minor;
    bool console;
  } rows[] = {{5, 0, true},  {5, 1, true},    {5, 2, true},    {5, 3, false},
              {4, 0, true},  {4, 1, true},    {4, 63, true},   {4, 64, false},
              {4, 66, true}, {188, 0, false}, {136, 0, false}, {166, 0, false}};
  const std::vector<dev_t> active = {makedev(4, 66)};  // console=ttyS2
  for (const Row& row : rows) {
    EXPECT_EQ(IsConsoleDevice(makedev(row.major, row.minor), active), row.console)
        << row.major << ":" << row.minor;
  }
}

// The nodes and links of a machine whose console is on ttyS0, as stat would see them.
TEST(ConsoleIdentity, APathIsJudgedByTheDeviceItLeadsTo) {
  const std::map<std::string, dev_t> nodes = {
      {"/dev/ttyS0", makedev(4, 64)},
      {"/dev/serial/by-path/pci-0000:00:16.3", makedev(4, 64)},  // a link to ttyS0
      {"/dev/ttyS1", makedev(4, 65)},
      {"/home/op/console", makedev(5, 1)},  // a link to /dev/console
      {"/dev/ttyUSB0", makedev(188, 0)},
  };
  const StatCall stat = [&](const std::string& path, struct stat& info) {
    const auto node = nodes.find(path);
    if (node == nodes.end()) {
      errno = ENOENT;
      return -1;
    }
    info = {};
    info.st_mode = S_IFCHR | 0660;
    info.st_rdev = node->second;
    return 0;
  };
  auto detector = std::make_shared<testsupport::StubDetector>();
  detector->consoles = {"/dev/ttyS0"};
  const auto previous = UseDetector(detector);
  EXPECT_TRUE(IsConsolePath("/dev/ttyS0", stat));
  EXPECT_TRUE(IsConsolePath("/dev/serial/by-path/pci-0000:00:16.3", stat));
  EXPECT_TRUE(IsConsolePath("/home/op/console", stat));
  EXPECT_FALSE(IsConsolePath("/dev/ttyS1", stat));
  EXPECT_FALSE(IsConsolePath("/dev/ttyUSB0", stat));
  EXPECT_FALSE(IsConsolePath("/dev/missing", stat));
  UseDetector(previous);
}

}  // namespace
}  // namespace ports

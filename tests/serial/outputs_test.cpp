// What the program writes beside its windows: the traffic log where it cannot be written (a
// FIFO nobody reads, a full disk, a folder), and messages that name a device once.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cstring>
#include <string>

#include "serial/comm_api.h"
#include "serial/logs/device_notices.h"
#include "serial/logs/traffic_log.h"
#include "serial/open_failure.h"
#include "sim/simulated_system.h"

namespace win32 {
namespace {

using testing::HasSubstr;

struct BadLog {
  const char* what;
  std::string (*make)(const QTemporaryDir& folder);
  const char* error;
};

class RefusedLog : public testing::TestWithParam<BadLog> {
 protected:
  QTemporaryDir folder_;
};

TEST_P(RefusedLog, IsAnErrorAtOnceWithItsReason) {
  const std::string path = GetParam().make(folder_);
  std::string error;
  // A blocking open would hang here, waiting for a reader that never comes.
  EXPECT_FALSE(traffic_log::Open(path, error));
  EXPECT_FALSE(traffic_log::Enabled());
  EXPECT_THAT(error, HasSubstr(GetParam().error));
}

INSTANTIATE_TEST_SUITE_P(
    Logs, RefusedLog,
    testing::Values(
        BadLog{"FifoWithoutReader",
               [](const QTemporaryDir& folder) {
                 const std::string path = folder.filePath("fifo").toStdString();
                 EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
                 return path;
               },
               "it is a FIFO that no program reads"},
        BadLog{"MissingFolder",
               [](const QTemporaryDir& folder) {
                 return folder.filePath("missing/traffic.log").toStdString();
               },
               "No such file or directory"},
        BadLog{"Folder", [](const QTemporaryDir& folder) { return folder.path().toStdString(); },
               "Is a directory"},
        BadLog{"NoName", [](const QTemporaryDir&) { return std::string(); }, "needs a FILE"}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(TrafficLogOnAFullDisk, SaysOnceThatLinesWereLostAndFromWhen) {
  std::string error;
  ASSERT_TRUE(traffic_log::Open("/dev/full", error)) << error;
  testing::internal::CaptureStderr();
  traffic_log::PortOpened("COM1", "/dev/ttyUSB0", 1'000'000);
  traffic_log::FrameOut("\x24\x03", true, 1'250'000);
  traffic_log::FrameIn("\x05", 1'300'000);
  traffic_log::PortClosed(2'000'000);
  traffic_log::Close();
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_THAT(said, HasSubstr("the traffic log /dev/full lost lines from "));
  EXPECT_THAT(said, HasSubstr("(0.000 s after the port opened)"));
  EXPECT_THAT(said, HasSubstr(std::strerror(ENOSPC)));
  EXPECT_EQ(said.find("lost lines"), said.rfind("lost lines")) << said;
}

TEST(DeviceMessages, NameTheDeviceOnce) {
  sim::RegisterSimulatedSystem();
  EXPECT_EQ(CreateFileA("sim:badoption", 0, 0, nullptr, 0, 0, 0), INVALID_HANDLE_VALUE);
  const std::string report = DescribeOpenFailure(LastOpenFailure());
  EXPECT_THAT(report, testing::StartsWith("sim:badoption (simulated radio system): "));
  EXPECT_EQ(report.find("sim:badoption"), report.rfind("sim:badoption (")) << report;

  struct Row {
    DeviceNotice notice;
    const char* said;
  } rows[] = {
      {{DeviceNotice::Kind::Lost, "/dev/ttyUSB0", "/dev/ttyUSB0", 9.1},
       "/dev/ttyUSB0: device lost at 9.100 s"},
      {{DeviceNotice::Kind::Back, "COM1", "/dev/ttyUSB0", 12.3},
       "COM1 (/dev/ttyUSB0): device back at 12.300 s"},
      {{DeviceNotice::Kind::Lost, "", "/dev/ttyACM0", 1.0}, "/dev/ttyACM0: device lost at 1.000 s"},
  };
  for (const Row& row : rows)
    EXPECT_EQ(FormatDeviceNotice(row.notice), row.said);
}

}  // namespace
}  // namespace win32

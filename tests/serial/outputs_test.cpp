// The traffic log's line layout, the log where it cannot be written, and messages that name a
// device once.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cstring>
#include <string>

#include "serial/comm_api.h"
#include "serial/logs/device_notices.h"
#include "serial/logs/log_line.h"
#include "serial/logs/traffic_log.h"
#include "serial/open_failure.h"
#include "sim/simulated_system.h"

namespace serial {
namespace {

using testing::HasSubstr;

// Seconds with every microsecond in twelve columns, the route in eighteen, as talvora-sim's log.
TEST(LogLine, KeepsItsColumnsWhateverTheTime) {
  const struct {
    platform::Micros since;
    const char* line;
  } rows[] = {
      {42, "    0.000042  program->line      RTS 24 00"},
      {1'000'500, "    1.000500  program->line      RTS 24 00"},
      {-2'000'001, "   -2.000001  program->line      RTS 24 00"},
      {86'400'123'456, "86400.123456  program->line      RTS 24 00"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(LogLine(row.since, "program->line", "RTS 24 00"), row.line) << row.since;
}

TEST(TrafficLog, AFileThatCannotTakeItIsRefusedAtOnceWithItsReason) {
  const QTemporaryDir folder;
  const std::string fifo = folder.filePath("fifo").toStdString();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::pair<std::string, const char*> rows[] = {
      // A blocking open would hang here, waiting for a reader that never comes.
      {fifo, "it is a FIFO that no program reads"},
      {folder.filePath("missing/traffic.log").toStdString(), "No such file or directory"},
      {folder.path().toStdString(), "Is a directory"},
      {"", "needs a FILE"}};
  for (const auto& [path, reason] : rows) {
    SCOPED_TRACE(path);
    std::string error;
    EXPECT_FALSE(traffic_log::Open(path, error));
    EXPECT_FALSE(traffic_log::Enabled());
    EXPECT_THAT(error, HasSubstr(reason));
  }
}

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
  EXPECT_EQ(win32::CreateFileA("sim:badoption", 0, 0, nullptr, 0, 0, 0),
            win32::INVALID_HANDLE_VALUE);
  const std::string report = win32::DescribeOpenFailure(win32::LastOpenFailure());
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
}  // namespace serial

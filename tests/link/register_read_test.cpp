// Reading a register of the module on the line from code, as the pages do it: send the read
// command, yield until the reply flag is set or 0.7 s have passed, take the reply.

#include <gtest/gtest.h>

#include <QProcess>
#include <cstdlib>
#include <optional>

#include "link/functions.h"
#include "platform/real_event_service.h"
#include "platform/virtual_event_service.h"
#include "sim/simulated_system.h"

namespace {

constexpr float kReplyLimit = 0.7f;

// The reply to a keyed read of register n, or nothing when none came within the limit.
std::optional<std::string> ReadRegister(int n) {
  const float start = platform::Timer();
  functions::SendDollarCommand(std::string(1, static_cast<char>(n)));
  do {
    platform::DoEvents();
    if (functions::ReplyArrived()) return functions::TakeReply();
  } while (platform::Timer() - start < kReplyLimit);
  return std::nullopt;
}

class RegisterReadTest : public testing::Test {
 protected:
  void SetUp() override { sim::RegisterSimulatedSystem(); }
  void TearDown() override {
    functions::CloseSerial();
    win32::SetSimulatedPeerFactory({});
  }
};

TEST_F(RegisterReadTest, ReadsTheSimulatedHostInVirtualTime) {
  auto& clock = platform::UseVirtualTime();
  setenv("TALVORA_COM1", "sim:host=7", 1);
  functions::OpenSerial("COM1");
  const platform::Micros start = clock.NowMicros();
  EXPECT_EQ(ReadRegister(0), std::string(1, '\x07'));
  EXPECT_EQ(ReadRegister(31), std::string(1, '\x12'));
  EXPECT_LT(clock.NowMicros() - start, 700'000) << "both replies came within one wait";
}

TEST_F(RegisterReadTest, ASilentHostEndsTheWaitAtItsLimit) {
  auto& clock = platform::UseVirtualTime();
  setenv("TALVORA_COM1", "sim:silent", 1);
  functions::OpenSerial("COM1");
  const platform::Micros start = clock.NowMicros();
  EXPECT_EQ(ReadRegister(0), std::nullopt);
  EXPECT_GE(clock.NowMicros() - start, 700'000);
}

#ifdef TALVORA_SIM_EXECUTABLE
TEST_F(RegisterReadTest, ReadsThroughTalvoraSimOnAPseudoTerminalInRealTime) {
  platform::InstallEventService(std::make_unique<platform::RealEventService>());
  QProcess server;
  server.start(TALVORA_SIM_EXECUTABLE, {"--quiet", "host=5"});
  ASSERT_TRUE(server.waitForStarted(5000));
  ASSERT_TRUE(server.waitForReadyRead(5000));
  const QString path = QString::fromLocal8Bit(server.readLine()).trimmed();
  ASSERT_TRUE(path.startsWith("/dev/pts/")) << path.toStdString();

  setenv("TALVORA_COM1", path.toLocal8Bit().constData(), 1);
  functions::OpenSerial("COM1");
  // A pseudo-terminal carries no RTS, so the server takes command frames as the host's.
  EXPECT_EQ(ReadRegister(0), std::string(1, '\x05'));
  EXPECT_EQ(ReadRegister(3), std::string(1, '\x00'));
  functions::CloseSerial();
  server.terminate();
  EXPECT_TRUE(server.waitForFinished(5000));
}
#endif

}  // namespace

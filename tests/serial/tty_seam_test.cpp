// The tty back end where only hardware could show it: a pseudo-terminal carries the bytes, a
// stand-in for the system calls plays the UART.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <deque>
#include <functional>
#include <map>

#include "ports/port_detector.h"
#include "pty_fixture.h"
#include "serial/comm_api.h"
#include "serial/logs/device_notices.h"
#include "serial/tty/tty_system.h"
#include "support/stub_detector.h"

namespace serial {
namespace {

using platform::Micros;

// A UART as the kernel keeps it: an open raises DTR and RTS unless the rate is 0, and so does
// a settings write that moves the rate away from 0.
class FakeUart final : public TtySystem {
 public:
  int Stat(const std::string& path, struct stat& info) override {
    if (const auto node = nodes.find(path); node != nodes.end()) {
      info = {};
      info.st_mode = S_IFCHR | 0620;
      info.st_rdev = node->second;
      return 0;
    }
    if (path == watched) ++stats;
    if (!present) return Fail(ENOENT);
    return TtySystem::Stat(path, info);
  }
  int Open(const std::string& path, int flags) override {
    ++opens;
    if (openError != 0) return Fail(openError);
    const int fd = TtySystem::Open(path, flags);
    if (fd >= 0 && speed != B0) dtr = rts = true;
    if (fd >= 0 && onOpen) onOpen(fd);
    return fd;
  }
  int Ioctl(int fd, unsigned long request, void* argument) override {
    if (request == TIOCMBIS || request == TIOCMBIC) {
      ++modemCalls;
      if (!failures.empty()) {
        const int err = failures.front();
        failures.pop_front();
        return Fail(err);
      }
      const int bits = *static_cast<int*>(argument);
      if ((bits & TIOCM_DTR) != 0) dtr = request == TIOCMBIS;
      if ((bits & TIOCM_RTS) != 0) rts = request == TIOCMBIS;
      return 0;
    }
    if (request == TIOCGICOUNT) {
      *static_cast<serial_icounter_struct*>(argument) = counters;
      return 0;
    }
    return TtySystem::Ioctl(fd, request, argument);
  }
  int GetSettings(int fd, termios& tio) override {
    const int result = TtySystem::GetSettings(fd, tio);
    cfsetospeed(&tio, speed);
    cfsetispeed(&tio, speed);
    return result;
  }
  int SetSettings(int fd, const termios& tio) override {
    const speed_t next = cfgetospeed(&tio);
    if (speed == B0 && next != B0) dtr = rts = true;
    speed = next;
    return TtySystem::SetSettings(fd, tio);
  }
  ssize_t Read(int fd, void* buffer, std::size_t count) override {
    if (readError != 0) return Fail(readError);
    return TtySystem::Read(fd, buffer, count);
  }
  ssize_t Write(int fd, const void* buffer, std::size_t count) override {
    if (writeError != 0) return Fail(writeError);
    return TtySystem::Write(fd, buffer, count);
  }
  int QueuedOutput(int fd, int& count) override {
    if (queuedOutput < 0) return TtySystem::QueuedOutput(fd, count);
    count = queuedOutput;
    return 0;
  }

  static int Fail(int err) {
    errno = err;
    return -1;
  }

  bool dtr = false;
  bool rts = false;
  speed_t speed = B9600;
  std::deque<int> failures;  // errnos for the next modem-line calls
  int modemCalls = 0;
  serial_icounter_struct counters{};
  int readError = 0;
  int writeError = 0;     // EAGAIN: the kernel's queue is full
  int queuedOutput = -1;  // bytes left in the UART's queue; -1: as the device says
  int openError = 0;
  std::function<void(int fd)> onOpen;  // runs right after the device is opened
  bool present = true;
  std::map<std::string, dev_t> nodes;  // device nodes only this stand-in has
  std::string watched;                 // the path whose stats are counted
  int stats = 0;
  int opens = 0;
};

DCB Record(DWORD baud, DWORD dtrControl, DWORD rtsControl) {
  DCB dcb = win32::PowerOnDcb();
  dcb.BaudRate = baud;
  dcb.Flags |=
      (dtrControl << dcb_flags::kDtrControlShift) | (rtsControl << dcb_flags::kRtsControlShift);
  return dcb;
}

class TtySeam : public PtyTest {
 protected:
  void SetUp() override {
    PtyTest::SetUp();
    uart_.watched = path_;
    setenv("TALVORA_COM1", path_.c_str(), 1);
    previous_ = UseTtySystem(&uart_);
    SetDeviceNoticeListener([this](const DeviceNotice& notice) { notices_.push_back(notice); });
  }
  void TearDown() override {
    device_.reset();
    SetDeviceNoticeListener({});
    UseTtySystem(previous_);
    PtyTest::TearDown();
  }
  void Open() { PtyTest::Open("COM1"); }
  // With no one on the device's side the terminal reports a hang-up, which is no byte.
  bool OtherSideGotSomething() {
    pollfd p{master_, POLLIN, 0};
    char byte = 0;
    return ::poll(&p, 1, 20) > 0 && ::read(master_, &byte, 1) == 1;
  }

  FakeUart uart_;
  TtySystem* previous_ = nullptr;
  std::vector<DeviceNotice> notices_;
};

TEST_F(TtySeam, DtrAndRtsAreDownAfterOpenWhateverRateTheDeviceWasLeftAtAndAfterClose) {
  for (const speed_t left : {B0, B9600}) {
    SCOPED_TRACE(left);
    uart_.speed = left;
    uart_.dtr = uart_.rts = false;
    Open();
    EXPECT_NE(uart_.speed, B0) << "the line needs a rate";
    EXPECT_FALSE(uart_.dtr);
    EXPECT_FALSE(uart_.rts) << "RTS keys the radio";
    ASSERT_TRUE(device_->SetDtr(true, 0));
    ASSERT_TRUE(device_->SetRts(true, 0));
    device_.reset();
    EXPECT_FALSE(uart_.dtr);
    EXPECT_FALSE(uart_.rts) << "a raised RTS keeps the radio keyed";
  }
}

TEST_F(TtySeam, ApplyingARecordSetsDtrAndRtsAsItsControlFieldsSay) {
  const struct Row {
    DWORD dtrControl, rtsControl;
    bool dtrBefore, rtsBefore, dtrAfter, rtsAfter;
  } rows[] = {
      {win32::DTR_CONTROL_ENABLE, win32::RTS_CONTROL_ENABLE, false, false, true, true},
      {win32::DTR_CONTROL_DISABLE, win32::RTS_CONTROL_DISABLE, true, true, false, false},
      {win32::DTR_CONTROL_HANDSHAKE, win32::RTS_CONTROL_HANDSHAKE, true, false, true, false},
      {win32::DTR_CONTROL_ENABLE, win32::RTS_CONTROL_TOGGLE, false, true, true, true},
  };
  const HANDLE port = win32::CreateFileA("COM1", 0, 0, nullptr, 0, 0, 0);
  ASSERT_NE(port, win32::INVALID_HANDLE_VALUE);
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.dtrControl) + "/" + std::to_string(row.rtsControl));
    uart_.dtr = row.dtrBefore;
    uart_.rts = row.rtsBefore;
    const DCB dcb = Record(9600, row.dtrControl, row.rtsControl);
    ASSERT_TRUE(win32::SetCommState(port, &dcb));
    EXPECT_EQ(uart_.dtr, row.dtrAfter);
    EXPECT_EQ(uart_.rts, row.rtsAfter);
  }
  win32::CloseHandle(port);
}

TEST_F(TtySeam, AFailedModemLineCallIsTriedAgainUnlessTheDeviceHasNoLines) {
  const struct Row {
    int err;
    bool triedAgain;
    bool lost;  // the device counts as gone
  } rows[] = {{ETIMEDOUT, true, false},
              {EPROTO, true, false},
              {ENOTTY, false, false},
              {EINVAL, false, false},
              {EIO, false, true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.err);
    notices_.clear();
    Open();
    uart_.failures = {row.err, row.err};
    testing::internal::CaptureStderr();
    EXPECT_FALSE(device_->SetRts(true, 0));
    EXPECT_FALSE(device_->SetRts(true, 0));
    const int calls = uart_.modemCalls;
    EXPECT_EQ(device_->SetRts(true, 0), row.triedAgain);
    EXPECT_EQ(uart_.rts, row.triedAgain);
    EXPECT_EQ(uart_.modemCalls, calls + (row.triedAgain ? 1 : 0));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.find("COM1 (" + path_ + "): RTS could not be set") != std::string::npos,
              row.triedAgain)
        << said;
    EXPECT_EQ(said.find("could not") == said.rfind("could not"), true) << "said once: " << said;
    EXPECT_EQ(notices_.size(), row.lost ? 1u : 0u);
    uart_.failures.clear();
    device_.reset();
  }
}

TEST_F(TtySeam, LineErrorsAreTheDeltasOfTheKernelCounters) {
  const std::pair<int serial_icounter_struct::*, DWORD> rows[] = {
      {&serial_icounter_struct::buf_overrun, CE_RXOVER},
      {&serial_icounter_struct::overrun, CE_OVERRUN},
      {&serial_icounter_struct::parity, CE_RXPARITY},
      {&serial_icounter_struct::frame, CE_FRAME},
      {&serial_icounter_struct::brk, CE_BREAK},
  };
  uart_.counters.frame = 40;  // counted before this program opened the port
  Open();
  EXPECT_EQ(device_->TakeLineErrors(), 0u);
  for (const auto& [counter, flag] : rows) {
    SCOPED_TRACE(flag);
    uart_.counters.*counter += 3;
    EXPECT_EQ(device_->TakeLineErrors(), flag);
    EXPECT_EQ(device_->TakeLineErrors(), 0u) << "a delta is reported once";
  }
  uart_.counters.rx += 100;  // bytes received are no error
  EXPECT_EQ(device_->TakeLineErrors(), 0u);
}

// An overrun counted by the opening the device took with it is still reported once.
TEST_F(TtySeam, LineErrorsOfAnOpeningThatWasLostAreStillTaken) {
  Open();
  device_->Input().SetCapacity(2);
  const Micros t0 = platform::Events().NowMicros();
  ASSERT_EQ(::write(master_, "ABCDE", 5), 5);
  Until([&] {
    device_->Advance(t0);
    return device_->Input().Size() == 2;
  });
  uart_.readError = EIO;
  uart_.present = false;
  device_->Advance(t0 + 70'000);   // lost
  device_->Advance(t0 + 140'000);  // the lost opening is let go
  ASSERT_EQ(notices_.size(), 1u);
  EXPECT_EQ(device_->TakeLineErrors(), static_cast<DWORD>(CE_RXOVER));
  EXPECT_EQ(device_->TakeLineErrors(), 0u);
}

TEST_F(TtySeam, ADeviceThatGoesAwayIsSaidAndReopenedByItsPathWithItsSettings) {
  Open();
  ASSERT_TRUE(device_->Apply(Record(19200, win32::DTR_CONTROL_ENABLE, win32::RTS_CONTROL_DISABLE)));
  const Micros t0 = platform::Events().NowMicros();

  // The adapter is pulled: its reads fail with EIO, its node is gone.
  uart_.readError = EIO;
  uart_.present = false;
  device_->Advance(t0);
  ASSERT_EQ(notices_.size(), 1u);
  EXPECT_EQ(FormatDeviceNotice(notices_[0]).rfind("COM1 (" + path_ + "): device lost at ", 0), 0u);
  EXPECT_FALSE(device_->Broken()) << "the handle must not notice";

  // Meanwhile writes go nowhere, and the path is looked at once a reopen interval.
  const std::uint8_t byte = 0x24;
  EXPECT_TRUE(device_->Transmit(&byte, 1, t0));
  EXPECT_TRUE(device_->TransmitDone(t0));
  EXPECT_FALSE(OtherSideGotSomething());
  const int statsBefore = uart_.stats;
  for (Micros t = t0 + 70'000; t < t0 + 570'000; t += 70'000)
    device_->Advance(t);
  EXPECT_EQ(uart_.stats - statsBefore, 1) << "at most one try in 500 ms";

  // It comes back at rate 0 with its lines up.
  uart_.readError = 0;
  uart_.present = true;
  uart_.speed = B0;
  device_->Advance(t0 + 1'200'000);
  ASSERT_EQ(notices_.size(), 2u);
  EXPECT_EQ(notices_[1].kind, DeviceNotice::Kind::Back);
  EXPECT_EQ(uart_.speed, B19200) << "the settings are applied again";
  EXPECT_FALSE(uart_.dtr);
  EXPECT_FALSE(uart_.rts);
  ASSERT_EQ(::write(master_, "Z", 1), 1);
  Until([this] { return device_->Input().Size() > 0; });
  EXPECT_EQ(device_->Input().Size(), 1u) << "bytes cross again";
}

// The kernel has taken the bytes, but the UART has not sent them all: RTS must stay up.
TEST_F(TtySeam, AWriteIsFinishedOnlyWhenTheUartsQueueIsEmpty) {
  Open();
  const std::uint8_t frame[] = {0x24, 0x03};
  ASSERT_TRUE(device_->Transmit(frame, sizeof frame, 0));
  const int rows[] = {2, 1, 0};
  for (const int queued : rows) {
    SCOPED_TRACE(queued);
    uart_.queuedOutput = queued;
    EXPECT_EQ(device_->TransmitDone(0), queued == 0);
  }
}

TEST_F(TtySeam, BytesQueuedBeforeTheDeviceWentAwayAreNeverSentAfterItComesBack) {
  Open();
  uart_.writeError = EAGAIN;  // the kernel's queue is full: the command waits in the device
  const std::uint8_t command[] = {0x23, 0x03, 0x05};
  ASSERT_TRUE(device_->Transmit(command, sizeof command, 0));
  EXPECT_FALSE(device_->TransmitDone(0));
  const Micros t0 = platform::Events().NowMicros();
  uart_.readError = EIO;
  device_->Advance(t0);
  ASSERT_EQ(notices_.size(), 1u);

  uart_.readError = 0;
  uart_.writeError = 0;
  device_->Advance(t0 + 1'200'000);
  ASSERT_EQ(notices_.size(), 2u) << "the device came back";
  for (int i = 0; i < 5; ++i)
    device_->Advance(t0 + 1'200'000 + i * 70'000);
  EXPECT_FALSE(OtherSideGotSomething()) << "a stale command reached the module";
  EXPECT_TRUE(device_->TransmitDone(t0 + 1'600'000));
}

TEST_F(TtySeam, InputWaitingBeforeTheOpenIsDiscarded) {
  uart_.onOpen = [this](int fd) {
    ASSERT_EQ(::write(master_, "old\n", 4), 4);
    // The pseudo-terminal hands the bytes to the device side a moment later.
    int waiting = 0;
    for (int i = 0; i < 2000 && waiting < 4; ++i) {
      ::usleep(1000);
      ASSERT_EQ(::ioctl(fd, FIONREAD, &waiting), 0);
    }
    ASSERT_EQ(waiting, 4);
  };
  Open();
  uart_.onOpen = {};
  ASSERT_EQ(::write(master_, "Z", 1), 1);
  Until([this] { return device_->Input().Size() > 0; });
  Until([] { return false; }, true, std::chrono::milliseconds(50));  // leftovers would show
  std::uint8_t first = 0;
  ASSERT_EQ(device_->Input().Size(), 1u) << "leftover bytes were kept";
  device_->Input().Take(&first, 1);
  EXPECT_EQ(first, 'Z');
}

// What an open that cannot complete says, in the operator's words with the device that was
// tried, and what a modem-line failure at open says.
TEST_F(TtySeam, OpensThatFailSayWhy) {
  char file[] = "/tmp/talvora-tty-test-XXXXXX";
  ASSERT_EQ(::close(::mkstemp(file)), 0);
  const struct Row {
    int openError;
    int modemError;  // of the first modem-line call
    DWORD error;     // 0: the port opens
    const char* reason;
    const char* said;       // on standard error
    std::string path = "";  // "": the pseudo-terminal
  } rows[] = {
      {EACCES, 0, win32::ERROR_ACCESS_DENIED, "permission denied", ""},
      {EIO, 0, win32::ERROR_FILE_NOT_FOUND, "no UART behind this port (I/O error)", ""},
      {0, EIO, win32::ERROR_FILE_NOT_FOUND, "no UART behind this port (I/O error)", ""},
      {0, ETIMEDOUT, 0, "",
       "DTR and RTS could not be set at 0.000 s: Connection timed out; trying again at every "
       "change"},
      {0, ENOTTY, 0, "", ""},
      {0, 0, win32::ERROR_FILE_NOT_FOUND, "no such device", "", "/dev/talvora-no-such-port"},
      {0, 0, win32::ERROR_FILE_NOT_FOUND, "not a serial device", "", file},
      {0, 0, win32::ERROR_FILE_NOT_FOUND, "not a serial device", "", "/dev/null"},
  };
  for (const Row& row : rows) {
    const std::string path = row.path.empty() ? path_ : row.path;
    SCOPED_TRACE(path + " " + std::to_string(row.openError) + "/" + std::to_string(row.modemError));
    uart_.openError = row.openError;
    uart_.failures.clear();
    if (row.modemError != 0) uart_.failures = {row.modemError};
    OpenFailure failure;
    testing::internal::CaptureStderr();
    auto device = OpenTtyDevice("COM1", path, failure);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(device == nullptr, row.error != 0);
    if (row.error != 0) {
      EXPECT_EQ(failure.error, row.error);
      EXPECT_EQ(failure.reason, row.reason);
      EXPECT_EQ(failure.device, path);
      EXPECT_FALSE(failure.fix.empty());
      if (row.openError == EACCES) {
        EXPECT_THAT(failure.fix, testing::HasSubstr(path_));
      }
    }
    if (*row.said == '\0') {
      EXPECT_EQ(said, "");
    } else {
      EXPECT_THAT(said, testing::HasSubstr("COM1 (" + path_ + "): " + row.said));
    }
  }
  uart_.openError = 0;
  ::unlink(file);
}

// The console by its device numbers, whatever name it is asked by (null: by another name than
// the one listed). None of these nodes exists: the stand-in says what each would be, and a node
// that is no console fails at the open.
TEST_F(TtySeam, ConsoleDevicesAreKnownByTheirNumbersNotTheirNames) {
  struct Row {
    const char* what;
    unsigned major;
    unsigned minor;
    bool console;
    const char* name = nullptr;
  } rows[] = {
      {"the console listed, by its own name", 4, 65, true, "/nonexistent/ttyS1"},
      {"/dev/tty, the controlling terminal", 5, 0, true},
      {"/dev/console", 5, 1, true},
      {"/dev/ptmx, the pseudo-terminal multiplexer", 5, 2, true},
      {"/dev/tty0, the current virtual console", 4, 0, true},
      {"a virtual console", 4, 7, true},
      {"the last virtual console", 4, 63, true},
      {"the serial port the kernel's console is on now", 4, 65, true},
      {"another on-board serial port", 4, 64, false},
      {"a USB serial adapter", 188, 0, false},
      {"a pseudo-terminal", 136, 3, false},
  };
  auto consoles = std::make_shared<testsupport::StubDetector>();
  consoles->consoles = {"/nonexistent/ttyS1"};
  uart_.nodes["/nonexistent/ttyS1"] = makedev(4, 65);
  const auto previous = ports::UseDetector(consoles);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const std::string name = row.name ? row.name : "/nonexistent/by-another-name";
    uart_.nodes[name] = makedev(row.major, row.minor);
    uart_.opens = 0;
    OpenFailure failure;
    EXPECT_EQ(OpenTtyDevice("COM1", name, failure), nullptr);
    EXPECT_EQ(failure.reason == "not available: it is the system console", row.console)
        << failure.reason;
    EXPECT_EQ(uart_.opens, row.console ? 0 : 1);
  }
  ports::UseDetector(previous);
}

}  // namespace
}  // namespace serial

// talvora-sim's server, run in-process, with a program on the terminal's other side that uses
// nothing but plain POSIX calls.

#include "pty_server.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "sim/frame_log.h"

namespace {

using Clock = std::chrono::steady_clock;

int OpenRaw(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
  if (fd < 0) return fd;
  termios raw{};
  ::tcgetattr(fd, &raw);
  ::cfmakeraw(&raw);
  ::tcsetattr(fd, TCSANOW, &raw);
  return fd;
}

// Reads until `count` bytes have come or `limit` has passed.
std::string ReadFor(int fd, std::size_t count, std::chrono::milliseconds limit) {
  std::string got;
  const auto end = Clock::now() + limit;
  while (got.size() < count && Clock::now() < end) {
    pollfd p{fd, POLLIN, 0};
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    if (::poll(&p, 1, static_cast<int>(left.count()) + 1) <= 0) continue;
    char buffer[64];
    const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, count - got.size()));
    if (n > 0) got.append(buffer, static_cast<std::size_t>(n));
  }
  return got;
}

class ServerThread {
 public:
  explicit ServerThread(const std::string& options) : server_(Parse(options)) {
    std::string error;
    opened_ = server_.Open(error);
    EXPECT_TRUE(opened_) << error;
    if (opened_) thread_ = std::thread([this] { served_ = server_.Run(error_); });
  }
  ~ServerThread() { Stop(); }
  void Stop() {
    server_.Stop();
    if (thread_.joinable()) thread_.join();
    EXPECT_TRUE(!opened_ || served_) << error_;
  }
  talvora_sim::PtyServer& Server() { return server_; }

 private:
  static sim::Options Parse(const std::string& text) {
    std::string error;
    auto options = sim::ParseOptions(text, error);
    EXPECT_TRUE(options) << error;
    return options.value_or(sim::Options{});
  }

  talvora_sim::PtyServer server_;
  std::thread thread_;
  bool opened_ = false;
  bool served_ = false;
  std::string error_;
};

TEST(SimPtyServer, AnswersAProgramOnThePseudoTerminalAtLineSpeedAcrossReopens) {
  ServerThread running("host=7,host-delay=2,remotes=3,radio=5");
  const std::string path = running.Server().Path();
  ASSERT_EQ(path.rfind("/dev/pts/", 0), 0u) << path;

  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    const int fd = OpenRaw(path);
    ASSERT_GE(fd, 0) << "open " << path;
    const auto sent = Clock::now();
    ASSERT_EQ(::write(fd, "$\0", 2), 2);
    const std::string answer = ReadFor(fd, 1, std::chrono::seconds(2));
    const auto took = Clock::now() - sent;
    ::close(fd);
    ASSERT_EQ(answer, "\x07") << "the host module answers with its address";
    // Two bytes in, the frame gap, the host's delay and one byte out, at 9600 baud.
    EXPECT_GE(took, std::chrono::microseconds(2 * 1042 + 3 * 1042 + 2000 + 1042));
  }
  // A block for a remote goes over the air and comes back.
  const int fd = OpenRaw(path);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::write(fd, "\x03hello", 6), 6);
  EXPECT_EQ(ReadFor(fd, 6, std::chrono::seconds(2)), "\x03hello");
  ::close(fd);
  running.Stop();

  std::vector<std::string> frames;
  for (const sim::FrameRecord& record : running.Server().Radio().Log().Records()) {
    frames.push_back(sim::RouteName(record) + " " + sim::ToHex(record.bytes));
  }
  const std::vector<std::string> expected{"program->host 24 00",
                                          "host->program 07",
                                          "program->host 24 00",
                                          "host->program 07",
                                          "program->host 03 68 65 6C 6C 6F",
                                          "host->air 03 68 65 6C 6C 6F",
                                          "air->remote 3 03 68 65 6C 6C 6F",
                                          "remote 3->air 03 68 65 6C 6C 6F",
                                          "host->program 03 68 65 6C 6C 6F"};
  EXPECT_EQ(frames, expected);
}

}  // namespace

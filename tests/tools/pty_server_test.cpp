// talvora-sim's server through a real pseudo-terminal that it makes: how much it takes from a
// writer faster than the line, and where a frame that is exactly a command goes.

#include "pty_server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "sim/options.h"
#include "terminal_client.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A server running on its own thread for the life of the object.
class RunningServer {
 public:
  explicit RunningServer(const std::string& options, bool allOverAir = false)
      : server_(*sim::ParseOptions(options, error_)) {
    server_.SendAllOverAir(allOverAir);
    if (!server_.Open(error_)) return;
    thread_ = std::thread([this] { served_ = server_.Run(runError_); });
  }
  ~RunningServer() { Stop(); }

  std::string Path() const { return server_.Path(); }
  // Stops it; the server may be inspected afterwards.
  const talvora_sim::PtyServer& Stop() {
    if (thread_.joinable()) {
      server_.Stop();
      thread_.join();
      EXPECT_TRUE(served_) << runError_;
    }
    return server_;
  }

 private:
  std::string error_;
  std::string runError_;
  talvora_sim::PtyServer server_;
  std::thread thread_;
  bool served_ = false;
};

TEST(PtyServer, TakesAboutASecondOfLineAheadFromAWriterThatNeverPauses) {
  RunningServer server("remotes=none");
  toolstest::TerminalClient program(server.Path());
  ASSERT_TRUE(program.IsOpen());

  const std::string chunk(4096, 'x');
  std::uint64_t written = 0;
  const auto start = Clock::now();
  while (Clock::now() - start < 1500ms) {
    const std::size_t put = program.Write(chunk);
    written += put;
    if (put == 0) std::this_thread::sleep_for(1ms);
  }
  const std::uint64_t taken = server.Stop().TakenFromProgram();
  const auto elapsed =
      std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();

  // The line carried one byte per byte time; the server holds a second of line besides.
  // (9600 baud, ten bit times a byte: 1042 us, 959 bytes a second).
  const auto carried = static_cast<std::uint64_t>(elapsed / 1042) + 1;
  EXPECT_LE(taken, 959 + carried);
  EXPECT_GE(taken, 959u);
  // The rest stayed in the terminal, which the writer found full.
  EXPECT_GT(written, taken);
}

// Where a pseudo-terminal hides RTS, a frame that is exactly a command goes to the host module;
// sent all over the air (--air), the remote answers it instead.
TEST(PtyServer, ALinkTestPacketReachesTheHostOrAllOverTheAirTheRemote) {
  for (const bool allOverAir : {false, true}) {
    RunningServer server("host=0,remotes=5,radio=5", allOverAir);
    toolstest::TerminalClient program(server.Path());
    ASSERT_EQ(program.Write(std::string_view("$\0", 2)), 2U);
    EXPECT_EQ(program.ReadByte(2000), allOverAir ? 5 : 0);
  }
}

}  // namespace

// Whatever a module sends: the bytes of the input arrive on the line, in bursts at the times
// the input gives, while the program reads registers, initializes the terminal, listens and
// programs registers. Nothing may fault, a value read is 0 to 255, and a block received is
// never longer than what arrived.
//
// Input: a first byte choosing the operation, then bursts of [gap in ms][length][bytes].

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "eeprom_job.h"
#include "headless_pages.h"
#include "link/functions.h"
#include "platform/virtual_event_service.h"
#include "serial/sim_line/line_peer.h"
#include "serial/sim_line/simulated_line.h"
#include "terminal_job.h"

namespace {

struct Burst {
  platform::Micros at;
  std::string bytes;
};

// Sends the bursts at their times from the moment the port opens, whatever the program does.
class Module final : public serial::LinePeer {
 public:
  explicit Module(std::vector<Burst> bursts) : bursts_(std::move(bursts)) {}
  void OnOpened(platform::Micros at, serial::PeerSink& sink) override {
    for (const Burst& burst : bursts_)
      sink.SendToProgram(burst.bytes, at + burst.at);
  }
  void OnByteFromProgram(std::uint8_t, platform::Micros, serial::RtsLevel,
                         serial::PeerSink&) override {}

 private:
  std::vector<Burst> bursts_;
};

std::vector<Burst> Bursts(const std::uint8_t* data, std::size_t size, std::size_t& total) {
  std::vector<Burst> bursts;
  platform::Micros at = 0;
  std::size_t i = 0;
  total = 0;
  while (i + 2 <= size) {
    at += static_cast<platform::Micros>(data[i]) * 1000;
    const std::size_t length = std::min<std::size_t>(data[i + 1], size - i - 2);
    bursts.push_back({at, std::string(reinterpret_cast<const char*>(data + i + 2), length)});
    total += length;
    i += 2 + length;
  }
  return bursts;
}

}  // namespace

int talvora_fuzz_module_bytes(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int operation = data[0] % 4;
  std::size_t total = 0;
  auto bursts = Bursts(data + 1, size - 1, total);
  platform::UseVirtualTime();
  serial::SetSimulatedPeerFactory(
      [&bursts](const std::string&, std::string&) { return std::make_shared<Module>(bursts); });
  functions::OpenSerial("sim");
  if (!functions::PortOpen()) std::abort();
  {
    cli::HeadlessPages pages;
    switch (operation) {
      case 0: {
        const cli::ReadResult result = cli::ReadRegisters(pages, {0, 1, 2, 3, 31}, false);
        for (const cli::RegisterReading& reading : result.registers) {
          if (reading.value && (*reading.value < 0 || *reading.value > 255)) std::abort();
        }
        break;
      }
      case 1:
        cli::Initialize(pages);
        break;
      case 2: {
        cli::Initialize(pages);
        std::size_t received = 0;
        for (const cli::ReceivedBlock& block : cli::Listen(pages, 2.0))
          received += block.bytes.size();
        if (received > total) std::abort();
        break;
      }
      default:
        cli::WriteRegisters(pages, {{0, "5"}, {3, "255"}}, false);
        break;
    }
  }
  functions::CloseSerial();
  serial::SetSimulatedPeerFactory({});
  return 0;
}

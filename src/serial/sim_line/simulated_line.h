#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "serial/comm_device.h"
#include "serial/open_failure.h"
#include "serial/sim_line/line_peer.h"
#include "serial/win32_face.h"

namespace serial {

// One byte that crossed a simulated line: when it started on the line, which way it went, and
// the level of RTS at that moment (for bytes the program wrote).
struct LineByte {
  enum class Direction { FromProgram, ToProgram };
  platform::Micros at;
  std::uint8_t value;
  Direction direction;
  bool rts;
};

struct RtsChange {
  platform::Micros at;
  bool raised;
};

// An in-process serial line with a peer on the other end. Bytes cross it at the line's rate
// (ten bit times per byte at the applied baud rate); the line keeps a transcript of every byte
// and a log of RTS changes, and lets a test inject line errors.
class SimulatedLine final : public CommDevice, public PeerSink {
 public:
  explicit SimulatedLine(std::shared_ptr<LinePeer> peer);

  void Advance(platform::Micros now) override;
  ReceiveQueue& Input() override { return input_; }
  bool Transmit(const std::uint8_t* data, std::size_t count, platform::Micros now) override;
  bool TransmitDone(platform::Micros now) override;
  bool SetRts(bool raised, platform::Micros now) override;
  bool SetDtr(bool raised, platform::Micros now) override;
  bool Apply(const DCB& dcb) override;
  bool ReadBack(DCB& dcb) override;
  DWORD TakeLineErrors() override;
  bool Broken() const override { return broken_; }

  void SetPeer(std::shared_ptr<LinePeer> peer) { peer_ = std::move(peer); }
  LinePeer* Peer() const { return peer_.get(); }
  void SendToProgram(std::string_view bytes, platform::Micros at) override;
  void InjectLineError(std::uint32_t ceFlags, platform::Micros at) override;
  // The line stops working, as when a device is unplugged.
  void Break() { broken_ = true; }

  // Every byte that has crossed the line by now, both ways, in time order.
  std::vector<LineByte> Transcript();
  const std::vector<RtsChange>& RtsLog() const { return rtsLog_; }
  bool Rts() const { return rts_; }
  bool Dtr() const { return dtr_; }
  platform::Micros ByteDuration() const { return byteDuration_; }
  const DCB& Settings() const { return settings_; }

 private:
  struct Outgoing {
    std::uint8_t value;
    platform::Micros start;
  };
  struct ScheduledError {
    DWORD flags;
    platform::Micros at;
  };

  bool RtsAt(platform::Micros at) const;

  std::shared_ptr<LinePeer> peer_;
  DCB settings_{};
  platform::Micros byteDuration_ = 1042;
  ReceiveQueue input_;
  std::vector<Outgoing> outgoing_;  // written, not yet across the line
  std::size_t outgoingDone_ = 0;
  platform::Micros transmitFreeAt_ = 0;
  platform::Micros receiveFreeAt_ = 0;
  std::vector<ScheduledError> errors_;
  DWORD lineErrors_ = 0;
  bool rts_ = false;
  bool dtr_ = false;
  bool broken_ = false;
  std::vector<RtsChange> rtsLog_;
  std::vector<LineByte> transcript_;
};

// Makes the peer of a simulated system from the options after "sim:"; null with `error` set
// when the options are wrong. The simulated radio system installs one at start.
using SimulatedPeerFactory =
    std::function<std::shared_ptr<LinePeer>(const std::string& options, std::string& error)>;
void SetSimulatedPeerFactory(SimulatedPeerFactory factory);

std::unique_ptr<CommDevice> OpenSimulatedLine(const std::string& options, OpenFailure& failure);

// The simulated line behind an open comm handle, or null.
SimulatedLine* SimulatedLineOf(HANDLE handle);

}  // namespace serial

#pragma once

#include <functional>
#include <memory>
#include <string>

#include "serial/sim_line/line_peer.h"

namespace testsupport {

// A peer for tests: gathers the program's bytes into frames (a frame ends when the line has
// been idle for two byte times) and hands each to a script, which may answer.
class ScriptedPeer : public serial::LinePeer {
 public:
  struct Received {
    std::string bytes;
    platform::Micros end;  // when the last byte had crossed
  };
  using Script = std::function<void(const Received& frame, serial::PeerSink& sink)>;

  explicit ScriptedPeer(Script script = {}) : script_(std::move(script)) {}

  void OnByteFromProgram(std::uint8_t byte, platform::Micros at, serial::RtsLevel rts,
                         serial::PeerSink& sink) override;
  void AdvanceTo(platform::Micros now, serial::PeerSink& sink) override;

 private:
  static constexpr platform::Micros kIdleGap = 2 * 1042;
  Script script_;
  Received current_{};
  bool collecting_ = false;
};

// Makes "sim" devices use a fresh scripted peer.
void UseScriptedPeers(ScriptedPeer::Script script = {});

// A script that answers every frame with `reply` after `delay`.
ScriptedPeer::Script AnswerWith(std::string reply, platform::Micros delay = 2000);

}  // namespace testsupport

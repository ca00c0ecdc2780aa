#include "support/scripted_peer.h"

#include "serial/sim_line/simulated_line.h"

namespace testsupport {

void ScriptedPeer::OnByteFromProgram(std::uint8_t byte, platform::Micros at,
                                     serial::RtsLevel /*rts*/, serial::PeerSink& sink) {
  AdvanceTo(at, sink);
  if (!collecting_) {
    current_ = Received{{}, at};
    collecting_ = true;
  }
  current_.bytes.push_back(static_cast<char>(byte));
  current_.end = at;
}

void ScriptedPeer::AdvanceTo(platform::Micros now, serial::PeerSink& sink) {
  if (!collecting_ || now < current_.end + kIdleGap) return;
  collecting_ = false;
  if (script_) script_(current_, sink);
}

void UseScriptedPeers(ScriptedPeer::Script script) {
  serial::SetSimulatedPeerFactory(
      [script](const std::string&, std::string&) -> std::shared_ptr<serial::LinePeer> {
        return std::make_shared<ScriptedPeer>(script);
      });
}

ScriptedPeer::Script AnswerWith(std::string reply, platform::Micros delay) {
  return [reply, delay](const ScriptedPeer::Received& frame, serial::PeerSink& sink) {
    sink.SendToProgram(reply, frame.end + delay);
  };
}

}  // namespace testsupport

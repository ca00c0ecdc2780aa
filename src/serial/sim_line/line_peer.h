#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/event_service.h"
#include "serial/win32_face.h"

namespace serial {

// The level of RTS while a byte was sent; Unknown where the device has no modem lines.
enum class RtsLevel { Low, Raised, Unknown };

// What a peer on the far end of a line can do to the program's side.
class PeerSink {
 public:
  // Bytes that start crossing the line towards the program at `at` (or when the line is free).
  virtual void SendToProgram(std::string_view bytes, platform::Micros at) = 0;
  // A line error (CE_ flags) that the program's device detects at `at`.
  virtual void InjectLineError(std::uint32_t ceFlags, platform::Micros at) = 0;

 protected:
  ~PeerSink() = default;
};

// Whatever sits on the other end of a simulated line: the simulated radio system, or a test's
// script. It is driven lazily: it hears each byte when the byte has crossed the line, and is
// told the time whenever the program looks at the line, so every reaction can be computed for
// the moment it really happens.
class LinePeer {
 public:
  virtual ~LinePeer() = default;
  virtual void OnOpened(platform::Micros at, PeerSink& sink) {
    (void)at;
    (void)sink;
  }
  virtual void OnByteFromProgram(std::uint8_t byte, platform::Micros at, RtsLevel rts,
                                 PeerSink& sink) = 0;
  // Time has reached `now`: finish what was due by then.
  virtual void AdvanceTo(platform::Micros now, PeerSink& sink) {
    (void)now;
    (void)sink;
  }
  // The next moment at which the peer has something to do by itself, if any.
  virtual std::optional<platform::Micros> NextDeadline() const { return std::nullopt; }
};

}  // namespace serial

#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "close_watch.h"
#include "line_pacer.h"
#include "pseudo_terminal.h"
#include "serial/sim_line/line_peer.h"
#include "sim/options.h"
#include "sim/radio_system.h"

namespace talvora_sim {

// The simulated radio system behind a pseudo-terminal, for any serial program. Bytes cross
// the terminal at once, so the server paces them at the line's rate both ways, as a real line
// would, and takes no more from the program than about a second of line ahead: a faster writer
// finds the terminal full and waits. RTS cannot be seen through a pseudo-terminal, nor line
// errors sent through one. The server sleeps in poll() until the next byte is due or the radio
// system has something to do; an idle server takes no CPU.
class PtyServer final : private serial::PeerSink {
 public:
  explicit PtyServer(const sim::Options& options);
  PtyServer(const PtyServer&) = delete;
  PtyServer& operator=(const PtyServer&) = delete;
  ~PtyServer();

  // Creates the terminal; false with `error` set when it cannot.
  bool Open(std::string& error);
  // Also makes `link` a symbolic link to the terminal; call after Open.
  bool AddLink(const std::string& link, std::string& error);
  // The terminal's path, once open.
  std::string Path() const;
  // Writes every frame to `out` as it happens (null: keep the log in memory only).
  void EchoLogTo(std::ostream* out) { radio_.Log().EchoTo(out); }
  // Sends every frame over the air, as if RTS were always low: a frame that is exactly a
  // command then reaches the remote modules instead of the host module.
  void SendAllOverAir(bool on) { rts_ = on ? serial::RtsLevel::Low : serial::RtsLevel::Unknown; }

  // Serves until Stop(); false with `error` set when the terminal fails.
  bool Run(std::string& error);
  // Ends Run soon; safe from another thread and from a signal handler.
  void Stop();
  // Takes the module away and puts a fresh one in, as the option swap does; safe from a signal
  // handler.
  void RequestSwap();

  // Read only after Run has returned, or before it starts.
  const sim::RadioSystem& Radio() const { return radio_; }
  // Bytes read from the terminal so far.
  std::uint64_t TakenFromProgram() const { return taken_; }

 private:
  void SendToProgram(std::string_view bytes, platform::Micros at) override;
  void InjectLineError(std::uint32_t ceFlags, platform::Micros at) override;

  sim::Micros Now() const;
  void Serve(sim::Micros now);
  int TimeoutMs() const;
  bool ReadFromProgram(std::string& error);
  void WriteToProgram(sim::Micros now);

  sim::RadioSystem radio_;
  std::unique_ptr<PseudoTerminal> terminal_;
  std::unique_ptr<CloseWatch> closeWatch_;
  LinePacer toRadio_{sim::kBytesPerSecond};
  LinePacer toProgram_;
  serial::RtsLevel rts_ = serial::RtsLevel::Unknown;
  std::uint64_t taken_ = 0;
  std::chrono::steady_clock::time_point start_;
  int wake_[2] = {-1, -1};
  std::atomic<bool> stop_{false};
  std::atomic<bool> swap_{false};
};

}  // namespace talvora_sim

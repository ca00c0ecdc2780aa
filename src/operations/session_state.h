#pragma once

#include <cstdint>
#include <string>

namespace operations {

// Module kinds of the register table's module choice (SessionState::ModuleKind).
inline constexpr std::int16_t kNoModuleChosen = 0;
inline constexpr std::int16_t kHostModule = 1;
inline constexpr std::int16_t kRemoteModule = 2;

// The station's role on the terminal (SessionState::TerminalRole).
inline constexpr std::int16_t kSlaveRole = 0;
inline constexpr std::int16_t kMasterRole = 1;

// The main window's own variables, shared by the logic of its pages. They live as long as the
// window is loaded.
struct SessionState {
  // Clock reading (seconds since midnight) at which the running timed activity began: a reply
  // wait or the link test. Only one of them runs at a time.
  float StartTime = 0.0f;
  // The reply text most recently taken.
  std::string LastReply;
  std::int16_t ModuleKind = kNoModuleChosen;
  // Link test: whether the next tick sends a packet (true) or evaluates the answer (false).
  bool SendPhase = true;
  std::int16_t LinkQuality = 0;
  std::int32_t SentPackets = 0;
  std::int32_t ReceivedPackets = 0;
  // Terminal: master after an initialization that found address 0, slave otherwise.
  std::int16_t TerminalRole = kSlaveRole;
  std::string LocalModuleAddress;
};

}  // namespace operations

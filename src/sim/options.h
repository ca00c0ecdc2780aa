#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/sim_constants.h"

namespace sim {

// Line errors (CE_ flags) that the program's device detects at a moment after the line was
// opened, once or every `period`.
struct LineErrorPlan {
  std::uint32_t flags = 0;
  Micros at = 0;
  Micros period = 0;  // 0: once
};

// How the simulated radio system is put together.
struct Options {
  std::uint8_t host = 0;                 // the host module's address (0: master)
  std::vector<std::uint8_t> remotes{1};  // addresses of the remote modules on the air
  Micros hostDelay = 2000;               // the host module's answer to a command
  Micros radioDelay = 20000;             // one crossing of the air, relay included
  bool silentHost = false;               // the host module takes no keyed command
  double loss = 0.0;                     // chance that an air frame is lost
  std::uint32_t seed = 1;                // of the packet-loss draws
  std::vector<LineErrorPlan> lineErrors;
  Micros swapPeriod = 0;       // the host module is taken away and a fresh one put in; 0: never
  Micros swapGap = 5'000'000;  // how long the line has no module during a swap
  std::vector<std::uint8_t> stuck;  // registers of the host module that ignore writes
  bool trace = false;               // echo the frame log to stderr
};

// Parses "key=value,key=value,..." (the text after "sim:"); nothing with `error` set when an
// option is wrong.
std::optional<Options> ParseOptions(std::string_view text, std::string& error);
// Applies more options on top of `options` (talvora-sim takes them as several arguments).
bool ApplyOptions(std::string_view text, Options& options, std::string& error);

// One line per option: its syntax, default and meaning.
std::vector<std::string> DescribeOptions();

}  // namespace sim

// The options of the simulated radio system ("sim:" in a device name, talvora-sim's
// arguments): whatever the text, the parser ends without a fault; a refusal says why without
// echoing a control byte; what it accepts is a system that can be built.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/control_bytes.h"
#include "sim/options.h"

int talvora_fuzz_sim_options(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string error;
  const auto options = sim::ParseOptions(text, error);
  if (!options) {
    if (error.empty()) std::abort();
    // What the operator typed comes back in the message; a terminal must not obey it.
    if (fuzz::HasControlByte(error)) std::abort();
    return 0;
  }
  if (options->loss < 0.0 || options->loss > 1.0) std::abort();
  if (options->hostDelay < 0 || options->radioDelay < 0) std::abort();
  for (const sim::LineErrorPlan& plan : options->lineErrors) {
    if (plan.at < 0 || plan.period < 0) std::abort();
  }
  // Options applied twice give the same system as once.
  sim::Options again = *options;
  if (!sim::ApplyOptions(text, again, error)) std::abort();
  return 0;
}

#pragma once

// Reading and programming registers as the "EEPROM Reading" and "EEPROM Writing" buttons run
// them, on headless pages.

#include <QString>
#include <utility>
#include <vector>

#include "headless_pages.h"
#include "operations/register_runs.h"

namespace cli {

using RegisterReading = operations::RegisterReading;
using RegisterWrite = operations::RegisterProgramming;

struct ReadResult {
  std::vector<RegisterReading> registers;
  QString status;  // what the status line shows at the end
  bool ok = false;
  bool interrupted = false;
};

struct WriteResult {
  std::vector<RegisterWrite> registers;
  QString status;
  bool ok = false;
  bool interrupted = false;
};

// `remote`: plain frames to the remote module, as "Remote Module " sends them. `follower`
// learns of every register as the run goes (progress); null for none.
ReadResult ReadRegisters(HeadlessPages& pages, const std::vector<int>& registers, bool remote,
                         operations::OutcomeListener* follower = nullptr);

// `values`: register and the value text as typed into its box. Every text must be one the
// window programs (operations::ProgrammingValue); the caller checks that first.
WriteResult WriteRegisters(HeadlessPages& pages, const std::vector<std::pair<int, QString>>& values,
                           bool remote, operations::OutcomeListener* follower = nullptr);

}  // namespace cli

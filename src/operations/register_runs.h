#pragma once

// Reading and programming registers as the "EEPROM Reading" and "EEPROM Writing" buttons run
// them, on a page model, for whoever runs them without an operator: the module chosen and the
// rows selected as given, the button clicked, the outcomes kept as they come.

#include <QString>
#include <utility>
#include <vector>

#include "operations/outcomes.h"
#include "operations/page_model.h"

namespace operations {

struct ReadingRecord {
  // The registers asked for, in that order, each once its value is known or its last chance
  // has gone; a run cut short has fewer.
  std::vector<RegisterReading> registers;
  ReadVerdict verdict = ReadVerdict::Reading;
};

struct ProgrammingRecord {
  // Every register asked for, in that order, in the state it reached.
  std::vector<RegisterProgramming> registers;
  WriteVerdict verdict = WriteVerdict::Programming;
};

// `remote`: plain frames to the remote module, as "Remote Module " sends them. `follower`, when
// given, hears every outcome too (progress).
ReadingRecord ReadRegisters(PageModel& model, const std::vector<int>& registers, bool remote,
                            OutcomeListener* follower = nullptr);

// `values`: register and the value text as typed into its box; every text should be one the
// table programs (ProgrammingValue), or the run is refused as out of range.
ProgrammingRecord ProgramRegisters(PageModel& model,
                                   const std::vector<std::pair<int, QString>>& values, bool remote,
                                   OutcomeListener* follower = nullptr);

}  // namespace operations

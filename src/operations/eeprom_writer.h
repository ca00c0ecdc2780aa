#pragma once

#include <array>
#include <cstdint>

#include "operations/eeprom_run.h"

namespace operations {

// "EEPROM Writing": checks every selected value and refuses the whole run if one is unusable,
// writes the registers one at a time with a pause after each, reads every one back, and shows
// the outcome per register (green when confirmed, red when not) and for the run.
class EepromWriter : public EepromRun {
 public:
  using EepromRun::EepromRun;

  void Command4_Click();

 private:
  using Values = std::array<std::int16_t, kRegisterCount>;

  void Program();
  // Rejects texts longer than three characters and numbers outside 0 to 255 (the row turns
  // red, is reset and deselected); returns false when any row was rejected.
  bool CheckPass(Values& values);
  void WritePass(const Values& values);
  // Returns whether every register read back as written.
  bool ReadBackPass(const Values& values);
  void Finish(WriteVerdict verdict);
};

}  // namespace operations

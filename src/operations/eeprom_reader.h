#pragma once

#include <optional>

#include "operations/eeprom_run.h"
#include "operations/module_commands.h"

namespace operations {

// "EEPROM Reading": reads every selected register from the chosen module, one at a time,
// gives the registers that did not answer one more chance, then shows every result together
// in its value box (dark blue for a value, red "NO" for none) and the verdict in the status.
class EepromReader : public EepromRun {
 public:
  using EepromRun::EepromRun;

  void Command2_Click();

 private:
  void Read();
  // One request for register n and its reply wait; `value` gets the reply's first byte.
  WaitEnd Ask(int n, std::optional<int>& value, const std::function<void()>& eachMiss = {});
  void Finish(ReadVerdict verdict);
};

}  // namespace operations

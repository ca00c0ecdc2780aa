#pragma once

#include "operations/eeprom_run.h"

namespace operations {

// "EEPROM Reading": reads every selected register from the chosen module, one at a time,
// gives the registers that did not answer one more chance, then shows every result together
// in its value box (dark blue for a value, red "NO" for none) and the verdict in the status.
class EepromReader : public EepromRun {
 public:
  using EepromRun::EepromRun;

  void Command2_Click();

 private:
  // One reply wait for register n: the read command, then poll cycles until a reply or the
  // limit. `onReply` gets the reply's first byte; `onMiss` runs on each cycle without one.
  template <typename OnReply, typename OnMiss>
  void ReplyWait(int n, OnReply onReply, OnMiss onMiss);
};

}  // namespace operations

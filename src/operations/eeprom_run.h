#pragma once

#include "operations/main_window_services.h"
#include "operations/outcomes.h"
#include "operations/register_table.h"

namespace operations {

// What reading and programming the EEPROM have in common: one run at a time, the Close command
// and the other two pages withheld while it runs, the module choice taken from the option
// buttons, and every value colour reset at its start. Each run tells `outcomes` what it does
// as it does it.
class EepromRun {
 public:
  EepromRun(RegisterTable& table, MainWindowServices& window, SessionState& session,
            OutcomeListener& outcomes)
      : table_(table), window_(window), session_(session), outcomes_(outcomes) {}

  // Whether a reading or programming run is under way; a second click is refused meanwhile.
  static bool Active() { return active_; }

 protected:
  // Runs `run` as the one run under way, with Close and the other pages withheld; Close comes
  // back unless the port was closed under the run (the window is going).
  template <typename Run>
  void Exclusively(Run run);
  // The start of a run: takes the module choice and resets the colours. Returns whether any
  // row is selected.
  bool Begin();
  void SetStatus(const QString& text);
  bool PortOpen() const;

  RegisterTable& table_;
  MainWindowServices& window_;
  SessionState& session_;
  OutcomeListener& outcomes_;

 private:
  // Marks a run as active for as long as it lives.
  class Activity {
   public:
    Activity() { active_ = true; }
    ~Activity() { active_ = false; }
    Activity(const Activity&) = delete;
    Activity& operator=(const Activity&) = delete;
  };

  static inline bool active_ = false;
};

template <typename Run>
void EepromRun::Exclusively(Run run) {
  if (active_) return;  // the run under way goes on undisturbed
  const Activity activity;
  const RunningWait wait(window_);
  window_.DisableClose();
  {
    const OtherPagesWithheld pages(window_, kProgrammingPage);
    run();
  }
  if (PortOpen()) window_.EnableClose();
}

}  // namespace operations

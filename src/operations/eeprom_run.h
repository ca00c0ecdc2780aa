#pragma once

#include "operations/main_window_services.h"
#include "operations/register_table.h"

namespace operations {

// Follows a run register by register, for whoever shows its progress or keeps its results as
// they come (talvora-cli); the windows show only the outcome.
class EepromRunObserver {
 public:
  // A read command for register n went out (`retry`: in the second chance of a reading), or
  // a write command, in programming.
  virtual void Requested(int n, bool retry) {
    (void)n;
    (void)retry;
  }
  // Reading: register n answered with `value`, at its second request when `retried`.
  virtual void Answered(int n, int value, bool retried) {
    (void)n;
    (void)value;
    (void)retried;
  }
  // Programming: register n read back as written, or not.
  virtual void Confirmed(int n, bool ok) {
    (void)n;
    (void)ok;
  }

 protected:
  ~EepromRunObserver() = default;
};

// What reading and programming the EEPROM have in common: one run at a time, the Close command
// and the other two pages withheld while it runs, the module choice taken from the option
// buttons, and every value colour reset at its start.
class EepromRun {
 public:
  EepromRun(RegisterTable& table, MainWindowServices& window, SessionState& session)
      : table_(table), window_(window), session_(session) {}

  // Whether a reading or programming run is under way; a second click is refused meanwhile.
  static bool Active() { return active_; }
  // Tells `observer` of every register as the run goes; null for none.
  void Observe(EepromRunObserver* observer) { observer_ = observer ? observer : &nobody_; }

 protected:
  // Starts a run: withholds Close and the pages, takes the module choice, resets the colours.
  // Returns whether any row is selected.
  bool Begin();
  void EnablePages();
  void SetStatus(const char* text);
  const ProgrammingView& Controls() const { return table_.Controls(); }

  RegisterTable& table_;
  MainWindowServices& window_;
  SessionState& session_;
  EepromRunObserver* observer_ = &nobody_;

  // Marks a run as active for as long as it lives.
  class Activity {
   public:
    Activity() { active_ = true; }
    ~Activity() { active_ = false; }
    Activity(const Activity&) = delete;
    Activity& operator=(const Activity&) = delete;
  };

 private:
  static inline bool active_ = false;
  struct Nobody final : EepromRunObserver {};
  static inline Nobody nobody_;
};

}  // namespace operations

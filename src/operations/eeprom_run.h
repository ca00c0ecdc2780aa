#pragma once

#include "operations/main_window_services.h"
#include "operations/register_table.h"

namespace operations {

// What reading and programming the EEPROM have in common: one run at a time, the Close command
// and the other two pages withheld while it runs, the module choice taken from the option
// buttons, and every value colour reset at its start.
class EepromRun {
 public:
  EepromRun(RegisterTable& table, MainWindowServices& window, SessionState& session)
      : table_(table), window_(window), session_(session) {}

  // Whether a reading or programming run is under way; a second click is refused meanwhile.
  static bool Active() { return active_; }

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
};

}  // namespace operations

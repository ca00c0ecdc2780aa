#pragma once

#include "operations/control_view.h"

namespace operations {

// Tab pages of the main window, by index.
inline constexpr int kProgrammingPage = 0;
inline constexpr int kRadioTestingPage = 1;
inline constexpr int kTerminalPage = 2;

// What the logic of a page may ask of the main window.
class MainWindowServices {
 public:
  // Withhold and give back the window's Close command.
  virtual void DisableClose() = 0;
  virtual void EnableClose() = 0;
  // A disabled page cannot be selected until it is enabled again.
  virtual void SetPageEnabled(int page, bool enabled) = 0;
  // A wait that yields to the window system begins or ends. Clicks run during a wait, so
  // operations may start inside one another's waits; the Close command stays withheld until
  // the last of them has ended, whatever the operations say meanwhile.
  virtual void WaitBegins() = 0;
  virtual void WaitEnds() = 0;
  // The system's window-text colour, which rows a run leaves alone take.
  virtual Rgb WindowTextColour() const = 0;

 protected:
  ~MainWindowServices() = default;
};

// Counts a running wait for as long as it lives.
class RunningWait {
 public:
  explicit RunningWait(MainWindowServices& window) : window_(window) { window_.WaitBegins(); }
  ~RunningWait() { window_.WaitEnds(); }
  RunningWait(const RunningWait&) = delete;
  RunningWait& operator=(const RunningWait&) = delete;

 private:
  MainWindowServices& window_;
};

// Keeps every page but `own` disabled for as long as it lives: an operation that runs on its
// page holds one, so that however it ends the other pages come back.
class OtherPagesWithheld {
 public:
  OtherPagesWithheld(MainWindowServices& window, int own) : window_(window), own_(own) {
    SetOthersEnabled(false);
  }
  ~OtherPagesWithheld() {
    if (!dismissed_) SetOthersEnabled(true);
  }
  OtherPagesWithheld(const OtherPagesWithheld&) = delete;
  OtherPagesWithheld& operator=(const OtherPagesWithheld&) = delete;

  // The window is going with its pages: nothing to give back.
  void Dismiss() { dismissed_ = true; }

 private:
  void SetOthersEnabled(bool enabled) {
    for (const int page : {kProgrammingPage, kRadioTestingPage, kTerminalPage}) {
      if (page != own_) window_.SetPageEnabled(page, enabled);
    }
  }

  MainWindowServices& window_;
  int own_;
  bool dismissed_ = false;
};

}  // namespace operations

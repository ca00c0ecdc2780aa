#pragma once

#include "operations/main_window_services.h"
#include "operations/page_views.h"
#include "operations/session_state.h"

namespace operations {

// The link test of the "&Radio Testing" page. While it runs, Timer1 ticks every 500 ms and
// the ticks alternate: a send tick writes the test packet ("$", 0x00, unkeyed), the next tick
// looks whether anything came back since, and moves the link quality one level up or down.
class LinkTest {
 public:
  LinkTest(const RadioTestingView& controls, MainWindowServices& window, SessionState& session)
      : controls_(controls), window_(window), session_(session) {}

  void Command3_Click();  // TEST ON
  void Command1_Click();  // TEST OFF
  void Timer1_Timer();    // a tick of the test

 private:
  void Evaluate();
  void ShowLevel();

  RadioTestingView controls_;
  MainWindowServices& window_;
  SessionState& session_;
};

}  // namespace operations

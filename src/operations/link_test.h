#pragma once

#include <optional>

#include "operations/main_window_services.h"
#include "operations/outcomes.h"
#include "operations/page_views.h"
#include "operations/session_state.h"
#include "platform/event_service.h"

namespace operations {

// The link test of the "&Radio Testing" page. While it runs, Timer1 ticks every 500 ms and
// the ticks alternate: a send tick writes the test packet ("$", 0x00, unkeyed), the next tick
// looks whether anything came back since, and moves the link quality one level up or down.
// Each evaluation and the totals of TEST OFF go to `outcomes` as they are shown.
class LinkTest {
 public:
  LinkTest(const RadioTestingView& controls, MainWindowServices& window, SessionState& session,
           OutcomeListener& outcomes)
      : controls_(controls), window_(window), session_(session), outcomes_(outcomes) {}
  ~LinkTest() {
    if (pagesWithheld_) pagesWithheld_->Dismiss();
  }
  LinkTest(const LinkTest&) = delete;
  LinkTest& operator=(const LinkTest&) = delete;

  void Command3_Click();  // TEST ON
  void Command1_Click();  // TEST OFF
  void Timer1_Timer();    // a tick of the test

 private:
  void Evaluate();
  void ShowLevel();

  RadioTestingView controls_;
  MainWindowServices& window_;
  SessionState& session_;
  OutcomeListener& outcomes_;
  std::optional<OtherPagesWithheld> pagesWithheld_;  // from TEST ON to TEST OFF
  platform::Micros started_ = 0;                     // when TEST ON was clicked
};

}  // namespace operations

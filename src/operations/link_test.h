#pragma once

#include <vector>

#include "operations/link_evaluation.h"
#include "operations/main_window_services.h"
#include "operations/page_views.h"
#include "operations/session_state.h"
#include "platform/event_service.h"

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

  // `listener` hears every test from now on, until it is removed; it must outlive that.
  void AddListener(LinkTestListener* listener) { listeners_.push_back(listener); }
  void RemoveListener(LinkTestListener* listener) { std::erase(listeners_, listener); }

 private:
  void Evaluate();
  void ShowLevel();
  double SecondsSinceStart() const;

  RadioTestingView controls_;
  MainWindowServices& window_;
  SessionState& session_;
  std::vector<LinkTestListener*> listeners_;
  platform::Micros testStart_ = 0;  // TEST ON, on the monotonic clock
};

}  // namespace operations

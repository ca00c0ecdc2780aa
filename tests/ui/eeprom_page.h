#pragma once

// What the tests of "EEPROM Reading" and "EEPROM Writing" share: the loaded main window on
// COM1 with the simulated radio system or a scripted peer at the far end of the line, a run of
// either button in virtual time watched while it runs, and the line's transcript.

#include <QPushButton>
#include <QRgb>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "operations/programming_controls.h"
#include "platform/virtual_event_service.h"
#include "sim/radio_system.h"
#include "support/line_transcript.h"
#include "support/scripted_peer.h"
#include "ui/cdemo.h"
#include "ui_test_support.h"

namespace eepromtest {

using platform::Micros;
inline constexpr Micros kMs = 1000;
inline constexpr Micros kSecond = 1000000;
// The wait clock counts seconds since midnight in single precision: near the end of a day a
// reading is off by up to 4 ms (at ten in the morning by up to 2 ms), so a wait measured with
// two readings may end up to twice that short of its limit.
inline constexpr Micros kClockGrain = 8 * kMs;

// Names each row of a parameterised test after its `name`.
struct ByName {
  template <typename Case>
  std::string operator()(const testing::TestParamInfo<Case>& info) const {
    return info.param.name;
  }
};

// What the operator could see at one moment while a run was under way.
struct Glimpse {
  Micros at;
  bool closeEnabled;
  bool otherPagesEnabled;  // "&Radio Testing" or "&Terminal"
  bool buttonsEnabled;     // "EEPROM Reading" and "EEPROM Writing"
  QString status;
  QStringList values;
};

class EepromPageTest : public uitest::WindowTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Restarts the virtual clock at this time of day, in place of the fixture's Clock(); only
  // before the window is opened.
  void StartClockAt(double secondsSinceMidnight);
  // Loads the main window with the simulated radio system built from `options` on COM1.
  void OpenOnRadioSystem(const std::string& options);
  // Loads the main window with a scripted peer on COM1.
  void OpenOnScript(testsupport::ScriptedPeer::Script script);

  ui::CDemo& Window() { return *window_; }
  const operations::ProgrammingControls& Page() { return window_->Programming(); }
  sim::RadioSystem& Radio();
  QPushButton* ReadingButton() { return Page().Command2; }
  QPushButton* WritingButton() { return Page().Command4; }

  // Ticks the selectors of these rows, as the operator does.
  void Select(const std::vector<int>& rows);
  void ChooseRemoteModule();
  QString Value(int row);
  QRgb Colour(int row);
  bool Selected(int row);
  QString Status();

  // Clicks `button` and returns how long its run took; the window is checked to be idle again
  // afterwards, and to have withheld Close and the other pages while the run was under way.
  Micros Run(QPushButton* button);
  // What was seen during the last run, at every poll tick.
  const std::vector<Glimpse>& Glimpses() const { return glimpses_; }
  // Runs `action` once, at the first poll tick at least `delay` from now (from one of the
  // yields of a run, as operator input comes in).
  void After(Micros delay, std::function<void()> action);

  Micros Now() { return clock_->NowMicros(); }
  // The reading of the wait clock at a moment of the monotonic clock.
  double SecondsAt(Micros at) const { return start_ + static_cast<double>(at) / 1e6; }
  std::vector<testsupport::Frame> Frames();
  std::vector<std::string> Lines();
  // Frames the program wrote, in order.
  std::vector<testsupport::Frame> Sent();
  // How long RTS had been raised when the frame starting at `start` began.
  Micros RtsLeadBefore(Micros start);

 private:
  struct Action {
    Micros due;
    std::function<void()> run;
  };

  void Open(const std::string& device);
  void Watch();
  static void WatchedPoll(std::int32_t hwnd, std::uint32_t msg, std::uintptr_t id,
                          std::uint32_t time);

  platform::VirtualEventService* clock_ = nullptr;
  double start_ = 0;
  std::unique_ptr<ui::CDemo> window_;
  // The test watches from inside each poll tick, just after the link's own work: a timer of
  // its own would wake the waits at other moments and so move where their frames fall.
  static inline EepromPageTest* watching_ = nullptr;
  std::vector<Glimpse> glimpses_;
  std::vector<Action> actions_;
};

}  // namespace eepromtest

#pragma once

// The main window loaded on COM1 in virtual time, with the simulated radio system or a scripted
// peer at the far end of the line: what the page tests share.

#include <optional>

#include "link/link_constants.h"
#include "platform/event_service.h"
#include "sim/simulated_system.h"
#include "support/line_transcript.h"
#include "support/scripted_peer.h"
#include "ui/cdemo.h"
#include "ui_test_support.h"

namespace uitest {

using platform::Micros;
inline constexpr Micros kMs = 1000;
// The wait clock counts seconds since midnight in single precision: a wait measured with two
// of its readings may end up to 8 ms short of its limit near the end of a day.
inline constexpr Micros kClockGrain = 8 * kMs;

class RadioWindowTest : public WindowTest {
 protected:
  void TearDown() override {
    window_.reset();
    WindowTest::TearDown();
  }

  // Loads and shows the main window with the radio system of `options` ("host=0,remotes=5")
  // behind COM1. `timeOfDay` (seconds since midnight) restarts the virtual clock there first.
  void Load(const std::string& options, std::optional<double> timeOfDay = std::nullopt) {
    time_ = timeOfDay ? &platform::UseVirtualTime({*timeOfDay}) : &Clock();
    sim::RegisterSimulatedSystem();
    Open("sim:" + options);
  }
  // Loads it with a scripted peer behind COM1, which notes the wait clock's start as each
  // frame reaches it.
  void LoadOnScript(testsupport::ScriptedPeer::Script script = {}) {
    time_ = &Clock();
    testsupport::UseScriptedPeers([this, script](const auto& frame, serial::PeerSink& sink) {
      waitStarts_.push_back(Window().Session().StartTime);
      if (script) script(frame, sink);
    });
    Open("sim");
  }

  ui::CDemo& Window() { return *window_; }
  platform::VirtualEventService& Time() { return *time_; }
  void RunMs(Micros ms) { time_->RunFor(ms * 1000); }
  // Runs `action` once, `ms` from now, from a yield of whatever is then under way; returns
  // the timer, for stopping it before then.
  std::uintptr_t After(std::uint32_t ms, std::function<void()> action) {
    auto id = std::make_shared<std::uintptr_t>();
    *id = platform::Events().StartTimer(ms, [id, action] {
      platform::Events().StopTimer(*id);
      action();
    });
    return *id;
  }

  // Hands `reply` to the program at the end of the very poll tick at which the wait under way
  // reaches its limit of 0.7 s.
  void AnswerAtTheLimit(std::string reply) {
    static std::optional<std::pair<float, std::string>> due;  // the wait's start, the reply
    due.emplace(Window().Session().StartTime, std::move(reply));
    platform::KillTimer(0, static_cast<std::uintptr_t>(functions::lngTimerID));
    functions::lngTimerID = static_cast<std::int32_t>(platform::SetTimer(
        0, 0, static_cast<std::uint32_t>(functions::kPollPeriod.count()),
        [](std::int32_t hwnd, std::uint32_t msg, std::uintptr_t id, std::uint32_t time) {
          functions::PollTimerProc(hwnd, msg, id, time);
          if (due && platform::Timer() - due->first >= 0.7f) {
            functions::serial->Comminput(std::exchange(due, std::nullopt)->second);
          }
        }));
  }

  serial::SimulatedLine& Line() { return *serial::SimulatedLineOf(functions::serial->handle()); }
  sim::RadioSystem& Radio() { return *sim::RadioSystemOf(functions::serial->handle()); }
  std::vector<testsupport::Frame> AllFrames() {
    return testsupport::Frames(Line().Transcript(), Line().ByteDuration());
  }
  // Everything on the line so far, one frame a line (">> 24 00 [RTS]", "<< 05 68 69").
  std::vector<std::string> LineFrames() { return testsupport::TranscriptLines(AllFrames()); }
  // The frames the program wrote.
  std::vector<testsupport::Frame> Sent() {
    auto frames = AllFrames();
    std::erase_if(frames, [](const auto& f) {
      return f.direction != serial::LineByte::Direction::FromProgram;
    });
    return frames;
  }
  // How long RTS had been raised when the frame starting at `start` began.
  Micros RtsLead(Micros start) {
    Micros rise = start + 1;
    for (const serial::RtsChange& change : Line().RtsLog())
      if (change.raised && change.at <= start) rise = change.at;
    return start - rise;
  }
  // For each frame the program wrote to a scripted peer: how long before it went out the wait
  // clock's start had been read (negative: read after it went out).
  std::vector<double> WaitLeads() {
    std::vector<double> leads;
    for (const auto& frame : Sent()) {
      leads.push_back(platform::VirtualEventService::Start{}.secondsSinceMidnight +
                      frame.start / 1e6 - waitStarts_.at(leads.size()));
    }
    return leads;
  }
  // Bytes arriving from the far end now, as any module might send them.
  void Arrive(const std::string& bytes) { Line().SendToProgram(bytes, time_->NowMicros()); }

  // Makes the main window the active one, as the operator's click on it would.
  void Activate() {
    Window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
  }
  bool CloseAvailable() { return platform::IsCloseCommandEnabled(Window().hWnd()); }
  std::vector<bool> PagesEnabled() {
    QTabWidget* tabs = Window().SSTab1();
    return {tabs->isTabEnabled(0), tabs->isTabEnabled(1), tabs->isTabEnabled(2)};
  }

 private:
  void Open(const std::string& device) {
    setenv("TALVORA_COM1", device.c_str(), 1);
    window_ = std::make_unique<ui::CDemo>([] { return std::string("COM1"); });
    window_->Form_Load();
    window_->show();
  }

  platform::VirtualEventService* time_ = nullptr;
  std::unique_ptr<ui::CDemo> window_;
  std::vector<float> waitStarts_;
};

// The "&Programming" page, for the tests of its two EEPROM buttons.
class EepromPageTest : public RadioWindowTest {
 protected:
  const ui::ProgrammingControls& Page() { return Window().Programming(); }
  QPushButton* Reading() { return Page().Command2; }
  QPushButton* Writing() { return Page().Command4; }
  void Select(const std::vector<int>& rows) {
    for (const int row : rows)
      Click(Page().Check1[row]);
  }
  QString Value(int row) { return Page().Text6[row]->text(); }
  QRgb Colour(int row) { return TextColour(Page().Text6[row]); }
  QString Status() { return Page().Text7->toPlainText(); }
  // Clicks `button`; when its run is over, Close and the other pages are given back.
  void Run(QPushButton* button) {
    Click(button);
    EXPECT_TRUE(CloseAvailable());
    EXPECT_EQ(PagesEnabled(), std::vector<bool>(3, true));
  }
};

}  // namespace uitest

#include "eeprom_page.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <cstdlib>

#include "link/functions.h"
#include "link/link_constants.h"
#include "operations/eeprom_run.h"
#include "operations/main_window_services.h"
#include "platform/windows.h"
#include "serial/simulated_line.h"
#include "sim/simulated_system.h"

namespace eepromtest {
namespace {

constexpr auto kPollPeriodMs = static_cast<std::uint32_t>(functions::kPollPeriod.count());

}  // namespace

void EepromPageTest::SetUp() {
  WindowTest::SetUp();
  clock_ = &Clock();
  start_ = platform::VirtualEventService::Start{}.secondsSinceMidnight;
}

void EepromPageTest::TearDown() {
  watching_ = nullptr;
  window_.reset();
  WindowTest::TearDown();
}

void EepromPageTest::StartClockAt(double secondsSinceMidnight) {
  clock_ = &platform::UseVirtualTime({secondsSinceMidnight, 1000000});
  start_ = secondsSinceMidnight;
}

void EepromPageTest::OpenOnRadioSystem(const std::string& options) {
  sim::RegisterSimulatedSystem();
  Open(options.empty() ? "sim" : "sim:" + options);
}

void EepromPageTest::OpenOnScript(testsupport::ScriptedPeer::Script script) {
  testsupport::UseScriptedPeers(std::move(script));
  Open("sim");
}

void EepromPageTest::Open(const std::string& device) {
  setenv("TALVORA_COM1", device.c_str(), 1);
  window_ = std::make_unique<ui::CDemo>([] { return std::string("COM1"); });
  window_->Form_Load();
  watching_ = this;
  platform::KillTimer(0, static_cast<std::uintptr_t>(functions::lngTimerID));
  functions::lngTimerID =
      static_cast<std::int32_t>(platform::SetTimer(0, 0, kPollPeriodMs, &WatchedPoll));
  window_->show();
  ASSERT_NE(functions::serial, nullptr);
}

void EepromPageTest::WatchedPoll(std::int32_t hwnd, std::uint32_t msg, std::uintptr_t id,
                                 std::uint32_t time) {
  functions::PollTimerProc(hwnd, msg, id, time);
  if (watching_ != nullptr) watching_->Watch();
}

void EepromPageTest::Watch() {
  if (operations::EepromRun::Active()) {
    QTabWidget* tabs = Window().SSTab1();
    QStringList values;
    for (QLineEdit* box : Page().Text6)
      values << box->text();
    glimpses_.push_back(Glimpse{Now(), platform::IsCloseCommandEnabled(Window().hWnd()),
                                tabs->isTabEnabled(operations::kRadioTestingPage) ||
                                    tabs->isTabEnabled(operations::kTerminalPage),
                                ReadingButton()->isEnabled() && WritingButton()->isEnabled(),
                                Status(), values});
  }
  std::vector<Action> due;
  for (auto it = actions_.begin(); it != actions_.end();) {
    if (it->due <= Now()) {
      due.push_back(std::move(*it));
      it = actions_.erase(it);
    } else {
      ++it;
    }
  }
  for (const Action& action : due)
    action.run();
}

sim::RadioSystem& EepromPageTest::Radio() {
  sim::RadioSystem* radio = sim::RadioSystemOf(functions::serial->handle());
  EXPECT_NE(radio, nullptr);
  return *radio;
}

void EepromPageTest::Select(const std::vector<int>& rows) {
  for (const int row : rows) {
    uitest::Click(Page().Check1[row]);
    EXPECT_TRUE(Selected(row)) << "row " << row;
  }
}

void EepromPageTest::ChooseRemoteModule() {
  uitest::Click(Page().Option2);
  EXPECT_TRUE(Page().Option2->isChecked());
}

QString EepromPageTest::Value(int row) {
  return Page().Text6[row]->text();
}

QRgb EepromPageTest::Colour(int row) {
  return uitest::TextColour(Page().Text6[row]);
}

bool EepromPageTest::Selected(int row) {
  return Page().Check1[row]->isChecked();
}

QString EepromPageTest::Status() {
  return Page().Text7->toPlainText();
}

Micros EepromPageTest::Run(QPushButton* button) {
  glimpses_.clear();
  const Micros begin = Now();
  uitest::Click(button);
  const Micros took = Now() - begin;
  actions_.clear();
  QTabWidget* tabs = Window().SSTab1();

  EXPECT_FALSE(operations::EepromRun::Active());
  EXPECT_TRUE(platform::IsCloseCommandEnabled(Window().hWnd())) << "Close is given back";
  EXPECT_TRUE(tabs->isTabEnabled(operations::kRadioTestingPage));
  EXPECT_TRUE(tabs->isTabEnabled(operations::kTerminalPage));
  for (const Glimpse& glimpse : glimpses_) {
    SCOPED_TRACE(testing::Message() << "during the run, at " << glimpse.at - begin << " us");
    EXPECT_FALSE(glimpse.closeEnabled);
    EXPECT_FALSE(glimpse.otherPagesEnabled);
    EXPECT_TRUE(glimpse.buttonsEnabled);
  }
  return took;
}

void EepromPageTest::After(Micros delay, std::function<void()> action) {
  actions_.push_back(Action{Now() + delay, std::move(action)});
}

std::vector<testsupport::Frame> EepromPageTest::Frames() {
  win32::SimulatedLine* line = win32::SimulatedLineOf(functions::serial->handle());
  if (line == nullptr) return {};
  return testsupport::Frames(line->Transcript(), line->ByteDuration());
}

std::vector<std::string> EepromPageTest::Lines() {
  return testsupport::TranscriptLines(Frames());
}

std::vector<testsupport::Frame> EepromPageTest::Sent() {
  std::vector<testsupport::Frame> sent;
  for (const testsupport::Frame& frame : Frames()) {
    if (frame.direction == win32::LineByte::Direction::FromProgram) sent.push_back(frame);
  }
  return sent;
}

Micros EepromPageTest::RtsLeadBefore(Micros start) {
  win32::SimulatedLine* line = win32::SimulatedLineOf(functions::serial->handle());
  Micros rise = -1;
  for (const win32::RtsChange& change : line->RtsLog()) {
    if (change.raised && change.at <= start) rise = change.at;
  }
  return rise < 0 ? -1 : start - rise;
}

}  // namespace eepromtest

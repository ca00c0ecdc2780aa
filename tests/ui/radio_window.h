#pragma once

// The main window loaded on COM1 with the simulated radio system on the far end of the line,
// in virtual time: what the link-test and terminal tests share.

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/functions.h"
#include "platform/virtual_event_service.h"
#include "serial/simulated_line.h"
#include "sim/simulated_system.h"
#include "support/line_transcript.h"
#include "ui/cdemo.h"
#include "ui_test_support.h"

namespace uitest {

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
    setenv("TALVORA_COM1", ("sim:" + options).c_str(), 1);
    window_ = std::make_unique<ui::CDemo>([] { return std::string("COM1"); });
    window_->Form_Load();
    window_->show();
  }

  ui::CDemo& Window() { return *window_; }
  platform::VirtualEventService& Time() { return *time_; }
  void RunMs(platform::Micros ms) { time_->RunFor(ms * 1000); }

  win32::SimulatedLine& Line() { return *win32::SimulatedLineOf(functions::serial->handle()); }
  sim::RadioSystem& Radio() { return *sim::RadioSystemOf(functions::serial->handle()); }
  // Everything on the line so far, one frame a line (">> 24 00 [RTS]", "<< 05 68 69").
  std::vector<std::string> LineFrames() {
    return testsupport::TranscriptLines(
        testsupport::Frames(Line().Transcript(), Line().ByteDuration()));
  }
  // Bytes arriving from the far end now, as any module might send them.
  void Arrive(const std::string& bytes) { Line().SendToProgram(bytes, time_->NowMicros()); }

 private:
  platform::VirtualEventService* time_ = nullptr;
  std::unique_ptr<ui::CDemo> window_;
};

}  // namespace uitest

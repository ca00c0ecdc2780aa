#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/virtual_event_service.h"
#include "platform/windows.h"
#include "serial/sim_line/simulated_line.h"
#include "support/line_transcript.h"
#include "support/scripted_peer.h"

namespace testsupport {

inline constexpr platform::Micros kMs = 1000;

// Virtual time, with COM1 on a simulated line whose far end is a scripted peer.
class VirtualPortTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  platform::VirtualEventService& Clock() { return *clock_; }
  platform::Micros Now() { return clock_->NowMicros(); }
  void SetScript(ScriptedPeer::Script script);
  // The frames that have crossed the line of `handle` so far.
  std::vector<Frame> FramesOn(win32::HANDLE handle);

 private:
  platform::VirtualEventService* clock_ = nullptr;
  ScriptedPeer::Script script_;
};

// Records the texts that a platform window is given, in order.
class RecordingWindow {
 public:
  RecordingWindow();
  ~RecordingWindow();
  RecordingWindow(const RecordingWindow&) = delete;
  RecordingWindow& operator=(const RecordingWindow&) = delete;

  platform::HWND Handle() const { return hwnd_; }
  const std::vector<std::string>& Texts() const { return texts_; }
  std::string Text() const { return texts_.empty() ? std::string() : texts_.back(); }

 private:
  platform::HWND hwnd_;
  std::vector<std::string> texts_;
};

}  // namespace testsupport

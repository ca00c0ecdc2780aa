#include "support/virtual_port.h"

#include <cstdlib>

#include "platform/windows.h"

namespace testsupport {

void VirtualPortTest::SetUp() {
  clock_ = &platform::UseVirtualTime();
  setenv("TALVORA_COM1", "sim", 1);
  UseScriptedPeers([this](const ScriptedPeer::Received& frame, serial::PeerSink& sink) {
    if (script_) script_(frame, sink);
  });
}

void VirtualPortTest::TearDown() {
  serial::SetSimulatedPeerFactory({});
}

void VirtualPortTest::SetScript(ScriptedPeer::Script script) {
  script_ = std::move(script);
}

std::vector<Frame> VirtualPortTest::FramesOn(win32::HANDLE handle) {
  serial::SimulatedLine* line = serial::SimulatedLineOf(handle);
  if (line == nullptr) return {};
  return Frames(line->Transcript(), line->ByteDuration());
}

RecordingWindow::RecordingWindow()
    : hwnd_(platform::RegisterWindow([this](const std::string& text) { texts_.push_back(text); })) {
}

RecordingWindow::~RecordingWindow() {
  platform::UnregisterWindow(hwnd_);
}

}  // namespace testsupport

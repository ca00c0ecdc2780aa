#pragma once

#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "platform/real_event_service.h"
#include "serial/tty/tty_device.h"

namespace serial {

// A pseudo-terminal whose device side nobody holds, as a port is before the program opens it;
// the test keeps the other side. Pseudo-terminals run in real time, whatever service an
// earlier test left installed.
class PtyTest : public testing::Test {
 protected:
  void SetUp() override {
    if (dynamic_cast<platform::RealEventService*>(&platform::Events()) == nullptr) {
      platform::InstallEventService(std::make_unique<platform::RealEventService>());
    }
    int slave = -1;
    char name[128] = {};
    ASSERT_EQ(openpty(&master_, &slave, name, nullptr, nullptr), 0);
    ::close(slave);
    path_ = name;
  }
  void TearDown() override {
    device_.reset();
    ::close(master_);
  }
  // Runs the event loop, and the device when asked, until `done` or the time is up.
  bool Until(const std::function<bool()>& done, bool advance = true,
             std::chrono::milliseconds limit = std::chrono::seconds(2)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < end) {
      if (advance) device_->Advance(platform::Events().NowMicros());
      platform::Events().Yield();
    }
    return done();
  }
  // Opens the device as the COM name `name` ("" for none).
  void Open(const std::string& name = "") {
    OpenFailure failure;
    device_ = OpenTtyDevice(name, path_, failure);
    ASSERT_NE(device_, nullptr) << failure.reason;
  }

  int master_ = -1;
  std::string path_;
  std::unique_ptr<CommDevice> device_;
};

}  // namespace serial

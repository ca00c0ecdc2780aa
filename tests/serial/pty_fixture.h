#pragma once

#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "platform/real_event_service.h"
#include "serial/tty/tty_device.h"

namespace win32 {

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

}  // namespace win32

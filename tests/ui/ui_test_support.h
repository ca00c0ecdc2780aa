#pragma once

// What the window tests share: a fixture that runs in virtual time with every port on a
// simulated line, records message boxes and the end of the program; and helpers that drive
// modal windows and find controls.

#include <gtest/gtest.h>

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/virtual_event_service.h"
#include "support/message_box_recorder.h"
#include "ui/fatal_error.h"

namespace uitest {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  platform::VirtualEventService& Clock() { return *clock_; }
  testsupport::MessageBoxRecorder& Boxes() { return *boxes_; }
  // The options of every simulated line opened so far, in order. Each port is "sim:COMn",
  // so the options name the port that was opened.
  const std::vector<std::string>& OpenedLines() const { return *opened_; }
  // Statuses the program would have ended with.
  const std::vector<int>& Ends() const { return *ends_; }

 private:
  platform::VirtualEventService* clock_ = nullptr;
  std::unique_ptr<testsupport::MessageBoxRecorder> boxes_;
  std::shared_ptr<std::vector<std::string>> opened_;
  std::shared_ptr<std::vector<int>> ends_;
  ui::ProgramEnd previousEnd_;
};

// Runs `open`, which is expected to show a modal window and return once it has been closed.
// When the modal window is up, `inside` runs with it; then the window is closed, unless
// `inside` did so. Returns the modal window that appeared, or null if none did (or if it was
// destroyed when it closed).
// A window still open after `patienceMs` is closed by force and the test fails.
QPointer<QWidget> RunModal(const std::function<void()>& open,
                           const std::function<void(QWidget&)>& inside = {},
                           int patienceMs = 10000);

// The child of `root` with this objectName and type; a test failure if there is none.
template <typename T>
T* Find(const QObject* root, const QString& name) {
  T* child = root->findChild<T*>(name);
  EXPECT_NE(child, nullptr) << "no control " << name.toStdString();
  return child;
}

void Click(QWidget* control);
// A click that comes in through the window system, as a real one does: a modal window blocks
// it from the windows behind.
void ClickThroughWindow(QWidget* control);
// A double-click as the window system delivers it: press, release, press, double-click,
// release.
void DoubleClick(QWidget* control);

// Where a control's top-left corner lies in its window's client area.
QPoint WindowPosition(const QWidget* control);

// The text colour and background of a text box as it shows them.
QRgb TextColour(const QWidget* box);
QRgb BackgroundColour(const QWidget* box);

}  // namespace uitest

#pragma once

// What the window tests share: a fixture that runs in virtual time with every port on a
// simulated line, records message boxes and the end of the program; and helpers that drive
// modal windows and read what a control shows.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QWidget>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/functions.h"
#include "platform/virtual_event_service.h"
#include "platform/windows.h"
#include "support/message_box_recorder.h"
#include "ui/cdemo.h"
#include "ui/fatal_error.h"
#include "ui/pages/page_controls.h"

namespace uitest {

// Value colours as designed, written out here so that a wrong colour in the program shows.
inline constexpr QRgb kReset = qRgb(1, 0, 0), kBlack = qRgb(0, 0, 0);
inline constexpr QRgb kDarkBlue = qRgb(0, 0, 192), kRed = qRgb(255, 0, 0);
inline constexpr QRgb kGreen = qRgb(0, 128, 0);
// The system's window-text colour: the application palette's text colour.
inline QRgb SystemTextColour() {
  return QGuiApplication::palette().color(QPalette::Text).rgb();
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  platform::VirtualEventService& Clock() { return *clock_; }
  testsupport::MessageBoxRecorder& Boxes() { return *boxes_; }
  // The options of every simulated line opened so far, in order: "COMn" for port n.
  const std::vector<std::string>& OpenedLines() const { return opened_; }
  // Statuses the program would have ended with.
  const std::vector<int>& Ends() const { return ends_; }

 private:
  platform::VirtualEventService* clock_ = nullptr;
  std::unique_ptr<testsupport::MessageBoxRecorder> boxes_;
  std::vector<std::string> opened_;
  std::vector<int> ends_;
  ui::ProgramEnd previousEnd_;
};

// Runs `open`, which is expected to show a modal window and return once it has been closed.
// When the modal window is up, `inside` runs with it; then the window is closed, unless
// `inside` did so. Returns the modal window that appeared, or null if none did (or if it was
// destroyed when it closed).
// If `open` has not returned after `patienceMs`, the test fails, and the modal window and any
// main window are closed by force.
QPointer<QWidget> RunModal(const std::function<void()>& open,
                           const std::function<void(QWidget&)>& inside = {},
                           int patienceMs = 10000);

void Click(QWidget* control);

// What a context menu offered: its entries, and those of them ticked.
struct ContextMenu {
  QStringList entries;
  QStringList ticked;
};
// Right-clicks `control` at `at`, triggers the entry `choice` of the menu that opens (expecting
// it there) and closes the menu.
ContextMenu ChooseFromContextMenu(QWidget* control, const QString& choice, QPoint at = {5, 5});

// Expects a control at its designed place in its window, given in twips: each coordinate the
// pixel nearest the designed one, fifteen twips to the pixel. A size of -1 is not checked.
void ExpectPlaced(const QWidget* control, int left, int top, int width, int height);

// The text colour of a text box as it shows it.
QRgb TextColour(const QWidget* box);

}  // namespace uitest

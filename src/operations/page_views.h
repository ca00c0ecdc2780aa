#pragma once

// The controls of the main window's pages that their logic works on, by their designed names.
// Arrays are indexed from 0; the register table's by register number.

#include <array>
#include <cstdint>

#include "operations/control_view.h"

namespace platform {
class IntervalTimer;
}

namespace operations {

// EEPROM registers of the radio module, one row of the register table each.
inline constexpr int kRegisterCount = 32;

// Lamps of the link test, by index into RadioTestingView::Picture1.
inline constexpr int kGreyLamp = 0;
inline constexpr int kGreenLamp = 1;
inline constexpr int kRedLamp = 2;

// "&Programming".
struct ProgrammingView {
  std::array<ControlView*, kRegisterCount> Check1{};  // row selectors, checked means selected
  std::array<ControlView*, kRegisterCount> Text6{};   // register values as decimal text
  std::array<ControlView*, kRegisterCount> Text8{};   // register names, read-only
  ControlView* Option1 = nullptr;                     // "Host Module "
  ControlView* Option2 = nullptr;                     // "Remote Module "
  ControlView* Text7 = nullptr;                       // status line
};

// "&Radio Testing".
struct RadioTestingView {
  std::array<ControlView*, 3> Picture1{};  // grey, green and red lamp, stacked on one another
  ControlView* Command3 = nullptr;         // "TEST ON"
  ControlView* Command1 = nullptr;         // "TEST OFF"
  ControlView* Label3 = nullptr;           // link quality level
  ControlView* Label2 = nullptr;           // connection verdict
  ControlView* Label5 = nullptr;           // received packets
  ControlView* Label4 = nullptr;           // sent packets
  ControlView* Label6 = nullptr;           // testing time
  // The link test's 500 ms clock.
  platform::IntervalTimer* Timer1 = nullptr;
};

// "&Terminal".
struct TerminalView {
  ControlView* Command7 = nullptr;  // "Initialization"
  ControlView* Command6 = nullptr;  // "Stop"
  ControlView* Label15 = nullptr;   // connection caption
  ControlView* Command5 = nullptr;  // "Send Data"
  ControlView* Text1 = nullptr;     // message to send
  ControlView* Label14 = nullptr;   // "to"
  ControlView* Text2 = nullptr;     // destination address
  ControlView* TermText = nullptr;  // received data
  ControlView* Label13 = nullptr;   // "from"
  ControlView* Text3 = nullptr;     // sender address
  // Window handles under which the serial-port object writes received blocks into TermText
  // and the sender's address into Text3 (functions::SetTextWindow, SetFirstByteWindow); the
  // page's logic registers them.
  std::int32_t TermTextWindow = 0;
  std::int32_t Text3Window = 0;
};

// The three pages.
struct PageViews {
  ProgrammingView programming;
  RadioTestingView radioTesting;
  TerminalView terminal;
};

// The one list of the pages' controls: calls `visit(view, name, index)` for each with its
// designed name and, in a control array, its index (-1 otherwise), so that each face fills the
// views with controls of its own.
template <typename Visit>
void ForEachControl(PageViews& views, Visit visit) {
  ProgrammingView& programming = views.programming;
  for (int row = 0; row < kRegisterCount; ++row) {
    visit(programming.Check1[row], "Check1", row);
    visit(programming.Text6[row], "Text6", row);
    visit(programming.Text8[row], "Text8", row);
  }
  visit(programming.Option1, "Option1", -1);
  visit(programming.Option2, "Option2", -1);
  visit(programming.Text7, "Text7", -1);

  RadioTestingView& radioTesting = views.radioTesting;
  for (int lamp = 0; lamp < static_cast<int>(radioTesting.Picture1.size()); ++lamp)
    visit(radioTesting.Picture1[lamp], "Picture1", lamp);
  visit(radioTesting.Command3, "Command3", -1);
  visit(radioTesting.Command1, "Command1", -1);
  visit(radioTesting.Label3, "Label3", -1);
  visit(radioTesting.Label2, "Label2", -1);
  visit(radioTesting.Label5, "Label5", -1);
  visit(radioTesting.Label4, "Label4", -1);
  visit(radioTesting.Label6, "Label6", -1);

  TerminalView& terminal = views.terminal;
  visit(terminal.Command7, "Command7", -1);
  visit(terminal.Command6, "Command6", -1);
  visit(terminal.Label15, "Label15", -1);
  visit(terminal.Command5, "Command5", -1);
  visit(terminal.Text1, "Text1", -1);
  visit(terminal.Label14, "Label14", -1);
  visit(terminal.Text2, "Text2", -1);
  visit(terminal.TermText, "TermText", -1);
  visit(terminal.Label13, "Label13", -1);
  visit(terminal.Text3, "Text3", -1);
}

}  // namespace operations

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

// The controls of each page that the logic works on, by their designed names, over a choice of
// control types (`Kinds`): the page model sees each of them as a ControlView, the windows hold
// the widgets themselves and add the controls only drawn.

// "&Programming".
template <typename Kinds>
struct ProgrammingFields {
  std::array<typename Kinds::CheckBox*, kRegisterCount> Check1{};  // row selectors
  std::array<typename Kinds::TextBox*, kRegisterCount> Text6{};    // values as decimal text
  std::array<typename Kinds::TextBox*, kRegisterCount> Text8{};    // names, read-only
  typename Kinds::Option* Option1 = nullptr;                       // "Host Module "
  typename Kinds::Option* Option2 = nullptr;                       // "Remote Module "
  typename Kinds::TextArea* Text7 = nullptr;                       // status line
};

// "&Radio Testing".
template <typename Kinds>
struct RadioTestingFields {
  std::array<typename Kinds::Label*, 3> Picture1{};  // grey, green and red lamp, stacked
  typename Kinds::Button* Command3 = nullptr;        // "TEST ON"
  typename Kinds::Button* Command1 = nullptr;        // "TEST OFF"
  typename Kinds::Label* Label3 = nullptr;           // link quality level
  typename Kinds::Label* Label2 = nullptr;           // connection verdict
  typename Kinds::Label* Label5 = nullptr;           // received packets
  typename Kinds::Label* Label4 = nullptr;           // sent packets
  typename Kinds::Label* Label6 = nullptr;           // testing time
  // The link test's 500 ms clock. It sits on the programming page's frame in the window's
  // design, but only the link test drives it.
  platform::IntervalTimer* Timer1 = nullptr;
};

// "&Terminal".
template <typename Kinds>
struct TerminalFields {
  typename Kinds::Button* Command7 = nullptr;    // "Initialization"
  typename Kinds::Button* Command6 = nullptr;    // "Stop"
  typename Kinds::Label* Label15 = nullptr;      // connection caption
  typename Kinds::Button* Command5 = nullptr;    // "Send Data"
  typename Kinds::TextArea* Text1 = nullptr;     // message to send
  typename Kinds::Label* Label14 = nullptr;      // "to"
  typename Kinds::TextBox* Text2 = nullptr;      // destination address
  typename Kinds::TextArea* TermText = nullptr;  // received data
  typename Kinds::Label* Label13 = nullptr;      // "from"
  typename Kinds::TextBox* Text3 = nullptr;      // sender address
};

// Every control as the page model sees it.
struct ViewKinds {
  using CheckBox = ControlView;
  using TextBox = ControlView;
  using Option = ControlView;
  using TextArea = ControlView;
  using Button = ControlView;
  using Label = ControlView;
};

using ProgrammingView = ProgrammingFields<ViewKinds>;
using RadioTestingView = RadioTestingFields<ViewKinds>;
struct TerminalView : TerminalFields<ViewKinds> {
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

// The one list of the pages' controls: calls `visit(control, name, index)` for each with its
// designed name and, in a control array, its index (-1 otherwise), so that each face fills its
// pages (`pages.programming`, `.radioTesting`, `.terminal`) with controls of its own.
template <typename Pages, typename Visit>
void ForEachControl(Pages& pages, Visit visit) {
  auto& programming = pages.programming;
  for (int row = 0; row < kRegisterCount; ++row) {
    visit(programming.Check1[row], "Check1", row);
    visit(programming.Text6[row], "Text6", row);
    visit(programming.Text8[row], "Text8", row);
  }
  visit(programming.Option1, "Option1", -1);
  visit(programming.Option2, "Option2", -1);
  visit(programming.Text7, "Text7", -1);

  auto& radioTesting = pages.radioTesting;
  for (int lamp = 0; lamp < static_cast<int>(radioTesting.Picture1.size()); ++lamp)
    visit(radioTesting.Picture1[lamp], "Picture1", lamp);
  visit(radioTesting.Command3, "Command3", -1);
  visit(radioTesting.Command1, "Command1", -1);
  visit(radioTesting.Label3, "Label3", -1);
  visit(radioTesting.Label2, "Label2", -1);
  visit(radioTesting.Label5, "Label5", -1);
  visit(radioTesting.Label4, "Label4", -1);
  visit(radioTesting.Label6, "Label6", -1);

  auto& terminal = pages.terminal;
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

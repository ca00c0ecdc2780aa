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
  // and the sender's address into Text3 (functions::SetTextWindow, SetFirstByteWindow).
  std::int32_t TermTextWindow = 0;
  std::int32_t Text3Window = 0;
};

}  // namespace operations

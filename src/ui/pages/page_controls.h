#pragma once

// The widgets of the main window's pages, by their designed names, as the page builders make
// them. The main window owns them; the page logic sees them through control views.

#include <array>

#include "operations/page_views.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace platform {
class IntervalTimer;
}

namespace ui {

using operations::kRegisterCount;

struct ProgrammingControls {
  QGroupBox* Frame2 = nullptr;
  std::array<QCheckBox*, kRegisterCount> Check1{};  // row selectors, checked means selected
  std::array<QLineEdit*, kRegisterCount> Text6{};   // register values as decimal text
  std::array<QLineEdit*, kRegisterCount> Text8{};   // register names, read-only
  QRadioButton* Option1 = nullptr;                  // "Host Module "
  QRadioButton* Option2 = nullptr;                  // "Remote Module "
  QPushButton* Command2 = nullptr;                  // "EEPROM Reading"
  QPushButton* Command4 = nullptr;                  // "EEPROM Writing"
  QPlainTextEdit* Text7 = nullptr;                  // status line
};

struct RadioTestingControls {
  QGroupBox* Frame1 = nullptr;
  std::array<QLabel*, 3> Picture1{};  // grey, green and red lamp, stacked on one another
  QPushButton* Command3 = nullptr;    // "TEST ON"
  QPushButton* Command1 = nullptr;    // "TEST OFF"
  QGroupBox* Frame3 = nullptr;        // "Radio Connection"
  QLabel* Label7 = nullptr;           // legend "0-1: no"
  QLabel* Label8 = nullptr;           // legend "2-3: difficult"
  QLabel* Label9 = nullptr;           // legend "4-5: good"
  QLabel* Label3 = nullptr;           // link quality level
  QLabel* Label2 = nullptr;           // connection verdict
  QGroupBox* Frame4 = nullptr;        // "Statistics"
  QLabel* Label5 = nullptr;           // received packets
  QLabel* Label4 = nullptr;           // sent packets
  QLabel* Label6 = nullptr;           // testing time
  QLabel* Label11 = nullptr;          // "Received Packets"
  QLabel* Label10 = nullptr;          // "Sent Packets"
  QLabel* Label12 = nullptr;          // "Testing Time"
  // The link test's 500 ms clock. It sits on the programming page's frame in the window's
  // design, but only the link test drives it.
  platform::IntervalTimer* Timer1 = nullptr;
};

struct TerminalControls {
  QGroupBox* Frame5 = nullptr;
  QPushButton* Command7 = nullptr;     // "Initialization"
  QPushButton* Command6 = nullptr;     // "Stop"
  QLabel* Label15 = nullptr;           // connection caption
  QPushButton* Command5 = nullptr;     // "Send Data"
  QPlainTextEdit* Text1 = nullptr;     // message to send
  QLabel* Label14 = nullptr;           // "to"
  QLineEdit* Text2 = nullptr;          // destination address
  QLabel* Label1 = nullptr;            // "Received Data"
  QPlainTextEdit* TermText = nullptr;  // received data
  QLabel* Label13 = nullptr;           // "from"
  QLineEdit* Text3 = nullptr;          // sender address
};

}  // namespace ui

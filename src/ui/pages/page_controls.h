#pragma once

// The widgets of the main window's pages, by their designed names, as the page builders make
// them. The main window owns them; the page model sees them through control views.

#include <array>

#include "operations/page_views.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace ui {

using operations::kRegisterCount;

// The widget behind each kind of control the page logic works on.
struct WidgetKinds {
  using CheckBox = QCheckBox;
  using TextBox = QLineEdit;
  using Option = QRadioButton;
  using TextArea = QPlainTextEdit;
  using Button = QPushButton;
  using Label = QLabel;
};

// Each page's controls: those the logic works on, and those only drawn or only clicked.
struct ProgrammingControls : operations::ProgrammingFields<WidgetKinds> {
  QGroupBox* Frame2 = nullptr;
  QPushButton* Command2 = nullptr;  // "EEPROM Reading"
  QPushButton* Command4 = nullptr;  // "EEPROM Writing"
};

struct RadioTestingControls : operations::RadioTestingFields<WidgetKinds> {
  QGroupBox* Frame1 = nullptr;
  QGroupBox* Frame3 = nullptr;  // "Radio Connection"
  QLabel* Label7 = nullptr;     // legend "0-1: no"
  QLabel* Label8 = nullptr;     // legend "2-3: difficult"
  QLabel* Label9 = nullptr;     // legend "4-5: good"
  QGroupBox* Frame4 = nullptr;  // "Statistics"
  QLabel* Label11 = nullptr;    // "Received Packets"
  QLabel* Label10 = nullptr;    // "Sent Packets"
  QLabel* Label12 = nullptr;    // "Testing Time"
};

struct TerminalControls : operations::TerminalFields<WidgetKinds> {
  QGroupBox* Frame5 = nullptr;
  QLabel* Label1 = nullptr;  // "Received Data"
};

struct PageControls {
  ProgrammingControls programming;
  RadioTestingControls radioTesting;
  TerminalControls terminal;
};

}  // namespace ui

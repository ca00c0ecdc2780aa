#pragma once

#include <array>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace operations {

// EEPROM registers of the radio module, one row of the register table each.
inline constexpr int kRegisterCount = 32;

// The controls of the "&Programming" page. The main window owns them; the page logic only
// reads and sets their state. Arrays are indexed by register number.
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

}  // namespace operations

#pragma once

#include <cstdint>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace operations {

// The controls of the "&Terminal" page. The main window owns them.
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
  // Window handles under which the serial-port object writes received blocks into TermText
  // and the sender's address into Text3 (functions::SetTextWindow, SetFirstByteWindow).
  std::int32_t TermTextWindow = 0;
  std::int32_t Text3Window = 0;
};

}  // namespace operations

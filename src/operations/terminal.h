#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "operations/main_window_services.h"
#include "operations/page_views.h"
#include "operations/session_state.h"

namespace operations {

// The "&Terminal" page: Initialization asks the attached module for its address, which makes
// this station the master (address 0) or a slave; Send Data writes the message, on a master
// after the destination's address byte; Stop ends the connection. Received blocks are written
// into the page by the serial-port object itself, through the window handles set here.
class Terminal {
 public:
  Terminal(const TerminalView& controls, MainWindowServices& window, SessionState& session)
      : controls_(controls), window_(window), session_(session) {}

  void Command7_Click();  // Initialization
  void Command5_Click();  // Send Data
  void Command6_Click();  // Stop
  // Enter in the message box moves on to the destination box on a master.
  void Text1_KeyPress(std::int16_t& KeyAscii);
  // Enter in the destination box moves on to Send Data.
  void Text2_KeyPress(std::int16_t& KeyAscii);

  // A destination address as typed: a whole decimal number from 0 to 255, blanks around it
  // allowed; nothing otherwise.
  static std::optional<int> DestinationAddress(const QString& text);

  // The most bytes a message may have so that it goes out in one write with its address byte,
  // if any: whatever stays queued behind a write would go out in front of the next command.
  std::size_t MessageLimit() const;
  // Bytes a message takes on the line: one per character, two per line break (CR LF).
  static std::size_t MessageByteCount(const QString& text);

 private:
  // Waits for the attached module's address; false when none came within the limit.
  bool WaitForAddress();
  // The "to" and "from" boxes of a master, with their labels.
  void ShowAddressBoxes();
  void BecomeMaster();
  void BecomeSlave();

  TerminalView controls_;
  MainWindowServices& window_;
  SessionState& session_;
};

}  // namespace operations

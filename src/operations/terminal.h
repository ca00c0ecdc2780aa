#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "operations/main_window_services.h"
#include "operations/outcomes.h"
#include "operations/page_views.h"
#include "operations/session_state.h"

namespace operations {

// The "&Terminal" page: Initialization asks the attached module for its address, which makes
// this station the master (address 0) or a slave; Send Data writes the message, on a master
// after the destination's address byte; Stop ends the connection. Received blocks are written
// into the page by the serial-port object itself, through the two windows this page registers
// for its received-data and sender boxes. Initialization's answer and every received block go
// to `outcomes` as they are shown.
class Terminal {
 public:
  Terminal(const TerminalView& controls, MainWindowServices& window, SessionState& session,
           OutcomeListener& outcomes);
  ~Terminal();
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

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
  // The serial-port object's writes into the sender and received-data boxes.
  void SenderShown(const std::string& bytes);
  void BlockShown(const std::string& bytes);
  // The "to" and "from" boxes of a master, with their labels.
  void ShowAddressBoxes();
  void BecomeMaster();
  void BecomeSlave();

  TerminalView controls_;
  MainWindowServices& window_;
  SessionState& session_;
  OutcomeListener& outcomes_;
  std::optional<OtherPagesWithheld> pagesWithheld_;  // from Initialization or Send Data to Stop
  std::string sender_;                               // of the block being shown
};

}  // namespace operations

#include "operations/terminal.h"

#include <string>

#include "link/functions.h"
#include "operations/module_commands.h"
#include "operations/value_text.h"
#include "platform/event_service.h"

namespace operations {
namespace {

constexpr std::int16_t kEnter = 13;
constexpr int kHighestAddress = 255;
// What one write of the serial-port object carries.
constexpr std::size_t kLongestWrite = 1024;

// The message as the module gets it: one byte per character, each line break as CR LF.
std::string MessageBytes(const QString& text) {
  QString message = text;
  message.replace("\n", "\r\n");
  return message.toLatin1().toStdString();
}

}  // namespace

void Terminal::Command7_Click() {
  controls_.Command7->Enabled(false);
  controls_.Command6->Enabled(true);
  controls_.Command5->Enabled(true);
  window_.SetPageEnabled(kProgrammingPage, false);
  window_.SetPageEnabled(kRadioTestingPage, false);
  window_.DisableClose();
  bool answered = false;
  {
    // The port must not be released under the wait, whatever is clicked during it.
    const RunningWait wait(window_);
    functions::SendDollarCommand(std::string(1, '\0'));
    session_.StartTime = platform::Timer();
    answered = WaitForAddress();
  }
  if (!functions::PortOpen()) return;  // the window closed under the wait: nothing to show
  window_.EnableClose();
  if (!answered) {
    controls_.Command6->Enabled(true);  // the operator leaves this state with Stop
    // The station keeps the role it had. A master's messages still need their destination:
    // the boxes that Stop hid come back, or Send Data would refuse a destination nobody sees.
    if (session_.TerminalRole == 1) ShowAddressBoxes();
    return;
  }
  session_.LocalModuleAddress =
      std::to_string(static_cast<unsigned char>(session_.LastReply.front()));
  if (session_.LocalModuleAddress == "0") {
    BecomeMaster();
  } else {
    BecomeSlave();
  }
}

bool Terminal::WaitForAddress() {
  for (;;) {
    platform::DoEvents();
    if (functions::ReplyArrived()) {
      session_.LastReply = functions::TakeReply();
      if (!session_.LastReply.empty()) return true;  // an empty delivery is no answer
    }
    if (ElapsedSince(session_.StartTime) >= kReplyLimit || !functions::PortOpen()) return false;
  }
}

void Terminal::ShowAddressBoxes() {
  controls_.Text2->Visible(true);
  controls_.Text3->Visible(true);
  controls_.Label14->Visible(true);
  controls_.Label13->Visible(true);
}

void Terminal::BecomeMaster() {
  ShowAddressBoxes();
  controls_.Label15->Visible(true);
  controls_.Label15->Text("Master-Slave Connection");
  functions::SetTextWindow(controls_.TermTextWindow);
  functions::SetFirstByteWindow(controls_.Text3Window);
  session_.TerminalRole = 1;
  // A master's messages carry the address byte too: a message that fitted before may not.
  QString message = controls_.Text1->Text();
  if (MessageByteCount(message) > MessageLimit()) {
    while (MessageByteCount(message) > MessageLimit())
      message.chop(1);
    controls_.Text1->Text(message);
  }
}

void Terminal::BecomeSlave() {
  controls_.Label15->Visible(true);
  // The address is written with a blank where a sign would stand: two blanks before it.
  controls_.Label15->Text(QString("Slave ") + " " +
                          QString::fromStdString(session_.LocalModuleAddress) +
                          " - Master Connection");
  functions::SetTextWindow(controls_.TermTextWindow);
  session_.TerminalRole = 0;
}

std::optional<int> Terminal::DestinationAddress(const QString& text) {
  bool ok = false;
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty() || trimmed.startsWith('-')) return std::nullopt;
  const int value = trimmed.toInt(&ok, 10);
  if (!ok || value > kHighestAddress) return std::nullopt;
  return value;
}

std::size_t Terminal::MessageLimit() const {
  return session_.TerminalRole == 1 ? kLongestWrite - 1 : kLongestWrite;
}

std::size_t Terminal::MessageByteCount(const QString& text) {
  return static_cast<std::size_t>(text.size() + text.count(QLatin1Char('\n')));
}

void Terminal::Command5_Click() {
  const QString text = controls_.Text1->Text();
  if (text.isEmpty()) return;
  std::optional<int> destination;
  if (session_.TerminalRole == 1) {
    destination = DestinationAddress(controls_.Text2->Text());
    if (!destination) {
      // Only 0 to 255 fit into the address byte: send nothing, let the operator correct it.
      controls_.Text2->SetFocus(true);
      return;
    }
  }
  window_.DisableClose();
  window_.SetPageEnabled(kProgrammingPage, false);
  window_.SetPageEnabled(kRadioTestingPage, false);
  const std::string message = MessageBytes(text);
  if (destination) {
    std::string body = message;
    functions::SendPlain(std::string(1, static_cast<char>(*destination)), body);
  } else {
    std::string rest = message.substr(1);
    functions::SendPlain(message.substr(0, 1), rest);
  }
  controls_.Command6->Enabled(true);
  controls_.TermText->Text("");
  controls_.Text3->Text("");
  window_.EnableClose();
}

void Terminal::Command6_Click() {
  window_.EnableClose();
  controls_.Command5->Enabled(false);
  controls_.Command7->Enabled(true);
  window_.SetPageEnabled(kProgrammingPage, true);
  window_.SetPageEnabled(kRadioTestingPage, true);
  controls_.Label15->Visible(false);
  controls_.Text2->Visible(false);
  controls_.Text3->Visible(false);
  controls_.Text2->Text("");
  controls_.Text3->Text("");
  controls_.Text1->Text("");
  controls_.TermText->Text("");
  controls_.Label14->Visible(false);
  controls_.Label13->Visible(false);
}

void Terminal::Text1_KeyPress(std::int16_t& KeyAscii) {
  if (KeyAscii == kEnter && Val(session_.LocalModuleAddress) == 0 && controls_.Text2->Visible()) {
    controls_.Text2->SetFocus();
  }
}

void Terminal::Text2_KeyPress(std::int16_t& KeyAscii) {
  if (KeyAscii == kEnter) controls_.Command5->SetFocus();
}

}  // namespace operations

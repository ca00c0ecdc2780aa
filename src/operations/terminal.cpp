#include "operations/terminal.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
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
  controls_.Command7->setEnabled(false);
  controls_.Command6->setEnabled(true);
  controls_.Command5->setEnabled(true);
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
    controls_.Command6->setEnabled(true);  // the operator leaves this state with Stop
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

void Terminal::BecomeMaster() {
  controls_.Text2->setVisible(true);
  controls_.Text3->setVisible(true);
  controls_.Label14->setVisible(true);
  controls_.Label13->setVisible(true);
  controls_.Label15->setVisible(true);
  controls_.Label15->setText("Master-Slave Connection");
  functions::SetTextWindow(controls_.TermTextWindow);
  functions::SetFirstByteWindow(controls_.Text3Window);
  session_.TerminalRole = 1;
  // A master's messages carry the address byte too: a message that fitted before may not.
  QString message = controls_.Text1->toPlainText();
  if (MessageByteCount(message) > MessageLimit()) {
    while (MessageByteCount(message) > MessageLimit())
      message.chop(1);
    controls_.Text1->setPlainText(message);
  }
}

void Terminal::BecomeSlave() {
  controls_.Label15->setVisible(true);
  // The address is written with a blank where a sign would stand: two blanks before it.
  controls_.Label15->setText(QString("Slave ") + " " +
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
  const QString text = controls_.Text1->toPlainText();
  if (text.isEmpty()) return;
  std::optional<int> destination;
  if (session_.TerminalRole == 1) {
    destination = DestinationAddress(controls_.Text2->text());
    if (!destination) {
      // Only 0 to 255 fit into the address byte: send nothing, let the operator correct it.
      controls_.Text2->setFocus();
      controls_.Text2->selectAll();
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
  controls_.Command6->setEnabled(true);
  controls_.TermText->setPlainText("");
  controls_.Text3->setText("");
  window_.EnableClose();
}

void Terminal::Command6_Click() {
  window_.EnableClose();
  controls_.Command5->setEnabled(false);
  controls_.Command7->setEnabled(true);
  window_.SetPageEnabled(kProgrammingPage, true);
  window_.SetPageEnabled(kRadioTestingPage, true);
  controls_.Label15->setVisible(false);
  controls_.Text2->setVisible(false);
  controls_.Text3->setVisible(false);
  controls_.Text2->setText("");
  controls_.Text3->setText("");
  controls_.Text1->setPlainText("");
  controls_.TermText->setPlainText("");
  controls_.Label14->setVisible(false);
  controls_.Label13->setVisible(false);
}

void Terminal::Text1_KeyPress(std::int16_t& KeyAscii) {
  if (KeyAscii == kEnter && Val(session_.LocalModuleAddress) == 0 && !controls_.Text2->isHidden()) {
    controls_.Text2->setFocus();
  }
}

void Terminal::Text2_KeyPress(std::int16_t& KeyAscii) {
  if (KeyAscii == kEnter) controls_.Command5->setFocus();
}

}  // namespace operations

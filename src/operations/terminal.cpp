#include "operations/terminal.h"

#include <string>
#include <utility>

#include "link/functions.h"
#include "link/link_constants.h"
#include "operations/module_commands.h"
#include "operations/number_text.h"
#include "operations/value_text.h"
#include "platform/event_service.h"
#include "platform/windows.h"

namespace operations {
namespace {

constexpr std::int16_t kEnter = 13;
using functions::kLongestWrite;

// The message as the module gets it: one byte per character, each line break as CR LF.
std::string MessageBytes(const QString& text) {
  QString message = text;
  message.replace("\n", "\r\n");
  return message.toLatin1().toStdString();
}

QString FromBytes(const std::string& bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

Terminal::Terminal(const TerminalView& controls, MainWindowServices& window, SessionState& session,
                   OutcomeListener& outcomes)
    : controls_(controls), window_(window), session_(session), outcomes_(outcomes) {
  controls_.TermTextWindow =
      platform::RegisterWindow([this](const std::string& bytes) { BlockShown(bytes); });
  controls_.Text3Window =
      platform::RegisterWindow([this](const std::string& bytes) { SenderShown(bytes); });
}

Terminal::~Terminal() {
  if (pagesWithheld_) pagesWithheld_->Dismiss();
  platform::UnregisterWindow(controls_.TermTextWindow);
  platform::UnregisterWindow(controls_.Text3Window);
}

void Terminal::SenderShown(const std::string& bytes) {
  sender_ = bytes;
  controls_.Text3->Text(FromBytes(bytes));
}

void Terminal::BlockShown(const std::string& bytes) {
  controls_.TermText->Text(FromBytes(bytes));
  // The serial-port object writes a master's sender first, then the rest of the block; a
  // block that begins with a zero byte shows nothing.
  const std::string sender = std::exchange(sender_, std::string());
  if (bytes.empty()) return;
  ReceivedBlock block{std::nullopt, bytes};
  if (session_.TerminalRole == kMasterRole && !sender.empty())
    block.from = static_cast<int>(Val(sender));
  outcomes_.Received(block);
}

void Terminal::Command7_Click() {
  controls_.Command7->Enabled(false);
  controls_.Command6->Enabled(true);
  controls_.Command5->Enabled(true);
  if (!pagesWithheld_) pagesWithheld_.emplace(window_, kTerminalPage);
  window_.DisableClose();
  WaitEnd end = WaitEnd::TimedOut;
  {
    // The port must not be released under the wait, whatever is clicked during it.
    const RunningWait wait(window_);
    functions::SendDollarCommand(std::string(1, '\0'));
    session_.StartTime = platform::Timer();
    end = AwaitReply(session_, AnyReply);
  }
  if (!functions::PortOpen()) return;  // the window closed under the wait: nothing to show
  window_.EnableClose();
  if (end != WaitEnd::Replied) {
    controls_.Command6->Enabled(true);  // the operator leaves this state with Stop
    // The station keeps the role it had. A master's messages still need their destination:
    // the boxes that Stop hid come back, or Send Data would refuse a destination nobody sees.
    if (session_.TerminalRole == kMasterRole) ShowAddressBoxes();
    outcomes_.Initialized({});
    return;
  }
  const int address = static_cast<unsigned char>(session_.LastReply.front());
  session_.LocalModuleAddress = std::to_string(address);
  if (session_.LocalModuleAddress == "0") {
    BecomeMaster();
  } else {
    BecomeSlave();
  }
  outcomes_.Initialized(
      {true, address, session_.TerminalRole == kMasterRole, controls_.Label15->Text()});
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
  session_.TerminalRole = kMasterRole;
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
  session_.TerminalRole = kSlaveRole;
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
  return session_.TerminalRole == kMasterRole ? kLongestWrite - 1 : kLongestWrite;
}

std::size_t Terminal::MessageByteCount(const QString& text) {
  return static_cast<std::size_t>(text.size() + text.count(QLatin1Char('\n')));
}

void Terminal::Command5_Click() {
  const QString text = controls_.Text1->Text();
  if (text.isEmpty()) return;
  std::optional<int> destination;
  if (session_.TerminalRole == kMasterRole) {
    destination = DestinationAddress(controls_.Text2->Text());
    if (!destination) {
      // Only 0 to 255 fit into the address byte: send nothing, let the operator correct it.
      controls_.Text2->SetFocus(true);
      return;
    }
  }
  window_.DisableClose();
  if (!pagesWithheld_) pagesWithheld_.emplace(window_, kTerminalPage);
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
  pagesWithheld_.reset();
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

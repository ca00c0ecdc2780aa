#include "operations/eeprom_writer.h"

#include "link/functions.h"
#include "operations/module_commands.h"
#include "operations/value_text.h"
#include "platform/event_service.h"

namespace operations {
namespace {

constexpr int kLongestValueText = 3;

}  // namespace

void EepromWriter::Command4_Click() {
  if (Active()) return;  // the run under way goes on undisturbed
  const Activity activity;
  const RunningWait wait(window_);
  if (!Begin()) {
    SetStatus("NO REGISTER SELECT");
    EnablePages();
    window_.EnableClose();
    return;
  }
  SetStatus("EEPROM PROGRAMMING");
  Values values{};
  if (!CheckPass(values)) {
    SetStatus("Out of Range Programming Values");  // nothing at all is written
    window_.EnableClose();
    EnablePages();
    return;
  }
  WritePass(values);
  const bool confirmed = ReadBackPass(values);
  if (!functions::PortOpen()) return;  // the window closed under the run: nothing to show
  if (confirmed) {
    SetStatus("OK, EEPROM PROGRAMMED");
    for (int n = 0; n < kRegisterCount; ++n) {
      if (!table_.Selected(n)) continue;
      table_.ValueColour(n, kConfirmedColour);
      table_.Value(n, QString::number(values[n]));
    }
  }
  window_.EnableClose();
  EnablePages();
}

bool EepromWriter::CheckPass(Values& values) {
  bool inRange = true;
  for (int n = 0; n < kRegisterCount; ++n) {
    if (!table_.Selected(n)) continue;
    const QString text = table_.Value(n);
    const std::optional<int> value = ProgrammingValue(text);
    if (!value) {
      inRange = false;
      table_.ValueColour(n, kFailedColour);
      // A text too long shows as "000"; a number out of range as the value it leaves, 0.
      table_.Value(n,
                   text.size() > kLongestValueText ? QString("000") : QString::number(values[n]));
      table_.Selected(n, false);
      continue;
    }
    values[n] = static_cast<std::int16_t>(*value);
  }
  return inRange;
}

void EepromWriter::WritePass(const Values& values) {
  for (int n = 0; n < kRegisterCount; ++n) {
    if (!table_.Selected(n)) {
      table_.ValueColour(n, window_.WindowTextColour());
      continue;
    }
    if (!functions::PortOpen()) return;
    observer_->Requested(n, false);
    SendWriteCommand(session_.ModuleKind, n, values[n]);
    // Writes are not acknowledged: the module gets a second to program its EEPROM.
    session_.StartTime = platform::Timer();
    PauseUntil(session_.StartTime, kWritePause);
  }
}

bool EepromWriter::ReadBackPass(const Values& values) {
  bool allConfirmed = true;
  for (int n = 0; n < kRegisterCount; ++n) {
    if (!table_.Selected(n)) continue;
    if (!functions::PortOpen()) return false;
    session_.StartTime = platform::Timer();
    SendReadCommand(session_.ModuleKind, n);
    const std::string written(1, static_cast<char>(values[n]));
    // A reply that differs does not end the wait: later cycles keep taking whatever arrives.
    for (;;) {
      platform::DoEvents();
      if (functions::ReplyArrived()) {
        session_.LastReply = functions::TakeReply();
        if (session_.LastReply == written) {
          observer_->Confirmed(n, true);
          break;
        }
      }
      if (!functions::PortOpen()) return false;
      if (ElapsedSince(session_.StartTime) >= kReplyLimit) {
        table_.ValueColour(n, kFailedColour);
        table_.Value(n, QString::number(values[n]));
        SetStatus("PROGRAMMING ERROR");
        observer_->Confirmed(n, false);
        allConfirmed = false;
        break;
      }
    }
  }
  return allConfirmed;
}

}  // namespace operations

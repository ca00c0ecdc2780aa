#include "operations/eeprom_writer.h"

#include "operations/module_commands.h"
#include "operations/value_text.h"
#include "platform/event_service.h"

namespace operations {
namespace {

constexpr int kLongestValueText = 3;

}  // namespace

void EepromWriter::Command4_Click() {
  Exclusively([this] { Program(); });
}

void EepromWriter::Program() {
  if (!Begin()) {
    Finish(WriteVerdict::NothingSelected);
    return;
  }
  SetStatus(StatusText(WriteVerdict::Programming));
  Values values{};
  if (!CheckPass(values)) {
    Finish(WriteVerdict::OutOfRange);  // nothing at all is written
    return;
  }
  WritePass(values);
  const bool confirmed = ReadBackPass(values);
  if (!PortOpen()) return;  // the window closed under the run: nothing to show
  if (!confirmed) {
    outcomes_.ProgrammingEnded(WriteVerdict::NotConfirmed);  // its status is already shown
    return;
  }
  SetStatus(StatusText(WriteVerdict::Programmed));
  for (int n = 0; n < kRegisterCount; ++n) {
    if (!table_.Selected(n)) continue;
    table_.ValueColour(n, kConfirmedColour);
    table_.Value(n, QString::number(values[n]));
  }
  outcomes_.ProgrammingEnded(WriteVerdict::Programmed);
}

void EepromWriter::Finish(WriteVerdict verdict) {
  SetStatus(StatusText(verdict));
  outcomes_.ProgrammingEnded(verdict);
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
    if (!PortOpen()) return;
    outcomes_.Requested(n, false);
    SendWriteCommand(session_.ModuleKind, n, values[n]);
    outcomes_.Programmed({n, values[n], WriteState::Sent});
    // Writes are not acknowledged: the module gets a second to program its EEPROM.
    session_.StartTime = platform::Timer();
    PauseUntil(session_.StartTime, kWritePause);
  }
}

bool EepromWriter::ReadBackPass(const Values& values) {
  bool allConfirmed = true;
  for (int n = 0; n < kRegisterCount; ++n) {
    if (!table_.Selected(n)) continue;
    if (!PortOpen()) return false;
    session_.StartTime = platform::Timer();
    SendReadCommand(session_.ModuleKind, n);
    const std::string written(1, static_cast<char>(values[n]));
    // A reply that differs does not end the wait: later cycles keep taking whatever arrives.
    const WaitEnd end =
        AwaitReply(session_, [&written](const std::string& reply) { return reply == written; });
    if (end == WaitEnd::PortClosed) return false;
    if (end == WaitEnd::Replied) {
      outcomes_.Programmed({n, values[n], WriteState::Confirmed});
      continue;
    }
    table_.ValueColour(n, kFailedColour);
    table_.Value(n, QString::number(values[n]));
    SetStatus(StatusText(WriteVerdict::NotConfirmed));
    outcomes_.Programmed({n, values[n], WriteState::NotConfirmed});
    allConfirmed = false;
  }
  return allConfirmed;
}

}  // namespace operations

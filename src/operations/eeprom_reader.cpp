#include "operations/eeprom_reader.h"

#include <array>

#include "link/functions.h"
#include "platform/event_service.h"

namespace operations {

void EepromReader::Command2_Click() {
  Exclusively([this] { Read(); });
}

WaitEnd EepromReader::Ask(int n, std::optional<int>& value, const std::function<void()>& eachMiss) {
  // The clock is read before the send, so the key-up lead counts against the limit.
  session_.StartTime = platform::Timer();
  SendReadCommand(session_.ModuleKind, n);
  const WaitEnd end = AwaitReply(session_, AnyReply, eachMiss);
  if (end == WaitEnd::Replied) value = static_cast<unsigned char>(session_.LastReply.front());
  return end;
}

void EepromReader::Read() {
  if (!Begin()) {
    Finish(ReadVerdict::NothingSelected);
    return;
  }
  SetStatus(StatusText(ReadVerdict::Reading));
  std::array<std::optional<int>, kRegisterCount> values{};
  std::array<bool, kRegisterCount> retried{};
  bool allAnswered = true;

  for (int n = 0; n < kRegisterCount; ++n) {
    if (!table_.Selected(n)) continue;
    outcomes_.Requested(n, false);
    if (Ask(n, values[n]) == WaitEnd::Replied) outcomes_.Read({n, values[n], false});
  }
  // A second chance; a register that misses a single cycle of it fails the run, even if its
  // value comes in a later cycle.
  for (int n = 0; n < kRegisterCount; ++n) {
    if (!table_.Selected(n) || values[n]) continue;
    outcomes_.Requested(n, true);
    retried[n] = true;
    if (Ask(n, values[n], [&] { allAnswered = false; }) != WaitEnd::PortClosed) {
      outcomes_.Read({n, values[n], true});
    }
  }

  if (!PortOpen()) return;  // the window closed under the run: nothing to show
  for (int n = 0; n < kRegisterCount; ++n) {
    if (!table_.Selected(n)) {
      table_.ValueColour(n, window_.WindowTextColour());
      continue;
    }
    table_.ValueColour(n, values[n] ? kReadColour : kFailedColour);
    if (!values[n]) {
      table_.Value(n, "NO");
    } else {
      table_.Value(n, (retried[n] ? ". " : "") + QString::number(*values[n]));
    }
  }
  Finish(allAnswered ? ReadVerdict::AllRead : ReadVerdict::SomeUnanswered);
}

void EepromReader::Finish(ReadVerdict verdict) {
  SetStatus(StatusText(verdict));
  outcomes_.ReadingEnded(verdict);
}

}  // namespace operations

#include "operations/eeprom_reader.h"

#include <array>

#include "link/functions.h"
#include "operations/module_commands.h"
#include "platform/event_service.h"

namespace operations {

template <typename OnReply, typename OnMiss>
void EepromReader::ReplyWait(int n, OnReply onReply, OnMiss onMiss) {
  // The clock is read before the send, so the key-up lead counts against the limit.
  session_.StartTime = platform::Timer();
  SendReadCommand(session_.ModuleKind, n);
  do {
    platform::DoEvents();
    if (functions::ReplyArrived()) {
      session_.LastReply = functions::TakeReply();
      // A delivery always carries text; an empty one is taken as no reply.
      if (!session_.LastReply.empty()) {
        onReply(static_cast<unsigned char>(session_.LastReply.front()));
        return;
      }
    }
    onMiss();
  } while (ElapsedSince(session_.StartTime) < kReplyLimit && functions::PortOpen());
}

void EepromReader::Command2_Click() {
  if (Active()) return;  // the run under way goes on undisturbed
  const Activity activity;
  const RunningWait wait(window_);
  const bool selection = Begin();
  if (selection) {
    SetStatus("EEPROM Reading");
    bool allAnswered = true;
    std::array<bool, kRegisterCount> answered{};
    std::array<QString, kRegisterCount> result{};

    for (int n = 0; n < kRegisterCount; ++n) {
      if (!table_.Selected(n)) continue;
      observer_->Requested(n, false);
      ReplyWait(
          n,
          [&](unsigned code) {
            result[n] = QString::number(code);
            answered[n] = true;
            observer_->Answered(n, static_cast<int>(code), false);
          },
          [&] { answered[n] = false; });
    }
    // A second chance; a register that misses a single cycle of it fails the run, even if its
    // value comes in a later cycle.
    for (int n = 0; n < kRegisterCount; ++n) {
      if (!table_.Selected(n) || answered[n]) continue;
      observer_->Requested(n, true);
      ReplyWait(
          n,
          [&](unsigned code) {
            result[n] = ". " + QString::number(code);
            observer_->Answered(n, static_cast<int>(code), true);
          },
          [&] {
            result[n] = "NO";
            allAnswered = false;
          });
    }

    if (!functions::PortOpen()) return;  // the window closed under the run: nothing to show
    for (int n = 0; n < kRegisterCount; ++n) {
      if (table_.Selected(n)) {
        table_.ValueColour(n, result[n] == "NO" ? kFailedColour : kReadColour);
        table_.Value(n, result[n]);
      } else {
        table_.ValueColour(n, window_.WindowTextColour());
      }
    }
    SetStatus(allAnswered ? "OK, EEPROM CORRECTLY READ" : "EEPROM READING ERROR");
  } else {
    SetStatus("NO REGISTER SELECT");
  }
  EnablePages();
  window_.EnableClose();
}

}  // namespace operations

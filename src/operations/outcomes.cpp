#include "operations/outcomes.h"

#include <algorithm>

namespace operations {

void Outcomes::Add(OutcomeListener* listener) {
  if (listener != nullptr) listeners_.push_back(listener);
}

void Outcomes::Remove(OutcomeListener* listener) {
  std::erase(listeners_, listener);
}

template <typename Call>
void Outcomes::Tell(Call call) {
  // A copy: a listener may add or remove listeners while it hears an outcome.
  const std::vector<OutcomeListener*> listeners = listeners_;
  for (OutcomeListener* listener : listeners)
    call(*listener);
}

void Outcomes::Requested(int n, bool retry) {
  Tell([&](OutcomeListener& listener) { listener.Requested(n, retry); });
}

void Outcomes::Read(const RegisterReading& reading) {
  Tell([&](OutcomeListener& listener) { listener.Read(reading); });
}

void Outcomes::ReadingEnded(ReadVerdict verdict) {
  Tell([&](OutcomeListener& listener) { listener.ReadingEnded(verdict); });
}

void Outcomes::Programmed(const RegisterProgramming& programming) {
  Tell([&](OutcomeListener& listener) { listener.Programmed(programming); });
}

void Outcomes::ProgrammingEnded(WriteVerdict verdict) {
  Tell([&](OutcomeListener& listener) { listener.ProgrammingEnded(verdict); });
}

void Outcomes::Evaluated(const LinkEvaluation& evaluation) {
  Tell([&](OutcomeListener& listener) { listener.Evaluated(evaluation); });
}

void Outcomes::LinkTestStopped(const LinkTotals& totals) {
  Tell([&](OutcomeListener& listener) { listener.LinkTestStopped(totals); });
}

void Outcomes::Initialized(const InitializationOutcome& outcome) {
  Tell([&](OutcomeListener& listener) { listener.Initialized(outcome); });
}

void Outcomes::Received(const ReceivedBlock& block) {
  Tell([&](OutcomeListener& listener) { listener.Received(block); });
}

QString StatusText(ReadVerdict verdict) {
  switch (verdict) {
    case ReadVerdict::Reading:
      return "EEPROM Reading";
    case ReadVerdict::NothingSelected:
      return "NO REGISTER SELECT";
    case ReadVerdict::AllRead:
      return "OK, EEPROM CORRECTLY READ";
    case ReadVerdict::SomeUnanswered:
      return "EEPROM READING ERROR";
  }
  return {};
}

QString StatusText(WriteVerdict verdict) {
  switch (verdict) {
    case WriteVerdict::Programming:
      return "EEPROM PROGRAMMING";
    case WriteVerdict::NothingSelected:
      return "NO REGISTER SELECT";
    case WriteVerdict::OutOfRange:
      return "Out of Range Programming Values";
    case WriteVerdict::Programmed:
      return "OK, EEPROM PROGRAMMED";
    case WriteVerdict::NotConfirmed:
      return "PROGRAMMING ERROR";
  }
  return {};
}

}  // namespace operations

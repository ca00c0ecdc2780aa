#pragma once

// What the operations of the pages report as it happens, as data. The pages' captions are set
// from the same events; whoever needs a result (talvora-cli, a chart, a station) takes it from
// here and never from a caption or a box.

#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace operations {

// "EEPROM Reading": one register, once its value is known or its last chance has gone.
struct RegisterReading {
  int n = 0;
  std::optional<int> value;  // none: no answer
  bool retried = false;      // asked a second time, having missed the first
  bool operator==(const RegisterReading&) const = default;
};

// How a run ended; `Reading` and `Programming` while it has not (it may never, when the port
// is closed under it).
enum class ReadVerdict { Reading, NothingSelected, AllRead, SomeUnanswered };
enum class WriteVerdict { Programming, NothingSelected, OutOfRange, Programmed, NotConfirmed };

// "EEPROM Writing": one register as its write command goes out and again once read back.
enum class WriteState { NotSent, Sent, Confirmed, NotConfirmed };
struct RegisterProgramming {
  int n = 0;
  int value = 0;
  WriteState state = WriteState::NotSent;
  bool operator==(const RegisterProgramming&) const = default;
};

// One evaluation of the link test (every second tick of Timer1).
struct LinkEvaluation {
  double seconds = 0;  // since TEST ON
  int sent = 0;
  int received = 0;
  int level = 0;
  QString caption;
};

// What TEST OFF shows.
struct LinkTotals {
  int sent = 0;
  int received = 0;
  QString duration;  // the testing time caption
  int level = 0;     // the level when the test was stopped
};

// Initialization: the attached module's address and the station's role, or no answer.
struct InitializationOutcome {
  bool answered = false;
  int address = 0;
  bool master = false;  // address 0
  QString connection;   // the connection caption
};

// A block the terminal received: the sender's address where the station is a master, and the
// rest of the block.
struct ReceivedBlock {
  std::optional<int> from;
  std::string bytes;
};

// Hears the outcomes as they happen; every method does nothing unless overridden.
class OutcomeListener {
 public:
  // A read or write command for register n went out (`retry`: the second chance of a reading).
  virtual void Requested(int /*n*/, bool /*retry*/) {}
  virtual void Read(const RegisterReading& /*reading*/) {}
  virtual void ReadingEnded(ReadVerdict /*verdict*/) {}
  virtual void Programmed(const RegisterProgramming& /*programming*/) {}
  virtual void ProgrammingEnded(WriteVerdict /*verdict*/) {}
  virtual void Evaluated(const LinkEvaluation& /*evaluation*/) {}
  virtual void LinkTestStopped(const LinkTotals& /*totals*/) {}
  virtual void Initialized(const InitializationOutcome& /*outcome*/) {}
  virtual void Received(const ReceivedBlock& /*block*/) {}

 protected:
  ~OutcomeListener() = default;
};

// Passes every outcome on to the listeners present when it happens.
class Outcomes final : public OutcomeListener {
 public:
  void Add(OutcomeListener* listener);
  void Remove(OutcomeListener* listener);

  void Requested(int n, bool retry) override;
  void Read(const RegisterReading& reading) override;
  void ReadingEnded(ReadVerdict verdict) override;
  void Programmed(const RegisterProgramming& programming) override;
  void ProgrammingEnded(WriteVerdict verdict) override;
  void Evaluated(const LinkEvaluation& evaluation) override;
  void LinkTestStopped(const LinkTotals& totals) override;
  void Initialized(const InitializationOutcome& outcome) override;
  void Received(const ReceivedBlock& block) override;

 private:
  template <typename Call>
  void Tell(Call call);

  std::vector<OutcomeListener*> listeners_;
};

// Adds a listener for as long as it lives.
class ListeningTo {
 public:
  ListeningTo(Outcomes& outcomes, OutcomeListener& listener)
      : outcomes_(outcomes), listener_(listener) {
    outcomes_.Add(&listener_);
  }
  ~ListeningTo() { outcomes_.Remove(&listener_); }
  ListeningTo(const ListeningTo&) = delete;
  ListeningTo& operator=(const ListeningTo&) = delete;

 private:
  Outcomes& outcomes_;
  OutcomeListener& listener_;
};

// The status line's text for a verdict: the same text the page shows.
QString StatusText(ReadVerdict verdict);
QString StatusText(WriteVerdict verdict);

}  // namespace operations

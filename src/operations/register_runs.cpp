#include "operations/register_runs.h"

#include <algorithm>
#include <map>
#include <optional>

#include "operations/value_text.h"

namespace operations {
namespace {

void ChooseModule(PageModel& model, bool remote, const std::vector<int>& selected) {
  const ProgrammingView& page = model.Views().programming;
  page.Option1->Checked(!remote);
  page.Option2->Checked(remote);
  for (int n = 0; n < kRegisterCount; ++n)
    model.Table().Selected(n, false);
  for (const int n : selected)
    model.Table().Selected(n, true);
}

class ReadingRecorder final : public OutcomeListener {
 public:
  void Read(const RegisterReading& reading) override { readings_[reading.n] = reading; }
  void ReadingEnded(ReadVerdict verdict) override { verdict_ = verdict; }

  ReadingRecord Record(const std::vector<int>& registers) const {
    ReadingRecord record;
    record.verdict = verdict_;
    for (const int n : registers) {
      const auto reading = readings_.find(n);
      if (reading != readings_.end()) record.registers.push_back(reading->second);
    }
    return record;
  }

 private:
  std::map<int, RegisterReading> readings_;
  ReadVerdict verdict_ = ReadVerdict::Reading;
};

class ProgrammingRecorder final : public OutcomeListener {
 public:
  explicit ProgrammingRecorder(const std::vector<std::pair<int, QString>>& values) {
    for (const auto& [n, text] : values)
      record_.registers.push_back({n, ProgrammingValue(text).value_or(0), WriteState::NotSent});
  }
  void Programmed(const RegisterProgramming& programming) override {
    for (RegisterProgramming& kept : record_.registers) {
      if (kept.n == programming.n) kept = programming;
    }
  }
  void ProgrammingEnded(WriteVerdict verdict) override { record_.verdict = verdict; }

  const ProgrammingRecord& Record() const { return record_; }

 private:
  ProgrammingRecord record_;
};

}  // namespace

ReadingRecord ReadRegisters(PageModel& model, const std::vector<int>& registers, bool remote,
                            OutcomeListener* follower) {
  ChooseModule(model, remote, registers);
  ReadingRecorder recorder;
  const ListeningTo recording(model.Reports(), recorder);
  std::optional<ListeningTo> following;
  if (follower != nullptr) following.emplace(model.Reports(), *follower);
  model.Reader().Command2_Click();
  return recorder.Record(registers);
}

ProgrammingRecord ProgramRegisters(PageModel& model,
                                   const std::vector<std::pair<int, QString>>& values, bool remote,
                                   OutcomeListener* follower) {
  std::vector<int> selected;
  for (const auto& [n, text] : values) {
    selected.push_back(n);
    model.Table().Value(n, text);
  }
  ChooseModule(model, remote, selected);
  ProgrammingRecorder recorder(values);
  const ListeningTo recording(model.Reports(), recorder);
  std::optional<ListeningTo> following;
  if (follower != nullptr) following.emplace(model.Reports(), *follower);
  model.Writer().Command4_Click();
  return recorder.Record();
}

}  // namespace operations

#include "eeprom_job.h"

#include <map>

#include "operations/value_text.h"
#include "run_loop.h"

namespace cli {
namespace {

// Keeps what each register did as the run goes, so that an interrupted run still reports it,
// and passes every step on to whoever follows the run.
class Recorder final : public operations::EepromRunObserver {
 public:
  explicit Recorder(operations::EepromRunObserver* follower) : follower_(follower) {}

  void Requested(int n, bool retry) override {
    if (follower_) follower_->Requested(n, retry);
  }
  void Answered(int n, int value, bool retried) override {
    answers_[n] = {value, retried};
    if (follower_) follower_->Answered(n, value, retried);
  }
  void Confirmed(int n, bool ok) override {
    confirmed_[n] = ok;
    if (follower_) follower_->Confirmed(n, ok);
  }

  const std::map<int, std::pair<int, bool>>& Answers() const { return answers_; }
  const std::map<int, bool>& Confirmations() const { return confirmed_; }

 private:
  operations::EepromRunObserver* follower_;
  std::map<int, std::pair<int, bool>> answers_;
  std::map<int, bool> confirmed_;
};

void ChooseModule(HeadlessPages& pages, bool remote, const std::vector<int>& selected) {
  const operations::ProgrammingView& page = pages.Programming();
  page.Option1->Checked(!remote);
  page.Option2->Checked(remote);
  for (int n = 0; n < operations::kRegisterCount; ++n)
    pages.Table().Selected(n, false);
  for (const int n : selected)
    pages.Table().Selected(n, true);
}

// A value box after a reading: "NO", ". 7" for a value of the second request, or "7".
RegisterReading ReadingShown(int n, const QString& shown) {
  RegisterReading reading{n, std::nullopt, false};
  if (shown == "NO") return reading;
  reading.retried = shown.startsWith(". ");
  reading.value = (reading.retried ? shown.mid(2) : shown).toInt();
  return reading;
}

}  // namespace

ReadResult ReadRegisters(HeadlessPages& pages, const std::vector<int>& registers, bool remote,
                         operations::EepromRunObserver* follower) {
  ChooseModule(pages, remote, registers);
  Recorder recorder(follower);
  pages.Reader().Observe(&recorder);
  pages.Reader().Command2_Click();
  pages.Reader().Observe(nullptr);

  ReadResult result;
  result.interrupted = Interrupted();
  result.status = pages.Programming().Text7->Text();
  for (const int n : registers) {
    if (result.interrupted) {
      // The run ended before it showed anything: what came in so far is all there is.
      const auto answer = recorder.Answers().find(n);
      if (answer == recorder.Answers().end()) continue;
      result.registers.push_back({n, answer->second.first, answer->second.second});
    } else {
      result.registers.push_back(ReadingShown(n, pages.Table().Value(n)));
    }
  }
  result.ok = !result.interrupted && result.status == "OK, EEPROM CORRECTLY READ";
  return result;
}

WriteResult WriteRegisters(HeadlessPages& pages, const std::vector<std::pair<int, QString>>& values,
                           bool remote, operations::EepromRunObserver* follower) {
  std::vector<int> selected;
  for (const auto& [n, text] : values) {
    selected.push_back(n);
    pages.Table().Value(n, text);
  }
  ChooseModule(pages, remote, selected);
  Recorder recorder(follower);
  pages.Writer().Observe(&recorder);
  pages.Writer().Command4_Click();
  pages.Writer().Observe(nullptr);

  WriteResult result;
  result.interrupted = Interrupted();
  result.status = pages.Programming().Text7->Text();
  for (const auto& [n, text] : values) {
    const auto confirmed = recorder.Confirmations().find(n);
    if (result.interrupted && confirmed == recorder.Confirmations().end()) continue;
    const int value = operations::ProgrammingValue(text).value_or(0);
    result.registers.push_back(
        {n, value, confirmed != recorder.Confirmations().end() && confirmed->second});
  }
  result.ok = !result.interrupted && result.status == "OK, EEPROM PROGRAMMED";
  return result;
}

}  // namespace cli

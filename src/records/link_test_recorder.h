#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "operations/outcomes.h"
#include "records/link_test_records.h"

namespace records {

// Keeps every link test it hears in the records: the test at TEST ON, each evaluation as it
// comes, the totals at TEST OFF. A record that cannot be written is told through `problem` and
// never stops the test.
class LinkTestRecorder final : public operations::OutcomeListener {
 public:
  // `setting` gives, at each TEST ON, where and how the test runs (its start time is set here).
  LinkTestRecorder(LinkTestRecords& records, std::function<LinkTestSetting()> setting,
                   std::function<void(const QString&)> problem);

  void LinkTestStarted() override;
  void Evaluated(const operations::LinkEvaluation& evaluation) override;
  void LinkTestStopped(const operations::LinkTotals& totals) override;

  // The next TEST OFF marks the test interrupted (the command line's Ctrl+C).
  void MarkInterrupted() { interrupted_ = true; }
  // The test being kept, or the last one kept.
  std::optional<qint64> Test() const { return test_; }
  // The test running now has a row in the records.
  bool Keeping() const { return keeping_; }

 private:
  void Problem();

  LinkTestRecords& records_;
  std::function<LinkTestSetting()> setting_;
  std::function<void(const QString&)> problem_;
  std::optional<qint64> test_;
  bool keeping_ = false;
  bool interrupted_ = false;
};

}  // namespace records

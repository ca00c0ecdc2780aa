#include "records/link_test_recorder.h"

namespace records {

LinkTestRecorder::LinkTestRecorder(LinkTestRecords& records,
                                   std::function<LinkTestSetting()> setting,
                                   std::function<void(const QString&)> problem)
    : records_(records), setting_(std::move(setting)), problem_(std::move(problem)) {}

void LinkTestRecorder::LinkTestStarted() {
  LinkTestSetting setting = setting_();
  setting.started = QDateTime::currentDateTimeUtc();
  interrupted_ = false;
  test_ = records_.Begin(setting);
  keeping_ = test_.has_value();
  if (!keeping_) Problem();
}

void LinkTestRecorder::Evaluated(const operations::LinkEvaluation& evaluation) {
  if (keeping_ && !records_.AddEvaluation(*test_, evaluation)) Problem();
}

void LinkTestRecorder::LinkTestStopped(const operations::LinkTotals& totals) {
  if (keeping_ &&
      !records_.Finish(*test_, {totals.seconds, totals.sent, totals.received, totals.level},
                       interrupted_)) {
    Problem();
  }
  keeping_ = false;
}

void LinkTestRecorder::Problem() {
  if (problem_) problem_("the link test is not kept: " + records_.Error());
}

}  // namespace records

#include "link_test_job.h"

#include "run_loop.h"

namespace cli {
namespace {

class Gatherer final : public operations::LinkTestListener {
 public:
  Gatherer(LinkTestResult& result, const std::function<void(const Evaluation&)>& onEvaluation)
      : result_(result), onEvaluation_(onEvaluation) {}

  void LinkTestStarted() override {}
  void LinkEvaluated(const Evaluation& evaluation) override {
    result_.evaluations.push_back(evaluation);
    if (onEvaluation_) onEvaluation_(evaluation);
  }
  void LinkTestStopped(const operations::LinkTestTotals& totals) override {
    result_.finalLevel = totals.finalLevel;
    result_.seconds = totals.seconds;
  }

 private:
  LinkTestResult& result_;
  const std::function<void(const Evaluation&)>& onEvaluation_;
};

}  // namespace

LinkTestResult RunLinkTest(HeadlessPages& pages, double seconds,
                           const std::function<void(const Evaluation&)>& onEvaluation,
                           operations::LinkTestListener* also) {
  const operations::RadioTestingView& page = pages.RadioTesting();
  LinkTestResult result;
  Gatherer gatherer(result, onEvaluation);
  operations::LinkTest& test = pages.LinkTest();
  // The record first: an evaluation printed is an evaluation kept.
  if (also != nullptr) test.AddListener(also);
  test.AddListener(&gatherer);
  test.Command3_Click();
  RunFor(seconds);
  result.interrupted = Interrupted();
  test.Command1_Click();
  test.RemoveListener(&gatherer);
  if (also != nullptr) test.RemoveListener(also);
  result.sent = page.Label4->Text().toInt();
  result.received = page.Label5->Text().toInt();
  result.duration = page.Label6->Text();
  return result;
}

}  // namespace cli

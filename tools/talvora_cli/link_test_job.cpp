#include "link_test_job.h"

#include "run_loop.h"

namespace cli {
namespace {

// Keeps the evaluations and the totals as the test reports them.
class LinkTestRecorder final : public operations::OutcomeListener {
 public:
  LinkTestRecorder(LinkTestResult& result,
                   const std::function<void(const Evaluation&)>& onEvaluation)
      : result_(result), onEvaluation_(onEvaluation) {}

  void Evaluated(const Evaluation& evaluation) override {
    result_.evaluations.push_back(evaluation);
    if (onEvaluation_) onEvaluation_(evaluation);
  }
  void LinkTestStopped(const operations::LinkTotals& totals) override {
    result_.sent = totals.sent;
    result_.received = totals.received;
    result_.duration = totals.duration;
    result_.finalLevel = totals.level;
  }

 private:
  LinkTestResult& result_;
  const std::function<void(const Evaluation&)>& onEvaluation_;
};

}  // namespace

LinkTestResult RunLinkTest(HeadlessPages& pages, double seconds,
                           const std::function<void(const Evaluation&)>& onEvaluation) {
  LinkTestResult result;
  LinkTestRecorder recorder(result, onEvaluation);
  const operations::ListeningTo listening(pages.Reports(), recorder);
  pages.LinkTest().Command3_Click();
  RunFor(seconds);
  result.interrupted = Interrupted();
  pages.LinkTest().Command1_Click();
  return result;
}

}  // namespace cli

#include "link_test_job.h"

#include "platform/event_service.h"
#include "run_loop.h"

namespace cli {

LinkTestResult RunLinkTest(HeadlessPages& pages, double seconds,
                           const std::function<void(const Evaluation&)>& onEvaluation) {
  const operations::RadioTestingView& page = pages.RadioTesting();
  const operations::SessionState& session = pages.Session();
  LinkTestResult result;
  const platform::Micros start = platform::Events().NowMicros();
  // Each evaluation ends by showing the level; TEST OFF empties it.
  HeadlessPages::Plain(page.Label3).OnText([&](const QString& level) {
    if (level.isEmpty()) return;
    Evaluation evaluation{static_cast<double>(platform::Events().NowMicros() - start) / 1e6,
                          session.SentPackets, session.ReceivedPackets, session.LinkQuality,
                          page.Label2->Text()};
    result.evaluations.push_back(evaluation);
    if (onEvaluation) onEvaluation(evaluation);
  });
  pages.LinkTest().Command3_Click();
  RunFor(seconds);
  result.interrupted = Interrupted();
  result.finalLevel = session.LinkQuality;
  pages.LinkTest().Command1_Click();
  HeadlessPages::Plain(page.Label3).OnText({});
  result.sent = page.Label4->Text().toInt();
  result.received = page.Label5->Text().toInt();
  result.duration = page.Label6->Text();
  return result;
}

}  // namespace cli

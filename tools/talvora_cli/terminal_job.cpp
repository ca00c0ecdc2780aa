#include "terminal_job.h"

#include "platform/event_service.h"
#include "run_loop.h"

namespace cli {
namespace {

// Ten bit times a byte at 9600 baud, and a margin for the last poll tick to see the write end.
constexpr double kSecondsPerByte = 10.0 / 9600.0;
constexpr double kWriteMargin = 0.2;
constexpr double kMicrosPerSecond = 1e6;

// Calls `hear` with each outcome of one kind as it comes.
template <typename Outcome>
class Hearing final : public operations::OutcomeListener {
 public:
  explicit Hearing(std::function<void(const Outcome&)> hear) : hear_(std::move(hear)) {}
  void Initialized(const operations::InitializationOutcome& outcome) override {
    if constexpr (std::is_same_v<Outcome, operations::InitializationOutcome>) hear_(outcome);
  }
  void Received(const operations::ReceivedBlock& block) override {
    if constexpr (std::is_same_v<Outcome, operations::ReceivedBlock>) hear_(block);
  }

 private:
  std::function<void(const Outcome&)> hear_;
};

}  // namespace

Initialization Initialize(HeadlessPages& pages) {
  Initialization result;
  Hearing<operations::InitializationOutcome> hearing(
      [&](const operations::InitializationOutcome& outcome) { result = outcome; });
  const operations::ListeningTo listening(pages.Reports(), hearing);
  pages.Terminal().Command7_Click();
  return result;
}

void SendMessage(HeadlessPages& pages, const QString& message, const QString& destination) {
  const operations::TerminalView& page = pages.TerminalPage();
  page.Text1->Text(message);
  page.Text2->Text(destination);
  pages.Terminal().Command5_Click();
  const auto bytes = operations::Terminal::MessageByteCount(message) + 1;
  RunFor(static_cast<double>(bytes) * kSecondsPerByte + kWriteMargin);
}

std::vector<ReceivedBlock> Listen(HeadlessPages& pages, double seconds,
                                  const std::function<void(const ReceivedBlock&)>& onBlock) {
  std::vector<ReceivedBlock> blocks;
  const platform::Micros start = platform::Events().NowMicros();
  Hearing<operations::ReceivedBlock> hearing([&](const operations::ReceivedBlock& received) {
    const ReceivedBlock block{
        static_cast<double>(platform::Events().NowMicros() - start) / kMicrosPerSecond,
        received.from, received.bytes};
    blocks.push_back(block);
    if (onBlock) onBlock(block);
  });
  const operations::ListeningTo listening(pages.Reports(), hearing);
  RunFor(seconds);
  return blocks;
}

}  // namespace cli

#include "terminal_job.h"

#include "platform/event_service.h"
#include "run_loop.h"

namespace cli {
namespace {

// Ten bit times a byte at 9600 baud, and a margin for the last poll tick to see the write end.
constexpr double kSecondsPerByte = 10.0 / 9600.0;
constexpr double kWriteMargin = 0.2;

}  // namespace

Initialization Initialize(HeadlessPages& pages) {
  pages.Terminal().Command7_Click();
  const operations::TerminalView& page = pages.TerminalPage();
  Initialization result;
  result.answered = page.Label15->Visible() && !page.Label15->Text().isEmpty();
  if (!result.answered) return result;
  result.address = QString::fromStdString(pages.Session().LocalModuleAddress).toInt();
  result.master = pages.Session().TerminalRole == 1;
  result.connection = page.Label15->Text();
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
  const operations::TerminalView& page = pages.TerminalPage();
  std::vector<ReceivedBlock> blocks;
  const platform::Micros start = platform::Events().NowMicros();
  const bool master = pages.Session().TerminalRole == 1;
  // The serial-port object writes the sender into Text3 first, then the rest into TermText.
  HeadlessPages::Plain(page.TermText).OnText([&](const QString& text) {
    if (text.isEmpty()) return;  // a block that begins with a zero byte shows nothing
    ReceivedBlock block;
    block.seconds = static_cast<double>(platform::Events().NowMicros() - start) / 1e6;
    if (master && !page.Text3->Text().isEmpty()) block.from = page.Text3->Text().toInt();
    block.bytes = text.toLatin1().toStdString();
    blocks.push_back(block);
    if (onBlock) onBlock(block);
  });
  RunFor(seconds);
  HeadlessPages::Plain(page.TermText).OnText({});
  return blocks;
}

}  // namespace cli

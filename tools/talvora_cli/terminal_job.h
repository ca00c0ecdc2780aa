#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "headless_pages.h"

namespace cli {

// What Initialization found out about the attached module.
using Initialization = operations::InitializationOutcome;

// A block the terminal received: the sender's address where the page shows one (a master's
// terminal), and the rest of the block.
struct ReceivedBlock {
  double seconds = 0;  // since listening began
  std::optional<int> from;
  std::string bytes;
};

Initialization Initialize(HeadlessPages& pages);

// Send Data with this message (bytes as Latin-1 text) and, on a master, this destination. The
// message must fit one write and the destination be 0 to 255; the caller checks both first.
// Returns once the bytes have had time to cross the line.
void SendMessage(HeadlessPages& pages, const QString& message, const QString& destination);

// Gathers every block received for `seconds`; `onBlock` hears each as it comes.
std::vector<ReceivedBlock> Listen(HeadlessPages& pages, double seconds,
                                  const std::function<void(const ReceivedBlock&)>& onBlock = {});

}  // namespace cli

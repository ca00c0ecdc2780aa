#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "serial/sim_line/simulated_line.h"

namespace testsupport {

// Bytes of one direction sent back to back, with no idle time on the line between them.
struct Frame {
  serial::LineByte::Direction direction;
  platform::Micros start;  // when the first byte started on the line
  std::string bytes;
  bool rts;  // RTS while the first byte was sent (bytes the program wrote)
};

std::vector<Frame> Frames(const std::vector<serial::LineByte>& transcript,
                          platform::Micros byteDuration);

// "24 03" for the bytes 0x24 0x03.
std::string Hex(std::string_view bytes);

// One line per frame: ">> 24 03" for what the program wrote, "<< 5A" for what it received;
// keyed frames (RTS raised) carry " [RTS]".
std::vector<std::string> TranscriptLines(const std::vector<Frame>& frames);

// Frames the program wrote, as byte strings.
std::vector<std::string> Written(const std::vector<Frame>& frames);

}  // namespace testsupport

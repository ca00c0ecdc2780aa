#include "support/line_transcript.h"

#include <cstdio>

namespace testsupport {

std::vector<Frame> Frames(const std::vector<serial::LineByte>& transcript,
                          platform::Micros byteDuration) {
  std::vector<Frame> frames;
  platform::Micros nextStart = 0;
  for (const serial::LineByte& byte : transcript) {
    const bool continues =
        !frames.empty() && frames.back().direction == byte.direction && byte.at <= nextStart;
    if (!continues) frames.push_back(Frame{byte.direction, byte.at, {}, byte.rts});
    frames.back().bytes.push_back(static_cast<char>(byte.value));
    nextStart = byte.at + byteDuration;
  }
  return frames;
}

std::string Hex(std::string_view bytes) {
  std::string text;
  for (const char c : bytes) {
    char digits[4];
    std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned char>(c));
    if (!text.empty()) text += ' ';
    text += digits;
  }
  return text;
}

std::vector<std::string> TranscriptLines(const std::vector<Frame>& frames) {
  std::vector<std::string> lines;
  for (const Frame& frame : frames) {
    const bool out = frame.direction == serial::LineByte::Direction::FromProgram;
    lines.push_back(std::string(out ? ">> " : "<< ") + Hex(frame.bytes) +
                    (out && frame.rts ? " [RTS]" : ""));
  }
  return lines;
}

std::vector<std::string> Written(const std::vector<Frame>& frames) {
  std::vector<std::string> written;
  for (const Frame& frame : frames) {
    if (frame.direction == serial::LineByte::Direction::FromProgram) written.push_back(frame.bytes);
  }
  return written;
}

}  // namespace testsupport

#include "serial/open_failure.h"

#include <cctype>
#include <utility>

namespace win32 {
namespace {

// A device path longer than this is shown with its middle left out, so that the report stays
// readable and inside its box.
constexpr std::size_t kLongestShownPath = 80;
constexpr const char* kLeftOut = "...";

OpenFailure& Last() {
  static OpenFailure failure;
  return failure;
}

bool InsideCharacter(const std::string& text, std::size_t at) {
  return at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
}

// The beginning and the end of a long path, which tell one device from another; never cut
// inside a multi-byte character.
std::string Shortened(const std::string& path) {
  if (path.size() <= kLongestShownPath) return path;
  const std::size_t kept = kLongestShownPath - std::char_traits<char>::length(kLeftOut);
  std::size_t headEnd = kept / 2;
  std::size_t tailStart = path.size() - (kept - headEnd);
  while (headEnd > 0 && InsideCharacter(path, headEnd))
    --headEnd;
  while (InsideCharacter(path, tailStart))
    ++tailStart;
  return path.substr(0, headEnd) + kLeftOut + path.substr(tailStart);
}

// `text` with every occurrence of a long path shortened.
std::string WithShortPath(std::string text, const std::string& path) {
  const std::string shortened = Shortened(path);
  if (shortened == path) return text;
  for (std::size_t at = text.find(path); at != std::string::npos;
       at = text.find(path, at + shortened.size())) {
    text.replace(at, path.size(), shortened);
  }
  return text;
}

// The fix is a sentence of its own line.
std::string AsSentence(std::string text) {
  if (!text.empty()) text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  return text;
}

}  // namespace

const OpenFailure& LastOpenFailure() {
  return Last();
}

void StoreOpenFailure(OpenFailure failure) {
  Last() = std::move(failure);
}

std::string DescribeOpenFailure(const OpenFailure& failure) {
  std::string text;
  if (!failure.name.empty()) {
    text = Shortened(failure.name);
    // "sim:x (simulated radio system)" already begins with the name it was asked by.
    if (failure.device.rfind(failure.name + " (", 0) == 0) {
      text = Shortened(failure.device);
    } else if (!failure.device.empty() && failure.device != failure.name) {
      text += " (" + Shortened(failure.device) + ")";
    }
  } else if (!failure.device.empty()) {
    text = Shortened(failure.device);
  } else {
    text = "The port";
  }
  const std::string reason =
      failure.reason.empty() ? std::string("cannot be opened") : failure.reason;
  text += ": " + WithShortPath(reason, failure.device) + ".";
  if (!failure.fix.empty()) text += "\n" + AsSentence(WithShortPath(failure.fix, failure.device));
  return text;
}

}  // namespace win32

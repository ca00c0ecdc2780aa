#pragma once

#include <string>

namespace fuzz {

// Whether a message would put a control byte on the operator's terminal.
inline bool HasControlByte(const std::string& text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) return true;
  }
  return false;
}

}  // namespace fuzz

#pragma once

#include <string>

namespace ports {

// The port names the program offers: COM1 to COM4.
inline constexpr int kComCount = 4;

// "COM1" to "COM4" → 1 to 4; 0 for anything else.
inline int ComNumber(const std::string& name) {
  if (name.size() != 4 || name.compare(0, 3, "COM") != 0) return 0;
  const char digit = name[3];
  return digit >= '1' && digit < '1' + kComCount ? digit - '0' : 0;
}

inline std::string ComName(int number) {
  return "COM" + std::to_string(number);
}

// The environment variable that maps a COM name: TALVORA_COM1 for COM1.
inline std::string ComVariable(int number) {
  return "TALVORA_COM" + std::to_string(number);
}

}  // namespace ports

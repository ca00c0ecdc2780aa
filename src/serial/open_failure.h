#pragma once

#include <string>

#include "serial/win32_types.h"

namespace win32 {

// Why the last CreateFileA failed, in words an operator can act on.
struct OpenFailure {
  DWORD error = ERROR_SUCCESS;  // the code GetLastError reports
  std::string name;             // the name the program asked for ("COM1")
  std::string device;           // what that name resolved to ("/dev/ttyUSB0", "sim")
  std::string reason;           // "permission denied", "no such device", ...
  std::string fix;              // what to do about it, where known; may be empty
};

// The failure of the most recent CreateFileA that returned INVALID_HANDLE_VALUE.
const OpenFailure& LastOpenFailure();

// A one-paragraph description of a failure for the error report: device, reason, fix.
std::string DescribeOpenFailure(const OpenFailure& failure);

}  // namespace win32

namespace win32 {
// Records the failure of an open; used by CreateFileA.
void StoreOpenFailure(OpenFailure failure);
}  // namespace win32

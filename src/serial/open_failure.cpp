#include "serial/open_failure.h"

#include <utility>

namespace win32 {
namespace {

OpenFailure& Last() {
  static OpenFailure failure;
  return failure;
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
    text = failure.name;
    if (!failure.device.empty() && failure.device != failure.name) {
      text += " (" + failure.device + ")";
    }
  } else if (!failure.device.empty()) {
    text = failure.device;
  } else {
    text = "The port";
  }
  text += ": " + (failure.reason.empty() ? std::string("cannot be opened") : failure.reason) + ".";
  if (!failure.fix.empty()) text += "\n" + failure.fix;
  return text;
}

}  // namespace win32

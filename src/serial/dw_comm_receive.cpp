// The input side of the serial-port object: one overlapped read and one line-event wait kept
// outstanding while the device is open, both driven by the poll timer.

#include <utility>

#include "platform/windows.h"
#include "serial/comm_api.h"
#include "serial/comm_constants.h"
#include "serial/dw_comm.h"
#include "serial/line_errors.h"
#include "serial/module_link.h"

using namespace comm;

void dwComm::PollRead() {
  if (IOPending[kRead]) {
    if (win32::WaitForSingleObject(Overlaps[kRead].hEvent, 0) != win32::WAIT_TIMEOUT) {
      ProcessReadComplete();
    }
  } else {
    StartRead();
  }
}

void dwComm::StartRead() {
  if (IOPending[kRead]) return;
  if (handle_ == 0) RaiseNotOpen();
  if (win32::ReadFile(handle_, ReadBuffer, kMaxTransfer, &BytesRead, &Overlaps[kRead]) != 0) {
    ProcessReadComplete();
  } else {
    IOPending[kRead] = true;
  }
}

void dwComm::ProcessReadComplete() {
  if (IOPending[kRead]) {
    BytesRead = Overlaps[kRead].InternalHigh;
    IOPending[kRead] = false;
  }
  if (BytesRead == 0) return;
  // The copy stops at the first zero byte: from there on the text holds only zeros.
  std::string text(BytesRead + 1, '\0');
  win32::lstrcpynA(text.data(), reinterpret_cast<const char*>(ReadBuffer),
                   static_cast<int>(BytesRead + 1));
  if (notify_ != nullptr) {
    Comminput(text.substr(0, BytesRead));
    functions::ReplyArrivedFlag = true;
  }
}

void dwComm::Comminput(const std::string& commdata) {
  if (commdata.empty()) return;
  const auto first = static_cast<std::uint8_t>(commdata.front());
  if (first != 0) {
    if (manigl2_ != 0) {
      platform::SetWindowTextA(manigl2_, std::to_string(first).c_str());
      platform::SetWindowTextA(manigl_, commdata.substr(1).c_str());
    } else {
      platform::SetWindowTextA(manigl_, commdata.c_str());
    }
  } else {
    platform::SetWindowTextA(manigl2_, "");
    platform::SetWindowTextA(manigl_, "");
  }
  functions::ReplyArrivedFlag = true;
  aaaa_ = commdata;
}

bool dwComm::EL() const {
  return functions::ReplyArrivedFlag;
}

std::string dwComm::EL_D() {
  return std::exchange(aaaa_, std::string());
}

void dwComm::PollEvent() {
  if (IOPending[kEventWait]) {
    if (win32::WaitForSingleObject(Overlaps[kEventWait].hEvent, 0) != win32::WAIT_TIMEOUT) {
      ProcessEventComplete();
    }
  } else {
    StartEventWait();
  }
}

void dwComm::StartEventWait() {
  if (IOPending[kEventWait]) return;
  if (handle_ == 0) RaiseNotOpen();
  EventResult = 0;
  if (win32::WaitCommEvent(handle_, &EventResult, &Overlaps[kEventWait]) != 0) {
    ProcessEventComplete();
  } else if (win32::GetLastError() == win32::ERROR_IO_PENDING) {
    IOPending[kEventWait] = true;
  }
}

void dwComm::ProcessEventComplete() {
  IOPending[kEventWait] = false;
  if (EventResult == 0 || notify_ == nullptr) return;
  win32::DWORD errors = 0;
  win32::ClearCommError(handle_, &errors, nullptr);
  for (const auto& [flag, message] : win32::kLineErrorMessages) {
    if ((errors & flag) != 0) functions::ShowCommError(message);
  }
}

#include "serial/dw_comm.h"

#include "platform/app_error.h"
#include "serial/comm_api.h"
#include "serial/comm_constants.h"
#include "serial/module_link.h"
#include "serial/open_failure.h"

using namespace comm;

dwComm::dwComm() {
  DCB_ = std::make_shared<dwDCB>();
  ReadBuffer =
      static_cast<std::uint8_t*>(win32::GlobalAlloc(win32::GMEM_FIXED, kTransferBufferSize));
  WriteBuffer =
      static_cast<std::uint8_t*>(win32::GlobalAlloc(win32::GMEM_FIXED, kTransferBufferSize));
  EventMask = win32::EV_ERR;
  for (auto& overlap : Overlaps)
    overlap.hEvent = win32::CreateEventA(nullptr, 1, 0, nullptr);
}

dwComm::~dwComm() {
  CloseComm();
  for (auto& overlap : Overlaps)
    win32::CloseHandle(overlap.hEvent);
  DCB_.reset();
  win32::GlobalFree(ReadBuffer);
  win32::GlobalFree(WriteBuffer);
}

std::int32_t dwComm::OpenComm(const std::string& CommDeviceName, NotifyObject Notify,
                              std::optional<std::int32_t> cbInQueue,
                              std::optional<std::int32_t> cbOutQueue) {
  functions::ReplyArrivedFlag = false;
  if (handle_ != 0) CloseComm();
  deviceName_ = CommDeviceName;
  notify_ = Notify;
  handle_ = win32::CreateFileA(CommDeviceName.c_str(), win32::GENERIC_READ | win32::GENERIC_WRITE,
                               0, nullptr, win32::OPEN_EXISTING, win32::FILE_FLAG_OVERLAPPED, 0);
  if (handle_ == win32::INVALID_HANDLE_VALUE) {
    throw platform::AppError(kOpenError, "dwComm", "Unable to open communications device",
                             win32::DescribeOpenFailure(win32::LastOpenFailure()));
  }
  if (cbInQueue && cbOutQueue) {
    win32::SetupComm(handle_, static_cast<win32::DWORD>(*cbInQueue),
                     static_cast<win32::DWORD>(*cbOutQueue));
  } else {
    win32::SetupComm(handle_, kInQueueSize, kOutQueueSize);
  }
  DCB_->fRtsControl(0);
  SetCommState();
  // A read returns 1 ms after the last byte of a burst, or 10 ms after it started.
  ReadIntervalTimeout(1);
  ReadTotalTimeoutMultiplier(0);
  ReadTotalTimeoutConstant(10);
  WriteTotalTimeoutMultiplier(1);
  WriteTotalTimeoutConstant(1);
  SetCommTimeouts();
  DCB_->GetCommState(*this);
  win32::SetCommMask(handle_, EventMask);
  StartRead();
  return 0;
}

std::int32_t dwComm::CloseComm() {
  if (handle_ != 0) {
    notify_ = nullptr;
    win32::EscapeCommFunction(handle_, win32::CLRRTS);
    win32::CloseHandle(handle_);
    handle_ = 0;
  }
  return 0;
}

std::int32_t dwComm::CommOutput(const std::string& outputdata) {
  functions::ReplyArrivedFlag = false;
  if (handle_ == 0) RaiseNotOpen();
  PendingOutput_ += outputdata;
  if (IOPending[kWrite]) return -1;
  std::size_t n = PendingOutput_.size();
  if (n == 0) return -1;
  if (n > kMaxTransfer) n = kMaxTransfer;
  win32::RtlMoveMemory(WriteBuffer, PendingOutput_.data(), n);
  PendingOutput_.erase(0, n);
  if (win32::WriteFile(handle_, WriteBuffer, static_cast<win32::DWORD>(n), &BytesWritten,
                       &Overlaps[kWrite]) != 0) {
    ProcessWriteComplete();
    return -1;
  }
  if (win32::GetLastError() == win32::ERROR_IO_PENDING) {
    IOPending[kWrite] = true;
    return -1;
  }
  return 0;  // the chunk is lost
}

void dwComm::ProcessWriteComplete() {
  IOPending[kWrite] = false;
}

void dwComm::PollWrite() {
  // Whatever raised RTS for a keyed frame, it stays up only until the next tick.
  win32::EscapeCommFunction(handle_, win32::CLRRTS);
  if (IOPending[kWrite] &&
      win32::WaitForSingleObject(Overlaps[kWrite].hEvent, 0) != win32::WAIT_TIMEOUT) {
    ProcessWriteComplete();
  }
}

std::int32_t dwComm::ReadIntervalTimeout() const {
  return static_cast<std::int32_t>(Timeouts.ReadIntervalTimeout);
}
void dwComm::ReadIntervalTimeout(std::int32_t vNewValue) {
  Timeouts.ReadIntervalTimeout = static_cast<win32::DWORD>(vNewValue);
}
std::int32_t dwComm::ReadTotalTimeoutMultiplier() const {
  return static_cast<std::int32_t>(Timeouts.ReadTotalTimeoutMultiplier);
}
void dwComm::ReadTotalTimeoutMultiplier(std::int32_t vNewValue) {
  Timeouts.ReadTotalTimeoutMultiplier = static_cast<win32::DWORD>(vNewValue);
}
std::int32_t dwComm::ReadTotalTimeoutConstant() const {
  return static_cast<std::int32_t>(Timeouts.ReadTotalTimeoutConstant);
}
void dwComm::ReadTotalTimeoutConstant(std::int32_t vNewValue) {
  Timeouts.ReadTotalTimeoutConstant = static_cast<win32::DWORD>(vNewValue);
}
std::int32_t dwComm::WriteTotalTimeoutMultiplier() const {
  return static_cast<std::int32_t>(Timeouts.WriteTotalTimeoutMultiplier);
}
void dwComm::WriteTotalTimeoutMultiplier(std::int32_t vNewValue) {
  Timeouts.WriteTotalTimeoutMultiplier = static_cast<win32::DWORD>(vNewValue);
}
std::int32_t dwComm::WriteTotalTimeoutConstant() const {
  return static_cast<std::int32_t>(Timeouts.WriteTotalTimeoutConstant);
}
void dwComm::WriteTotalTimeoutConstant(std::int32_t vNewValue) {
  Timeouts.WriteTotalTimeoutConstant = static_cast<win32::DWORD>(vNewValue);
}

void dwComm::GetCommTimeouts() {
  if (handle_ != 0) win32::GetCommTimeouts(handle_, &Timeouts);
}

std::int32_t dwComm::SetCommTimeouts() {
  if (handle_ == 0) return 0;
  return win32::SetCommTimeouts(handle_, &Timeouts) != 0 ? -1 : 0;
}

std::int32_t dwComm::GetCommState() {
  if (handle_ == 0) RaiseNotOpen();
  return DCB_->GetCommState(*this) ? -1 : 0;
}

std::int32_t dwComm::SetCommState() {
  if (handle_ == 0) RaiseNotOpen();
  return DCB_->SetCommState(*this) ? -1 : 0;
}

void dwComm::RaiseNotOpen() {
  throw platform::AppError(kNotOpenError, "dwComm", "Communication Device is not open");
}

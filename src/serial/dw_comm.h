#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "serial/dw_dcb.h"
#include "serial/win32_types.h"

// The serial-port object. One instance opens one COM device for overlapped input and output
// and owns what the device needs while open: the handle, the timeouts, the settings record,
// two fixed 1025-byte transfer buffers, three overlapped records with their events, and the
// text still waiting to be written. It never blocks: every outstanding operation is tested
// with a zero wait by PollWrite, PollRead and PollEvent, which the link's poll timer calls.
//
// Raised errors: 0x80047922 "Unable to open communications device" and 0x80047923
// "Communication Device is not open", both from "dwComm".
class dwComm {
 public:
  // What received data and line errors are reported for; never called, only tested for being
  // set. While it is empty, received data and line errors are dropped.
  using NotifyObject = const void*;

  dwComm();
  ~dwComm();
  dwComm(const dwComm&) = delete;
  dwComm& operator=(const dwComm&) = delete;

  std::int32_t handle() const { return handle_; }
  void handle(std::int32_t vNewValue) { handle_ = vNewValue; }
  std::int32_t manigl() const { return manigl_; }
  void manigl(std::int32_t vNewValue) { manigl_ = vNewValue; }
  std::int32_t manigl2() const { return manigl2_; }
  void manigl2(std::int32_t vNewValue) { manigl2_ = vNewValue; }
  std::shared_ptr<dwDCB> DCB() const { return DCB_; }
  void DCB(std::shared_ptr<dwDCB> vNewValue) { DCB_ = std::move(vNewValue); }
  std::string aaaa() const { return aaaa_; }
  void aaaa(const std::string& vNewValue) { aaaa_ = vNewValue; }

  // Queues text and starts one write of at most 1024 bytes; -1 unless the system refused it.
  std::int32_t CommOutput(const std::string& outputdata);
  void ProcessWriteComplete();
  void PollWrite();
  // Opens the device (closing an open one first) and sets it up; always 0.
  std::int32_t OpenComm(const std::string& CommDeviceName, NotifyObject Notify,
                        std::optional<std::int32_t> cbInQueue = std::nullopt,
                        std::optional<std::int32_t> cbOutQueue = std::nullopt);
  void PollRead();
  void ProcessReadComplete();
  bool EL() const;
  std::string EL_D();
  void Comminput(const std::string& commdata);

  std::int32_t ReadIntervalTimeout() const;
  void ReadIntervalTimeout(std::int32_t vNewValue);
  std::int32_t ReadTotalTimeoutMultiplier() const;
  void ReadTotalTimeoutMultiplier(std::int32_t vNewValue);
  std::int32_t ReadTotalTimeoutConstant() const;
  void ReadTotalTimeoutConstant(std::int32_t vNewValue);
  std::int32_t WriteTotalTimeoutMultiplier() const;
  void WriteTotalTimeoutMultiplier(std::int32_t vNewValue);
  std::int32_t WriteTotalTimeoutConstant() const;
  void WriteTotalTimeoutConstant(std::int32_t vNewValue);

  std::int32_t hCommDev() const { return handle_; }
  std::string devicename() const { return deviceName_; }
  void GetCommTimeouts();
  std::int32_t SetCommTimeouts();
  std::int32_t CloseComm();
  std::int32_t GetCommState();
  std::int32_t SetCommState();
  void PollEvent();

  // The text handed to CommOutput and not yet given to the driver.
  const std::string& PendingOutput() const { return PendingOutput_; }

 private:
  void StartRead();
  [[noreturn]] void RaiseNotOpen();
  void StartEventWait();
  void ProcessEventComplete();

  std::int32_t handle_ = 0;
  std::int32_t manigl_ = 0;
  std::int32_t manigl2_ = 0;
  std::shared_ptr<dwDCB> DCB_;
  std::string aaaa_;

  win32::COMMTIMEOUTS Timeouts{};
  std::string deviceName_;
  std::string PendingOutput_;
  win32::DWORD EventMask = 0;
  std::uint8_t* ReadBuffer = nullptr;
  std::uint8_t* WriteBuffer = nullptr;
  std::array<win32::OVERLAPPED, 3> Overlaps{};
  std::array<bool, 3> IOPending{};
  win32::DWORD BytesWritten = 0;
  win32::DWORD BytesRead = 0;
  win32::DWORD EventResult = 0;
  NotifyObject notify_ = nullptr;
};

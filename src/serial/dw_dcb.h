#pragma once

#include <cstdint>
#include <string>

#include "serial/win32_types.h"

class dwComm;

// The settings record of a serial device: one 28-byte device control block with a typed,
// validated property for each field, the single bits and two-bit fields of its flag word
// included. Rejected values raise error 0x80047918 from "dwDCB" and leave the field as it was.
class dwDCB {
 public:
  dwDCB();

  std::int32_t BaudRate() const;
  void BaudRate(std::int32_t vNewValue);
  bool fParity() const;
  void fParity(bool vNewValue);
  bool fOutxCtsFlow() const;
  void fOutxCtsFlow(bool vNewValue);
  bool fOutxDsrFlow() const;
  void fOutxDsrFlow(bool vNewValue);
  std::int16_t fDtrControl() const;
  void fDtrControl(std::int16_t vNewValue);
  bool fDsrSensitivity() const;
  void fDsrSensitivity(bool vNewValue);
  bool fTXContinueOnXoff() const;
  void fTXContinueOnXoff(bool vNewValue);
  bool fOutX() const;
  void fOutX(bool vNewValue);
  bool fInX() const;
  void fInX(bool vNewValue);
  bool fErrorChar() const;
  void fErrorChar(bool vNewValue);
  bool fNull() const;
  void fNull(bool vNewValue);
  std::int16_t fRtsControl() const;
  void fRtsControl(std::int16_t vNewValue);
  bool fAbortOnError() const;
  void fAbortOnError(bool vNewValue);
  std::int16_t XonLim() const;
  void XonLim(std::int16_t vNewValue);
  std::int16_t XoffLim() const;
  void XoffLim(std::int16_t vNewValue);
  std::uint8_t ByteSize() const;
  void ByteSize(std::uint8_t vNewValue);
  std::uint8_t Parity() const;
  void Parity(std::uint8_t vNewValue);
  std::uint8_t StopBits() const;
  void StopBits(std::uint8_t vNewValue);
  std::string XonChar() const;
  void XonChar(const std::string& vNewValue);
  std::string XoffChar() const;
  void XoffChar(const std::string& vNewValue);
  std::string ErrorChar() const;
  void ErrorChar(const std::string& vNewValue);
  std::string EofChar() const;
  void EofChar(const std::string& vNewValue);
  std::string EvtChar() const;
  void EvtChar(const std::string& vNewValue);

  // Reads the record from the device of `Comm`; false, with the record unchanged, when the
  // device is closed or the system refuses.
  bool GetCommState(const dwComm& Comm);
  // Applies the record to the device of `Comm`; false when closed or refused.
  bool SetCommState(const dwComm& Comm);

  // The record as the system sees it.
  const win32::DCB& Record() const { return dcb_; }
  win32::DWORD FlagWord() const { return dcb_.Flags; }

 private:
  bool Bit(win32::DWORD bit) const;
  void Bit(win32::DWORD bit, bool value);

  win32::DCB dcb_{};
  std::int16_t QueueSize = 0;
};

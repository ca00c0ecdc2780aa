#include "serial/dw_dcb.h"

#include <algorithm>
#include <array>

#include "platform/app_error.h"
#include "serial/comm_api.h"
#include "serial/dw_comm.h"

namespace {

namespace flags = win32::dcb_flags;

constexpr std::uint32_t kRejectedSetting = platform::kObjectErrorBase + 31000;
constexpr std::array<std::int32_t, 15> kBaudRates = {110,   300,   600,    1200,   2400,
                                                     4800,  9600,  14400,  19200,  38400,
                                                     56000, 57600, 115200, 128000, 256000};

[[noreturn]] void Reject(const char* description) {
  throw platform::AppError(kRejectedSetting, "dwDCB", description);
}

std::string CharText(std::uint8_t code) {
  return std::string(1, static_cast<char>(code));
}

// The code of the first character; an empty text keeps the old code.
std::uint8_t FirstCode(const std::string& text, std::uint8_t old) {
  return text.empty() ? old : static_cast<std::uint8_t>(text.front());
}

}  // namespace

dwDCB::dwDCB() {
  dcb_.DCBlength = sizeof(win32::DCB);
  QueueSize = 2048;
  // The order matters: the two control-field setters clear every other flag bit, so the
  // flag word ends as 0 whatever the booleans before them set.
  fParity(true);
  fOutxCtsFlow(false);
  fOutxDsrFlow(false);
  fDtrControl(0);
  fDsrSensitivity(true);
  fTXContinueOnXoff(true);
  fOutX(false);
  fInX(false);
  fErrorChar(true);
  fNull(false);
  fRtsControl(0);
  fAbortOnError(false);
  XonLim(100);
  XoffLim(static_cast<std::int16_t>(QueueSize - 100));
  dcb_.ByteSize = 8;
  dcb_.Parity = win32::ODDPARITY;
  dcb_.StopBits = win32::ONESTOPBIT;
  dcb_.XonChar = 17;
  dcb_.XoffChar = 19;
  dcb_.ErrorChar = '~';
  dcb_.EofChar = 26;
  dcb_.EvtChar = 255;
  BaudRate(9600);
}

bool dwDCB::Bit(win32::DWORD bit) const {
  return (dcb_.Flags & bit) != 0;
}

void dwDCB::Bit(win32::DWORD bit, bool value) {
  dcb_.Flags &= ~bit;
  if (value) dcb_.Flags |= bit;
}

std::int32_t dwDCB::BaudRate() const {
  return static_cast<std::int32_t>(dcb_.BaudRate);
}
void dwDCB::BaudRate(std::int32_t vNewValue) {
  if (std::find(kBaudRates.begin(), kBaudRates.end(), vNewValue) == kBaudRates.end()) {
    Reject("Invalid baud rate");
  }
  dcb_.BaudRate = static_cast<win32::DWORD>(vNewValue);
}

bool dwDCB::fParity() const {
  return Bit(flags::fParity);
}
void dwDCB::fParity(bool vNewValue) {
  Bit(flags::fParity, vNewValue);
}
bool dwDCB::fOutxCtsFlow() const {
  return Bit(flags::fOutxCtsFlow);
}
void dwDCB::fOutxCtsFlow(bool vNewValue) {
  Bit(flags::fOutxCtsFlow, vNewValue);
}
bool dwDCB::fOutxDsrFlow() const {
  return Bit(flags::fOutxDsrFlow);
}
void dwDCB::fOutxDsrFlow(bool vNewValue) {
  Bit(flags::fOutxDsrFlow, vNewValue);
}

std::int16_t dwDCB::fDtrControl() const {
  return static_cast<std::int16_t>((dcb_.Flags & flags::fDtrControlMask) >>
                                   flags::kDtrControlShift);
}
void dwDCB::fDtrControl(std::int16_t vNewValue) {
  if (vNewValue < 0 || vNewValue > 2) Reject("Invalid fDtrControl setting");
  // The word keeps only the field's own old bits, ORed with the new value.
  dcb_.Flags = (dcb_.Flags & flags::fDtrControlMask) |
               (static_cast<win32::DWORD>(vNewValue) << flags::kDtrControlShift);
}

bool dwDCB::fDsrSensitivity() const {
  return Bit(flags::fDsrSensitivity);
}
void dwDCB::fDsrSensitivity(bool vNewValue) {
  Bit(flags::fDsrSensitivity, vNewValue);
}
bool dwDCB::fTXContinueOnXoff() const {
  return Bit(flags::fTXContinueOnXoff);
}
void dwDCB::fTXContinueOnXoff(bool vNewValue) {
  Bit(flags::fTXContinueOnXoff, vNewValue);
}
bool dwDCB::fOutX() const {
  return Bit(flags::fOutX);
}
void dwDCB::fOutX(bool vNewValue) {
  Bit(flags::fOutX, vNewValue);
}
bool dwDCB::fInX() const {
  return Bit(flags::fInX);
}
void dwDCB::fInX(bool vNewValue) {
  Bit(flags::fInX, vNewValue);
}
bool dwDCB::fErrorChar() const {
  return Bit(flags::fErrorChar);
}
void dwDCB::fErrorChar(bool vNewValue) {
  Bit(flags::fErrorChar, vNewValue);
}
bool dwDCB::fNull() const {
  return Bit(flags::fNull);
}
void dwDCB::fNull(bool vNewValue) {
  Bit(flags::fNull, vNewValue);
}

std::int16_t dwDCB::fRtsControl() const {
  return static_cast<std::int16_t>((dcb_.Flags & flags::fRtsControlMask) >>
                                   flags::kRtsControlShift);
}
void dwDCB::fRtsControl(std::int16_t vNewValue) {
  if (vNewValue < 0 || vNewValue > 3) Reject("Invalid fRtsControl setting");
  dcb_.Flags = (dcb_.Flags & flags::fRtsControlMask) |
               (static_cast<win32::DWORD>(vNewValue) << flags::kRtsControlShift);
}

bool dwDCB::fAbortOnError() const {
  return Bit(flags::fAbortOnError);
}
void dwDCB::fAbortOnError(bool vNewValue) {
  Bit(flags::fAbortOnError, vNewValue);
}

std::int16_t dwDCB::XonLim() const {
  return static_cast<std::int16_t>(dcb_.XonLim);
}
void dwDCB::XonLim(std::int16_t vNewValue) {
  dcb_.XonLim = static_cast<std::uint16_t>(vNewValue);
}
std::int16_t dwDCB::XoffLim() const {
  return static_cast<std::int16_t>(dcb_.XoffLim);
}
void dwDCB::XoffLim(std::int16_t vNewValue) {
  dcb_.XoffLim = static_cast<std::uint16_t>(vNewValue);
}

std::uint8_t dwDCB::ByteSize() const {
  return dcb_.ByteSize;
}
void dwDCB::ByteSize(std::uint8_t vNewValue) {
  if (vNewValue < 4 || vNewValue > 8) Reject("Invalid Byte size setting");
  dcb_.ByteSize = vNewValue;
}
std::uint8_t dwDCB::Parity() const {
  return dcb_.Parity;
}
void dwDCB::Parity(std::uint8_t vNewValue) {
  if (vNewValue >= 5) Reject("Invalid Parity setting");
  dcb_.Parity = vNewValue;
}
std::uint8_t dwDCB::StopBits() const {
  return dcb_.StopBits;
}
void dwDCB::StopBits(std::uint8_t vNewValue) {
  if (vNewValue >= 5) Reject("Invalid Stop bits");
  dcb_.StopBits = vNewValue;
}

std::string dwDCB::XonChar() const {
  return CharText(dcb_.XonChar);
}
void dwDCB::XonChar(const std::string& vNewValue) {
  dcb_.XonChar = FirstCode(vNewValue, dcb_.XonChar);
}
std::string dwDCB::XoffChar() const {
  return CharText(dcb_.XoffChar);
}
void dwDCB::XoffChar(const std::string& vNewValue) {
  dcb_.XoffChar = FirstCode(vNewValue, dcb_.XoffChar);
}
std::string dwDCB::ErrorChar() const {
  return CharText(dcb_.ErrorChar);
}
void dwDCB::ErrorChar(const std::string& vNewValue) {
  dcb_.ErrorChar = FirstCode(vNewValue, dcb_.ErrorChar);
}
std::string dwDCB::EofChar() const {
  return CharText(dcb_.EofChar);
}
void dwDCB::EofChar(const std::string& vNewValue) {
  dcb_.EofChar = FirstCode(vNewValue, dcb_.EofChar);
}
std::string dwDCB::EvtChar() const {
  return CharText(dcb_.EvtChar);
}
void dwDCB::EvtChar(const std::string& vNewValue) {
  dcb_.EvtChar = FirstCode(vNewValue, dcb_.EvtChar);
}

bool dwDCB::GetCommState(const dwComm& Comm) {
  if (Comm.hCommDev() == 0) return false;
  win32::DCB fromDevice = dcb_;
  if (win32::GetCommState(Comm.hCommDev(), &fromDevice) == 0) return false;
  dcb_ = fromDevice;
  return true;
}

bool dwDCB::SetCommState(const dwComm& Comm) {
  if (Comm.hCommDev() == 0) return false;
  return win32::SetCommState(Comm.hCommDev(), &dcb_) != 0;
}

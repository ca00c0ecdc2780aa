#pragma once

// The types, codes and records of the Win32 communications calls, as this program uses them.

#include <cstddef>
#include <cstdint>

namespace win32 {

using HANDLE = std::int32_t;  // handles are Long values in the program
using DWORD = std::uint32_t;
using BOOL = std::int32_t;

inline constexpr HANDLE INVALID_HANDLE_VALUE = -1;

inline constexpr DWORD GENERIC_READ = 0x80000000u;
inline constexpr DWORD GENERIC_WRITE = 0x40000000u;
inline constexpr DWORD OPEN_EXISTING = 3;
inline constexpr DWORD FILE_FLAG_OVERLAPPED = 0x40000000u;

inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
inline constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
inline constexpr DWORD ERROR_ACCESS_DENIED = 5;
inline constexpr DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD ERROR_GEN_FAILURE = 31;
inline constexpr DWORD ERROR_SHARING_VIOLATION = 32;
inline constexpr DWORD ERROR_NOT_SUPPORTED = 50;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_OPERATION_ABORTED = 995;
inline constexpr DWORD ERROR_IO_PENDING = 997;

inline constexpr DWORD STATUS_SUCCESS = 0;
inline constexpr DWORD STATUS_CANCELLED = 0xC0000120u;

inline constexpr DWORD WAIT_OBJECT_0 = 0;
inline constexpr DWORD WAIT_TIMEOUT = 258;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;
inline constexpr DWORD INFINITE = 0xFFFFFFFFu;

// EscapeCommFunction codes.
inline constexpr DWORD SETXOFF = 1;
inline constexpr DWORD SETXON = 2;
inline constexpr DWORD SETRTS = 3;
inline constexpr DWORD CLRRTS = 4;
inline constexpr DWORD SETDTR = 5;
inline constexpr DWORD CLRDTR = 6;

inline constexpr DWORD EV_ERR = 0x0080;

// Line-error flags of ClearCommError.
inline constexpr DWORD CE_RXOVER = 0x0001;
inline constexpr DWORD CE_OVERRUN = 0x0002;
inline constexpr DWORD CE_RXPARITY = 0x0004;
inline constexpr DWORD CE_FRAME = 0x0008;
inline constexpr DWORD CE_BREAK = 0x0010;
inline constexpr DWORD CE_TXFULL = 0x0100;

inline constexpr DWORD MAXDWORD = 0xFFFFFFFFu;

struct OVERLAPPED {
  DWORD Internal;
  DWORD InternalHigh;
  DWORD Offset;
  DWORD OffsetHigh;
  HANDLE hEvent;
};
static_assert(sizeof(OVERLAPPED) == 20, "five 32-bit fields");

struct COMMTIMEOUTS {
  DWORD ReadIntervalTimeout;
  DWORD ReadTotalTimeoutMultiplier;
  DWORD ReadTotalTimeoutConstant;
  DWORD WriteTotalTimeoutMultiplier;
  DWORD WriteTotalTimeoutConstant;
};
static_assert(sizeof(COMMTIMEOUTS) == 20, "passed to the device as one block");

// The 28-byte device control block, laid out as the system expects it.
struct DCB {
  DWORD DCBlength;
  DWORD BaudRate;
  DWORD Flags;  // fBinary, fParity, ... fAbortOnError, fDummy2 (see dcb_flags.h)
  std::uint16_t wReserved;
  std::uint16_t XonLim;
  std::uint16_t XoffLim;
  std::uint8_t ByteSize;
  std::uint8_t Parity;
  std::uint8_t StopBits;
  std::uint8_t XonChar;
  std::uint8_t XoffChar;
  std::uint8_t ErrorChar;
  std::uint8_t EofChar;
  std::uint8_t EvtChar;
  std::uint16_t wReserved1;
};
static_assert(sizeof(DCB) == 28);
static_assert(offsetof(DCB, BaudRate) == 4);
static_assert(offsetof(DCB, Flags) == 8);
static_assert(offsetof(DCB, wReserved) == 12);
static_assert(offsetof(DCB, XonLim) == 14);
static_assert(offsetof(DCB, XoffLim) == 16);
static_assert(offsetof(DCB, ByteSize) == 18);
static_assert(offsetof(DCB, Parity) == 19);
static_assert(offsetof(DCB, StopBits) == 20);
static_assert(offsetof(DCB, XonChar) == 21);
static_assert(offsetof(DCB, XoffChar) == 22);
static_assert(offsetof(DCB, ErrorChar) == 23);
static_assert(offsetof(DCB, EofChar) == 24);
static_assert(offsetof(DCB, EvtChar) == 25);
static_assert(offsetof(DCB, wReserved1) == 26);

// Bits of the DCB flag word.
namespace dcb_flags {
inline constexpr DWORD fBinary = 1u << 0;
inline constexpr DWORD fParity = 1u << 1;
inline constexpr DWORD fOutxCtsFlow = 1u << 2;
inline constexpr DWORD fOutxDsrFlow = 1u << 3;
inline constexpr int kDtrControlShift = 4;
inline constexpr DWORD fDtrControlMask = 3u << kDtrControlShift;
inline constexpr DWORD fDsrSensitivity = 1u << 6;
inline constexpr DWORD fTXContinueOnXoff = 1u << 7;
inline constexpr DWORD fOutX = 1u << 8;
inline constexpr DWORD fInX = 1u << 9;
inline constexpr DWORD fErrorChar = 1u << 10;
inline constexpr DWORD fNull = 1u << 11;
inline constexpr int kRtsControlShift = 12;
inline constexpr DWORD fRtsControlMask = 3u << kRtsControlShift;
inline constexpr DWORD fAbortOnError = 1u << 14;
}  // namespace dcb_flags

// Values of the DTR and RTS control fields.
inline constexpr DWORD DTR_CONTROL_DISABLE = 0;
inline constexpr DWORD DTR_CONTROL_ENABLE = 1;
inline constexpr DWORD DTR_CONTROL_HANDSHAKE = 2;
inline constexpr DWORD RTS_CONTROL_DISABLE = 0;
inline constexpr DWORD RTS_CONTROL_ENABLE = 1;
inline constexpr DWORD RTS_CONTROL_HANDSHAKE = 2;
inline constexpr DWORD RTS_CONTROL_TOGGLE = 3;

// Parity and stop-bit codes of the DCB.
inline constexpr std::uint8_t NOPARITY = 0;
inline constexpr std::uint8_t ODDPARITY = 1;
inline constexpr std::uint8_t EVENPARITY = 2;
inline constexpr std::uint8_t MARKPARITY = 3;
inline constexpr std::uint8_t SPACEPARITY = 4;
inline constexpr std::uint8_t ONESTOPBIT = 0;
inline constexpr std::uint8_t ONE5STOPBITS = 1;
inline constexpr std::uint8_t TWOSTOPBITS = 2;

// What a serial device reports before anyone has set it: 9600 baud, 8 data bits, no parity, one
// stop bit, binary mode, the usual XON and XOFF characters.
inline DCB PowerOnDcb() {
  DCB dcb{};
  dcb.DCBlength = sizeof(DCB);
  dcb.BaudRate = 9600;
  dcb.Flags = dcb_flags::fBinary;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.XonChar = 17;
  dcb.XoffChar = 19;
  return dcb;
}

}  // namespace win32

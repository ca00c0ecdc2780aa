#pragma once

// The settings record of a comm handle as termios sees it, and back. The mapping itself is pure;
// only ReadTtySettings and WriteTtySettings touch a device.

#include <termios.h>

#include <optional>

#include "platform/event_service.h"
#include "serial/win32_face.h"
#include "serial/win32_types.h"

namespace serial {

// Whether a UART can carry the frame the record describes: a baud rate above 0, 4 to 8 data
// bits, a known parity and a known number of stop bits.
bool TtyCanCarry(const DCB& dcb);

// The termios speed constant for `baud`, when termios has one.
std::optional<speed_t> StandardSpeed(DWORD baud);

// The termios for a record: raw bytes, receiver on, modem status ignored, lines dropped on the
// last close, and the record's baud, frame, parity checking and flow control. `base` supplies
// what the record does not speak of (line discipline, the other control characters).
termios TermiosFromDcb(const DCB& dcb, const termios& base);

// The record a device with `tio` has. Fields termios does not hold (the DTR and RTS control
// fields, the XON/XOFF limits, the special characters, DSR handling) come from `applied`, the
// record last applied, so they read back as set and never as the line levels happen to be.
DCB DcbFromTermios(const termios& tio, const DCB& applied);

// Time one frame of the record occupies the line: start bit, data bits, parity bit, stop bits.
platform::Micros FrameDuration(const DCB& dcb);

// Device access that understands the rates TermiosFromDcb encodes without a speed constant.
// Both return 0 or -1 with errno set, as tcgetattr and tcsetattr do.
int ReadTtySettings(int fd, termios& tio);
int WriteTtySettings(int fd, const termios& tio);

}  // namespace serial

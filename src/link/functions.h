#pragma once

// The link service between the windows and the radio module on the serial line: the one
// serial-port object, the 70 ms poll timer that pumps its writes, reads and line events,
// keyed and plain transmissions, and the reply pickup.

#include <cstdint>
#include <memory>
#include <string>

#include "serial/dw_comm.h"
#include "serial/module_link.h"

namespace functions {

// The serial-port object; empty before the first OpenSerial and after CloseSerial.
extern std::shared_ptr<dwComm> serial;
// The poll timer's identifier; 0 while no poll timer runs, and then nothing is sent.
extern std::int32_t lngTimerID;

// The object the serial port reports to: the program's main window. A stand-in is used until
// the main window registers itself, so that reports are never dropped for want of one.
void SetMainWindow(dwComm::NotifyObject window);

void OpenSerial(const std::string& PortName);
void PollTimerProc(std::int32_t hwnd, std::uint32_t uMsg, std::uintptr_t idEvent,
                   std::uint32_t dwTime);
void CloseSerial();
void SetTextWindow(std::int32_t hwnd);
void SetFirstByteWindow(std::int32_t hwnd);

// Keyed frames: RTS up, a busy lead of 10 ms ("#") or 20 ms ("$"), then the frame. 1 when
// handed to the serial object, 0 when the poll timer is not running (RTS then stays up).
std::int32_t SendHashCommand(const std::string& text1, const std::string& text2);
std::int32_t SendDollarCommand(const std::string& text);
// An unkeyed frame; on return `text` holds prefix followed by text.
void SendPlain(const std::string& prefix, std::string& text);
// Whether the serial-port object exists: a wait still running after the port was closed ends
// at once, and every send and pickup above does nothing without it.
bool PortOpen();
bool ReplyArrived();
std::string TakeReply();

}  // namespace functions

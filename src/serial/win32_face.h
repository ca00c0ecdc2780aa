#pragma once

// The names of the Win32-shaped face that the Linux back ends (the tty, the simulated line, the
// logs) work with: the comm calls' types and codes, and the device behind a handle.

#include "serial/comm_device.h"
#include "serial/open_failure.h"
#include "serial/receive_queue.h"
#include "serial/win32_types.h"

namespace serial {

using win32::CommDevice;
using win32::DCB;
using win32::DWORD;
using win32::HANDLE;
using win32::OpenFailure;
using win32::ReceiveQueue;
namespace dcb_flags = win32::dcb_flags;

using win32::CE_BREAK;
using win32::CE_FRAME;
using win32::CE_OVERRUN;
using win32::CE_RXOVER;
using win32::CE_RXPARITY;
using win32::ERROR_ACCESS_DENIED;
using win32::ERROR_FILE_NOT_FOUND;
using win32::ERROR_GEN_FAILURE;
using win32::ERROR_INVALID_PARAMETER;
using win32::ERROR_SHARING_VIOLATION;
using win32::EVENPARITY;
using win32::MARKPARITY;
using win32::NOPARITY;
using win32::ODDPARITY;
using win32::ONE5STOPBITS;
using win32::ONESTOPBIT;
using win32::SPACEPARITY;
using win32::TWOSTOPBITS;

}  // namespace serial

#pragma once

#include <map>
#include <memory>

#include "serial/comm_device.h"
#include "serial/win32_types.h"

namespace win32 {

// An overlapped operation the driver is working on for a device.
struct PendingOperation {
  bool active = false;
  OVERLAPPED* overlapped = nullptr;
  HANDLE event = 0;
  std::uint8_t* buffer = nullptr;  // read: where the bytes go
  DWORD count = 0;                 // read: at most this many; write: this many
  DWORD* eventMask = nullptr;      // event wait: where the events go
  platform::Micros started = 0;
};

struct DeviceEntry {
  std::unique_ptr<CommDevice> device;
  COMMTIMEOUTS timeouts{};
  DWORD eventMask = 0;
  DWORD errorFlags = 0;     // CE_ flags not yet taken by ClearCommError
  bool errorEvent = false;  // EV_ERR happened and has not been reported by a wait
  bool rts = false;         // the level RTS was last set to
  PendingOperation read;
  PendingOperation write;
  PendingOperation wait;
};

struct EventEntry {
  bool manualReset = true;
  bool signalled = false;
  HANDLE device = 0;  // the device whose operation will signal it, while one is pending
};

// Every object the comm calls hand out, by handle. One per process, like the system's.
class HandleTable {
 public:
  static HandleTable& Instance();

  HANDLE AddDevice(std::unique_ptr<CommDevice> device);
  HANDLE AddEvent(bool manualReset, bool initialState);
  DeviceEntry* Device(HANDLE handle);
  EventEntry* Event(HANDLE handle);
  // Removes the object; returns it so that the caller can finish with it first.
  std::unique_ptr<DeviceEntry> TakeDevice(HANDLE handle);
  bool RemoveEvent(HANDLE handle);

 private:
  HANDLE NextHandle();

  std::map<HANDLE, std::unique_ptr<DeviceEntry>> devices_;
  std::map<HANDLE, EventEntry> events_;
  HANDLE next_ = 0x100;
};

}  // namespace win32

#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/event_service.h"
#include "serial/receive_queue.h"
#include "serial/win32_types.h"

namespace win32 {

// A device behind a comm handle: a real tty, or a simulated line. The comm calls keep the
// overlapped operations; a device only moves bytes, keeps its input queue with arrival times,
// sets modem lines and settings, and reports line errors.
class CommDevice {
 public:
  virtual ~CommDevice() = default;

  // Brings the device up to `now`: takes in what has arrived, moves out what waits to go.
  virtual void Advance(platform::Micros now) = 0;
  // Received bytes with their arrival times.
  virtual ReceiveQueue& Input() = 0;
  // Hands bytes to the line; false when the device cannot take them.
  virtual bool Transmit(const std::uint8_t* data, std::size_t count, platform::Micros now) = 0;
  // Whether every byte handed over has left.
  virtual bool TransmitDone(platform::Micros now) = 0;
  virtual bool SetRts(bool raised, platform::Micros now) = 0;
  virtual bool SetDtr(bool raised, platform::Micros now) = 0;
  virtual bool Apply(const DCB& dcb) = 0;
  virtual bool ReadBack(DCB& dcb) = 0;
  // Line-error flags (CE_) that have occurred since the last call; the call clears them.
  virtual DWORD TakeLineErrors() = 0;
  // The device has stopped working (its other side went away, or its I/O fails).
  virtual bool Broken() const = 0;
  virtual void SetQueueSizes(DWORD inQueue, DWORD outQueue) {
    Input().SetCapacity(inQueue);
    (void)outQueue;
  }
};

}  // namespace win32

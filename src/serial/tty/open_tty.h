#pragma once

#include <linux/serial.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/event_service.h"
#include "serial/receive_queue.h"
#include "serial/tty/tty_open.h"
#include "serial/tty/tty_system.h"
#include "serial/win32_face.h"
#include "serial/win32_types.h"

namespace serial {

// One opening of a tty device, from the open to its close or its loss: raw bytes in (into the
// queue it is given, stamped when the event loop sees them) and out, the modem lines, the
// settings, and line errors from the kernel's error counters.
//
// When the device goes away (a hang-up, EIO) the descriptor is let go at once and `lost` is
// called; from then on the opening is Gone() and does nothing. Coming back is its owner's
// business.
class OpenTty {
 public:
  // A modem line that cannot be set is told to `say` (what happened, and why).
  using Say = std::function<void(const std::string& what, const std::string& detail)>;
  OpenTty(TtySystem& system, const PreparedTty& tty, ReceiveQueue& input, Say say,
          std::function<void()> lost);
  // An orderly close: output still queued is dropped, DTR and RTS are dropped.
  ~OpenTty();
  OpenTty(const OpenTty&) = delete;
  OpenTty& operator=(const OpenTty&) = delete;

  bool Gone() const { return fd_ < 0; }

  // Takes in what has arrived.
  void Drain();
  // Queues bytes and hands the kernel what it takes now; the rest goes at later calls.
  void Send(const std::uint8_t* data, std::size_t count);
  // Hands the kernel what it takes of the queued bytes.
  void Flush();
  // Whether every byte has left, the UART's own queue included.
  bool Sent();

  bool SetLine(int line, bool raised);
  // Writes the settings; what the device keeps of them is its own business.
  bool Apply(const DCB& dcb);
  bool ReadBack(const DCB& applied, DCB& dcb);
  // Line-error flags (CE_) found since the last call, bytes that did not fit into the input
  // queue among them (CE_RXOVER).
  DWORD TakeLineErrors();

 private:
  void ReportLineFailure(int lines, int err);
  bool FailedIo();
  void Lose();
  void StopWatching();

  TtySystem& system_;
  ReceiveQueue& input_;
  Say say_;
  std::function<void()> lost_;
  int fd_ = -1;
  dev_t device_ = 0;
  bool modemLines_ = true;
  bool lineFailureReported_ = false;
  std::vector<std::uint8_t> pending_;
  std::optional<serial_icounter_struct> counters_;
  DWORD errors_ = 0;
  platform::EventService* watcher_ = nullptr;
  int watch_ = 0;
};

}  // namespace serial

#include "serial/tty/open_tty.h"

#include <sys/ioctl.h>
#include <termios.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

#include "serial/comm_constants.h"
#include "serial/tty/tty_settings.h"

namespace serial {

OpenTty::OpenTty(TtySystem& system, const PreparedTty& tty, ReceiveQueue& input, Say say,
                 std::function<void()> lost)
    : system_(system),
      input_(input),
      say_(std::move(say)),
      lost_(std::move(lost)),
      fd_(tty.fd),
      device_(tty.device),
      modemLines_(tty.modemLines) {
  if (tty.lineError != 0) ReportLineFailure(TIOCM_DTR | TIOCM_RTS, tty.lineError);
  MarkOpen(device_);
  // Line errors count from now on; a device without counters (a pseudo-terminal) has none.
  serial_icounter_struct counters{};
  if (system_.Ioctl(fd_, TIOCGICOUNT, &counters) == 0) counters_ = counters;
  // Bytes get their arrival time when the loop sees them, not at the next poll tick.
  watcher_ = &platform::Events();
  watch_ = watcher_->WatchReadable(fd_, [this] { Drain(); });
}

OpenTty::~OpenTty() {
  if (fd_ < 0) return;
  StopWatching();
  MarkClosed(device_);
  // close() would wait up to 30 s for queued output on a stalled line: drop what is left.
  system_.Flush(fd_, TCOFLUSH);
  if (modemLines_) {
    int both = TIOCM_DTR | TIOCM_RTS;
    system_.Ioctl(fd_, TIOCMBIC, &both);
  }
  // A pseudo-terminal outlives this handle and would stay barred to later openers.
  system_.Ioctl(fd_, TIOCNXCL, nullptr);
  system_.Close(fd_);
}

void OpenTty::Drain() {
  std::array<std::uint8_t, 512> buffer{};
  while (fd_ >= 0) {
    const ssize_t n = system_.Read(fd_, buffer.data(), buffer.size());
    if (n > 0) {
      const platform::Micros at = platform::Events().NowMicros();
      for (ssize_t i = 0; i < n; ++i) {
        if (!input_.Push(buffer[static_cast<std::size_t>(i)], at)) errors_ |= CE_RXOVER;
      }
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
    // With VMIN and VTIME at 0 an idle tty reads 0 bytes too; only a hang-up makes 0 final.
    if (n < 0 || system_.HungUp(fd_)) Lose();
    return;
  }
}

void OpenTty::Send(const std::uint8_t* data, std::size_t count) {
  pending_.insert(pending_.end(), data, data + count);
  Flush();
}

void OpenTty::Flush() {
  std::size_t sent = 0;
  while (fd_ >= 0 && sent < pending_.size()) {
    const ssize_t n = system_.Write(fd_, pending_.data() + sent, pending_.size() - sent);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
      Lose();
      return;
    } else {
      break;  // the kernel's queue is full; the rest goes at a later call
    }
  }
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(sent));
}

bool OpenTty::Sent() {
  Flush();
  if (fd_ < 0) return true;
  if (!pending_.empty()) return false;
  // Bytes the kernel took may still sit in the UART's queue; RTS must stay up under them.
  int queued = 0;
  if (system_.QueuedOutput(fd_, queued) != 0) return true;
  return queued == 0;
}

bool OpenTty::SetLine(int line, bool raised) {
  if (fd_ < 0 || !modemLines_) return false;
  int bits = line;
  if (system_.Ioctl(fd_, raised ? TIOCMBIS : TIOCMBIC, &bits) == 0) return true;
  const int err = errno;
  if (err == EIO) {
    Lose();
  } else if (NoModemLines(err)) {
    modemLines_ = false;
  } else {
    // A USB control transfer that timed out, say: the next call tries again.
    ReportLineFailure(line, err);
  }
  return false;
}

bool OpenTty::Apply(const DCB& dcb) {
  if (fd_ < 0) return true;
  termios current{};
  // What the device keeps of the settings is its own business (a pseudo-terminal keeps 8 bits
  // without parity); only a refusal counts as failure.
  if (system_.GetSettings(fd_, current) != 0 ||
      system_.SetSettings(fd_, TermiosFromDcb(dcb, current)) != 0) {
    return FailedIo();
  }
  return true;
}

bool OpenTty::ReadBack(const DCB& applied, DCB& dcb) {
  termios tio{};
  if (system_.GetSettings(fd_, tio) != 0) return FailedIo();
  dcb = DcbFromTermios(tio, applied);
  return true;
}

DWORD OpenTty::TakeLineErrors() {
  serial_icounter_struct now{};
  if (counters_ && fd_ >= 0 && system_.Ioctl(fd_, TIOCGICOUNT, &now) == 0) {
    const serial_icounter_struct& before = *counters_;
    if (now.buf_overrun != before.buf_overrun) errors_ |= CE_RXOVER;
    if (now.overrun != before.overrun) errors_ |= CE_OVERRUN;
    if (now.parity != before.parity) errors_ |= CE_RXPARITY;
    if (now.frame != before.frame) errors_ |= CE_FRAME;
    if (now.brk != before.brk) errors_ |= CE_BREAK;
    counters_ = now;
  }
  return std::exchange(errors_, 0);
}

void OpenTty::ReportLineFailure(int lines, int err) {
  if (std::exchange(lineFailureReported_, true)) return;
  const char* which = lines == TIOCM_RTS ? "RTS" : lines == TIOCM_DTR ? "DTR" : "DTR and RTS";
  say_(std::string(which) + " could not be set",
       std::string(std::strerror(err)) + "; trying again at every change");
}

bool OpenTty::FailedIo() {
  if (errno == EIO) Lose();
  return false;
}

void OpenTty::Lose() {
  StopWatching();
  MarkClosed(device_);
  // Where the device is still there (an EIO that passes), its exclusive flag would bar this
  // program's own next try.
  system_.Ioctl(fd_, TIOCNXCL, nullptr);
  system_.Close(fd_);
  fd_ = -1;
  pending_.clear();
  counters_.reset();
  lost_();
}

void OpenTty::StopWatching() {
  // A service installed since then has dropped the watches of the one it replaced.
  if (watch_ != 0 && watcher_ == &platform::Events()) watcher_->Unwatch(watch_);
  watch_ = 0;
  watcher_ = nullptr;
}

}  // namespace serial

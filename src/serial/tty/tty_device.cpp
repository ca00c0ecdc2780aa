#include "serial/tty/tty_device.h"

#include <linux/serial.h>
#include <sys/ioctl.h>
#include <termios.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "serial/comm_constants.h"
#include "serial/logs/device_notices.h"
#include "serial/tty/tty_open.h"
#include "serial/tty/tty_settings.h"
#include "serial/tty/tty_system.h"

namespace win32 {
namespace {

using platform::Micros;

constexpr Micros kReopenEvery =
    std::chrono::duration_cast<std::chrono::microseconds>(comm::kReopenInterval).count();

class TtyDevice final : public CommDevice {
 public:
  TtyDevice(TtySystem& system, std::string name, std::string path, const PreparedTty& tty)
      : system_(system), name_(std::move(name)), path_(std::move(path)), applied_(tty.settings) {
    openedAt_ = platform::Events().NowMicros();
    Adopt(tty);
  }

  ~TtyDevice() override {
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

  TtyDevice(const TtyDevice&) = delete;
  TtyDevice& operator=(const TtyDevice&) = delete;

  void Advance(Micros now) override {
    if (fd_ < 0) {
      TryReopen(now);
      return;
    }
    Drain();
    if (fd_ >= 0) Flush();
  }

  ReceiveQueue& Input() override { return input_; }

  bool Transmit(const std::uint8_t* data, std::size_t count, Micros /*now*/) override {
    if (fd_ < 0) return true;  // the device is away: the bytes go nowhere
    pending_.insert(pending_.end(), data, data + count);
    Flush();
    return true;
  }

  bool TransmitDone(Micros /*now*/) override {
    if (fd_ >= 0) Flush();
    if (fd_ < 0) return true;
    if (!pending_.empty()) return false;
    // Bytes the kernel took may still sit in the UART's queue; RTS must stay up under them.
    int queued = 0;
    if (system_.QueuedOutput(fd_, queued) != 0) return true;
    return queued == 0;
  }

  bool SetRts(bool raised, Micros /*now*/) override { return SetLine(TIOCM_RTS, raised); }
  bool SetDtr(bool raised, Micros /*now*/) override { return SetLine(TIOCM_DTR, raised); }

  bool Apply(const DCB& dcb) override {
    if (!TtyCanCarry(dcb)) return false;
    if (fd_ >= 0) {
      termios current{};
      // What the device keeps of the settings is its own business (a pseudo-terminal keeps 8
      // bits without parity); only a refusal counts as failure.
      if (system_.GetSettings(fd_, current) != 0 ||
          system_.SetSettings(fd_, TermiosFromDcb(dcb, current)) != 0) {
        return FailedIo();
      }
    }
    // While the device is away the record waits for it to come back.
    applied_ = dcb;
    input_.SetByteDuration(FrameDuration(dcb));
    return true;
  }

  bool ReadBack(DCB& dcb) override {
    termios tio{};
    if (fd_ < 0) {
      dcb = applied_;
      dcb.Flags |= dcb_flags::fBinary;
      return true;
    }
    if (system_.GetSettings(fd_, tio) != 0) return FailedIo();
    dcb = DcbFromTermios(tio, applied_);
    return true;
  }

  DWORD TakeLineErrors() override {
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

  // A tty that goes away is reopened when it comes back; it never stops working for good.
  bool Broken() const override { return false; }

 private:
  void Adopt(const PreparedTty& tty) {
    fd_ = tty.fd;
    device_ = tty.device;
    modemLines_ = tty.modemLines;
    lineFailureReported_ = false;
    if (tty.lineError != 0) ReportLineFailure(TIOCM_DTR | TIOCM_RTS, tty.lineError);
    MarkOpen(device_);
    input_.SetByteDuration(FrameDuration(applied_));
    // Line errors count from now on; a device without counters (a pseudo-terminal) has none.
    serial_icounter_struct counters{};
    counters_.reset();
    if (system_.Ioctl(fd_, TIOCGICOUNT, &counters) == 0) counters_ = counters;
    // Bytes get their arrival time when the loop sees them, not at the next poll tick.
    watcher_ = &platform::Events();
    watch_ = watcher_->WatchReadable(fd_, [this] { Drain(); });
  }

  void Drain() {
    std::array<std::uint8_t, 512> buffer{};
    while (fd_ >= 0) {
      const ssize_t n = system_.Read(fd_, buffer.data(), buffer.size());
      if (n > 0) {
        const Micros at = platform::Events().NowMicros();
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

  void Flush() {
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

  bool SetLine(int line, bool raised) {
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

  void ReportLineFailure(int lines, int err) {
    if (std::exchange(lineFailureReported_, true)) return;
    const char* which = lines == TIOCM_RTS ? "RTS" : lines == TIOCM_DTR ? "DTR" : "DTR and RTS";
    std::fprintf(stderr, "%s: %s could not be set (%s); trying again at every change\n",
                 Who().c_str(), which, std::strerror(err));
  }

  bool FailedIo() {
    if (errno == EIO) Lose();
    return false;
  }

  void Lose() {
    StopWatching();
    MarkClosed(device_);
    // Where the device is still there (an EIO that passes), its exclusive flag would bar this
    // program's own next try.
    system_.Ioctl(fd_, TIOCNXCL, nullptr);
    system_.Close(fd_);
    fd_ = -1;
    pending_.clear();
    counters_.reset();
    nextReopen_ = 0;  // the first try at the next tick, then one every interval
    Report(DeviceNotice::Kind::Lost);
  }

  // Costs one stat of a missing path while the device is away, at most once an interval.
  void TryReopen(Micros now) {
    if (now < nextReopen_) return;
    nextReopen_ = now + kReopenEvery;
    OpenFailure ignored;
    const auto tty = PrepareTty(system_, path_, &applied_, ignored);
    if (!tty) return;
    Adopt(*tty);
    Report(DeviceNotice::Kind::Back);
  }

  void Report(DeviceNotice::Kind kind) {
    const double seconds =
        static_cast<double>(platform::Events().NowMicros() - openedAt_) / 1'000'000.0;
    ReportDeviceNotice(DeviceNotice{kind, name_, path_, seconds});
  }

  std::string Who() const {
    return name_.empty() || name_ == path_ ? path_ : name_ + " (" + path_ + ")";
  }

  void StopWatching() {
    // A service installed since then has dropped the watches of the one it replaced.
    if (watch_ != 0 && watcher_ == &platform::Events()) watcher_->Unwatch(watch_);
    watch_ = 0;
    watcher_ = nullptr;
  }

  TtySystem& system_;
  std::string name_;
  std::string path_;
  int fd_ = -1;
  dev_t device_ = 0;
  bool modemLines_ = true;
  bool lineFailureReported_ = false;
  DCB applied_;
  Micros openedAt_ = 0;
  Micros nextReopen_ = 0;
  ReceiveQueue input_;
  std::vector<std::uint8_t> pending_;
  std::optional<serial_icounter_struct> counters_;
  DWORD errors_ = 0;
  platform::EventService* watcher_ = nullptr;
  int watch_ = 0;
};

}  // namespace

std::unique_ptr<CommDevice> OpenTtyDevice(const std::string& name, const std::string& path,
                                          OpenFailure& failure) {
  TtySystem& system = CurrentTtySystem();
  const auto tty = PrepareTty(system, path, nullptr, failure);
  if (!tty) return nullptr;
  return std::make_unique<TtyDevice>(system, name, path, *tty);
}

}  // namespace win32

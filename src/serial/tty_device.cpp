#include "serial/tty_device.h"

#include <fcntl.h>
#include <grp.h>
#include <linux/serial.h>
#include <poll.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "serial/tty_settings.h"

namespace win32 {
namespace {

using platform::Micros;

// Why a device cannot be opened. Every errno lands on one of these, and each has one code,
// one reason and one fix for the operator.
enum class Cause { kMissing, kDenied, kBusy, kOpenHere, kNotSerial, kNoUart, kOther };

Cause CauseOf(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR:
    case ENXIO:
    case ENODEV:
      return Cause::kMissing;
    case EACCES:
    case EPERM:
      return Cause::kDenied;
    case EBUSY:
    case EWOULDBLOCK:
      return Cause::kBusy;
    case EIO:
      return Cause::kNoUart;
    case ENOTTY:
    case EISDIR:
      return Cause::kNotSerial;
    default:
      return Cause::kOther;
  }
}

bool ProcessInGroup(gid_t gid) {
  if (::getegid() == gid) return true;
  std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
  const int count = ::getgroups(static_cast<int>(groups.size()), groups.data());
  groups.resize(static_cast<std::size_t>(std::max(count, 0)));
  return std::find(groups.begin(), groups.end(), gid) != groups.end();
}

// Serial devices belong to a group ("dialout" on Debian) whose members may use them.
std::string PermissionFix(const std::string& path) {
  struct stat info {};
  const group* owner = ::stat(path.c_str(), &info) == 0 ? ::getgrgid(info.st_gid) : nullptr;
  const bool groupMayUse = (info.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
  if (owner == nullptr || info.st_gid == 0 || !groupMayUse) {
    return "ask an administrator to give this user read and write access to " + path +
           " (a udev rule)";
  }
  const std::string name = owner->gr_name;
  if (ProcessInGroup(info.st_gid)) {
    return "this user is in the group '" + name + "' that owns " + path +
           " and still may not open it: ask an administrator to check its permissions";
  }
  const passwd* user = ::getpwuid(::geteuid());
  const std::string login = user != nullptr ? user->pw_name : "$USER";
  return "add the user to the group '" + name + "' (usermod -aG " + name + " " + login +
         ") and log in again";
}

std::unique_ptr<CommDevice> Refuse(OpenFailure& failure, Cause cause, const std::string& path,
                                   int err = 0) {
  failure.fix.clear();
  switch (cause) {
    case Cause::kMissing:
      failure.error = ERROR_FILE_NOT_FOUND;
      failure.reason = "no such device";
      failure.fix =
          "check the device name; a USB serial adapter appears as /dev/ttyUSB0 or "
          "/dev/ttyACM0 once it is plugged in";
      break;
    case Cause::kDenied:
      failure.error = ERROR_ACCESS_DENIED;
      failure.reason = "permission denied";
      failure.fix = PermissionFix(path);
      break;
    case Cause::kBusy:
      failure.error = ERROR_SHARING_VIOLATION;
      failure.reason = "in use by another program";
      failure.fix = "close the program that has " + path + " open (fuser " + path + " names it)";
      break;
    case Cause::kOpenHere:
      failure.error = ERROR_SHARING_VIOLATION;
      failure.reason = "already open in this program";
      failure.fix = "close the port before opening it again";
      break;
    case Cause::kNotSerial:
      failure.error = ERROR_FILE_NOT_FOUND;
      failure.reason = "not a serial device";
      failure.fix = "name a serial device such as /dev/ttyUSB0";
      break;
    case Cause::kNoUart:
      failure.error = ERROR_FILE_NOT_FOUND;
      failure.reason = "no UART behind this port (I/O error)";
      failure.fix = "choose the port the adapter really appears as (dmesg lists it)";
      break;
    case Cause::kOther:
      failure.error = ERROR_GEN_FAILURE;
      failure.reason = std::strerror(err);
      break;
  }
  return nullptr;
}

std::unique_ptr<CommDevice> RefuseErrno(OpenFailure& failure, const std::string& path) {
  const int err = errno;
  return Refuse(failure, CauseOf(err), path, err);
}

// Devices open in this program. A second open is refused before it reaches the kernel, which
// raises DTR and RTS on every open, under the feet of the handle that already has the port.
std::set<dev_t>& OpenDevices() {
  static std::set<dev_t> devices;
  return devices;
}

class UniqueFd {
 public:
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

class TtyDevice final : public CommDevice {
 public:
  TtyDevice(int fd, dev_t device, bool modemLines, const DCB& settings)
      : fd_(fd), device_(device), modemLines_(modemLines), applied_(settings) {
    OpenDevices().insert(device_);
    input_.SetByteDuration(FrameDuration(applied_));
    serial_icounter_struct counters{};
    if (::ioctl(fd_, TIOCGICOUNT, &counters) == 0) counters_ = counters;
    // Bytes get their arrival time when the loop sees them, not at the next poll tick.
    watcher_ = &platform::Events();
    watch_ = watcher_->WatchReadable(fd_, [this] { Drain(); });
  }

  ~TtyDevice() override {
    StopWatching();
    OpenDevices().erase(device_);
    if (!broken_) {
      // close() would wait up to 30 s for queued output on a stalled line: drop what is left.
      ::tcflush(fd_, TCOFLUSH);
      if (modemLines_) {
        int both = TIOCM_DTR | TIOCM_RTS;
        ::ioctl(fd_, TIOCMBIC, &both);
      }
      // A pseudo-terminal outlives this handle and would stay barred to later openers.
      ::ioctl(fd_, TIOCNXCL);
    }
    ::close(fd_);
  }

  TtyDevice(const TtyDevice&) = delete;
  TtyDevice& operator=(const TtyDevice&) = delete;

  void Advance(Micros /*now*/) override {
    if (broken_) return;
    Drain();
    if (!broken_) Flush();
  }

  ReceiveQueue& Input() override { return input_; }

  bool Transmit(const std::uint8_t* data, std::size_t count, Micros /*now*/) override {
    if (broken_) return false;
    pending_.insert(pending_.end(), data, data + count);
    Flush();
    return !broken_;
  }

  bool TransmitDone(Micros /*now*/) override {
    if (!broken_) Flush();
    if (!pending_.empty()) return false;
    int queued = 0;
    if (broken_ || ::ioctl(fd_, TIOCOUTQ, &queued) != 0) return true;
    return queued == 0;
  }

  bool SetRts(bool raised, Micros /*now*/) override { return SetLine(TIOCM_RTS, raised); }
  bool SetDtr(bool raised, Micros /*now*/) override { return SetLine(TIOCM_DTR, raised); }

  bool Apply(const DCB& dcb) override {
    if (broken_ || !TtyCanCarry(dcb)) return false;
    termios current{};
    // What the device keeps of the settings is its own business (a pseudo-terminal keeps 8 bits
    // without parity); only a refusal counts as failure.
    if (ReadTtySettings(fd_, current) != 0 ||
        WriteTtySettings(fd_, TermiosFromDcb(dcb, current)) != 0) {
      return FailedIo();
    }
    applied_ = dcb;
    input_.SetByteDuration(FrameDuration(dcb));
    return true;
  }

  bool ReadBack(DCB& dcb) override {
    if (broken_) return false;
    termios tio{};
    if (ReadTtySettings(fd_, tio) != 0) return FailedIo();
    dcb = DcbFromTermios(tio, applied_);
    return true;
  }

  DWORD TakeLineErrors() override {
    serial_icounter_struct now{};
    if (counters_ && !broken_ && ::ioctl(fd_, TIOCGICOUNT, &now) == 0) {
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

  bool Broken() const override { return broken_; }

 private:
  void Drain() {
    std::array<std::uint8_t, 512> buffer{};
    for (;;) {
      const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
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
      if (n < 0 || HungUp()) MarkBroken();
      return;
    }
  }

  void Flush() {
    std::size_t sent = 0;
    while (sent < pending_.size()) {
      const ssize_t n = ::write(fd_, pending_.data() + sent, pending_.size() - sent);
      if (n > 0) {
        sent += static_cast<std::size_t>(n);
      } else if (n < 0 && errno == EINTR) {
        continue;
      } else if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
        MarkBroken();
        return;
      } else {
        break;  // the kernel's queue is full; the rest goes at a later call
      }
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(sent));
  }

  bool SetLine(int line, bool raised) {
    if (broken_ || !modemLines_) return false;
    int bits = line;
    if (::ioctl(fd_, raised ? TIOCMBIS : TIOCMBIC, &bits) == 0) return true;
    if (errno == EIO) {
      MarkBroken();
    } else {
      modemLines_ = false;  // a pseudo-terminal: asking again changes nothing
    }
    return false;
  }

  bool FailedIo() {
    if (errno == EIO) MarkBroken();
    return false;
  }

  bool HungUp() const {
    pollfd probe{fd_, POLLIN, 0};
    return ::poll(&probe, 1, 0) > 0 && (probe.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
  }

  void MarkBroken() {
    broken_ = true;
    pending_.clear();
    // A hung-up descriptor stays readable for ever: watching it would spin the loop.
    StopWatching();
  }

  void StopWatching() {
    // A service installed since then has dropped the watches of the one it replaced.
    if (watch_ != 0 && watcher_ == &platform::Events()) watcher_->Unwatch(watch_);
    watch_ = 0;
    watcher_ = nullptr;
  }

  int fd_;
  dev_t device_;
  bool modemLines_;
  DCB applied_;
  ReceiveQueue input_;
  std::vector<std::uint8_t> pending_;
  std::optional<serial_icounter_struct> counters_;
  DWORD errors_ = 0;
  bool broken_ = false;
  platform::EventService* watcher_ = nullptr;
  int watch_ = 0;
};

}  // namespace

std::unique_ptr<CommDevice> OpenTtyDevice(const std::string& path, OpenFailure& failure) {
  failure.device = path;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return RefuseErrno(failure, path);
  // Only character devices are opened at all: opening another kind of node may do things.
  if (!S_ISCHR(info.st_mode)) return Refuse(failure, Cause::kNotSerial, path);
  if (OpenDevices().count(info.st_rdev) != 0) return Refuse(failure, Cause::kOpenHere, path);

  UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) return RefuseErrno(failure, path);
  if (::isatty(fd.get()) == 0) {
    return Refuse(failure, errno == EIO ? Cause::kNoUart : Cause::kNotSerial, path);
  }
  // TIOCEXCL keeps other users out but not root; the lock refuses every opener that asks for
  // it, this program included.
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return RefuseErrno(failure, path);

  // The kernel raised DTR and RTS on open: drop them before anything else happens. A port
  // without a UART answers with EIO; a pseudo-terminal has no modem lines at all.
  bool modemLines = true;
  int both = TIOCM_DTR | TIOCM_RTS;
  if (::ioctl(fd.get(), TIOCMBIC, &both) != 0) {
    if (errno == EIO) return Refuse(failure, Cause::kNoUart, path);
    modemLines = false;
  }

  // Raw at once, keeping the rate and frame the device has: a cooked tty would echo the
  // module's answers back onto the line before the program applies its own settings. A tty
  // starts with XON/XOFF on, which would swallow those two bytes of binary traffic.
  termios current{};
  if (ReadTtySettings(fd.get(), current) != 0) return RefuseErrno(failure, path);
  DCB initial = DcbFromTermios(current, PowerOnDcb());
  initial.Flags = dcb_flags::fBinary;
  if (!TtyCanCarry(initial)) initial = PowerOnDcb();
  if (WriteTtySettings(fd.get(), TermiosFromDcb(initial, current)) != 0) {
    return RefuseErrno(failure, path);
  }
  ::tcflush(fd.get(), TCIFLUSH);  // what arrived before this open belongs to no read
  ::ioctl(fd.get(), TIOCEXCL);
  return std::make_unique<TtyDevice>(fd.release(), info.st_rdev, modemLines, initial);
}

}  // namespace win32

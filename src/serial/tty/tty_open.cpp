#include "serial/tty/tty_open.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "ports/console_identity.h"
#include "serial/tty/tty_settings.h"

namespace serial {
namespace {

// Why a device cannot be opened. Every errno lands on one of these, and each has one code,
// one reason and one fix for the operator.
enum class Cause { kMissing, kDenied, kBusy, kOpenHere, kNotSerial, kNoUart, kConsole, kOther };

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
std::string PermissionFix(TtySystem& system, const std::string& path) {
  struct stat info {};
  const group* owner = system.Stat(path, info) == 0 ? ::getgrgid(info.st_gid) : nullptr;
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

std::nullopt_t Refuse(TtySystem& system, OpenFailure& failure, Cause cause, const std::string& path,
                      int err = 0) {
  failure.fix.clear();
  switch (cause) {
    case Cause::kMissing:
      failure.error = ERROR_FILE_NOT_FOUND;
      failure.reason = "no such device";
      failure.fix =
          "check the device name; a USB serial adapter appears as /dev/ttyUSB0 or "
          "/dev/ttyACM0 once it is plugged in (talvora --list-ports lists the devices)";
      break;
    case Cause::kDenied:
      failure.error = ERROR_ACCESS_DENIED;
      failure.reason = "permission denied";
      failure.fix = PermissionFix(system, path);
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
    case Cause::kConsole:
      failure.error = ERROR_ACCESS_DENIED;
      failure.reason = "not available: it is the system console";
      failure.fix =
          "connect the module to another port, or choose its device in the port's context "
          "menu (talvora --list-ports lists the devices)";
      break;
    case Cause::kOther:
      failure.error = ERROR_GEN_FAILURE;
      failure.reason = std::strerror(err);
      break;
  }
  return std::nullopt;
}

std::nullopt_t RefuseErrno(TtySystem& system, OpenFailure& failure, const std::string& path) {
  const int err = errno;
  return Refuse(system, failure, CauseOf(err), path, err);
}

std::set<dev_t>& OpenDevices() {
  static std::set<dev_t> devices;
  return devices;
}

bool IsConsole(TtySystem& system, dev_t device) {
  return ports::IsConsoleDevice(
      device, ports::ActiveConsoleDevices([&system](const std::string& path, struct stat& info) {
        return system.Stat(path, info);
      }));
}

class UniqueFd {
 public:
  UniqueFd(TtySystem& system, int fd) : system_(system), fd_(fd) {}
  ~UniqueFd() {
    if (fd_ >= 0) system_.Close(fd_);
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  TtySystem& system_;
  int fd_;
};

// Drops DTR and RTS. False when the device answers with EIO (no UART behind the port).
bool DropLines(TtySystem& system, int fd, PreparedTty& tty) {
  if (!tty.modemLines) return true;
  int both = TIOCM_DTR | TIOCM_RTS;
  if (system.Ioctl(fd, TIOCMBIC, &both) == 0) return true;
  const int err = errno;
  if (err == EIO) return false;
  if (NoModemLines(err)) {
    tty.modemLines = false;
  } else if (tty.lineError == 0) {
    tty.lineError = err;
  }
  return true;
}

}  // namespace

bool NoModemLines(int err) {
  return err == ENOTTY || err == EINVAL;
}

std::optional<PreparedTty> PrepareTty(TtySystem& system, const std::string& path,
                                      const DCB* settings, OpenFailure& failure) {
  failure.device = path;
  struct stat info {};
  if (system.Stat(path, info) != 0) return RefuseErrno(system, failure, path);
  // Only character devices are opened at all: opening another kind of node may do things.
  if (!S_ISCHR(info.st_mode)) return Refuse(system, failure, Cause::kNotSerial, path);
  if (OpenDevices().count(info.st_rdev) != 0) {
    return Refuse(system, failure, Cause::kOpenHere, path);
  }
  if (IsConsole(system, info.st_rdev)) return Refuse(system, failure, Cause::kConsole, path);

  UniqueFd fd(system, system.Open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) return RefuseErrno(system, failure, path);
  if (system.IsTty(fd.get()) == 0) {
    return Refuse(system, failure, errno == EIO ? Cause::kNoUart : Cause::kNotSerial, path);
  }
  // TIOCEXCL keeps other users out but not root; the lock refuses every opener that asks for
  // it, this program included.
  if (system.Lock(fd.get()) != 0) return RefuseErrno(system, failure, path);

  // The kernel raised DTR and RTS on open: drop them before anything else happens. A port
  // without a UART answers with EIO.
  PreparedTty tty;
  if (!DropLines(system, fd.get(), tty)) return Refuse(system, failure, Cause::kNoUart, path);

  // Raw at once, keeping the rate and frame the device has: a cooked tty would echo the
  // module's answers back onto the line before the program applies its own settings. A tty
  // starts with XON/XOFF on, which would swallow those two bytes of binary traffic.
  termios current{};
  if (system.GetSettings(fd.get(), current) != 0) return RefuseErrno(system, failure, path);
  if (settings != nullptr) {
    tty.settings = *settings;
  } else {
    tty.settings = DcbFromTermios(current, win32::PowerOnDcb());
    tty.settings.Flags = dcb_flags::fBinary;
    if (!TtyCanCarry(tty.settings)) tty.settings = win32::PowerOnDcb();
  }
  if (system.SetSettings(fd.get(), TermiosFromDcb(tty.settings, current)) != 0) {
    return RefuseErrno(system, failure, path);
  }
  // Settings left at rate 0 (a hang-up, "stty 0") have just been left: the kernel raised DTR
  // and RTS again, and RTS keys the radio.
  if (!DropLines(system, fd.get(), tty)) return Refuse(system, failure, Cause::kNoUart, path);
  system.Flush(fd.get(), TCIFLUSH);  // what arrived before this open belongs to no read
  system.Ioctl(fd.get(), TIOCEXCL, nullptr);
  tty.device = info.st_rdev;
  tty.fd = fd.release();
  return tty;
}

void MarkOpen(dev_t device) {
  OpenDevices().insert(device);
}

void MarkClosed(dev_t device) {
  OpenDevices().erase(device);
}

}  // namespace serial

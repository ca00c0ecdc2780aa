#pragma once

// The system calls of the tty back end, behind one small interface. The class itself makes
// the real calls; a test derives from it to stand in for what only hardware does: a
// modem-line ioctl that times out, EIO from an unplugged adapter, the kernel's error counters.

#include <poll.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <termios.h>

#include <cstddef>
#include <string>

namespace serial {

class TtySystem {
 public:
  virtual ~TtySystem() = default;

  // Each returns what the system call does, with errno set on failure.
  virtual int Stat(const std::string& path, struct stat& info);
  virtual int Open(const std::string& path, int flags);
  virtual int Close(int fd);
  virtual int Ioctl(int fd, unsigned long request, void* argument);
  virtual int GetSettings(int fd, termios& tio);        // tcgetattr, with exact rates
  virtual int SetSettings(int fd, const termios& tio);  // tcsetattr, with exact rates
  virtual ssize_t Read(int fd, void* buffer, std::size_t count);
  virtual ssize_t Write(int fd, const void* buffer, std::size_t count);
  virtual int Lock(int fd);  // flock(LOCK_EX | LOCK_NB)
  virtual int Flush(int fd, int queue);
  // The bytes written but still in the UART's output queue (TIOCOUTQ) into `count`.
  virtual int QueuedOutput(int fd, int& count);
  virtual int IsTty(int fd);
  // Whether the other side has hung up (poll reports POLLHUP, POLLERR or POLLNVAL).
  virtual bool HungUp(int fd);
};

// The calls the tty back end makes; a device keeps the one it was opened with.
TtySystem& CurrentTtySystem();
// Installs `system` (null: the real calls again); returns the one it replaces.
TtySystem* UseTtySystem(TtySystem* system);

}  // namespace serial

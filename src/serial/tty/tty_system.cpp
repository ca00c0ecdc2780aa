#include "serial/tty/tty_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <utility>

#include "serial/tty/tty_settings.h"

namespace serial {
namespace {

TtySystem& RealSystem() {
  static TtySystem real;
  return real;
}

TtySystem*& Installed() {
  static TtySystem* installed = nullptr;
  return installed;
}

}  // namespace

int TtySystem::Stat(const std::string& path, struct stat& info) {
  return ::stat(path.c_str(), &info);
}
int TtySystem::Open(const std::string& path, int flags) {
  return ::open(path.c_str(), flags);
}
int TtySystem::Close(int fd) {
  return ::close(fd);
}
int TtySystem::Ioctl(int fd, unsigned long request, void* argument) {
  return ::ioctl(fd, request, argument);
}
int TtySystem::GetSettings(int fd, termios& tio) {
  return ReadTtySettings(fd, tio);
}
int TtySystem::SetSettings(int fd, const termios& tio) {
  return WriteTtySettings(fd, tio);
}
ssize_t TtySystem::Read(int fd, void* buffer, std::size_t count) {
  return ::read(fd, buffer, count);
}
ssize_t TtySystem::Write(int fd, const void* buffer, std::size_t count) {
  return ::write(fd, buffer, count);
}
int TtySystem::Lock(int fd) {
  return ::flock(fd, LOCK_EX | LOCK_NB);
}
int TtySystem::Flush(int fd, int queue) {
  return ::tcflush(fd, queue);
}
int TtySystem::QueuedOutput(int fd, int& count) {
  return ::ioctl(fd, TIOCOUTQ, &count);
}
int TtySystem::IsTty(int fd) {
  return ::isatty(fd);
}
bool TtySystem::HungUp(int fd) {
  pollfd probe{fd, POLLIN, 0};
  return ::poll(&probe, 1, 0) > 0 && (probe.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

TtySystem& CurrentTtySystem() {
  return Installed() != nullptr ? *Installed() : RealSystem();
}

TtySystem* UseTtySystem(TtySystem* system) {
  return std::exchange(Installed(), system);
}

}  // namespace serial

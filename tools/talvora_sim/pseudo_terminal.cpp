#include "pseudo_terminal.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace talvora_sim {
namespace {

std::string Failure(const char* what) {
  return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

std::unique_ptr<PseudoTerminal> PseudoTerminal::Create(std::string& error) {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0) {
    error = Failure("posix_openpt");
    return nullptr;
  }
  const char* name = nullptr;
  if (::grantpt(master) != 0 || ::unlockpt(master) != 0 || (name = ::ptsname(master)) == nullptr) {
    error = Failure("cannot unlock the pseudo-terminal");
    ::close(master);
    return nullptr;
  }
  const std::string path = name;
  const int slave = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (slave < 0) {
    error = Failure(("open " + path).c_str());
    ::close(master);
    return nullptr;
  }
  // Raw both ways: no echo, no line editing, no signals, no newline translation, 8 bits.
  termios raw{};
  if (::tcgetattr(slave, &raw) == 0) {
    ::cfmakeraw(&raw);
    ::cfsetispeed(&raw, B9600);
    ::cfsetospeed(&raw, B9600);
    ::tcsetattr(slave, TCSANOW, &raw);
  }
  ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
  return std::unique_ptr<PseudoTerminal>(new PseudoTerminal(master, slave, path));
}

PseudoTerminal::PseudoTerminal(int master, int slave, std::string path)
    : master_(master), slave_(slave), path_(std::move(path)) {}

PseudoTerminal::~PseudoTerminal() {
  RemoveLink();
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
}

bool PseudoTerminal::AddLink(const std::string& link, std::string& error) {
  if (!LockLink(link, error)) return false;
  struct stat existing {};
  if (::lstat(link.c_str(), &existing) == 0) {
    if (!S_ISLNK(existing.st_mode)) {
      error = link + " exists and is not a symbolic link; not replacing it";
      ReleaseLock();
      return false;
    }
    // No live server holds the lock: the link is left from one that was killed.
    ::unlink(link.c_str());
  }
  if (::symlink(path_.c_str(), link.c_str()) != 0) {
    error = Failure(("symlink " + link).c_str());
    ReleaseLock();
    return false;
  }
  link_ = link;
  return true;
}

// The lock file beside the link says which server owns it. flock ends with the process, so
// the lock of a server that was killed is free again at once.
bool PseudoTerminal::LockLink(const std::string& link, std::string& error) {
  const std::string lockPath = link + ".lock";
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) {
      error = Failure(("cannot lock " + link + " (" + lockPath + ")").c_str());
      return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      char owner[32] = {};
      const ssize_t got = ::pread(fd, owner, sizeof owner - 1, 0);
      ::close(fd);
      std::string pid = got > 0 ? std::string(owner, static_cast<std::size_t>(got)) : "";
      while (!pid.empty() && (pid.back() == '\n' || pid.back() == ' '))
        pid.pop_back();
      error = link + " belongs to another talvora-sim that is still running" +
              (pid.empty() ? std::string() : " (process " + pid + ")") +
              "; choose another --link or end that one";
      return false;
    }
    // The owner before may have removed the lock file between our open and our lock: then
    // the lock is on a file nobody else can find, and a new one is made.
    struct stat held {};
    struct stat named {};
    if (::fstat(fd, &held) != 0 || ::stat(lockPath.c_str(), &named) != 0 ||
        held.st_ino != named.st_ino || held.st_dev != named.st_dev) {
      ::close(fd);
      continue;
    }
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, pid.data(), pid.size(), 0) < 0) {
      // The lock holds all the same; only the note of who holds it is missing.
    }
    lock_ = fd;
    lockPath_ = lockPath;
    return true;
  }
  error = "cannot lock " + link + ": " + lockPath + " keeps changing";
  return false;
}

void PseudoTerminal::ReleaseLock() {
  if (lock_ < 0) return;
  ::unlink(lockPath_.c_str());
  ::close(lock_);
  lock_ = -1;
}

// Only a link that still names this terminal is removed: another server may have made its
// own link at the same place since (after this one's lock was taken from it by force).
void PseudoTerminal::RemoveLink() {
  if (!link_.empty()) {
    char target[4096];
    const ssize_t size = ::readlink(link_.c_str(), target, sizeof target);
    if (size > 0 && std::string(target, static_cast<std::size_t>(size)) == path_) {
      ::unlink(link_.c_str());
    }
    link_.clear();
  }
  ReleaseLock();
}

}  // namespace talvora_sim

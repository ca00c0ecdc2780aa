#include "pseudo_terminal.h"

#include <fcntl.h>
#include <stdlib.h>
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
  if (!link_.empty()) ::unlink(link_.c_str());
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
}

bool PseudoTerminal::AddLink(const std::string& link, std::string& error) {
  struct stat existing {};
  if (::lstat(link.c_str(), &existing) == 0) {
    if (!S_ISLNK(existing.st_mode)) {
      error = link + " exists and is not a symbolic link; not replacing it";
      return false;
    }
    ::unlink(link.c_str());
  }
  if (::symlink(path_.c_str(), link.c_str()) != 0) {
    error = Failure(("symlink " + link).c_str());
    return false;
  }
  link_ = link;
  return true;
}

}  // namespace talvora_sim

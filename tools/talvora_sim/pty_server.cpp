#include "pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ostream>

namespace talvora_sim {

PtyServer::PtyServer(const sim::Options& options)
    : radio_(options), start_(std::chrono::steady_clock::now()) {
  if (::pipe2(wake_, O_NONBLOCK | O_CLOEXEC) != 0) wake_[0] = wake_[1] = -1;
}

PtyServer::~PtyServer() {
  for (const int fd : wake_) {
    if (fd >= 0) ::close(fd);
  }
}

bool PtyServer::Open(std::string& error) {
  if (wake_[0] < 0) {
    error = std::string("pipe: ") + std::strerror(errno);
    return false;
  }
  terminal_ = PseudoTerminal::Create(error);
  if (!terminal_) return false;
  closeWatch_ = std::make_unique<CloseWatch>(terminal_->Path());
  start_ = std::chrono::steady_clock::now();
  radio_.OnOpened(Now(), *this);
  return true;
}

bool PtyServer::AddLink(const std::string& link, std::string& error) {
  return terminal_ && terminal_->AddLink(link, error);
}

std::string PtyServer::Path() const {
  return terminal_ ? terminal_->Path() : std::string();
}

void PtyServer::Stop() {
  stop_ = true;
  if (wake_[1] >= 0) {
    const char byte = 0;
    [[maybe_unused]] const ssize_t ignored = ::write(wake_[1], &byte, 1);
  }
}

void PtyServer::RequestSwap() {
  swap_ = true;
  if (wake_[1] >= 0) {
    const char byte = 0;
    [[maybe_unused]] const ssize_t ignored = ::write(wake_[1], &byte, 1);
  }
}

sim::Micros PtyServer::Now() const {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                               start_)
      .count();
}

bool PtyServer::Run(std::string& error) {
  if (!terminal_) {
    error = "the terminal is not open";
    return false;
  }
  while (!stop_) {
    if (swap_.exchange(false)) radio_.Swap(Now());
    Serve(Now());
    // While a second of line is waiting, the program's bytes stay in the terminal.
    const short fromProgram = toRadio_.Room() > 0 ? POLLIN : 0;
    pollfd fds[3] = {{terminal_->Master(), fromProgram, 0},
                     {wake_[0], POLLIN, 0},
                     {closeWatch_->Fd(), POLLIN, 0}};
    const nfds_t count = closeWatch_->Fd() >= 0 ? 3 : 2;
    if (::poll(fds, count, TimeoutMs()) < 0) {
      if (errno == EINTR) continue;
      error = std::string("poll: ") + std::strerror(errno);
      return false;
    }
    if (fds[1].revents != 0) {
      char drain[64];
      while (::read(wake_[0], drain, sizeof drain) > 0) {
      }
    }
    // A program that left the terminal in exclusive use must not lock the next one out.
    if (count == 3 && fds[2].revents != 0 && closeWatch_->TakeClosed()) {
      ::ioctl(terminal_->Slave(), TIOCNXCL);
    }
    if ((fds[0].revents & POLLIN) != 0) {
      if (!ReadFromProgram(error)) return false;
    } else if ((fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
      error = "the pseudo-terminal hung up";
      return false;
    }
  }
  return true;
}

// Hands the radio system every byte that has crossed by now, then lets it catch up, then
// writes what has crossed the other way.
void PtyServer::Serve(sim::Micros now) {
  for (const LinePacer::Byte& byte : toRadio_.TakeCrossed(now)) {
    radio_.AdvanceTo(byte.due, *this);
    radio_.OnByteFromProgram(byte.value, byte.due, rts_, *this);
  }
  radio_.AdvanceTo(now, *this);
  WriteToProgram(now);
}

int PtyServer::TimeoutMs() const {
  std::optional<sim::Micros> next = radio_.NextDeadline();
  for (const auto due : {toRadio_.NextDue(), toProgram_.NextDue()}) {
    if (due && (!next || *due < *next)) next = due;
  }
  if (!next) return -1;
  // Round up: waking a little late costs nothing, waking early costs another turn.
  const sim::Micros wait = std::max<sim::Micros>(0, *next - Now());
  return static_cast<int>(std::min<sim::Micros>((wait + 999) / 1000, INT_MAX));
}

bool PtyServer::ReadFromProgram(std::string& error) {
  char buffer[4096];
  while (toRadio_.Room() > 0) {
    const ssize_t got =
        ::read(terminal_->Master(), buffer, std::min(sizeof buffer, toRadio_.Room()));
    if (got > 0) {
      toRadio_.Push(std::string_view(buffer, static_cast<std::size_t>(got)), Now());
      taken_ += static_cast<std::uint64_t>(got);
      continue;
    }
    if (got < 0 && (errno == EAGAIN || errno == EINTR)) return true;
    error = got == 0 ? "the pseudo-terminal closed"
                     : std::string("reading the pseudo-terminal: ") + std::strerror(errno);
    return false;
  }
  return true;
}

void PtyServer::WriteToProgram(sim::Micros now) {
  std::string bytes;
  for (const LinePacer::Byte& byte : toProgram_.TakeDue(now)) {
    bytes += static_cast<char>(byte.value);
  }
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t put =
        ::write(terminal_->Master(), bytes.data() + written, bytes.size() - written);
    if (put > 0) {
      written += static_cast<std::size_t>(put);
    } else if (put < 0 && errno == EINTR) {
      continue;
    } else {
      // Nobody reads the terminal and its buffer is full: the bytes are lost, as on a line.
      break;
    }
  }
}

void PtyServer::SendToProgram(std::string_view bytes, platform::Micros at) {
  toProgram_.Push(bytes, at);
}

// A pseudo-terminal carries no line errors; the frame log still shows when they were due.
void PtyServer::InjectLineError(std::uint32_t /*ceFlags*/, platform::Micros /*at*/) {}

}  // namespace talvora_sim

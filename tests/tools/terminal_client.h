#pragma once

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <string_view>

namespace toolstest {

// The program's end of a terminal that talvora-sim made: opened non-blocking, raw bytes.
class TerminalClient {
 public:
  explicit TerminalClient(const std::string& path)
      : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {}
  ~TerminalClient() {
    if (fd_ >= 0) ::close(fd_);
  }
  TerminalClient(const TerminalClient&) = delete;
  TerminalClient& operator=(const TerminalClient&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  // Bytes the terminal took at once; 0 when it is full.
  std::size_t Write(std::string_view bytes) {
    const ssize_t put = ::write(fd_, bytes.data(), bytes.size());
    return put > 0 ? static_cast<std::size_t>(put) : 0;
  }
  // The next byte, waiting up to `ms` for it.
  std::optional<std::uint8_t> ReadByte(int ms) {
    pollfd fd{fd_, POLLIN, 0};
    std::uint8_t byte = 0;
    if (::poll(&fd, 1, ms) != 1 || ::read(fd_, &byte, 1) != 1) return std::nullopt;
    return byte;
  }

 private:
  int fd_;
};

}  // namespace toolstest

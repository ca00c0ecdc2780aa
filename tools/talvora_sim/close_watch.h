#pragma once

#include <string>

namespace talvora_sim {

// Tells when a program closes the terminal. A program that asked for exclusive use (TIOCEXCL)
// and then closed the terminal without giving it up, or crashed, would otherwise lock every
// later opener out: the server keeps the terminal itself open, so the kernel never resets it.
class CloseWatch {
 public:
  explicit CloseWatch(const std::string& path);
  CloseWatch(const CloseWatch&) = delete;
  CloseWatch& operator=(const CloseWatch&) = delete;
  ~CloseWatch();

  // The descriptor to poll for readability; -1 when the system cannot watch the terminal.
  int Fd() const { return fd_; }
  // Takes the pending notices; true when the terminal was closed since the last call.
  bool TakeClosed();

 private:
  int fd_ = -1;
};

}  // namespace talvora_sim

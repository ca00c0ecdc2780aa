#include "close_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

namespace talvora_sim {

CloseWatch::CloseWatch(const std::string& path) {
  fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd_ >= 0 && ::inotify_add_watch(fd_, path.c_str(), IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) < 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

CloseWatch::~CloseWatch() {
  if (fd_ >= 0) ::close(fd_);
}

bool CloseWatch::TakeClosed() {
  if (fd_ < 0) return false;
  alignas(inotify_event) char buffer[4096];
  bool closed = false;
  for (;;) {
    const ssize_t got = ::read(fd_, buffer, sizeof buffer);
    if (got <= 0) return closed;
    for (ssize_t at = 0; at < got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      if ((event->mask & (IN_CLOSE_WRITE | IN_CLOSE_NOWRITE)) != 0) closed = true;
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
}

}  // namespace talvora_sim

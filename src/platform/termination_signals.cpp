#include "platform/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>

namespace platform {
namespace {

constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};

int wakePipe[2] = {-1, -1};
std::array<struct sigaction, kSignals.size()> previous{};

extern "C" void WriteSignalNumber(int signal) {
  const int saved = errno;
  const auto number = static_cast<unsigned char>(signal);
  [[maybe_unused]] const ssize_t written = ::write(wakePipe[1], &number, 1);
  errno = saved;
}

}  // namespace

TerminationSignals::TerminationSignals(Handler handler) : handler_(std::move(handler)) {
  if (::pipe2(wakePipe, O_NONBLOCK | O_CLOEXEC) != 0) {
    std::perror("talvora: cannot watch for termination signals");
    return;
  }
  notifier_ = std::make_unique<QSocketNotifier>(wakePipe[0], QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { Drain(); });
  struct sigaction action {};
  action.sa_handler = WriteSignalNumber;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    sigaction(kSignals[i], nullptr, &previous[i]);
    // A signal ignored when the program started (nohup ignores SIGHUP) is meant to stay so.
    if (previous[i].sa_handler == SIG_IGN && (previous[i].sa_flags & SA_SIGINFO) == 0) continue;
    sigaction(kSignals[i], &action, nullptr);
  }
}

TerminationSignals::~TerminationSignals() {
  if (!notifier_) return;
  for (std::size_t i = 0; i < kSignals.size(); ++i)
    sigaction(kSignals[i], &previous[i], nullptr);
  notifier_.reset();
  for (int& fd : wakePipe) {
    ::close(fd);
    fd = -1;
  }
}

void TerminationSignals::Drain() {
  unsigned char number = 0;
  while (::read(wakePipe[0], &number, 1) == 1) {
    if (handler_) handler_(number);
  }
}

}  // namespace platform

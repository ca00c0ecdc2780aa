#include "output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <memory>

#include "platform/event_service.h"

namespace cli::output {
namespace {

// Far more than any command prints; more waiting than this means the reader has stopped.
constexpr qsizetype kLongestWait = 1 << 20;

struct State {
  QByteArray pending;
  QString error;
  bool failed = false;
  std::unique_ptr<QSocketNotifier> writable;
};

State& Out() {
  static State state;
  return state;
}

void Fail(const QString& why) {
  State& out = Out();
  if (out.failed) return;
  out.failed = true;
  out.error = why;
  out.pending.clear();
  if (out.writable) out.writable->setEnabled(false);
}

void WaitUntilWritable() {
  State& out = Out();
  if (!out.writable) {
    out.writable = std::make_unique<QSocketNotifier>(STDOUT_FILENO, QSocketNotifier::Write);
    QObject::connect(out.writable.get(), &QSocketNotifier::activated, [] { Write({}); });
  }
  out.writable->setEnabled(true);
}

// Keeps the descriptors 0 to 2 taken; says whether `fd` was open.
bool KeepOpen(int fd, int flags) {
  if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) return true;
  const int null = ::open("/dev/null", flags | O_CLOEXEC);
  if (null >= 0 && null != fd) {
    ::dup2(null, fd);
    ::close(null);
  }
  return false;
}

}  // namespace

void Start() {
  KeepOpen(STDIN_FILENO, O_RDONLY);
  const bool stdoutOpen = KeepOpen(STDOUT_FILENO, O_WRONLY);
  KeepOpen(STDERR_FILENO, O_WRONLY);
  std::signal(SIGPIPE, SIG_IGN);  // a reader gone shows as EPIPE, handled like any failure
  if (!stdoutOpen) {
    Fail("it is closed");
    return;
  }
  struct stat status {};
  if (::fstat(STDOUT_FILENO, &status) != 0 || S_ISREG(status.st_mode)) return;
  if (S_ISSOCK(status.st_mode)) {
    // A socket cannot be opened anew; it is ours for the program's life anyway.
    const int flags = ::fcntl(STDOUT_FILENO, F_GETFL);
    if (flags != -1) ::fcntl(STDOUT_FILENO, F_SETFL, flags | O_NONBLOCK);
    return;
  }
  // A descriptor of our own on the same pipe or terminal, so that non-blocking writes do not
  // change the stream the shell and other programs share.
  const int own =
      ::open("/proc/self/fd/1", O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_APPEND);
  if (own < 0) {
    if (errno == ENXIO) Fail("it is a pipe that nobody reads");
    return;
  }
  ::dup2(own, STDOUT_FILENO);
  ::close(own);
}

void Write(const QByteArray& bytes) {
  State& out = Out();
  if (out.failed) return;
  out.pending += bytes;
  while (!out.pending.isEmpty()) {
    const ssize_t written =
        ::write(STDOUT_FILENO, out.pending.constData(), static_cast<size_t>(out.pending.size()));
    if (written > 0) {
      out.pending.remove(0, written);
    } else if (written < 0 && errno == EINTR) {
      continue;
    } else if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (out.pending.size() > kLongestWait) {
        Fail("its reader has stopped reading");
      } else {
        WaitUntilWritable();
      }
      return;
    } else {
      Fail(QString::fromLocal8Bit(std::strerror(written < 0 ? errno : EIO)));
      return;
    }
  }
  if (out.writable) out.writable->setEnabled(false);
}

bool Failed() {
  return Out().failed;
}

QString Error() {
  return Out().error;
}

bool Finish(const std::function<bool()>& stop) {
  State& out = Out();
  while (!out.failed && !out.pending.isEmpty() && !(stop && stop()))
    platform::DoEvents();
  return !out.failed && out.pending.isEmpty();
}

void Reset() {
  State& out = Out();
  out.pending.clear();
  out.error.clear();
  out.failed = false;
  if (out.writable) out.writable->setEnabled(false);
}

}  // namespace cli::output

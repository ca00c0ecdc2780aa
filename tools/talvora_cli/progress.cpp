#include "progress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "operations/module_commands.h"

namespace cli {
namespace {

// Runs shorter than this show no progress.
constexpr double kShortestShownRun = 1.0;

bool OnTerminal() {
  static const bool terminal = ::isatty(STDERR_FILENO) != 0;
  return terminal;
}

void Write(const QString& text) {
  // Back to the start of the line, the text, and the rest of any longer line before it erased.
  std::fprintf(stderr, "\r%s\033[K", text.toLocal8Bit().constData());
  std::fflush(stderr);
}

}  // namespace

ProgressLine::ProgressLine(Run run, int registers) : run_(run), registers_(registers) {}

ProgressLine::~ProgressLine() {
  Clear();
}

void ProgressLine::Requested(int /*n*/, bool /*retry*/) {
  ++requests_;
  Show();
}

void ProgressLine::Read(const operations::RegisterReading& reading) {
  if (reading.value) ++answered_;
}

void ProgressLine::Programmed(const operations::RegisterProgramming& programming) {
  if (programming.state == operations::WriteState::Sent) return;
  ++confirmed_;
  Show();
}

void ProgressLine::Show() {
  double left = 0;
  int done = 0;
  if (run_ == Run::Reading) {
    // Every register gets at most two requests; one that answered needs no second.
    const int requestsLeft = std::max(0, 2 * registers_ - requests_ - answered_);
    left = requestsLeft * operations::kReplyLimit;
    done = std::min(requests_, registers_);
  } else {
    const int writesLeft = std::max(0, registers_ - requests_);
    left =
        writesLeft * operations::kWritePause + (registers_ - confirmed_) * operations::kReplyLimit;
    done = confirmed_;
  }
  const double total =
      registers_ * (run_ == Run::Reading ? 2 * operations::kReplyLimit
                                         : operations::kWritePause + operations::kReplyLimit);
  if (!OnTerminal() || total < kShortestShownRun) return;
  Write(QString("%1: %2 of %3 registers, at most %4 s left")
            .arg(run_ == Run::Reading ? "reading" : "programming")
            .arg(done)
            .arg(registers_)
            .arg(left, 0, 'f', 1));
}

void ProgressLine::ShowTime(const QString& what, double seconds, double total) {
  if (!OnTerminal() || total < kShortestShownRun) return;
  Write(QString("%1: %2 of %3 s").arg(what).arg(seconds, 0, 'f', 0).arg(total, 0, 'f', 0));
}

void ProgressLine::Clear() {
  if (OnTerminal()) Write("");
}

}  // namespace cli

#pragma once

#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace platform {

// SIGINT, SIGTERM and SIGHUP, taken from the event loop: the signal handler itself only
// writes the signal's number into a pipe, and a notifier on the pipe's other end runs the
// handler given here, on the UI thread, between events. While one lives, those signals no
// longer end the process by themselves. A signal that is ignored when it is made (nohup's
// SIGHUP) stays ignored.
class TerminationSignals : public QObject {
 public:
  using Handler = std::function<void(int signal)>;

  explicit TerminationSignals(Handler handler);
  ~TerminationSignals() override;
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

 private:
  void Drain();

  Handler handler_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace platform

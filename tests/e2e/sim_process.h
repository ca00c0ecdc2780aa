#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace e2e {

// talvora-sim running in its own process, serving the simulated radio system behind a
// pseudo-terminal, with its frame log collected as it comes.
class SimProcess {
 public:
  explicit SimProcess(const QStringList& options);
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // The terminal it serves; empty if it did not start.
  const QString& Path() const { return path_; }
  // Every frame log line so far.
  QStringList Log();
  // Ends it, as when the device goes away.
  void Stop();
  // Sends `signal` (0: none) and waits for the end: the exit status, -1 after a crash, -2 when
  // it goes on.
  int End(int signal);
  // Its process, for signals (SIGUSR1 swaps its module).
  qint64 Pid() const { return process_.processId(); }

 private:
  QProcess process_;
  QString path_;
  QString log_;
};

// Processor time (user plus system) this process has used, in seconds.
double CpuSeconds();

// Processes events in real time until `done` holds or `ms` have passed; returns `done()`.
bool WaitUntil(const std::function<bool()>& done, int ms);

}  // namespace e2e

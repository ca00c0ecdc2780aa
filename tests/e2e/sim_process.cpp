#include "sim_process.h"

#include <signal.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace e2e {

SimProcess::SimProcess(const QStringList& options) {
  process_.start(QStringLiteral(TALVORA_SIM_EXECUTABLE), options);
  if (!process_.waitForStarted(5000)) return;
  if (!process_.waitForReadyRead(5000)) return;
  path_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
}

SimProcess::~SimProcess() {
  Stop();
}

void SimProcess::Stop() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.terminate();
  process_.waitForFinished(5000);
}

int SimProcess::End(int signal) {
  if (signal != 0) ::kill(static_cast<pid_t>(process_.processId()), signal);
  if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(10000)) return -2;
  return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

QStringList SimProcess::Log() {
  log_ += QString::fromLocal8Bit(process_.readAllStandardError());
  return log_.split('\n', Qt::SkipEmptyParts);
}

bool WaitUntil(const std::function<bool()>& done, int ms) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(2);
  }
  return done();
}

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace e2e

// Start-up and memory figures: the time from the start of main() to the start-up window on
// the screen, the peak memory of the real program sitting on the simulated system, and the
// peak memory of this whole benchmark run.

#include "startup_bench.h"

#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QWindow>

#include "stats.h"
#include "ui/intro.h"
#include "ui/kit/design.h"

namespace bench {
namespace {

// The high-water mark of a process's resident memory, in MiB; 0 when unknown.
double PeakResidentMiB(qint64 pid) {
  QFile status(QStringLiteral("/proc/%1/status").arg(pid));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmHWM:"))
      return line.mid(6).trimmed().split(' ').front().toDouble() / 1024;
  }
  return 0;
}

}  // namespace

void RunStartupBenchmarks(double sinceMainMs) {
  QElapsedTimer timer;
  timer.start();
  ui::RegisterFontSubstitutes();
  ui::intro start;
  start.show();
  while (start.windowHandle() == nullptr || !start.windowHandle()->isExposed()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  const double shown = sinceMainMs + static_cast<double>(timer.nsecsElapsed()) / 1e6;
  Figure("start-up window shown, from the start of main()", shown, "ms");
  start.close();

  // The program itself, left idle on the simulated system for three seconds.
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("TALVORA_COM1", "sim");
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(TALVORA_EXECUTABLE), {});
  if (program.waitForStarted(5000)) {
    RunEventLoopFor(3000);
    Figure("peak memory of the program at its start-up window",
           PeakResidentMiB(program.processId()), "MiB");
    program.kill();
    program.waitForFinished(5000);
  }
}

void PrintPeakMemory() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  Figure("peak memory of this benchmark run", static_cast<double>(usage.ru_maxrss) / 1024, "MiB");
}

}  // namespace bench

// Start-up and memory figures: the time from the start of main() to the start-up window on
// the screen, the time from starting the real program to its window on the X display (beside
// other programs' times, when TALVORA_BENCH_PEERS names them), the time port detection takes,
// the peak memory of the real program sitting on the simulated system, and the peak memory of
// this whole benchmark run.

#include "startup_bench.h"

#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

#include "ports/port_detector.h"
#include "stats.h"
#include "ui/intro.h"
#include "ui/kit/design.h"
#include "window_clock.h"

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

constexpr int kRounds = 7;

void DetectionFigures() {
  std::vector<double> times;
  std::size_t found = 0;
  for (int i = 0; i < kRounds; ++i) {
    QElapsedTimer timer;
    timer.start();
    found = ports::Detector().Detect().size();
    times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
  }
  Figure("port detection, median of 7 (" + std::to_string(found) + " ports found)",
         Quantile(times, 0.5), "ms");
}

// The programs to time: this one on the simulated system, a bare Qt Widgets dialog (the floor no
// Qt Widgets program starts under), then those TALVORA_BENCH_PEERS names, one command a ';',
// words split at blanks.
constexpr std::size_t kTalvora = 0, kQtFloor = 1, kFirstPeer = 2;
std::vector<QStringList> Contenders() {
  std::vector<QStringList> commands{{QStringLiteral(TALVORA_EXECUTABLE)},
                                    {QStringLiteral(TALVORA_QT_FLOOR_EXECUTABLE)}};
  const QString peers = QString::fromLocal8Bit(std::getenv("TALVORA_BENCH_PEERS"));
  for (const QString& peer : peers.split(';', Qt::SkipEmptyParts))
    commands.push_back(peer.split(' ', Qt::SkipEmptyParts));
  return commands;
}

// Rounds take turns, so that a busy moment of the machine falls on all alike.
void WindowOnScreenFigures() {
  const QTemporaryDir home;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "xcb");
  environment.insert("TALVORA_COM1", "sim");
  environment.insert("HOME", home.path());
  environment.insert("XDG_CONFIG_HOME", home.path() + "/config");
  environment.insert("XDG_DATA_HOME", home.path() + "/data");
  const std::vector<QStringList> commands = Contenders();
  std::vector<std::vector<double>> times(commands.size());
  for (int round = 0; round < kRounds; ++round) {
    for (std::size_t i = 0; i < commands.size(); ++i) {
      const auto ms = LaunchToWindowMs(commands[i], environment);
      if (!ms) {  // no X display, or a program that shows no window
        std::fprintf(stderr, "talvora-bench: no window of %s on the X display\n",
                     qPrintable(commands[i].join(' ')));
        return;
      }
      times[i].push_back(*ms);
    }
  }
  double fastestPeer = 0;
  for (std::size_t i = 0; i < commands.size(); ++i) {
    const double median = Quantile(times[i], 0.5);
    const QString name = i == kTalvora   ? QStringLiteral("talvora")
                         : i == kQtFloor ? QStringLiteral("a bare Qt Widgets dialog")
                                         : commands[i].front();
    Figure("start to window on the X display, median of 7: " + name.toStdString(), median, "ms");
    if (i >= kFirstPeer && (fastestPeer == 0 || median < fastestPeer)) fastestPeer = median;
  }
  const double talvora = Quantile(times[kTalvora], 0.5), floor = Quantile(times[kQtFloor], 0.5);
  Figure("talvora's time over the bare Qt dialog's", talvora / floor, "");
  if (fastestPeer > 0) {
    Figure("talvora's time over the fastest other's", talvora / fastestPeer, "");
    Figure("the bare Qt dialog's time over the fastest other's", floor / fastestPeer, "");
  }
}

}  // namespace

void RunStartupBenchmarks(double sinceMainMs) {
  DetectionFigures();
  WindowOnScreenFigures();
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

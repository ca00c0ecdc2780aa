#include "ui/termination.h"

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "link/functions.h"
#include "platform/termination_signals.h"

namespace ui {
namespace {

// Longest the event loops are given to unwind once the port is closed.
constexpr std::chrono::milliseconds kUnwindPatience{800};

void EndProgram(int /*signal*/) {
  functions::CloseSerial();
  std::fflush(nullptr);
  QCoreApplication::exit(0);
  // Nothing is left that could key the radio or hold the device: should a nested loop not
  // return in time, the program ends anyway.
  QTimer::singleShot(kUnwindPatience, [] { std::_Exit(0); });
}

}  // namespace

void EndOnTerminationSignals() {
  auto* watcher = new platform::TerminationSignals(EndProgram);
  watcher->setParent(QCoreApplication::instance());
}

}  // namespace ui

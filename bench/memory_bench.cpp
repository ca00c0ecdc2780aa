// Memory figures of work repeated through the real windows on the offscreen platform: how much
// the heap grows per opening and closing of the main window from the start-up window, and per
// TEST ON and TEST OFF of the link test. Both count from after a warm-up, so that what Qt keeps
// once (fonts, style caches, the resources of the first window) is left out.

#include "memory_bench.h"

#include <malloc.h>

#include <QMessageLogContext>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <functional>

#include "operations/main_window_services.h"
#include "stats.h"
#include "ui/cdemo.h"
#include "ui/intro.h"

namespace bench {
namespace {

constexpr int kWarmUpCycles = 50;
constexpr int kOpenCloseCycles = 400;
constexpr int kTestOnOffCycles = 600;
// How long the main window stays open, and each state of the link test lasts, per cycle.
constexpr int kDwellMs = 1;

// What the program holds on the heap, in KiB.
double HeapInUseKiB() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd) / 1024;
}

// The heap's growth per cycle over `cycles` runs of `cycle`, counted after a warm-up.
double GrowthPerCycleKiB(int cycles, const std::function<void()>& cycle) {
  for (int n = 0; n < kWarmUpCycles; ++n)
    cycle();
  const double before = HeapInUseKiB();
  for (int n = 0; n < cycles; ++n)
    cycle();
  return (HeapInUseKiB() - before) / cycles;
}

QtMessageHandler previousHandler = nullptr;

// The offscreen platform says so each time a window is raised; the figures would drown in it.
void QuietRaise(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message == QStringLiteral("This plugin does not support raise()")) return;
  if (previousHandler != nullptr) previousHandler(type, context, message);
}

// Once the main window is up, runs `inside` in it and closes it.
void CloseWhenShown(ui::intro& start, const std::function<void(ui::CDemo&)>& inside) {
  QTimer::singleShot(kDwellMs, Qt::PreciseTimer, &start, [&start, inside] {
    auto* window = start.findChild<ui::CDemo*>();
    if (window == nullptr || !start.MainWindowOpen() || !window->isVisible()) {
      CloseWhenShown(start, inside);
      return;
    }
    inside(*window);
    window->close();
  });
}

// Opens the main window with OK, as the operator does; OK's click returns once it is closed.
void WithMainWindow(ui::intro& start, const std::function<void(ui::CDemo&)>& inside) {
  CloseWhenShown(start, inside);
  start.Form().Command1->click();
}

}  // namespace

void RunMemoryBenchmarks() {
  setenv("TALVORA_COM1", "sim", 1);
  previousHandler = qInstallMessageHandler(QuietRaise);
  ui::intro start;
  start.show();
  start.Form().Option1[0]->setChecked(true);

  Figure("heap growth per opening and closing of the main window",
         GrowthPerCycleKiB(kOpenCloseCycles, [&] { WithMainWindow(start, [](ui::CDemo&) {}); }),
         "KiB");

  double perTest = 0;
  WithMainWindow(start, [&](ui::CDemo& window) {
    window.SSTab1()->setCurrentIndex(operations::kRadioTestingPage);
    const auto& page = window.RadioTesting();
    perTest = GrowthPerCycleKiB(kTestOnOffCycles, [&] {
      page.Command3->click();
      RunEventLoopFor(kDwellMs);
      page.Command1->click();
      RunEventLoopFor(kDwellMs);
    });
  });
  Figure("heap growth per TEST ON and TEST OFF", perTest, "KiB");

  // The floor under the first figure: Qt itself keeps a little per showing of a window.
  QWidget bare;
  Figure("heap growth per showing and closing of a bare Qt window",
         GrowthPerCycleKiB(kOpenCloseCycles,
                           [&] {
                             bare.show();
                             RunEventLoopFor(kDwellMs);
                             bare.close();
                             RunEventLoopFor(kDwellMs);
                           }),
         "KiB");
  start.close();
  qInstallMessageHandler(previousHandler);
}

}  // namespace bench

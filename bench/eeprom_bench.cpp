// Figures of the EEPROM operations, taken through the real main window on the offscreen
// platform: how long reading all 32 registers of the host module takes, and how much of a core
// a reading of 8 registers uses while the module stays silent.

#include "eeprom_bench.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cstdlib>
#include <string>

#include "stats.h"
#include "ui/cdemo.h"

namespace bench {
namespace {

struct ReadingRun {
  double wallSeconds = 0;
  double cpuPercent = 0;
  int answered = 0;  // registers that answered in the first request
};

// Loads the main window with `device` behind COM1, selects registers 0 to rows - 1 and clicks
// "EEPROM Reading"; the click returns when the run has ended.
ReadingRun ReadRegisters(const char* device, int rows) {
  setenv("TALVORA_COM1", device, 1);
  ui::CDemo window([] { return std::string("COM1"); });
  window.Form_Load();
  window.show();
  const auto& page = window.Programming();
  for (int n = 0; n < rows; ++n)
    page.Check1[n]->setChecked(true);

  ReadingRun run;
  run.cpuPercent = CpuPercentDuring([&] { page.Command2->click(); }, &run.wallSeconds);
  for (int n = 0; n < rows; ++n) {
    const QString value = page.Text6[n]->text();
    if (value != QStringLiteral("NO") && !value.startsWith('.')) ++run.answered;
  }
  window.close();  // unloads the window, which closes the port
  return run;
}

}  // namespace

void RunEepromBenchmarks() {
  const ReadingRun host = ReadRegisters("sim", 32);
  Figure("EEPROM reading of 32 registers (host), wall", host.wallSeconds, "s");
  Figure("EEPROM reading, per register", 1000.0 * host.wallSeconds / 32, "ms");
  Figure("EEPROM registers answered at the first request", host.answered, "of 32");

  const ReadingRun silent = ReadRegisters("sim:silent", 8);
  Figure("EEPROM reading of 8 registers (silent), wall", silent.wallSeconds, "s");
  Figure("CPU during that reading", silent.cpuPercent, "% of a core");
}

}  // namespace bench

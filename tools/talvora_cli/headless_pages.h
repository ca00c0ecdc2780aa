#pragma once

// The main window's pages without a window: the same page logic, working on plain controls,
// for running the operations from a script.

#include <array>
#include <memory>

#include "operations/eeprom_reader.h"
#include "operations/eeprom_writer.h"
#include "operations/link_test.h"
#include "operations/plain_control.h"
#include "operations/register_table.h"
#include "operations/terminal.h"
#include "platform/interval_timer.h"

namespace cli {

// Nothing to withhold or grey without a window; a script cannot click meanwhile.
class HeadlessWindow final : public operations::MainWindowServices {
 public:
  void DisableClose() override {}
  void EnableClose() override {}
  void SetPageEnabled(int /*page*/, bool /*enabled*/) override {}
  void WaitBegins() override {}
  void WaitEnds() override {}
  operations::Rgb WindowTextColour() const override { return operations::MakeRgb(0, 0, 0); }
};

// The three pages' controls as plain data, their logic, and the link test's timer. The
// terminal's received-data and sender boxes are registered as windows, so that the serial-port
// object writes received blocks into them as into the window's boxes.
class HeadlessPages {
 public:
  HeadlessPages();
  ~HeadlessPages();
  HeadlessPages(const HeadlessPages&) = delete;
  HeadlessPages& operator=(const HeadlessPages&) = delete;

  operations::SessionState& Session() { return session_; }
  operations::RegisterTable& Table() { return table_; }
  operations::EepromReader& Reader() { return reader_; }
  operations::EepromWriter& Writer() { return writer_; }
  operations::LinkTest& LinkTest() { return linkTest_; }
  operations::Terminal& Terminal() { return terminal_; }

  // The plain control behind a view of these pages, e.g. Plain(RadioTesting().Label3).
  static operations::PlainControl& Plain(operations::ControlView* view) {
    return static_cast<operations::PlainControl&>(*view);
  }
  const operations::ProgrammingView& Programming() const { return programming_; }
  const operations::RadioTestingView& RadioTesting() const { return radioTesting_; }
  const operations::TerminalView& TerminalPage() const { return terminalView_; }

 private:
  operations::ControlView* NewControl();
  operations::ProgrammingView MakeProgramming();
  operations::RadioTestingView MakeRadioTesting();
  operations::TerminalView MakeTerminal();

  std::vector<std::unique_ptr<operations::PlainControl>> controls_;
  platform::IntervalTimer timer1_;
  operations::ProgrammingView programming_;
  operations::RadioTestingView radioTesting_;
  operations::TerminalView terminalView_;
  HeadlessWindow window_;
  operations::SessionState session_;
  operations::RegisterTable table_;
  operations::EepromReader reader_;
  operations::EepromWriter writer_;
  operations::LinkTest linkTest_;
  operations::Terminal terminal_;
};

}  // namespace cli

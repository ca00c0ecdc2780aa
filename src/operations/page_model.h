#pragma once

#include <chrono>

#include "operations/eeprom_reader.h"
#include "operations/eeprom_writer.h"
#include "operations/link_test.h"
#include "operations/outcomes.h"
#include "operations/page_views.h"
#include "operations/register_table.h"
#include "operations/session_state.h"
#include "operations/terminal.h"
#include "platform/interval_timer.h"

namespace operations {

// The link test's clock.
inline constexpr std::chrono::milliseconds kTimer1Period{500};

// The main window's pages as one model: the session state, the register table, the four
// operations over the pages' views, Timer1, and the load step that puts the pages into their
// designed idle state. The windows and talvora-cli each make one over views of their own and
// render what it reports.
class PageModel {
 public:
  PageModel(const PageViews& views, MainWindowServices& window,
            RegisterTable::HelpOpener openHelp = {});
  PageModel(const PageModel&) = delete;
  PageModel& operator=(const PageModel&) = delete;

  // The pages as a load leaves them: the host module chosen, the table filled, Send Data, Stop
  // and TEST OFF disabled, the terminal's address boxes and the lamps hidden, Timer1 stopped.
  void Load();

  SessionState& Session() { return session_; }
  RegisterTable& Table() { return table_; }
  EepromReader& Reader() { return reader_; }
  EepromWriter& Writer() { return writer_; }
  operations::LinkTest& LinkTest() { return linkTest_; }
  operations::Terminal& Terminal() { return terminal_; }
  platform::IntervalTimer& Timer1() { return timer1_; }
  // Every outcome of the operations, as it happens.
  Outcomes& Reports() { return outcomes_; }
  const PageViews& Views() const { return views_; }

 private:
  static PageViews WithTimer(PageViews views, platform::IntervalTimer& timer1);

  platform::IntervalTimer timer1_;
  PageViews views_;
  SessionState session_;
  Outcomes outcomes_;
  RegisterTable table_;
  EepromReader reader_;
  EepromWriter writer_;
  operations::LinkTest linkTest_;
  operations::Terminal terminal_;
};

}  // namespace operations

#pragma once

#include <memory>

#include "operations/eeprom_reader.h"
#include "operations/eeprom_writer.h"
#include "operations/link_test.h"
#include "operations/terminal.h"
#include "ui/pages/page_controls.h"

class QObject;

namespace ui {

// The logic of the three pages, hooked to their controls' events.
struct PageLogic {
  std::unique_ptr<operations::EepromReader> reader;
  std::unique_ptr<operations::EepromWriter> writer;
  std::unique_ptr<operations::LinkTest> linkTest;
  std::unique_ptr<operations::Terminal> terminal;
};

struct PageControls {
  const ProgrammingControls& programming;
  const RadioTestingControls& radioTesting;
  const TerminalControls& terminal;
};

struct PageViews {
  operations::RadioTestingView radioTesting;
  operations::TerminalView terminal;
};

// Makes the logic of the pages over their views and connects the buttons, Timer1 and the
// terminal's Enter keys to its event procedures. `context` owns the connections.
std::unique_ptr<PageLogic> ConnectPageLogic(const PageControls& controls, const PageViews& views,
                                            operations::RegisterTable& table,
                                            operations::MainWindowServices& window,
                                            operations::SessionState& session, QObject* context);

}  // namespace ui

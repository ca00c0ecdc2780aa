#pragma once

// The pages of the main window: each builder makes the controls of one page in their designed
// state on the page's surface and returns them for the page's logic.

#include "operations/programming_controls.h"
#include "operations/radio_testing_controls.h"
#include "operations/terminal_controls.h"
#include "ui/design.h"

namespace operations {
class RegisterTable;
}

namespace ui {

class ClickEvents;

operations::ProgrammingControls BuildProgrammingPage(const Designer& page);
// Hooks the operator's gestures on the register table and the module choice to the table.
void ConnectRegisterTable(const operations::ProgrammingControls& controls,
                          operations::RegisterTable& table, ClickEvents& clicks);

// Timer1 is not a widget; the main window makes it and fills it in.
operations::RadioTestingControls BuildRadioTestingPage(const Designer& page);

operations::TerminalControls BuildTerminalPage(const Designer& page);
// The received-data and sender boxes become windows that the serial-port object can write
// received blocks into; their handles go into the controls.
void RegisterTerminalWindows(operations::TerminalControls& controls);
void UnregisterTerminalWindows(operations::TerminalControls& controls);

}  // namespace ui

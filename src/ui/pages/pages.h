#pragma once

// The pages of the main window: each builder makes the controls of one page in their designed
// state on the page's surface and returns them for the page's logic.

#include "ui/kit/design.h"
#include "ui/pages/page_controls.h"

namespace operations {
class RegisterTable;
}

namespace ui {

class ClickEvents;

ProgrammingControls BuildProgrammingPage(const Designer& page);
// The name boxes once the table has been filled: the names need more room than the boxes were
// drawn with.
void WidenNameBoxes(const ProgrammingControls& controls);
// Hooks the operator's gestures on the register table and the module choice to the table.
void ConnectRegisterTable(const ProgrammingControls& controls, operations::RegisterTable& table,
                          ClickEvents& clicks);

// Timer1 is not a widget; the page model makes it and the main window fills it in.
RadioTestingControls BuildRadioTestingPage(const Designer& page);

TerminalControls BuildTerminalPage(const Designer& page);

}  // namespace ui

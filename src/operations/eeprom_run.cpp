#include "operations/eeprom_run.h"

#include "operations/module_commands.h"

namespace operations {

bool EepromRun::Begin() {
  window_.DisableClose();
  window_.SetPageEnabled(kRadioTestingPage, false);
  window_.SetPageEnabled(kTerminalPage, false);
  const ProgrammingView& controls = Controls();
  if (controls.Option1->Checked()) {
    session_.ModuleKind = 1;
  } else if (controls.Option2->Checked()) {
    session_.ModuleKind = kRemoteModule;
  }
  bool selection = false;
  for (int n = 0; n < kRegisterCount; ++n) {
    table_.ValueColour(n, kResetColour);
    if (table_.Selected(n)) selection = true;
  }
  return selection;
}

void EepromRun::EnablePages() {
  window_.SetPageEnabled(kRadioTestingPage, true);
  window_.SetPageEnabled(kTerminalPage, true);
}

void EepromRun::SetStatus(const char* text) {
  Controls().Text7->Text(text);
}

}  // namespace operations

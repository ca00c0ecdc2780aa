#include "operations/eeprom_run.h"

#include "link/functions.h"

namespace operations {

bool EepromRun::Begin() {
  const ProgrammingView& controls = table_.Controls();
  if (controls.Option1->Checked()) {
    session_.ModuleKind = kHostModule;
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

void EepromRun::SetStatus(const QString& text) {
  table_.Controls().Text7->Text(text);
}

bool EepromRun::PortOpen() const {
  return functions::PortOpen();
}

}  // namespace operations

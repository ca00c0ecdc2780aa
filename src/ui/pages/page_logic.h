#pragma once

#include "operations/page_model.h"
#include "ui/pages/page_controls.h"

class QObject;

namespace ui {

// Connects the buttons, Timer1 and the terminal's Enter keys to the event procedures of the
// page model's operations. `context` owns the connections.
void ConnectPageLogic(const PageControls& controls, operations::PageModel& model, QObject* context);

}  // namespace ui

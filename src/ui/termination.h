#pragma once

namespace ui {

// Makes SIGINT, SIGTERM and SIGHUP end the program as closing it does: the port is closed
// (RTS dropped, exclusive use lifted) and the program ends with status 0. A wait still under
// way ends at once, since the port is gone.
void EndOnTerminationSignals();

}  // namespace ui

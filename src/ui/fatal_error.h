#pragma once

// The program's one error handler. A raised error ends the program: its number, in decimal
// and in hex, and its description are shown in a message box, with the detail under them when
// there is one (for a device that cannot be opened: which device, why, and the fix).

#include <exception>
#include <functional>
#include <string>
#include <utility>

#include "platform/app_error.h"

namespace ui {

inline constexpr int kErrorExitStatus = 1;
inline constexpr const char* kProgramTitle = "TALVORA";

// Shows the report, then ends the program. While one report is on the screen, further errors
// are not reported: the first one ends the program.
void ReportFatalError(const platform::AppError& error);
void ReportFatalError(const std::exception& error);

// How the program ends after a report; tests put in a step that only records the status.
// Passing an empty function puts back the default, which ends the process at once.
using ProgramEnd = std::function<void(int status)>;
ProgramEnd SetProgramEnd(ProgramEnd end);

// Runs an event handler of the windows and reports whatever it raises, so that no exception
// crosses Qt's event dispatch.
template <typename Body>
void Guarded(Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
  } catch (const platform::AppError& error) {
    ReportFatalError(error);
  } catch (const std::exception& error) {
    ReportFatalError(error);
  }
}

}  // namespace ui

#include "ui/fatal_error.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/windows.h"

namespace ui {
namespace {

void EndAtOnce(int status) {
  // Nothing more of the program may run: the error left it in a state it cannot go on from.
  // The system closes the serial device, which drops RTS.
  std::fflush(nullptr);
  std::_Exit(status);
}

ProgramEnd& End() {
  static ProgramEnd end = EndAtOnce;
  return end;
}

bool reporting = false;

void Report(const std::string& text) {
  if (reporting) return;
  reporting = true;
  platform::MessageBoxA(0, text, kProgramTitle, platform::MB_OK | platform::MB_ICONSTOP);
  reporting = false;
  const ProgramEnd end = End();
  end(kErrorExitStatus);
}

}  // namespace

std::string ErrorReportText(const platform::AppError& error) {
  // The number as the program's Long holds it, and as the hex digits it is documented by.
  const auto number = error.Number();
  const auto asLong = static_cast<std::int32_t>(number);
  char heading[64];
  std::snprintf(heading, sizeof heading, "Run-time error '%" PRId32 " (%08" PRIX32 ")':", asLong,
                number);
  std::string text = heading;
  text += "\n\n" + error.Description();
  if (!error.Detail().empty()) text += "\n\n" + error.Detail();
  return text;
}

void ReportFatalError(const platform::AppError& error) {
  Report(ErrorReportText(error));
}

void ReportFatalError(const std::exception& error) {
  Report(std::string("Run-time error:\n\n") + error.what());
}

ProgramEnd SetProgramEnd(ProgramEnd end) {
  ProgramEnd previous = End();
  End() = end ? std::move(end) : ProgramEnd(EndAtOnce);
  return previous;
}

}  // namespace ui

#include "ui/fatal_error.h"

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

void ReportFatalError(const platform::AppError& error) {
  Report(platform::ErrorReportText(error));
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

#include <QStyleFactory>
#include <iostream>
#include <optional>

#include "platform/windows.h"
#include "serial/logs/traffic_log.h"
#include "sim/simulated_system.h"
#include "ui/application.h"
#include "ui/command_line.h"
#include "ui/fatal_error.h"
#include "ui/intro.h"
#include "ui/kit/design.h"
#include "ui/kit/lamp_icons.h"
#include "ui/kit/message_box.h"
#include "ui/platform_choice.h"
#include "ui/termination.h"
#include "ui/window_probe.h"

int main(int argc, char** argv) {
  // --help, --version and --list-ports print and end without a display.
  const ui::CommandLine commandLine = ui::ReadCommandLine(argc, argv, std::cout, std::cerr);
  if (commandLine.exitStatus) return *commandLine.exitStatus;
  std::string error;
  if (!commandLine.logFile.isEmpty() &&
      !serial::traffic_log::Open(commandLine.logFile.toStdString(), error)) {
    std::cerr << "talvora: " << error << "\n";
    return 2;
  }
  ui::ApplyPlatformChoice();
  QString problem;
  const std::optional<bool> probe = ui::WindowProbe::Requested(problem);
  if (!probe) {
    std::cerr << "talvora: " << problem.toStdString() << "\n";
    return 2;
  }
  ui::Application app(argc, argv);
  try {
    QApplication::setApplicationName(QStringLiteral("talvora"));
    QApplication::setDesktopFileName(QStringLiteral("talvora"));
    QApplication::setWindowIcon(QIcon(ui::LampIcon(ui::kGreenLampColour)));
    // One style everywhere, so that the fixed layout and its colours look as designed.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    ui::RegisterFontSubstitutes();
    QApplication::setFont(ui::PlainFont());
    sim::RegisterSimulatedSystem();
    platform::SetMessageBoxPresenter(ui::ShowMessageBox);
    ui::EndOnTerminationSignals();

    if (*probe) new ui::WindowProbe(&app);

    ui::intro start;
    start.show();
    return QApplication::exec();
  } catch (const platform::AppError& error) {
    ui::ReportFatalError(error);
  } catch (const std::exception& error) {
    ui::ReportFatalError(error);
  }
  return ui::kErrorExitStatus;
}

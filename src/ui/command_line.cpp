#include "ui/command_line.h"

#include <QCommandLineParser>
#include <QStringList>
#include <string>

#include "ports/port_map.h"
#include "settings/settings_file.h"
#include "talvora_version.h"

namespace ui {
namespace {

constexpr int kBadUsage = 2;

std::string Description() {
  return "Configures and tests a serial radio transceiver module on COM1 to COM4.\n"
         "\n"
         "A COM name maps to the device in TALVORA_COMn when it is set, else to COMn in the\n"
         "[ports] section of " +
         settings::SettingsFilePath().toStdString() +
         ",\n"
         "else to the devices detected, in a stable order, and then /dev/ttyS0 to /dev/ttyS3.\n"
         "A right-click on a port in the start-up window chooses its device.";
}

// Qt's own options, which QApplication takes out of the arguments itself: known here so that
// anything else can be refused before a window or a display is touched.
QList<QCommandLineOption> QtOptions() {
  QList<QCommandLineOption> options;
  for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin",
                           "qwindowgeometry", "qwindowicon", "qwindowtitle", "display", "geometry",
                           "style", "stylesheet", "session", "name", "title", "qmljsdebugger"}) {
    options << QCommandLineOption(name, QString(), "value");
  }
  for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"})
    options << QCommandLineOption(name);
  for (QCommandLineOption& option : options)
    option.setFlags(QCommandLineOption::HiddenFromHelp);
  return options;
}

}  // namespace

CommandLine ReadCommandLine(int argc, char** argv, std::ostream& out, std::ostream& err) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i)
    arguments << QString::fromLocal8Bit(argv[i]);

  QCommandLineParser parser;
  parser.setApplicationDescription(QString::fromStdString(Description()));
  const QCommandLineOption help({"h", "help"}, "This text.");
  const QCommandLineOption version("version", "The program's version.");
  const QCommandLineOption listPorts(
      "list-ports",
      "Each COM name with its device, what that is and where the mapping came from, then the "
      "other serial devices detected.");
  const QCommandLineOption log(
      "log", "Append a traffic log to FILE, a line per event (also TALVORA_LOG).", "FILE");
  parser.addOptions({help, version, listPorts, log});
  parser.addOptions(QtOptions());
  // Qt's options have one dash and a whole word ("-style fusion").
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);

  CommandLine commandLine;
  const auto usage = [&] { return parser.helpText().replace("<executable_name>", "talvora"); };
  if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
    const QString why =
        parser.positionalArguments().isEmpty()
            ? parser.errorText()
            : "talvora takes no arguments: " + parser.positionalArguments().join(' ');
    err << "talvora: " << why.toStdString() << "\n\n" << usage().toStdString();
    commandLine.exitStatus = kBadUsage;
    return commandLine;
  }
  if (parser.isSet(help)) {
    out << usage().toStdString();
    commandLine.exitStatus = 0;
  } else if (parser.isSet(version)) {
    out << "talvora " << TALVORA_VERSION << "\n";
    commandLine.exitStatus = 0;
  } else if (parser.isSet(listPorts)) {
    for (const std::string& line : ports::FormatListing(ports::ListPorts()))
      out << line << "\n";
    commandLine.exitStatus = 0;
  } else if (parser.isSet(log) && parser.value(log).isEmpty()) {
    err << "talvora: --log needs a FILE\n";
    commandLine.exitStatus = kBadUsage;
  }
  commandLine.logFile = parser.isSet(log) ? parser.value(log) : qEnvironmentVariable("TALVORA_LOG");
  return commandLine;
}

}  // namespace ui

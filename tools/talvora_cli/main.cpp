// talvora-cli: the operations of TALVORA's windows from a script, with the same timing and the
// same results: reading and programming registers, the link test and the terminal.

#include <QCommandLineParser>
#include <QCoreApplication>

#include "commands.h"
#include "serial/logs/traffic_log.h"
#include "sim/simulated_system.h"
#include "talvora_version.h"

namespace {

constexpr const char* kDescription =
    R"(Runs the operations of TALVORA's windows on a radio module from a script.

Commands:
  ports                    the COM names and the devices they open
  read [REGS]              reads registers as "EEPROM Reading" does (default all 32);
                           prints "NN VALUE", "NN NO" for none, "retried" for a value that
                           came only at the second request
  write N=V [N=V ...]      programs registers as "EEPROM Writing" does: a second's pause
                           after each write, then a read-back; prints "NN VALUE ok|failed",
                           when interrupted also "sent, not confirmed" or "not sent"
  linktest --seconds S     the link test for S seconds; a line per evaluation, then the
           [--csv FILE]    totals as TEST OFF shows them; --csv writes the evaluations
  send [--to ADDR] TEXT    Initialization, then Send Data (a slave ignores --to)
  listen --seconds S       Initialization, then prints every block received for S seconds
  save FILE [REGS]         reads registers and saves those that answered as a profile
  load FILE                programs the registers of a profile, each with its read-back
  diff FILE                reads the registers of a profile; prints "NN file V module V"
                           for each that differs

REGS: numbers and ranges separated by commas, decimal or hexadecimal: 0-3,31 or 0x1f.

Exit status: 0 everything answered and confirmed; 1 a register unanswered or not confirmed,
no answer to Initialization, or a link test below level 2 at the end; 2 bad usage or a port
that cannot be opened; 130 interrupted (the port is closed, what was done so far printed).

Examples:
  talvora-cli ports
  talvora-cli --port sim read 0-3,31
  talvora-cli --port /dev/ttyUSB0 --json read
  talvora-cli --port COM2 write 0=5 1=8
  talvora-cli --remote write 3=0
  talvora-cli linktest --seconds 30 --csv link.csv
  talvora-cli send --to 5 "hello"
  talvora-cli listen --seconds 60
  talvora-cli --log session.log read 0-3
  talvora-cli save field.json 0-3
  talvora-cli --port /dev/ttyUSB1 load field.json
  talvora-cli diff field.json

A profile is JSON: {"talvora": "registers", "version": 1, "registers": {"0": 0, "3": 17}}.
Exit status of diff: 1 when a register differs or did not answer.)";

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName("talvora-cli");
  QCoreApplication::setApplicationVersion(TALVORA_VERSION);

  QCommandLineParser parser;
  parser.setApplicationDescription(kDescription);
  parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption port(
      "port", "COM1 to COM4, or a device: /dev/ttyUSB0, sim, sim:options (default COM1).", "NAME",
      "COM1");
  const QCommandLineOption remote("remote", "Plain frames to the remote module over the air.");
  const QCommandLineOption json("json", "One JSON document on standard output.");
  const QCommandLineOption seconds("seconds", "How long linktest and listen run.", "S");
  const QCommandLineOption csv("csv", "linktest: write the evaluations to FILE as CSV.", "FILE");
  const QCommandLineOption to("to", "send: the destination address, 0 to 255.", "ADDR");
  const QCommandLineOption log(
      "log", "Append a traffic log to FILE, one line per event (also TALVORA_LOG).", "FILE");
  parser.addOptions({port, remote, json, seconds, csv, to, log});
  parser.addPositionalArgument("command",
                               "ports, read, write, linktest, send, listen, save, load or diff.");
  parser.addPositionalArgument("args", "The command's arguments.", "[ARGS...]");

  if (!parser.parse(QCoreApplication::arguments())) return cli::UsageError(parser.errorText());
  if (parser.isSet("help")) parser.showHelp(0);
  if (parser.isSet("version")) parser.showVersion();

  cli::Options options;
  options.port = parser.value(port);
  options.remote = parser.isSet(remote);
  options.json = parser.isSet(json);
  options.csv = parser.value(csv);
  options.to = parser.value(to);
  if (parser.isSet(seconds)) {
    bool ok = false;
    options.seconds = parser.value(seconds).toDouble(&ok);
    if (!ok) return cli::UsageError("--seconds takes a number of seconds");
  }
  QStringList positional = parser.positionalArguments();
  if (!positional.isEmpty()) options.command = positional.takeFirst();
  options.arguments = positional;

  if (parser.isSet(log) && parser.value(log).isEmpty())
    return cli::UsageError("--log needs a FILE");
  const QString logFile =
      parser.isSet(log) ? parser.value(log) : qEnvironmentVariable("TALVORA_LOG");
  std::string error;
  if (!logFile.isEmpty() && !win32::traffic_log::Open(logFile.toStdString(), error))
    return cli::UsageError(QString::fromStdString(error));

  sim::RegisterSimulatedSystem();
  return cli::RunCommand(options);
}

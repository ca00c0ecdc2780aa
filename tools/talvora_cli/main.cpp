// talvora-cli: the operations of TALVORA's windows from a script, with the same timing and the
// same results: reading and programming registers, the link test and the terminal.

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "commands.h"
#include "output.h"
#include "serial/logs/traffic_log.h"
#include "sim/simulated_system.h"
#include "station/station_command.h"
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
           [--csv FILE]    totals as TEST OFF shows them; --csv writes the evaluations,
           [--plot FILE]   --plot the chart (FILE.png or FILE.svg, no display needed);
           [--label TEXT]  the test is kept in the records database with its label
           [--record DB]
  records --kind linktest  the kept link tests with their evaluations, newest first;
           [--json|--csv FILE]  --csv - writes CSV on standard output
  send [--to ADDR] TEXT    Initialization, then Send Data (a slave ignores --to)
  listen --seconds S       Initialization, then prints every block received for S seconds
  save FILE [REGS]         reads registers and saves those that answered as a profile
  load FILE                programs the registers of a profile, each with its read-back
  diff FILE                reads the registers of a profile; prints "NN file V module V"
                           for each that differs

REGS: numbers and ranges separated by commas: 0-3,31 or 0x1f.
Numbers are decimal (12, 0012) or hexadecimal after 0x (0x0c), with no sign and nothing
before or after; registers 0 to 31, values and addresses 0 to 255; --seconds 1 to 86400,
also with a decimal fraction (2.5).

Exit status: 0 everything answered and confirmed; 1 a register unanswered or not confirmed,
no answer to Initialization, a link test below level 2 at the end or with no packet
answered, or a device lost for good while listening; 2 bad usage, a port that cannot be
opened, or standard output that cannot be written; 130 interrupted (the port is closed, what
was done so far printed).

Examples:
  talvora-cli ports
  talvora-cli --port sim read 0-3,31
  talvora-cli --port /dev/ttyUSB0 --json read
  talvora-cli --port COM2 write 0=5 1=8
  talvora-cli --remote write 3=0
  talvora-cli linktest --seconds 30 --csv link.csv
  talvora-cli linktest --seconds 60 --label "roof, mast 2" --plot roof.svg
  talvora-cli records --kind linktest --json
  talvora-cli send --to 5 "hello"
  talvora-cli listen --seconds 60
  talvora-cli --log session.log read 0-3
  talvora-cli save field.json 0-3
  talvora-cli --port /dev/ttyUSB1 load field.json
  talvora-cli diff field.json

Records: $XDG_DATA_HOME/talvora/records.sqlite (~/.local/share/talvora/) unless --record DB.
A profile is JSON: {"talvora": "registers", "version": 1, "registers": {"0": 0, "3": 17}}.
Exit status of diff: 1 when a register differs or did not answer.)";

// Arguments that begin with a sign and a digit ("-1", "-1=5") are numbers to refuse as
// numbers, not options nobody knows: they pass the option parser under a stand-in.
constexpr QChar kStandIn = QChar(0xfdd0);  // a noncharacter, never in a real argument

QStringList HideSignedNumbers(QStringList arguments) {
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& word = arguments[i];
    if (word.size() > 1 && word[0] == u'-' && word[1].unicode() >= u'0' &&
        word[1].unicode() <= u'9')
      arguments[i] = kStandIn + word;
  }
  return arguments;
}

QString Shown(QString word) {
  if (word.startsWith(kStandIn)) word.remove(0, 1);
  return word;
}

// A chart is drawn with the widgets' graphics, on the offscreen platform: no display needed.
bool DrawsChart(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--plot", 6) == 0) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  cli::output::Start();
  std::unique_ptr<QCoreApplication> application;
  if (DrawsChart(argc, argv)) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    application = std::make_unique<QApplication>(argc, argv);
  } else {
    application = std::make_unique<QCoreApplication>(argc, argv);
  }
  QCoreApplication::setApplicationName("talvora-cli");
  QCoreApplication::setApplicationVersion(TALVORA_VERSION);

  sim::RegisterSimulatedSystem();
  if (const auto status = station::RunStationCommand(QCoreApplication::arguments()))
    return cli::Finish(*status);

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QString(kDescription).replace("\nREGS:", "\n" + station::StationHelp() + "\n\nREGS:"));
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
  const QCommandLineOption plot("plot", "linktest: draw the chart into FILE, .png or .svg.",
                                "FILE");
  const QCommandLineOption label("label", "linktest: a label kept with the test.", "TEXT");
  const QCommandLineOption record(
      "record", "The records database (default $XDG_DATA_HOME/talvora/records.sqlite).", "DB");
  const QCommandLineOption kind("kind", "records: which records; linktest.", "KIND");
  const QCommandLineOption to("to", "send: the destination address, 0 to 255.", "ADDR");
  const QCommandLineOption log(
      "log", "Append a traffic log to FILE, one line per event (also TALVORA_LOG).", "FILE");
  parser.addOptions({port, remote, json, seconds, csv, plot, label, record, kind, to, log});
  parser.addPositionalArgument(
      "command", "ports, read, write, linktest, records, send, listen, save, load or diff.");
  parser.addPositionalArgument("args", "The command's arguments.", "[ARGS...]");

  if (!parser.parse(HideSignedNumbers(QCoreApplication::arguments())))
    return cli::UsageError(parser.errorText());
  if (parser.isSet("help")) parser.showHelp(0);
  if (parser.isSet("version")) parser.showVersion();

  cli::Options options;
  options.port = Shown(parser.value(port));
  options.remote = parser.isSet(remote);
  options.json = parser.isSet(json);
  options.csv = Shown(parser.value(csv));
  if (parser.isSet(to)) options.to = Shown(parser.value(to));
  if (parser.isSet(seconds)) options.seconds = Shown(parser.value(seconds));
  QStringList positional;
  for (const QString& word : parser.positionalArguments())
    positional << Shown(word);
  options.plot = Shown(parser.value(plot));
  options.label = Shown(parser.value(label));
  options.record = Shown(parser.value(record));
  options.kind = Shown(parser.value(kind));
  if (!positional.isEmpty()) options.command = positional.takeFirst();
  options.arguments = positional;

  if (parser.isSet(log) && parser.value(log).isEmpty())
    return cli::UsageError("--log needs a FILE");
  const QString logFile =
      parser.isSet(log) ? Shown(parser.value(log)) : qEnvironmentVariable("TALVORA_LOG");
  std::string error;
  if (!logFile.isEmpty() && !serial::traffic_log::Open(logFile.toStdString(), error))
    return cli::UsageError(QString::fromStdString(error));

  return cli::Finish(cli::RunCommand(options));
}

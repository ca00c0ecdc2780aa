#include "station/station_command.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>
#include <cstdio>

#include "commands.h"
#include "operations/number_text.h"
#include "operations/register_profile.h"
#include "ports/port_map.h"
#include "records/record_database.h"
#include "station/port_job.h"
#include "station/records_command.h"
#include "station/station.h"
#include "station/station_constants.h"

namespace station {
namespace {

const QStringList kCommands = {"station", "records", "station-port"};

// --wait: seconds, decimal, nothing before or after, more than 0 and at most a day.
std::optional<double> ParseSeconds(const QString& text) {
  static const QRegularExpression number("^\\d+(\\.\\d+)?$");
  if (!number.match(text).hasMatch()) return std::nullopt;
  const double seconds = text.toDouble();
  if (!std::isfinite(seconds) || seconds <= 0 || seconds > 86400) return std::nullopt;
  return seconds;
}

// The adapter behind a device, as udev names it: its stable name and, from that name (udev
// builds it as vendor_model_serial), its serial number.
void Identify(NamedPort& named) {
  const QString canonical = QFileInfo(named.device).canonicalFilePath();
  for (const ports::DetectedPort& port : ports::DetectedPorts()) {
    const QString path = QString::fromStdString(port.path);
    const QString node = QString::fromStdString(port.node);
    if (named.device != path && named.device != node &&
        (canonical.isEmpty() || canonical != QFileInfo(node).canonicalFilePath()))
      continue;
    if (!path.startsWith("/dev/serial/by-id/")) return;
    named.adapter = path;
    static const QRegularExpression serial("_([^_]+)-if\\d+(-port\\d+)?$");
    const auto match = serial.match(path);
    if (match.hasMatch()) named.adapterSerial = match.captured(1);
    return;
  }
}

std::optional<std::vector<NamedPort>> ResolvePorts(const QString& list, QString& error) {
  std::vector<NamedPort> chosen;
  if (list == "auto") {
    for (const ports::DetectedPort& port : ports::DetectedPorts()) {
      const QString node = QString::fromStdString(port.node);
      // USB adapters and CDC devices only: an on-board port is not a station's.
      if (!node.startsWith("/dev/ttyUSB") && !node.startsWith("/dev/ttyACM")) continue;
      chosen.push_back({QString::fromStdString(port.path),
                        QFileInfo(node).fileName(),
                        QString::fromStdString(port.path),
                        {},
                        {}});
    }
    if (chosen.empty()) error = "--ports auto: no USB or CDC serial adapter is attached";
  } else {
    for (const QString& name : list.split(',')) {
      if (name.trimmed() != name || name.isEmpty() || operations::HoldsControlCharacter(name)) {
        error = QString("--ports %1: names separated by commas, nothing around them")
                    .arg(operations::Quoted(list));
        return std::nullopt;
      }
      NamedPort named{name, name, name, {}, {}};
      if (const auto mapping = ports::MapPort(name.toStdString(), ports::Detail::DeviceOnly)) {
        named.device = QString::fromStdString(mapping->device);
      } else if (name.startsWith("/dev/")) {
        named.label = name.mid(5);
      }
      for (const NamedPort& other : chosen) {
        if (other.device == named.device && !ports::IsSimulated(named.device.toStdString())) {
          error = QString("--ports names %1 twice").arg(named.device);
          return std::nullopt;
        }
      }
      chosen.push_back(named);
    }
  }
  if (chosen.empty()) return std::nullopt;
  for (NamedPort& port : chosen)
    Identify(port);
  return chosen;
}

std::optional<operations::RegisterProfile> Profile(const QString& path, QString& error) {
  if (path.isEmpty()) {
    error = "needs --profile FILE";
    return std::nullopt;
  }
  auto profile = operations::LoadProfile(path, error);
  if (profile && profile->empty()) {
    error = path + " names no register";
    return std::nullopt;
  }
  return profile;
}

int Usage(const QString& text) {
  return cli::UsageError(text);
}

int RunStation(QCommandLineParser& parser) {
  QString error;
  const auto profile = Profile(parser.value("profile"), error);
  if (!profile) return Usage("station " + error);
  const auto ports = ResolvePorts(parser.value("ports"), error);
  if (!ports) return Usage(error);
  StationOptions options;
  options.ports = *ports;
  options.profilePath = QFileInfo(parser.value("profile")).absoluteFilePath();
  options.profile = *profile;
  options.once = parser.isSet("once");
  options.remote = parser.isSet("remote");
  options.json = parser.isSet("json");
  options.waitSeconds = options.once ? kDefaultOnceWaitSeconds : 0;
  if (parser.isSet("wait")) {
    const auto wait = ParseSeconds(parser.value("wait"));
    if (!wait)
      return Usage(QString("--wait '%1' is not a number of seconds").arg(parser.value("wait")));
    options.waitSeconds = *wait;
  }
  records::RecordDatabase database;
  const QString path =
      parser.isSet("record") ? parser.value("record") : records::RecordDatabase::defaultPath();
  if (!database.open(path)) {
    std::fprintf(stderr, "talvora-cli: %s\n", database.error().toLocal8Bit().constData());
    return cli::kBadUsage;
  }
  Station station(std::move(options), database);
  return station.Run();
}

int RunPort(QCommandLineParser& parser) {
  QString error;
  const auto profile = Profile(parser.value("profile"), error);
  if (!profile) return Usage(error);
  PortJobOptions options;
  options.port = parser.value("port");
  options.profile = *profile;
  options.once = parser.isSet("once");
  options.remote = parser.isSet("remote");
  if (parser.isSet("wait")) {
    const auto wait = ParseSeconds(parser.value("wait"));
    if (!wait) return Usage("--wait takes a number of seconds");
    options.waitSeconds = *wait;
  }
  return RunPortJob(options);
}

int RunRecordsCommand(QCommandLineParser& parser) {
  RecordsOptions options;
  options.database =
      parser.isSet("record") ? parser.value("record") : records::RecordDatabase::defaultPath();
  if (parser.isSet("kind")) options.kind = parser.value("kind");
  if (parser.isSet("since")) {
    const auto since = ParseSince(parser.value("since"));
    if (!since)
      return Usage(QString("--since '%1' is not a date (2026-12-06) or an ISO 8601 time")
                       .arg(parser.value("since")));
    options.filter.since = since;
  }
  if (parser.isSet("port")) options.filter.port = parser.value("port");
  if (parser.isSet("verdict")) {
    options.filter.verdict = parser.value("verdict");
    if (!records::IsVerdict(options.filter.verdict))
      return Usage(
          QString("--verdict '%1' is not pass, fail or interrupted").arg(options.filter.verdict));
  }
  if (parser.isSet("csv") && parser.isSet("json")) return Usage("give --csv or --json, not both");
  if (parser.isSet("csv")) options.format = RecordsOptions::Format::Csv;
  if (parser.isSet("json")) options.format = RecordsOptions::Format::Json;
  return RunRecords(options);
}

}  // namespace

QString StationHelp() {
  return R"(  station --profile FILE   programs the profile into a module on every port at once, each
          [--ports LIST]   port in a process of its own, and records every module; LIST:
          [--once]         COM names or devices separated by commas, or auto (every USB
          [--wait S]       or CDC adapter); --once: one module per port, waiting at most
          [--record DB]    S s (default 30) for it; --record: the database (default
          [--remote]       $XDG_DATA_HOME/talvora/records.sqlite)
  records [--since DATE]   lists the recorded modules; --port NAME and --verdict
          [--port NAME]    pass|fail|interrupted select; --csv or --json export them;
          [--csv|--json]   --record DB reads another database)";
}

std::optional<int> RunStationCommand(const QStringList& arguments) {
  QString command;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    if (arguments[i].startsWith('-')) continue;
    command = arguments[i];
    break;
  }
  if (!kCommands.contains(command)) return std::nullopt;
  // Kept link tests are listed by the command line's own parser, beside the link test.
  if (command == "records") {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
      if (arguments[i] == "--kind=linktest" ||
          (arguments[i] == "--kind" && i + 1 < arguments.size() && arguments[i + 1] == "linktest"))
        return std::nullopt;
    }
  }

  QCommandLineParser parser;
  parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
  parser.addOptions({
      {"profile", "The profile to program.", "FILE"},
      {"ports", "COM names or devices separated by commas, or auto.", "LIST", "auto"},
      {"port", "station-port: the port; records: the port's name or device.", "NAME"},
      {"once", "One module per port, then end."},
      {"wait", "With --once, how long to wait for a module.", "S"},
      {"remote", "Plain frames to the remote module over the air."},
      {"record", "The records database.", "DB"},
      {"json", "One JSON object per event; records: a JSON array."},
      {"csv", "records: CSV."},
      {"since", "records: from this date or time on.", "DATE"},
      {"verdict", "records: pass, fail or interrupted.", "VERDICT"},
      {"kind", "records: the kind of record (" + RecordKinds().join(", ") + ").", "KIND"},
  });
  if (!parser.parse(arguments)) return Usage(parser.errorText());
  if (parser.positionalArguments().size() != 1)
    return Usage(command + " takes no arguments besides its options");
  const auto only = [&](const QStringList& allowed) -> std::optional<int> {
    for (const QString& name : parser.optionNames()) {
      if (!allowed.contains(name))
        return Usage(QString("%1 does not take --%2").arg(command, name));
    }
    return std::nullopt;
  };
  if (command == "station") {
    if (auto refused = only({"profile", "ports", "once", "wait", "remote", "record", "json"}))
      return refused;
    return RunStation(parser);
  }
  if (command == "station-port") {
    if (auto refused = only({"profile", "port", "once", "wait", "remote"})) return refused;
    return RunPort(parser);
  }
  if (auto refused = only({"since", "port", "verdict", "csv", "json", "record", "kind"}))
    return refused;
  return RunRecordsCommand(parser);
}

}  // namespace station

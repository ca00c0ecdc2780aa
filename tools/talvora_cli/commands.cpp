#include "commands.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <cstdio>
#include <functional>
#include <memory>

#include "files/safe_file.h"
#include "link/functions.h"
#include "operations/register_profile.h"
#include "operations/value_text.h"
#include "platform/app_error.h"
#include "platform/termination_signals.h"
#include "ports/port_map.h"
#include "progress.h"
#include "register_list.h"
#include "report.h"
#include "run_loop.h"

namespace cli {
namespace {

constexpr int kLowestGoodLevel = 2;

void Print(const QStringList& lines) {
  for (const QString& line : lines)
    std::printf("%s\n", line.toLocal8Bit().constData());
  std::fflush(stdout);
}

void PrintJson(QJsonObject json, const Options& options) {
  json["port"] = options.port;
  std::printf("%s", QJsonDocument(json).toJson(QJsonDocument::Indented).constData());
  std::fflush(stdout);
}

void Note(const QString& text) {
  ProgressLine::Clear();
  std::fprintf(stderr, "talvora-cli: %s\n", text.toLocal8Bit().constData());
}

int Outcome(bool confirmed) {
  if (Interrupted()) return kInterrupted;
  return confirmed ? kAllConfirmed : kNotConfirmed;
}

// A command, once its arguments are known good: runs on the open port's pages.
using Job = std::function<int(HeadlessPages& pages)>;

// `kept`, when given, receives what was read.
int ReadJob(HeadlessPages& pages, const std::vector<int>& registers, const Options& options,
            ReadResult* kept = nullptr) {
  ProgressLine progress(ProgressLine::Run::Reading, static_cast<int>(registers.size()));
  const ReadResult result = ReadRegisters(pages, registers, options.remote, &progress);
  if (kept != nullptr) *kept = result;
  ProgressLine::Clear();
  if (options.json) {
    QJsonObject json = ReadJson(result);
    json["command"] = options.command;  // "read" or "save"
    PrintJson(json, options);
  } else {
    Print(ReadLines(result));
  }
  if (!result.ok && !result.interrupted) Note(result.status);
  return Outcome(result.ok);
}

int WriteJob(HeadlessPages& pages, const std::vector<std::pair<int, QString>>& values,
             const Options& options) {
  ProgressLine progress(ProgressLine::Run::Programming, static_cast<int>(values.size()));
  const WriteResult result = WriteRegisters(pages, values, options.remote, &progress);
  ProgressLine::Clear();
  if (options.json) {
    QJsonObject json = WriteJson(result);
    json["command"] = options.command;  // "write" or "load"
    PrintJson(json, options);
  } else {
    Print(WriteLines(result));
  }
  if (!result.ok && !result.interrupted) Note(result.status);
  return Outcome(result.ok);
}

// save FILE [REGS]: what answered goes into the profile.
int SaveJob(HeadlessPages& pages, const std::vector<int>& registers, const QString& path,
            const Options& options) {
  ReadResult result;
  const int status = ReadJob(pages, registers, options, &result);
  if (Interrupted()) return status;
  operations::RegisterProfile profile;
  for (const RegisterReading& reading : result.registers) {
    if (reading.value) profile[reading.n] = *reading.value;
  }
  // An empty profile would put nothing in place of what the file held.
  if (profile.empty()) {
    Note(QString("no register answered; %1 is not written").arg(path));
    return kNotConfirmed;
  }
  QString error;
  if (!operations::SaveProfile(path, profile, error)) {
    Note(error);
    return kNotConfirmed;
  }
  Note(QString("saved %1 registers to %2").arg(profile.size()).arg(path));
  return status;
}

// diff FILE: the registers whose value in the module is not the file's.
int DiffJob(HeadlessPages& pages, const operations::RegisterProfile& profile,
            const Options& options) {
  std::vector<int> registers;
  for (const auto& [n, value] : profile)
    registers.push_back(n);
  ProgressLine progress(ProgressLine::Run::Reading, static_cast<int>(registers.size()));
  const ReadResult result = ReadRegisters(pages, registers, options.remote, &progress);
  ProgressLine::Clear();
  QStringList lines;
  QJsonObject differences;
  for (const RegisterReading& reading : result.registers) {
    const int wanted = profile.at(reading.n);
    if (reading.value == wanted) continue;
    const QString found = reading.value ? QString::number(*reading.value) : QString("NO");
    lines << QString("%1 file %2 module %3").arg(RegisterName(reading.n)).arg(wanted).arg(found);
    differences[QString::number(reading.n)] = QJsonObject{
        {"file", wanted}, {"module", reading.value ? QJsonValue(*reading.value) : QJsonValue()}};
  }
  if (options.json) {
    PrintJson(
        {{"command", "diff"}, {"differences", differences}, {"interrupted", result.interrupted}},
        options);
  } else {
    Print(lines);
  }
  return Outcome(lines.isEmpty() && !result.interrupted);
}

int LinkTestJob(HeadlessPages& pages, const Options& options) {
  const LinkTestResult result = RunLinkTest(pages, options.seconds, [&](const Evaluation& e) {
    if (!options.json) {
      ProgressLine::Clear();
      Print({EvaluationLine(e)});
    }
    ProgressLine::ShowTime("link test", e.seconds, options.seconds);
  });
  ProgressLine::Clear();
  if (options.json) {
    PrintJson(LinkTestJson(result), options);
  } else {
    Print(LinkTestTotals(result));
  }
  if (!options.csv.isEmpty()) {
    QFile csv(options.csv);
    if (!csv.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        csv.write(LinkTestCsv(result).toUtf8()) < 0) {
      Note("cannot write " + options.csv + ": " + csv.errorString());
      return kNotConfirmed;
    }
  }
  return Outcome(result.finalLevel >= kLowestGoodLevel);
}

int TerminalJob(HeadlessPages& pages, const Options& options, const QString& message) {
  const Initialization initialization = Initialize(pages);
  QJsonObject json = InitializationJson(initialization);
  json["command"] = options.command;
  if (!options.json) Print({InitializationLine(initialization)});
  if (!initialization.answered || Interrupted()) {
    if (options.json) PrintJson(json, options);
    return Outcome(false);
  }
  if (options.command == "send") {
    const std::size_t limit = pages.Terminal().MessageLimit();
    if (operations::Terminal::MessageByteCount(message) > limit) {
      return UsageError(
          QString("the message takes more than the %1 bytes one write carries").arg(limit));
    }
    if (initialization.master && !operations::Terminal::DestinationAddress(options.to)) {
      return UsageError("a master needs --to with an address from 0 to 255");
    }
    SendMessage(pages, message, options.to);
    json["bytes"] = static_cast<int>(operations::Terminal::MessageByteCount(message));
    if (initialization.master) json["to"] = *operations::Terminal::DestinationAddress(options.to);
    if (options.json) PrintJson(json, options);
    return Outcome(true);
  }
  QJsonArray blocks;
  Listen(pages, options.seconds, [&](const ReceivedBlock& block) {
    if (!options.json) {
      ProgressLine::Clear();
      Print({BlockLine(block)});
    }
    blocks.append(BlockJson(block));
  });
  if (options.json) {
    json["blocks"] = blocks;
    PrintJson(json, options);
  }
  return Outcome(true);
}

// Opens the port as the main window's load does, runs the job, closes the port.
int OnPort(const Options& options, const Job& job) {
  ClearInterruption();
  platform::TerminationSignals interruption([](int /*signal*/) {
    Interrupt();
    functions::CloseSerial();  // RTS dropped, the device given back; waits end at once
  });
  try {
    functions::OpenSerial(options.port.toStdString());
  } catch (const platform::AppError& error) {
    functions::CloseSerial();
    Note(QString::fromStdString(platform::ErrorReportText(error)));
    return kBadUsage;
  }
  HeadlessPages pages;
  const int status = job(pages);
  functions::CloseSerial();
  if (Interrupted()) Note("interrupted");
  return status;
}

std::optional<std::vector<int>> RegistersOf(const Options& options, QString& error) {
  if (options.arguments.isEmpty()) return AllRegisters();
  if (options.arguments.size() > 1) {
    error = "give the registers as one list, such as 0-3,31";
    return std::nullopt;
  }
  return ParseRegisterList(options.arguments.front(), error);
}

int Ports(const Options& options) {
  const ports::PortListing listing = ports::ListPorts();
  if (!options.json) {
    QStringList lines;
    for (const std::string& line : ports::FormatListing(listing))
      lines << QString::fromStdString(line);
    Print(lines);
    return kAllConfirmed;
  }
  QJsonArray mapped;
  for (const ports::PortMapping& port : listing.ports) {
    mapped.append(QJsonObject{{"name", QString::fromStdString(port.name)},
                              {"device", QString::fromStdString(port.device)},
                              {"description", QString::fromStdString(port.description)},
                              {"origin", QString::fromStdString(port.origin)}});
  }
  QJsonArray others;
  for (const ports::DetectedPort& port : listing.others) {
    others.append(QJsonObject{{"device", QString::fromStdString(port.path)},
                              {"node", QString::fromStdString(port.node)},
                              {"description", QString::fromStdString(port.description)}});
  }
  std::printf(
      "%s", QJsonDocument(QJsonObject{{"command", "ports"}, {"ports", mapped}, {"others", others}})
                .toJson(QJsonDocument::Indented)
                .constData());
  return kAllConfirmed;
}

}  // namespace

int UsageError(const QString& message) {
  Note(message + " (see talvora-cli --help)");
  return kBadUsage;
}

int RunCommand(const Options& options) {
  const QString& command = options.command;
  QString error;
  if (command == "ports") return Ports(options);
  if (command == "read") {
    const auto registers = RegistersOf(options, error);
    if (!registers) return UsageError(error);
    return OnPort(options,
                  [&](HeadlessPages& pages) { return ReadJob(pages, *registers, options); });
  }
  if (command == "save") {
    if (options.arguments.isEmpty() || options.arguments.size() > 2)
      return UsageError("save takes FILE and, if you like, REGS");
    Options rest = options;
    const QString path = rest.arguments.takeFirst();
    const auto registers = RegistersOf(rest, error);
    if (!registers) return UsageError(error);
    // Reading a whole module takes a while: a file that cannot be written is said first.
    std::string problem;
    if (!files::CheckReplaceable(path.toStdString(), problem)) {
      Note(QString::fromStdString(problem));
      return kBadUsage;
    }
    return OnPort(options,
                  [&](HeadlessPages& pages) { return SaveJob(pages, *registers, path, options); });
  }
  if (command == "load" || command == "diff") {
    if (options.arguments.size() != 1) return UsageError(command + " takes one FILE");
    const auto profile = operations::LoadProfile(options.arguments.front(), error);
    if (!profile) return UsageError(error);
    if (profile->empty()) return UsageError(options.arguments.front() + " names no register");
    if (command == "diff")
      return OnPort(options,
                    [&](HeadlessPages& pages) { return DiffJob(pages, *profile, options); });
    std::vector<std::pair<int, QString>> values;
    for (const auto& [n, value] : *profile)
      values.emplace_back(n, QString::number(value));
    return OnPort(options, [&](HeadlessPages& pages) { return WriteJob(pages, values, options); });
  }
  if (command == "write") {
    std::vector<std::pair<int, QString>> values;
    if (options.arguments.isEmpty()) return UsageError("write needs at least one N=V");
    for (const QString& argument : options.arguments) {
      const auto parts = argument.split('=');
      if (parts.size() != 2) return UsageError(QString("'%1' is not N=V").arg(argument));
      const auto n = ParseRegister(parts[0], error);
      if (!n) return UsageError(error);
      if (!operations::ProgrammingValue(parts[1])) {
        return UsageError(
            QString("register %1: '%2' is out of range (0 to 255)").arg(*n).arg(parts[1]));
      }
      std::erase_if(values, [&](const auto& value) { return value.first == *n; });
      values.emplace_back(*n, parts[1]);
    }
    std::sort(values.begin(), values.end());
    return OnPort(options, [&](HeadlessPages& pages) { return WriteJob(pages, values, options); });
  }
  if (command == "linktest" || command == "listen") {
    if (options.seconds <= 0) return UsageError(command + " needs --seconds S, more than 0");
    if (!options.arguments.isEmpty()) return UsageError(command + " takes no arguments");
    if (command == "linktest")
      return OnPort(options, [&](HeadlessPages& pages) { return LinkTestJob(pages, options); });
    return OnPort(options,
                  [&](HeadlessPages& pages) { return TerminalJob(pages, options, QString()); });
  }
  if (command == "send") {
    if (options.arguments.size() != 1) return UsageError("send takes one TEXT");
    const QString message = options.arguments.front();
    if (message.isEmpty()) return UsageError("send needs a text that is not empty");
    if (!options.to.isEmpty() && !operations::Terminal::DestinationAddress(options.to))
      return UsageError(QString("--to '%1' is not an address from 0 to 255").arg(options.to));
    return OnPort(options,
                  [&](HeadlessPages& pages) { return TerminalJob(pages, options, message); });
  }
  return UsageError(command.isEmpty() ? QString("no command given")
                                      : QString("unknown command '%1'").arg(command));
}

}  // namespace cli

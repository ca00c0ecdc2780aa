#include "commands.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <cstdio>
#include <functional>
#include <memory>

#include "charts/chart_files.h"
#include "files/safe_file_qt.h"
#include "link/functions.h"
#include "link_records.h"
#include "operations/link_evaluation.h"
#include "operations/number_text.h"
#include "operations/register_profile.h"
#include "operations/value_text.h"
#include "output.h"
#include "platform/app_error.h"
#include "platform/termination_signals.h"
#include "ports/port_map.h"
#include "progress.h"
#include "records/link_test_records.h"
#include "register_list.h"
#include "report.h"
#include "run_loop.h"
#include "serial/logs/device_notices.h"
#include "shell_messages.h"

namespace cli {
namespace {

constexpr int kLowestGoodLevel = 2;

void Print(const QStringList& lines) {
  QByteArray text;
  for (const QString& line : lines)
    text += line.toLocal8Bit() + '\n';
  output::Write(text);
}

void PrintJson(QJsonObject json, const Options& options) {
  json["port"] = options.port;
  output::Write(QJsonDocument(json).toJson(QJsonDocument::Indented));
}

void Note(const QString& text) {
  ProgressLine::Clear();
  std::fprintf(stderr, "talvora-cli: %s\n", text.toLocal8Bit().constData());
}

int Outcome(bool confirmed) {
  if (Interrupted()) return kInterrupted;
  if (output::Failed()) return kBadUsage;
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

int LinkTestJob(HeadlessPages& pages, const Options& options, double seconds,
                LinkTestKeeping& keeping) {
  const LinkTestResult result = RunLinkTest(
      pages, seconds,
      [&](const Evaluation& e) {
        if (!options.json) {
          ProgressLine::Clear();
          Print({EvaluationLine(e)});
        }
        ProgressLine::ShowTime("link test", e.seconds, seconds);
      },
      keeping.Listener());
  ProgressLine::Clear();
  if (options.json) {
    PrintJson(LinkTestJson(result), options);
  } else {
    Print(LinkTestTotals(result));
  }
  QString error;
  if (!options.csv.isEmpty() &&
      !operations::SaveLinkEvaluationsCsv(options.csv, result.evaluations, error)) {
    Note(error);
    return kNotConfirmed;
  }
  if (!options.plot.isEmpty() && !PlotLinkTest(result, options.plot, error)) {
    Note(error);
    return kNotConfirmed;
  }
  // However short the test, one with no packet answered found no link.
  return Outcome(result.finalLevel >= kLowestGoodLevel && result.received > 0);
}

int TerminalJob(HeadlessPages& pages, const Options& options, const QString& message,
                double seconds = 0) {
  const Initialization initialization = Initialize(pages);
  QJsonObject json = InitializationJson(initialization);
  json["command"] = options.command;
  if (!options.json) Print({InitializationLine(initialization)});
  if (!initialization.answered || Interrupted()) {
    json["interrupted"] = Interrupted();
    if (options.json) PrintJson(json, options);
    return Outcome(false);
  }
  if (options.command == "send") {
    const std::size_t limit = pages.Terminal().MessageLimit();
    if (operations::Terminal::MessageByteCount(message) > limit) {
      return UsageError(
          QString("the message takes more than the %1 bytes one write carries").arg(limit));
    }
    QString error;
    const auto to = options.to ? operations::ParseAddress(*options.to, error) : std::nullopt;
    if (initialization.master && !to) {
      return UsageError("a master needs --to with an address from 0 to 255");
    }
    const QString destination = to ? QString::number(*to) : QString();
    SendMessage(pages, message, destination);
    json["bytes"] = static_cast<int>(operations::Terminal::MessageByteCount(message));
    if (initialization.master) json["to"] = destination.toInt();
    // Ended early, the message may not have been sent whole.
    json["interrupted"] = Interrupted();
    if (options.json) PrintJson(json, options);
    return Outcome(true);
  }
  QJsonArray blocks;
  serial::ForgetDeviceNotices();
  Listen(pages, seconds, [&](const ReceivedBlock& block) {
    if (!options.json) {
      ProgressLine::Clear();
      Print({BlockLine(block)});
    }
    blocks.append(BlockJson(block));
  });
  const auto notice = serial::LastDeviceNotice();
  const bool lost = notice && notice->kind == serial::DeviceNotice::Kind::Lost;
  json["interrupted"] = Interrupted();
  json["device_lost"] = lost;
  if (options.json) {
    json["blocks"] = blocks;
    PrintJson(json, options);
  }
  if (lost && !Interrupted())
    Note(QString("the device was lost at %1 s and did not come back")
             .arg(notice->seconds, 0, 'f', 1));
  return Outcome(!lost);
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
    Note(QString::fromStdString(platform::ErrorReportText(ForTheShell(error))));
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
  output::Write(
      QJsonDocument(QJsonObject{{"command", "ports"}, {"ports", mapped}, {"others", others}})
          .toJson(QJsonDocument::Indented));
  return kAllConfirmed;
}

}  // namespace

bool WritableLater(const QString& path) {
  QString problem;
  if (path.isEmpty() || files::CheckReplaceable(path, problem)) return true;
  Note(problem);
  return false;
}

int UsageError(const QString& message) {
  Note(message + " (see talvora-cli --help)");
  return kBadUsage;
}

int Refuse(const QString& message) {
  Note(message);
  return kBadUsage;
}

int Finish(int status) {
  // What is still waiting for a slow reader, written with the port already closed; Ctrl+C
  // still ends the wait.
  {
    const platform::TerminationSignals interruption([](int /*signal*/) { Interrupt(); });
    output::Finish([] { return Interrupted(); });
  }
  if (Interrupted()) {
    if (status != kInterrupted) Note("interrupted");
    return kInterrupted;
  }
  if (output::Failed()) {
    Note("cannot write standard output: " + output::Error());
    return kBadUsage;
  }
  return status;
}

int RunCommand(const Options& options) {
  const QString& command = options.command;
  QString error;
  // With nowhere to say what it did, no command touches a module.
  if (output::Failed()) return kBadUsage;
  if (command == "ports") return Ports(options);
  if (command == "read") {
    const auto registers = RegistersOf(options, error);
    if (!registers) return Refuse(error);
    return OnPort(options,
                  [&](HeadlessPages& pages) { return ReadJob(pages, *registers, options); });
  }
  if (command == "save") {
    if (options.arguments.isEmpty() || options.arguments.size() > 2)
      return UsageError("save takes FILE and, if you like, REGS");
    Options rest = options;
    const QString path = rest.arguments.takeFirst();
    const auto registers = RegistersOf(rest, error);
    if (!registers) return Refuse(error);
    if (!WritableLater(path)) return kBadUsage;
    return OnPort(options,
                  [&](HeadlessPages& pages) { return SaveJob(pages, *registers, path, options); });
  }
  if (command == "load" || command == "diff") {
    if (options.arguments.size() != 1) return UsageError(command + " takes one FILE");
    const auto profile = operations::LoadProfile(options.arguments.front(), error);
    if (!profile) return Refuse(error);
    if (profile->empty()) return Refuse(options.arguments.front() + " names no register");
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
      const qsizetype equals = argument.indexOf(u'=');
      if (equals < 0) return Refuse(QString("%1 is not N=V").arg(operations::Quoted(argument)));
      const auto n = operations::ParseRegisterNumber(argument.left(equals), error);
      if (!n) return Refuse(error);
      const auto value = operations::ParseRegisterValue(*n, argument.mid(equals + 1), error);
      if (!value) return Refuse(error);
      std::erase_if(values, [&](const auto& entry) { return entry.first == *n; });
      // The boxes are given the value in the decimal they read, whatever form it came in.
      values.emplace_back(*n, QString::number(*value));
    }
    std::sort(values.begin(), values.end());
    return OnPort(options, [&](HeadlessPages& pages) { return WriteJob(pages, values, options); });
  }
  if (command == "records") return ListKeptLinkTests(options);
  if (command == "linktest" || command == "listen") {
    if (!options.seconds) return UsageError(command + " needs --seconds S");
    const auto seconds = operations::ParseSeconds(*options.seconds, error);
    if (!seconds) return Refuse("--seconds " + error);
    charts::ChartFormat format{};
    if (command == "linktest" && !options.plot.isEmpty() &&
        !charts::ChartFormatOf(options.plot, format, error))
      return UsageError(error);
    if (!options.arguments.isEmpty()) return UsageError(command + " takes no arguments");
    // The table replaces a file by renaming a new one over it: a device or a folder of that
    // name must never be replaced.
    if (const QFileInfo csv(options.csv); !options.csv.isEmpty() && csv.exists() && !csv.isFile())
      return Refuse(QString("--csv %1 is not a regular file").arg(operations::Quoted(options.csv)));
    if (command == "linktest") {
      // Records named but not to be opened are said before the test, not after it.
      // Standard output carries the test's own lines: "-" is not taken for it, nor as a name.
      if (options.csv == "-")
        return Refuse("--csv -: standard output carries the test's lines; name a file");
      if (!WritableLater(options.csv) || !WritableLater(options.plot)) return kBadUsage;
      if (!records::ParseLabel(options.label, error)) return Refuse("--label: " + error);
      LinkTestKeeping keeping(options);
      if (!keeping.Open()) {
        if (!options.record.isEmpty()) return Refuse(keeping.Problem());
        Note(keeping.Problem());
      }
      return OnPort(options, [&](HeadlessPages& pages) {
        return LinkTestJob(pages, options, *seconds, keeping);
      });
    }
    return OnPort(options, [&](HeadlessPages& pages) {
      return TerminalJob(pages, options, QString(), *seconds);
    });
  }
  if (command == "send") {
    if (options.arguments.size() != 1) return UsageError("send takes one TEXT");
    const QString message = options.arguments.front();
    if (message.isEmpty()) return UsageError("send needs a text that is not empty");
    if (const auto unsendable = FirstOutsideLatin1(message)) return Refuse(*unsendable);
    if (options.to && !operations::ParseAddress(*options.to, error))
      return Refuse("--to: " + error);
    return OnPort(options,
                  [&](HeadlessPages& pages) { return TerminalJob(pages, options, message); });
  }
  return UsageError(command.isEmpty() ? QString("no command given")
                                      : QString("unknown command '%1'").arg(command));
}

}  // namespace cli

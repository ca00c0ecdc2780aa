#include "station/station.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QEventLoop>
#include <QProcess>
#include <QSysInfo>
#include <cstdio>

#include "commands.h"
#include "platform/termination_signals.h"
#include "station/port_events.h"
#include "station/station_constants.h"

namespace station {
namespace {

QDateTime Time(const QJsonValue& value) {
  const QDateTime time = QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
  return time.isValid() ? time : QDateTime::currentDateTimeUtc();
}

std::optional<qint64> Millis(const QJsonValue& value) {
  if (!value.isDouble()) return std::nullopt;
  return static_cast<qint64>(value.toDouble());
}

void Warn(const QString& text) {
  std::fprintf(stderr, "talvora-cli: %s\n", text.toLocal8Bit().constData());
}

}  // namespace

Station::Station(StationOptions options, records::RecordDatabase& database)
    : options_(std::move(options)),
      records_(database),
      host_(QSysInfo::machineHostName()),
      profileSha256_(QCryptographicHash::hash(operations::ProfileText(options_.profile),
                                              QCryptographicHash::Sha256)
                         .toHex()),
      view_(!options_.json && ::isatty(fileno(stdout)) != 0) {
  ports_.resize(options_.ports.size());
  for (std::size_t i = 0; i < ports_.size(); ++i)
    ports_[i].named = options_.ports[i];
}

Station::~Station() {
  for (PortRun& port : ports_) {
    if (port.process && port.process->state() != QProcess::NotRunning) {
      port.process->kill();
      port.process->waitForFinished(1000);
    }
  }
}

int Station::Run() {
  QElapsedTimer clock;
  clock.start();
  QEventLoop loop;
  platform::TerminationSignals termination([this](int /*signal*/) { Stop(); });
  for (PortRun& port : ports_)
    Start(port);
  connect(&watch_, &QTimer::timeout, this, [&] {
    Watch();
    view_.Redraw(ports_, static_cast<double>(clock.elapsed()) / 3.6e6);
    if (running_ == 0) loop.quit();
  });
  watch_.start(std::chrono::milliseconds(200));
  if (running_ > 0) loop.exec();
  watch_.stop();
  view_.Redraw(ports_, static_cast<double>(clock.elapsed()) / 3.6e6);

  int passed = 0;
  int failed = 0;
  int interrupted = 0;
  bool cannotOpen = false;
  for (const PortRun& port : ports_) {
    passed += port.passed;
    failed += port.failed;
    interrupted += port.interrupted;
    cannotOpen = cannotOpen || port.cannotOpen;
  }
  view_.Event({{"event", "summary"},
               {"passed", passed},
               {"failed", failed},
               {"interrupted", interrupted},
               {"seconds", static_cast<double>(clock.elapsed()) / 1000.0}});
  if (stopping_) return cli::kInterrupted;
  if (cannotOpen) return cli::kBadUsage;
  if (failed > 0 || interrupted > 0 || recordFailed_) return cli::kNotConfirmed;
  return cli::kAllConfirmed;
}

void Station::Start(PortRun& port) {
  port.process = std::make_unique<QProcess>();
  QStringList arguments = {"station-port", "--port", port.named.name, "--profile",
                           options_.profilePath};
  if (options_.once) arguments << "--once";
  if (options_.remote) arguments << "--remote";
  if (options_.waitSeconds > 0) arguments << "--wait" << QString::number(options_.waitSeconds);
  QProcess* process = port.process.get();
  connect(process, &QProcess::readyReadStandardOutput, this, [this, &port] { OnOutput(port); });
  connect(process, &QProcess::readyReadStandardError, this, [&port] {
    const QStringList lines = QString::fromLocal8Bit(port.process->readAllStandardError())
                                  .split('\n', Qt::SkipEmptyParts);
    if (!lines.isEmpty()) port.lastError = lines.back().trimmed();
  });
  connect(process, &QProcess::finished, this, [this, &port](int code, QProcess::ExitStatus status) {
    OnFinished(port, code, status == QProcess::CrashExit);
  });
  // A process that never starts sends no finished signal: it ends the port here.
  connect(process, &QProcess::errorOccurred, this, [this, &port](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;
    port.lastError = port.process->errorString();
    OnFinished(port, cli::kBadUsage, true);
  });
  port.lastEvent.start();
  ++running_;
  process->start(QCoreApplication::applicationFilePath(), arguments);
}

void Station::OnOutput(PortRun& port) {
  port.pending += port.process->readAllStandardOutput();
  for (qsizetype end = port.pending.indexOf('\n'); end >= 0; end = port.pending.indexOf('\n')) {
    const QByteArray line = port.pending.left(end);
    port.pending.remove(0, end + 1);
    port.lastEvent.restart();
    if (const auto event = ParseEvent(line)) OnEvent(port, *event);
  }
}

void Station::OnEvent(PortRun& port, const QJsonObject& event) {
  const QString kind = event.value("event").toString();
  if (kind == kAlive) return;
  const auto progress = [&](const char* what) {
    return QString("%1 %2 of %3")
        .arg(what)
        .arg(event.value("done").toInt())
        .arg(event.value("total").toInt());
  };
  if (kind == kOpened || kind == kWaiting) {
    port.state = "waiting for a module";
  } else if (kind == kModule) {
    records::StationModule module;
    module.started = Time(event.value("started"));
    port.module = module;
    port.state = "reading";
  } else if (kind == kReading) {
    port.state = progress("reading");
  } else if (kind == kBefore && port.module) {
    if (const auto before = RegistersFromJson(event.value("registers")))
      port.module->before = *before;
    port.module->readMs = Millis(event.value("read_ms"));
  } else if (kind == kProgramming) {
    port.state = progress("programming");
  } else if (kind == kVerifying) {
    port.state = "verifying";
  } else if (kind == kDone) {
    if (!port.module) {
      records::StationModule module;
      module.started = Time(event.value("started"));
      port.module = module;
    }
    port.module->finished = Time(event.value("finished"));
    if (const auto after = RegistersFromJson(event.value("after"))) port.module->after = *after;
    port.module->programMs = Millis(event.value("program_ms"));
    port.module->verifyMs = Millis(event.value("verify_ms"));
    Record(port, event.value("verdict").toString(), event.value("detail").toString());
  } else if (kind == kRemoved) {
    port.state = "module removed";
  } else if (kind == kFailed) {
    port.cannotOpen = true;
    port.state = "FAIL: cannot open the port";
    Warn(port.named.label + ": " + event.value("detail").toString().replace('\n', ' '));
  }
  QJsonObject shown = event;
  shown["port"] = port.named.label;
  view_.Event(shown);
}

void Station::Record(PortRun& port, const QString& verdict, const QString& detail) {
  if (!port.module) return;
  records::StationModule& m = *port.module;
  if (!m.finished.isValid()) m.finished = QDateTime::currentDateTimeUtc();
  m.host = host_;
  m.port = port.named.name;
  m.device = port.named.device;
  m.adapter = port.named.adapter;
  m.adapterSerial = port.named.adapterSerial;
  m.profile = options_.profilePath;
  m.profileSha256 = profileSha256_;
  m.verdict = records::IsVerdict(verdict) ? verdict : QString("fail");
  m.detail = detail;
  m.totalMs = m.started.msecsTo(m.finished);
  QString error;
  if (!records_.Add(m, error)) {
    recordFailed_ = true;
    Warn(port.named.label + ": the module was not recorded: " + error);
  }
  if (m.verdict == "pass") {
    ++port.passed;
    port.state = "PASS";
  } else if (m.verdict == "interrupted") {
    ++port.interrupted;
    port.state = "interrupted";
  } else {
    ++port.failed;
    port.state = "FAIL: " + detail;
  }
  port.module.reset();
}

void Station::OnFinished(PortRun& port, int code, bool crashed) {
  if (port.finished) return;
  port.finished = true;
  --running_;
  OnOutput(port);
  QString why;
  if (port.hung) {
    why = QString("the port's process reported nothing for %1 s and was ended")
              .arg(kHangLimit.count());
  } else if (crashed) {
    why = "the port's process ended abnormally";
  } else {
    why = QString("the port's process ended with status %1").arg(code);
  }
  if (!port.lastError.isEmpty() && !port.hung) why += " (" + port.lastError + ")";
  // A module in hand when the process ended is still recorded, with what it had reached.
  const bool inHand = port.module.has_value();
  if (inHand) Record(port, stopping_ ? "interrupted" : "fail", stopping_ ? "interrupted" : why);
  const bool failure = !stopping_ && (crashed || port.hung || code == cli::kBadUsage);
  if (failure && !port.cannotOpen) {
    if (code == cli::kBadUsage && !crashed) port.cannotOpen = true;
    if (!inHand) ++port.failed;
    port.state = "FAIL: " + why;
    Warn(port.named.label + ": " + why);
  }
  view_.Event({{"event", "ended"},
               {"port", port.named.label},
               {"status", crashed ? QJsonValue() : QJsonValue(code)},
               {"detail", failure ? why : QString()}});
}

void Station::Watch() {
  for (PortRun& port : ports_) {
    if (port.finished || !port.process) continue;
    if (!stopping_ && port.lastEvent.elapsed() > std::chrono::milliseconds(kHangLimit).count()) {
      port.hung = true;
      port.process->kill();
    }
  }
}

void Station::Stop() {
  if (stopping_) return;
  stopping_ = true;
  for (PortRun& port : ports_) {
    if (port.finished || !port.process) continue;
    port.process->terminate();  // the port stops the normal way: RTS down, port closed
  }
  grace_.setSingleShot(true);
  connect(&grace_, &QTimer::timeout, this, [this] {
    for (PortRun& port : ports_) {
      if (!port.finished && port.process) port.process->kill();
    }
  });
  grace_.start(std::chrono::milliseconds(kStopGrace));
}

}  // namespace station

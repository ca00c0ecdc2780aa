#include "station/port_job.h"

#include <sys/prctl.h>
#include <unistd.h>

#include <QDateTime>
#include <QElapsedTimer>
#include <csignal>
#include <numeric>

#include "commands.h"
#include "eeprom_job.h"
#include "link/functions.h"
#include "platform/app_error.h"
#include "platform/termination_signals.h"
#include "records/station_records.h"
#include "run_loop.h"
#include "station/port_events.h"
#include "station/station_constants.h"

namespace station {
namespace {

QString Now() {
  return QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
}

// Reports the registers of a run as they come, as progress events: a reading counts the
// registers read, a programming the registers written. Every request also tells the
// station the port is alive, since a module taken away mid-run answers nothing for long.
class Progress final : public operations::OutcomeListener {
 public:
  enum class Count { Answers, Writes };
  Progress(const char* kind, int total, Count count) : kind_(kind), total_(total), count_(count) {}
  void Requested(int /*n*/, bool retry) override {
    if (count_ == Count::Writes && !retry && done_ < total_) {
      Step();
    } else {
      Emit({{"event", kAlive}});
    }
  }
  void Read(const operations::RegisterReading& /*reading*/) override {
    if (count_ == Count::Answers) Step();
  }
  void Programmed(const operations::RegisterProgramming& /*programming*/) override {
    Emit({{"event", kAlive}});
  }

 private:
  void Step() { Emit({{"event", kind_}, {"done", ++done_}, {"total", total_}}); }
  const char* kind_;
  int total_;
  Count count_;
  int done_ = 0;
};

class PortJob {
 public:
  PortJob(const PortJobOptions& options, cli::HeadlessPages& pages)
      : options_(options), pages_(pages) {}

  int Run() {
    bool allPassed = true;
    for (;;) {
      Emit({{"event", kWaiting}});
      const bool present = WaitForModule();
      if (cli::Interrupted()) return cli::kInterrupted;
      if (!present) {
        Emit({{"event", kDone},
              {"started", waitStarted_},
              {"finished", Now()},
              {"verdict", "fail"},
              {"detail", QString("no module answered within %1 s").arg(options_.waitSeconds)}});
        return cli::kNotConfirmed;
      }
      const bool passed = DoModule();
      allPassed = allPassed && passed;
      if (cli::Interrupted()) return cli::kInterrupted;
      if (options_.once) return allPassed ? cli::kAllConfirmed : cli::kNotConfirmed;
      WaitForRemoval();
      if (cli::Interrupted()) return cli::kInterrupted;
      Emit({{"event", kRemoved}});
    }
  }

 private:
  // One check: a read of register 0, answered or not; then the rest of the second idle.
  bool Check() {
    QElapsedTimer timer;
    timer.start();
    const cli::ReadResult result = cli::ReadRegisters(pages_, {0}, options_.remote);
    const bool answered = !result.registers.empty() && result.registers.front().value;
    const double left = (kCheckPeriod.count() - static_cast<double>(timer.elapsed())) / 1000.0;
    if (left > 0 && !cli::Interrupted()) cli::RunFor(left);
    return answered;
  }

  bool WaitForModule() {
    waitStarted_ = Now();
    QElapsedTimer waited;
    waited.start();
    while (!cli::Interrupted()) {
      if (Check()) return true;
      if (options_.once && options_.waitSeconds > 0 &&
          static_cast<double>(waited.elapsed()) >= options_.waitSeconds * 1000)
        return false;
      Emit({{"event", kAlive}});
    }
    return false;
  }

  void WaitForRemoval() {
    int misses = 0;
    while (!cli::Interrupted() && misses < kMissesForRemoval) {
      misses = Check() ? 0 : misses + 1;
      Emit({{"event", kAlive}});
    }
  }

  bool Finish(QJsonObject done, const QString& verdict, const QString& detail) {
    done["event"] = kDone;
    done["finished"] = Now();
    done["verdict"] = cli::Interrupted() ? QString("interrupted") : verdict;
    done["detail"] = cli::Interrupted() ? QString("interrupted") : detail;
    Emit(done);
    return verdict == "pass" && !cli::Interrupted();
  }

  bool DoModule() {
    QJsonObject done{{"started", Now()}};
    Emit({{"event", kModule}, {"started", done["started"]}});

    QElapsedTimer step;
    step.start();
    records::RegisterValues before;
    {
      std::vector<int> all(records::kModuleRegisters);
      std::iota(all.begin(), all.end(), 0);
      Progress progress(kReading, records::kModuleRegisters, Progress::Count::Answers);
      const cli::ReadResult read = cli::ReadRegisters(pages_, all, options_.remote, &progress);
      for (const cli::RegisterReading& r : read.registers)
        before[static_cast<std::size_t>(r.n)] = r.value;
    }
    done["read_ms"] = step.elapsed();
    Emit({{"event", kBefore}, {"registers", RegistersJson(before)}, {"read_ms", done["read_ms"]}});
    if (cli::Interrupted()) return Finish(done, "interrupted", "");

    // Programmed exactly as `load` programs a profile: every register with its read-back.
    step.restart();
    std::vector<std::pair<int, QString>> values;
    for (const auto& [n, value] : options_.profile)
      values.emplace_back(n, QString::number(value));
    Progress programming(kProgramming, static_cast<int>(values.size()), Progress::Count::Writes);
    const cli::WriteResult written =
        cli::WriteRegisters(pages_, values, options_.remote, &programming);
    done["program_ms"] = step.elapsed();
    if (cli::Interrupted()) return Finish(done, "interrupted", "");

    Emit({{"event", kVerifying}});
    step.restart();
    std::vector<int> named;
    for (const auto& [n, value] : options_.profile)
      named.push_back(n);
    Progress verifying(kAlive, static_cast<int>(named.size()), Progress::Count::Answers);
    const cli::ReadResult verified = cli::ReadRegisters(pages_, named, options_.remote, &verifying);
    done["verify_ms"] = step.elapsed();
    records::RegisterValues after;
    QStringList wrong;
    for (const cli::RegisterReading& r : verified.registers) {
      after[static_cast<std::size_t>(r.n)] = r.value;
      const int wanted = options_.profile.at(r.n);
      if (!r.value) {
        wrong << QString("register %1 did not answer").arg(r.n);
      } else if (*r.value != wanted) {
        wrong << QString("register %1 reads %2, not %3").arg(r.n).arg(*r.value).arg(wanted);
      }
    }
    done["after"] = RegistersJson(after);
    if (cli::Interrupted()) return Finish(done, "interrupted", "");
    if (!wrong.isEmpty()) return Finish(done, "fail", wrong.join("; "));
    if (!written.ok) return Finish(done, "fail", written.status);
    return Finish(done, "pass", "");
  }

  const PortJobOptions& options_;
  cli::HeadlessPages& pages_;
  QString waitStarted_;
};

}  // namespace

int RunPortJob(const PortJobOptions& options) {
  // A station that dies must not leave its ports keyed and open: the port stops the normal way.
  ::prctl(PR_SET_PDEATHSIG, SIGTERM);
  cli::ClearInterruption();
  platform::TerminationSignals interruption([](int /*signal*/) {
    cli::Interrupt();
    functions::CloseSerial();  // RTS dropped, the device given back; waits end at once
  });
  if (::getppid() == 1) return cli::kInterrupted;
  try {
    functions::OpenSerial(options.port.toStdString());
  } catch (const platform::AppError& error) {
    functions::CloseSerial();
    Emit(
        {{"event", kFailed}, {"detail", QString::fromStdString(platform::ErrorReportText(error))}});
    return cli::kBadUsage;
  }
  Emit({{"event", kOpened}});
  int status = cli::kInterrupted;
  {
    cli::HeadlessPages pages;
    PortJob job(options, pages);
    status = job.Run();
  }
  functions::CloseSerial();
  return status;
}

}  // namespace station

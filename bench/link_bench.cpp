// Figures of the link: poll period, RTS lead, reply latency, CPU while idle and while waiting.

#include "link_bench.h"

#include <QEventLoop>
#include <QTimer>
#include <cstdlib>

#include "link/functions.h"
#include "operations/module_commands.h"
#include "serial/comm_api.h"
#include "serial/sim_line/simulated_line.h"
#include "stats.h"

namespace bench {
namespace {

using operations::kReplyLimit;
std::vector<platform::Micros> tickTimes;

void TimedPoll(std::int32_t hwnd, std::uint32_t msg, std::uintptr_t id, std::uint32_t time) {
  tickTimes.push_back(platform::Events().NowMicros());
  functions::PollTimerProc(hwnd, msg, id, time);
}

serial::SimulatedLine& Line() {
  return *serial::SimulatedLineOf(functions::serial->handle());
}

bool WaitForReply() {
  const float start = platform::Timer();
  do {
    platform::DoEvents();
    if (functions::ReplyArrived()) return true;
  } while (platform::Timer() - start < kReplyLimit);
  return false;
}

void PollPeriod() {
  // Drive the link's poll procedure from a timer of our own that notes each tick.
  platform::KillTimer(0, static_cast<std::uintptr_t>(functions::lngTimerID));
  tickTimes.clear();
  functions::lngTimerID = static_cast<std::int32_t>(platform::SetTimer(0, 0, 70, &TimedPoll));
  RunEventLoopFor(7200);
  std::vector<double> deviations;
  for (std::size_t i = 1; i < tickTimes.size(); ++i) {
    const double period = static_cast<double>(tickTimes[i] - tickTimes[i - 1]) / 1000.0;
    deviations.push_back(std::abs(period - 70.0));
  }
  Figure("poll period deviation from 70 ms, median", Quantile(deviations, 0.5), "ms");
  Figure("poll period deviation from 70 ms, p99", Quantile(deviations, 0.99), "ms");
}

void RtsLead(const char* name, const std::function<void()>& send) {
  const std::size_t before = Line().RtsLog().size();
  for (int i = 0; i < 30; ++i) {
    send();
    RunEventLoopFor(100);
  }
  // Pair each rise of RTS with the first byte written after it.
  std::vector<double> leads;
  const auto transcript = Line().Transcript();
  const auto& log = Line().RtsLog();
  for (std::size_t i = before; i < log.size(); ++i) {
    if (!log[i].raised) continue;
    for (const auto& byte : transcript) {
      if (byte.direction == serial::LineByte::Direction::FromProgram && byte.at >= log[i].at) {
        leads.push_back(static_cast<double>(byte.at - log[i].at) / 1000.0);
        break;
      }
    }
  }
  Figure(std::string("RTS lead of ") + name + " frames, median", Quantile(leads, 0.5), "ms");
  Figure(std::string("RTS lead of ") + name + " frames, max", Max(leads), "ms");
}

void ReplyLatency() {
  std::vector<double> latencies;
  int missed = 0;
  for (int i = 0; i < 30; ++i) {
    const platform::Micros start = platform::Events().NowMicros();
    functions::SendDollarCommand(std::string(1, '\x03'));
    if (WaitForReply()) {
      latencies.push_back(static_cast<double>(platform::Events().NowMicros() - start) / 1000.0);
      functions::TakeReply();
    } else {
      ++missed;
    }
  }
  Figure("register read to ReplyArrived, median", Quantile(latencies, 0.5), "ms");
  Figure("register read to ReplyArrived, p99", Quantile(latencies, 0.99), "ms");
  Figure("register reads unanswered", missed, "of 30");
}

}  // namespace

void RunLinkBenchmarks() {
  setenv("TALVORA_COM1", "sim", 1);
  functions::OpenSerial("COM1");
  PollPeriod();
  RtsLead("\"$\"", [] { functions::SendDollarCommand(std::string(1, '\0')); });
  RtsLead("\"#\"", [] { functions::SendHashCommand(std::string(1, '\x05'), "x"); });
  ReplyLatency();
  Figure("CPU while the port is open and idle", CpuPercentDuring([] { RunEventLoopFor(5000); }),
         "% of a core");
  functions::CloseSerial();

  setenv("TALVORA_COM1", "sim:silent", 1);
  functions::OpenSerial("COM1");
  Figure("CPU while waiting for a silent module (8 reads)", CpuPercentDuring([] {
           for (int n = 0; n < 8; ++n) {
             functions::SendDollarCommand(std::string(1, static_cast<char>(n)));
             WaitForReply();
           }
         }),
         "% of a core");
  functions::CloseSerial();
}

void RunEventLoopFor(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace bench

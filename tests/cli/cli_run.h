#pragma once

// talvora-cli's commands run in this test program as main() runs them, in virtual time against
// the simulated radio system, with what they print captured.

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QStringList>
#include <csignal>
#include <map>
#include <memory>
#include <string>

#include "commands.h"
#include "platform/virtual_event_service.h"
#include "run_loop.h"
#include "sim/simulated_system.h"

namespace clitest {

struct Ran {
  int status = -1;
  std::string out;
  std::string err;
  platform::Micros micros = 0;  // the run's length in virtual time
};

// The options the words of a command line give: the options with a value take the next word,
// the first other word is the command and the rest its arguments.
inline cli::Options Words(const QStringList& words) {
  cli::Options options;
  const std::map<QString, QString*> valued = {
      {"--port", &options.port},     {"--csv", &options.csv},     {"--plot", &options.plot},
      {"--record", &options.record}, {"--label", &options.label}, {"--kind", &options.kind}};
  for (qsizetype i = 0; i < words.size(); ++i) {
    const auto value = valued.find(words[i]);
    if (words[i] == "--json") {
      options.json = true;
    } else if (words[i] == "--seconds") {
      options.seconds = words[++i];
    } else if (words[i] == "--to") {
      options.to = words[++i];
    } else if (value != valued.end()) {
      *value->second = words[++i];
    } else if (options.command.isEmpty()) {
      options.command = words[i];
    } else {
      options.arguments << words[i];
    }
  }
  return options;
}

// Runs the command line `words` on a fresh virtual clock moved on by `advance` first; Ctrl+C
// (SIGINT) comes `interruptMs` into the run when that is given.
inline Ran Run(const QStringList& words, int interruptMs = 0, platform::Micros advance = 0) {
  platform::VirtualEventService& clock = platform::UseVirtualTime();
  clock.Advance(advance);
  sim::RegisterSimulatedSystem();
  if (interruptMs > 0) {
    auto id = std::make_shared<std::uintptr_t>();
    *id = clock.StartTimer(interruptMs, [&clock, id] {
      clock.StopTimer(*id);
      ::raise(SIGINT);
    });
  }
  const platform::Micros start = clock.NowMicros();
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  Ran ran;
  ran.status = cli::RunCommand(Words(words));
  ran.micros = clock.NowMicros() - start;
  ran.out = testing::internal::GetCapturedStdout();
  ran.err = testing::internal::GetCapturedStderr();
  cli::ClearInterruption();
  return ran;
}

// JSON output on one line, or "" when it is not JSON.
inline std::string Compact(const std::string& json) {
  const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(json));
  return document.isNull() ? "" : document.toJson(QJsonDocument::Compact).toStdString();
}

}  // namespace clitest

// talvora-cli takes its results from the operations' outcomes only: what the pages' captions
// and boxes say cannot change its output or its exit status. A run cut short reports every
// register it was given; profiles' commands name themselves.

#include <gmock/gmock.h>

#include <QJsonDocument>
#include <QTemporaryDir>
#include <csignal>

#include "commands.h"
#include "eeprom_job.h"
#include "link/functions.h"
#include "link_test_job.h"
#include "operations/register_profile.h"
#include "platform/virtual_event_service.h"
#include "report.h"
#include "run_loop.h"
#include "sim/simulated_system.h"
#include "terminal_job.h"

namespace {

// Writes a wrong text into every control of the pages whenever an operation reports anything,
// as a changed caption or a stray box would.
class Tamperer final : public operations::OutcomeListener {
 public:
  explicit Tamperer(cli::HeadlessPages& pages) : pages_(pages) {}

  void Read(const operations::RegisterReading&) override { Tamper("12"); }
  void ReadingEnded(operations::ReadVerdict) override {
    Tamper(operations::StatusText(operations::ReadVerdict::AllRead));
  }
  void Programmed(const operations::RegisterProgramming&) override { Tamper("12"); }
  void ProgrammingEnded(operations::WriteVerdict) override {
    Tamper(operations::StatusText(operations::WriteVerdict::Programmed));
  }
  void Evaluated(const operations::LinkEvaluation&) override { Tamper("5"); }
  void LinkTestStopped(const operations::LinkTotals&) override { Tamper("5"); }
  void Initialized(const operations::InitializationOutcome&) override {
    Tamper("Master-Slave Connection");
  }

 private:
  // Every control shows `text`, and the register table claims a value in every row.
  void Tamper(const QString& text) {
    operations::PageViews views = pages_.Model().Views();
    operations::ForEachControl(views, [&](operations::ControlView*& view, const char*, int) {
      view->Text(text);
      view->Visible(true);
    });
    for (int n = 0; n < operations::kRegisterCount; ++n)
      pages_.Table().Value(n, "7");
  }

  cli::HeadlessPages& pages_;
};

// Everything a script sees of one run of each page: lines, JSON and whether it succeeded.
struct Seen {
  QStringList lines;
  QByteArray json;
  std::vector<bool> ok;  // reading, programming, link test, Initialization
  bool operator==(const Seen&) const = default;
  friend void PrintTo(const Seen& seen, std::ostream* out) {
    *out << seen.lines.join("|").toStdString() << " " << seen.json.toStdString() << " ok";
    for (const bool ok : seen.ok)
      *out << " " << ok;
  }
};

Seen RunEveryPage(const char* device, bool tamper) {
  platform::UseVirtualTime();
  sim::RegisterSimulatedSystem();
  functions::OpenSerial(device);
  cli::HeadlessPages pages;
  Tamperer tamperer(pages);
  if (tamper) pages.Reports().Add(&tamperer);
  Seen seen;
  const cli::ReadResult read = cli::ReadRegisters(pages, {0, 1, 2}, false);
  seen.lines << cli::ReadLines(read);
  seen.json += QJsonDocument(cli::ReadJson(read)).toJson();
  const cli::WriteResult written = cli::WriteRegisters(pages, {{5, "9"}}, false);
  seen.lines << cli::WriteLines(written);
  seen.json += QJsonDocument(cli::WriteJson(written)).toJson();
  const cli::LinkTestResult test = cli::RunLinkTest(pages, 2.0);
  seen.lines << cli::LinkTestTotals(test);
  seen.json += QJsonDocument(cli::LinkTestJson(test)).toJson();
  const cli::Initialization initialization = cli::Initialize(pages);
  seen.lines << cli::InitializationLine(initialization);
  seen.json += QJsonDocument(cli::InitializationJson(initialization)).toJson();
  seen.ok = {read.ok, written.ok, test.finalLevel >= 2, initialization.answered};
  functions::CloseSerial();
  return seen;
}

class CaptionsChanged : public testing::TestWithParam<const char*> {};

TEST_P(CaptionsChanged, LeaveTheOutputAndTheStatusAsTheOutcomesSay) {
  const Seen honest = RunEveryPage(GetParam(), false);
  const Seen tampered = RunEveryPage(GetParam(), true);
  EXPECT_EQ(tampered, honest);
  EXPECT_FALSE(honest.lines.isEmpty());
}

// A module that answers everything, and one that answers nothing: a caption saying "OK" must
// not turn the second into a success.
INSTANTIATE_TEST_SUITE_P(Modules, CaptionsChanged, testing::Values("sim", "sim:silent"));

TEST(CaptionsChangedSilent, StillFail) {
  // The silent host leaves the remote modules on the air, which answer the link test.
  EXPECT_EQ(RunEveryPage("sim:silent", true).ok, (std::vector<bool>{false, false, true, false}));
  EXPECT_EQ(RunEveryPage("sim", true).ok, std::vector<bool>(4, true));
}

struct Interrupted {
  const char* command;
  bool json;
  const char* output;  // all of standard output, or a piece of the JSON
};

class InterruptedWrite : public testing::TestWithParam<Interrupted> {};

// Three registers, a second's pause after each write: SIGINT comes after the second went out.
TEST_P(InterruptedWrite, ReportsEveryRegisterAsConfirmedSentOrNotSent) {
  platform::VirtualEventService& clock = platform::UseVirtualTime();
  sim::RegisterSimulatedSystem();
  auto id = std::make_shared<std::uintptr_t>();
  *id = clock.StartTimer(1500, [&clock, id] {
    clock.StopTimer(*id);
    ::raise(SIGINT);
  });
  cli::Options options;
  options.port = "sim";
  options.command = GetParam().command;
  options.json = GetParam().json;
  options.arguments = {"1=12", "2=13", "3=14"};
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_EQ(cli::RunCommand(options), cli::kInterrupted);
  const std::string out = testing::internal::GetCapturedStdout();
  testing::internal::GetCapturedStderr();
  cli::ClearInterruption();
  if (GetParam().json) {
    const QByteArray compact =
        QJsonDocument::fromJson(QByteArray::fromStdString(out)).toJson(QJsonDocument::Compact);
    EXPECT_THAT(compact.toStdString(), testing::HasSubstr(GetParam().output));
  } else {
    EXPECT_EQ(out, GetParam().output);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, InterruptedWrite,
    testing::Values(
        Interrupted{"write", false,
                    "01 12 sent, not confirmed\n02 13 sent, not confirmed\n03 14 not sent\n"},
        Interrupted{"write", true, R"("registers":{"1":12,"2":13,"3":14})"},
        Interrupted{"write", true, R"("unconfirmed":[1,2])"},
        Interrupted{"write", true, R"("not_sent":[3])"}));

struct ProfileCommand {
  const char* command;
  const char* label;
};

class ProfileCommands : public testing::TestWithParam<ProfileCommand> {};

TEST_P(ProfileCommands, NameThemselvesInTheirJson) {
  platform::UseVirtualTime();
  sim::RegisterSimulatedSystem();
  const QTemporaryDir folder;
  const QString path = folder.filePath("module.json");
  QString error;
  ASSERT_TRUE(operations::SaveProfile(path, {{1, 8}}, error)) << error.toStdString();
  cli::Options options;
  options.port = "sim";
  options.json = true;
  options.command = GetParam().command;
  if (options.command == "read") {
    options.arguments = {"1"};
  } else {
    options.arguments = {path};
  }
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_EQ(cli::RunCommand(options), cli::kAllConfirmed);
  const QJsonDocument json =
      QJsonDocument::fromJson(QByteArray::fromStdString(testing::internal::GetCapturedStdout()));
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(json["command"].toString().toStdString(), GetParam().label);
}

INSTANTIATE_TEST_SUITE_P(Commands, ProfileCommands,
                         testing::Values(ProfileCommand{"load", "load"},
                                         ProfileCommand{"save", "save"},
                                         ProfileCommand{"read", "read"}));

}  // namespace

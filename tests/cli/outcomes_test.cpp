// talvora-cli takes its results from the operations' outcomes only: what the pages' captions
// and boxes say cannot change its output or its exit status. Profiles' commands name themselves.

#include <gmock/gmock.h>

#include <QJsonDocument>
#include <QTemporaryDir>

#include "cli_run.h"
#include "eeprom_job.h"
#include "link/functions.h"
#include "link_test_job.h"
#include "operations/register_profile.h"
#include "report.h"
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

struct Module {
  const char* device;
  std::vector<bool> ok;  // reading, programming, link test, Initialization
};

class CaptionsChanged : public testing::TestWithParam<Module> {};

TEST_P(CaptionsChanged, LeaveTheOutputAndTheStatusAsTheOutcomesSay) {
  const Seen honest = RunEveryPage(GetParam().device, false);
  const Seen tampered = RunEveryPage(GetParam().device, true);
  EXPECT_EQ(tampered, honest);
  EXPECT_FALSE(honest.lines.isEmpty());
  EXPECT_EQ(tampered.ok, GetParam().ok);
}

// A module that answers everything, and one that answers nothing: a caption saying "OK" must
// not turn the second into a success. The silent host leaves the remote modules on the air,
// which answer the link test.
INSTANTIATE_TEST_SUITE_P(Modules, CaptionsChanged,
                         testing::Values(Module{"sim", {true, true, true, true}},
                                         Module{"sim:silent", {false, false, true, false}}));

class ProfileCommands : public testing::TestWithParam<const char*> {};

TEST_P(ProfileCommands, NameThemselvesInTheirJson) {
  const QTemporaryDir folder;
  const QString path = folder.filePath("module.json");
  QString error;
  ASSERT_TRUE(operations::SaveProfile(path, {{1, 8}}, error)) << error.toStdString();
  const QString command = GetParam();
  const clitest::Ran ran =
      clitest::Run({"--port", "sim", "--json", command, command == "read" ? "1" : path});
  EXPECT_EQ(ran.status, cli::kAllConfirmed);
  EXPECT_EQ(QJsonDocument::fromJson(QByteArray::fromStdString(ran.out))["command"].toString(),
            command);
}

INSTANTIATE_TEST_SUITE_P(Commands, ProfileCommands, testing::Values("load", "save", "read"));

}  // namespace

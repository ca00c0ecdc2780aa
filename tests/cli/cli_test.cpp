// talvora-cli against the simulated radio system in virtual time: the same results as the
// windows for the same module, its exit statuses and JSON, register lists and the CSV.

#include <gmock/gmock.h>

#include <QFile>
#include <QTemporaryDir>

#include "cli_run.h"
#include "eeprom_job.h"
#include "link_test_job.h"
#include "register_list.h"
#include "report.h"
#include "serial/logs/traffic_log.h"
#include "station/records_command.h"
#include "ui/radio_window.h"

namespace {

struct Case {
  const char* options;  // of the simulated system
  bool remote;
  std::vector<int> registers;
  std::vector<const char*> values;  // for programming: the texts typed, one per register
  friend void PrintTo(const Case& run, std::ostream* out) { *out << run.options; }
};

// What the register table shows after a run: the value boxes of the run's rows and the status.
using Shown = std::pair<std::vector<QString>, QString>;

class SameAsTheWindow : public uitest::EepromPageTest, public testing::WithParamInterface<Case> {
 protected:
  Shown InTheWindow() {
    const Case& run = GetParam();
    Load(run.options);
    if (run.remote) uitest::Click(Page().Option2);
    Select(run.registers);
    for (std::size_t i = 0; i < run.values.size(); ++i)
      Page().Text6[run.registers[i]]->setText(run.values[i]);
    uitest::Click(run.values.empty() ? Reading() : Writing());
    Shown shown{{}, Status()};
    for (const int n : run.registers)
      shown.first.push_back(Value(n));
    return shown;
  }

  Shown InTheCommandLine() {
    const Case& run = GetParam();
    platform::UseVirtualTime();
    sim::RegisterSimulatedSystem();
    functions::OpenSerial(std::string("sim:") + run.options);
    cli::HeadlessPages pages;
    if (run.values.empty()) {
      cli::ReadRegisters(pages, run.registers, run.remote);
    } else {
      std::vector<std::pair<int, QString>> values;
      for (std::size_t i = 0; i < run.values.size(); ++i)
        values.emplace_back(run.registers[i], run.values[i]);
      cli::WriteRegisters(pages, values, run.remote);
    }
    Shown shown{{}, pages.Programming().Text7->Text()};
    for (const int n : run.registers)
      shown.first.push_back(pages.Table().Value(n));
    functions::CloseSerial();
    return shown;
  }
};

TEST_P(SameAsTheWindow, ValuesRetryMarksAndFailures) {
  const Shown window = InTheWindow();
  Window().close();
  functions::CloseSerial();
  EXPECT_EQ(InTheCommandLine(), window);
}

INSTANTIATE_TEST_SUITE_P(
    Modules, SameAsTheWindow,
    testing::Values(Case{"host=0", false, cli::AllRegisters(), {}},
                    Case{"silent", false, {0, 1, 2}, {}},
                    Case{"remotes=1,loss=0.4,seed=3", true, {0, 1, 2, 3, 4, 5, 6, 7}, {}},
                    Case{"host-delay=690", false, {3, 31}, {}},
                    Case{"host=0", false, {1, 3}, {"12", "7.5"}},
                    Case{"silent", false, {1}, {"12"}}));

TEST(RegisterList, RangesHexAndDuplicatesInOrderAndClearRefusals) {
  QString error;
  EXPECT_EQ(cli::ParseRegisterList("0-3,31", error), (std::vector<int>{0, 1, 2, 3, 31}));
  EXPECT_EQ(cli::ParseRegisterList("0x1f,0X0a", error), (std::vector<int>{10, 31}));
  EXPECT_EQ(cli::ParseRegisterList("3,3,1-2,2", error), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(cli::ParseRegisterList("0x1e-0x1f,007", error), (std::vector<int>{7, 30, 31}));
  const std::vector<std::pair<const char*, const char*>> refused = {
      {"32", "register 32 is not 0 to 31"},  {"5-2", "the range 5-2 runs backwards"},
      {"-1", "register -1 is not 0 to 31"},  {"1-2-3", "register 2-3 is not 0 to 31"},
      {"a", "register a is not 0 to 31"},    {"1,,2", "the register list 1,,2 has an empty"},
      {"0x-1", "register 0x-1 is not"},      {"1-40", "register 40 is not 0 to 31"},
      {" 1", "register ' 1' is not 0 to 31"}};
  for (const auto& [text, why] : refused) {
    EXPECT_EQ(cli::ParseRegisterList(text, error), std::nullopt) << text;
    EXPECT_THAT(error.toStdString(), testing::HasSubstr(why)) << text;
  }
}

struct Command {
  QStringList words;  // as on the command line, with --json
  int status;
  const char* said;  // a piece of the JSON output, or of standard error
  friend void PrintTo(const Command& c, std::ostream* out) {
    *out << c.words.join(' ').toStdString();
  }
};

// Texts that are not a register, a value, an address or a duration: each is refused with the
// text quoted before the port is opened (the port here does not exist, and it is not what the
// message is about).
Command Refused(const QStringList& words, const char* said) {
  return {QStringList{"--port", "/nonexistent/tty"} + words, cli::kBadUsage, said};
}

class CommandLine : public testing::TestWithParam<Command> {};

TEST_P(CommandLine, ExitStatusAndOutput) {
  const clitest::Ran ran = clitest::Run(QStringList{"--json"} + GetParam().words);
  EXPECT_EQ(ran.status, GetParam().status);
  if (GetParam().status == cli::kBadUsage) {
    EXPECT_THAT(ran.err, testing::HasSubstr(GetParam().said));
    EXPECT_EQ(ran.out, "");
  } else {
    EXPECT_THAT(clitest::Compact(ran.out), testing::HasSubstr(GetParam().said)) << ran.out;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, CommandLine,
    testing::Values(
        Command{{"--port", "sim", "read", "0-1,31"}, 0, R"("registers":{"0":0,"1":8,"31":18})"},
        Command{{"--port", "sim:silent", "read", "2"}, 1, R"("unanswered":[2])"},
        Command{{"--port", "sim", "write", "1=12", "0x1f=7"}, 0, R"("confirmed":[1,31])"},
        Command{{"--port", "sim:silent", "write", "1=12"}, 1, R"("failed":[1])"},
        Command{{"--port", "sim", "linktest", "--seconds", "3"}, 0, R"("level":5)"},
        Command{{"--port", "sim:remotes=none", "linktest", "--seconds", "4"}, 1, R"("level":1)"},
        Command{{"--port", "sim:host=0,remotes=5", "send", "hi"}, 2, "a master needs --to"},
        Command{{"--port", "sim:host=4", "send", "hi"}, 0, R"("address":4)"},
        Command{{"--port", "sim:silent", "listen", "--seconds", "1"}, 1, R"("answered":false)"},
        Command{{"--port", "sim:remotes=none", "linktest", "--seconds", "2.5"}, 1, R"("level":)"},
        Command{{"--port", "sim", "write", "5=0005", "6=0x10"}, 0, R"("registers":{"5":5,"6":16})"},
        Command{{"--port", "sim", "listen"}, 2, "needs --seconds"},
        Refused({"read"}, "no such device"), Refused({"read"}, "(talvora-cli ports lists the"),
        Command{{"--port", "", "read"}, 2, "Give --port another device, or map the COM name"},
        Command{{"--port", "sim", "frobnicate"}, 2, "unknown command 'frobnicate'"},
        Command{{"--port", "sim", "write", "1=2=3"}, 2, "register 1: value 2=3 is not 0 to 255"},
        Command{{"--port", "sim", "load", "/nonexistent/profile.json"},
                2,
                "cannot read /nonexistent/profile.json: No such file or directory"},
        Command{{"--port", "sim", "diff", "/nonexistent/profile.json"},
                2,
                "cannot read /nonexistent/profile.json: No such file or directory"},
        // Exactly at level 2, with one packet of four answered: still a link.
        Command{{"--port", "sim:loss=0.6,seed=1", "linktest", "--seconds", "4"},
                0,
                R"("level":2,"port":"sim:loss=0.6,seed=1","received":1)"},
        Command{{"--port", "sim", "write", "1=6", "1=5"}, 0, R"("registers":{"1":5})"},
        Command{{"--port", "sim:host=5", "read", "0"}, 0, R"("port":"sim:host=5")"}));

INSTANTIATE_TEST_SUITE_P(
    BadNumbers, CommandLine,
    testing::Values(Refused({"write", "0x-1=5"}, "register 0x-1 is not 0 to 31"),
                    Refused({"write", "0x-0=5"}, "register 0x-0 is not"),
                    Refused({"write", "+1=5"}, "register +1 is not 0 to 31"),
                    Refused({"write", "0x+1=5"}, "register 0x+1 is not"),
                    Refused({"write", "3=abc"}, "register 3: value abc is not"),
                    Refused({"write", "5=25x"}, "value 25x is not 0 to 255"),
                    Refused({"write", "0="}, "value '' is not 0 to 255"),
                    Refused({"write", "5=.5"}, "value .5 is not"),
                    Refused({"write", "5=1,2"}, "value 1,2 is not"),
                    Refused({"write", "5=\u0663"}, "value '\u0663' is not"),
                    Refused({"write", "5=-0"}, "value -0 is not"),
                    Refused({"write", "1=256"}, "value 256 is not 0 to 255"),
                    Refused({"write", "1=0x100"}, "value 0x100 is not"),
                    Refused({"write", "5=1 "}, "value '1 ' is not"),
                    Refused({"write", "5"}, "5 is not N=V"),
                    Refused({"save", "x.json", "32"}, "register 32 is not"),
                    Refused({"send", "--to", "0x100", "hi"}, "address 0x100 is not 0 to 255"),
                    Refused({"send", "--to", "", "hi"}, "address '' is not"),
                    Refused({"send", "price 5\u20ac"},
                            "character 8, '\u20ac' (U+20AC), is not Latin-1"),
                    Refused({"linktest", "--seconds", "nan"},
                            "--seconds nan is not a number of seconds from 1 to 86400"),
                    Refused({"linktest", "--seconds", "inf"}, "inf is not"),
                    Refused({"linktest", "--seconds", "1e308"}, "1e308 is not"),
                    Refused({"linktest", "--seconds", "1e-9"}, "1e-9 is not"),
                    Refused({"linktest", "--seconds", "0.5"}, "0.5 is not"),
                    Refused({"listen", "--seconds", "86401"}, "86401 is not"),
                    Refused({"listen", "--seconds", "-3"}, "-3 is not"),
                    Refused({"--csv", "/dev/null", "linktest", "--seconds", "2"},
                            "--csv /dev/null is not a regular file")));

struct Interruption {
  QStringList words;
  int afterMs;                       // when Ctrl+C comes
  std::vector<const char*> printed;  // all of standard output, or with --json pieces of it
  friend void PrintTo(const Interruption& i, std::ostream* out) {
    *out << i.words.join(' ').toStdString();
  }
};

class CommandLineInterrupted : public testing::TestWithParam<Interruption> {};

// The run ends at Ctrl+C, not at the end of what it was asked to do, and says what it did.
TEST_P(CommandLineInterrupted, ClosesThePortAtOnceAndPrintsWhatWasDoneWithStatus130) {
  const clitest::Ran ran = clitest::Run(GetParam().words, GetParam().afterMs);
  EXPECT_EQ(ran.status, cli::kInterrupted);
  const bool json = GetParam().words.contains("--json");
  for (const char* printed : GetParam().printed) {
    if (json) {
      EXPECT_THAT(clitest::Compact(ran.out), testing::HasSubstr(printed)) << ran.out;
    } else {
      EXPECT_EQ(ran.out, printed);
    }
  }
  EXPECT_THAT(ran.err, testing::HasSubstr("interrupted"));
  EXPECT_LT(ran.micros, GetParam().afterMs * 1000 + 2'000'000) << "the run went on after Ctrl+C";
  EXPECT_FALSE(functions::PortOpen());
}

// A write of three registers pauses a second after each: Ctrl+C comes after the second went
// out, and every register is reported as confirmed, sent or not sent. send ended while
// Initialization waits says it was interrupted, not merely that nothing answered.
INSTANTIATE_TEST_SUITE_P(
    Runs, CommandLineInterrupted,
    testing::Values(
        Interruption{{"--port", "sim:host-delay=300", "read", "0-5"}, 1000, {"00 0\n01 8\n"}},
        Interruption{{"--port", "sim", "--seconds", "60", "linktest"}, 1000, {}},
        Interruption{{"--port", "sim:host=4", "--seconds", "60", "listen"}, 1000, {}},
        Interruption{{"--port", "sim", "write", "1=12", "2=13", "3=14"},
                     1500,
                     {"01 12 sent, not confirmed\n02 13 sent, not confirmed\n03 14 not sent\n"}},
        Interruption{{"--json", "--port", "sim", "write", "1=12", "2=13", "3=14"},
                     1500,
                     {R"("registers":{"1":12,"2":13,"3":14})", R"("unconfirmed":[1,2])",
                      R"("not_sent":[3])"}},
        Interruption{{"--json", "--port", "sim:host=4,host-delay=600", "send", "hi"},
                     100,
                     {R"("interrupted":true)"}}));

// The traffic log of a write and a read-back: every frame with its RTS state, RTS rising and
// falling, what the reads delivered; after what earlier runs left, in seconds since the port
// was opened.
TEST(TrafficLog, ShowsEveryFrameWithItsRtsStateAndTheReplies) {
  const QTemporaryDir folder;
  const QString path = folder.filePath("traffic.log");
  {
    QFile earlier(path);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    ASSERT_EQ(earlier.write("an earlier run\n"), 15);
  }
  std::string error;
  ASSERT_TRUE(serial::traffic_log::Open(path.toStdString(), error)) << error;
  EXPECT_EQ(clitest::Run({"--port", "sim:host-delay=5", "write", "3=5"}, 0, 5'000'000).status, 0);
  serial::traffic_log::Close();

  QFile log(path);
  ASSERT_TRUE(log.open(QIODevice::ReadOnly));
  ASSERT_EQ(log.readLine(), "an earlier run\n");
  QStringList events;  // the lines without their times
  std::vector<double> times;
  for (const QString& line : QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts)) {
    events << line.mid(14);
    times.push_back(line.left(14).toDouble());
  }
  ASSERT_FALSE(times.empty());
  EXPECT_EQ(times.front(), 0.0);
  EXPECT_LT(times.back(), 2.0) << "the times count from the port's opening";
  EXPECT_EQ(events.join('\n').toStdString(),
            "port opened        sim:host-delay=5 (simulated radio system)\n"
            "RTS up\n"
            "program->line  RTS 23 03 05\n"
            "RTS down\n"
            "RTS up\n"
            "program->line  RTS 24 03\n"
            "RTS down\n"
            "line->program      05\n"
            "port closed");
}

// A caption with a comma is quoted.
TEST(LinkTestCsv, HeaderThenOneRowPerEvaluation) {
  platform::UseVirtualTime();
  sim::RegisterSimulatedSystem();
  functions::OpenSerial("sim");
  cli::HeadlessPages pages;
  const cli::LinkTestResult result = cli::RunLinkTest(pages, 2.0);
  functions::CloseSerial();
  EXPECT_EQ(cli::LinkTestCsv(result).toStdString(),
            "seconds,sent,received,level,caption\n"
            "1.000,1,1,5,\"OK, Connection\"\n"
            "2.000,2,2,5,\"OK, Connection\"\n");
}

// A record's field is quoted when it holds a separator, a quote or a line break, so that a
// detail over two lines stays one row of `records --csv`.
TEST(RecordsCsv, QuotesAFieldWithACommaAQuoteOrALineBreak) {
  const std::pair<QString, QString> rows[] = {
      {"register 6 reads 255, not 40", "\"register 6 reads 255, not 40\""},
      {"said \"no\"", "\"said \"\"no\"\"\""},
      {"two\nlines", "\"two\nlines\""},
      {"carriage\rreturn", "\"carriage\rreturn\""},
      {"pass", "pass"},
      {"", ""},
  };
  for (const auto& [field, written] : rows)
    EXPECT_EQ(station::CsvField(field), written) << field.toStdString();
}

}  // namespace

// The programming station end to end: talvora-cli station against several talvora-sim
// pseudo-terminals, in real time, with its records read back afterwards.

#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <map>
#include <memory>

#include "e2e/sim_process.h"
#include "records/station_records.h"

namespace {

using e2e::SimProcess;
using e2e::WaitUntil;

constexpr int kStationMs = 120000;

class StationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QFile profile(dir_.filePath("site.json"));
    ASSERT_TRUE(profile.open(QIODevice::WriteOnly));
    ASSERT_GT(profile.write(R"({"talvora": "registers", "version": 1,
                               "registers": {"1": 9, "3": 5, "6": 77}})"),
              0);
  }

  // Starts talvora-sim with `options`; returns its terminal.
  QString Sim(const QStringList& options) {
    sims_.push_back(std::make_unique<SimProcess>(QStringList{"--quiet"} + options));
    EXPECT_FALSE(sims_.back()->Path().isEmpty());
    return sims_.back()->Path();
  }

  void StartStation(const QStringList& ports, const QStringList& more) {
    station_.start(TALVORA_CLI_EXECUTABLE,
                   QStringList{"station", "--json", "--profile", dir_.filePath("site.json"),
                               "--record", Database(), "--ports", ports.join(',')} +
                       more);
    ASSERT_TRUE(station_.waitForStarted(5000));
  }

  // Runs until the station's output holds `text`.
  bool OutputShows(const QString& text, int ms = kStationMs) {
    return WaitUntil(
        [&] {
          output_ += QString::fromUtf8(station_.readAllStandardOutput());
          return output_.contains(text);
        },
        ms);
  }

  int Finish(int ms = kStationMs) {
    WaitUntil([&] { return station_.state() == QProcess::NotRunning; }, ms);
    output_ += QString::fromUtf8(station_.readAllStandardOutput());
    if (station_.state() != QProcess::NotRunning) return -1;
    return station_.exitStatus() == QProcess::NormalExit ? station_.exitCode() : -2;
  }

  QString Database() const { return dir_.filePath("records.sqlite"); }

  // The counts the station's closing summary gives: passed, failed, interrupted.
  std::vector<int> Summary() const {
    for (const QString& line : output_.split('\n')) {
      const QJsonObject event = QJsonDocument::fromJson(line.toUtf8()).object();
      if (event.value("event") == QLatin1String("summary"))
        return {event.value("passed").toInt(-1), event.value("failed").toInt(-1),
                event.value("interrupted").toInt(-1)};
    }
    return {};
  }

  std::vector<records::StationModule> Rows() {
    records::RecordDatabase database;
    EXPECT_TRUE(database.open(Database())) << database.error().toStdString();
    records::StationRecords store(database);
    QString error;
    auto rows = store.List({}, error);
    EXPECT_TRUE(rows.has_value()) << error.toStdString();
    return rows.value_or(std::vector<records::StationModule>{});
  }

  std::map<QString, records::StationModule> RowsByDevice() {
    std::map<QString, records::StationModule> byDevice;
    for (const records::StationModule& m : Rows())
      byDevice[m.device] = m;
    return byDevice;
  }

  QString IntegrityCheck() {
    records::RecordDatabase database;
    if (!database.open(Database())) return database.error();
    QSqlQuery query(database.connection());
    if (!query.exec("PRAGMA integrity_check") || !query.next()) return "no answer";
    return query.value(0).toString();
  }

  // The station's port process that serves `terminal`, found by its command line.
  qint64 PortProcess(const QString& terminal) {
    const QString parent = QString::number(station_.processId());
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
      QFile stat("/proc/" + pid + "/stat");
      QFile cmdline("/proc/" + pid + "/cmdline");
      if (!stat.open(QIODevice::ReadOnly) || !cmdline.open(QIODevice::ReadOnly)) continue;
      const QString fields = QString::fromLatin1(stat.readAll());
      const QStringList after = fields.mid(fields.lastIndexOf(')') + 2).split(' ');
      if (after.size() > 1 && after[1] == parent && cmdline.readAll().contains(terminal.toUtf8()))
        return pid.toLongLong();
    }
    return 0;
  }

  QTemporaryDir dir_;
  std::vector<std::unique_ptr<SimProcess>> sims_;
  QProcess station_;
  QString output_;
};

// A port that cannot be opened makes the status 2, and the others still run.
TEST_F(StationTest, OnceRecordsAPassForEachGoodModuleAndAFailForTheSilentAndTheStuckOne) {
  const QString good1 = Sim({});
  const QString good2 = Sim({"host=0"});
  const QString silent = Sim({"silent"});
  const QString stuck = Sim({"stuck=3"});
  const QString missing = dir_.filePath("no-such-tty");
  StartStation({good1, good2, silent, stuck, missing}, {"--once", "--wait", "4"});
  EXPECT_EQ(Finish(), 2) << output_.toStdString();
  EXPECT_TRUE(output_.contains("\"event\":\"failed\"")) << output_.toStdString();
  // Modules are counted; the port that could not be opened is no module.
  EXPECT_EQ(Summary(), (std::vector<int>{2, 2, 0})) << output_.toStdString();

  auto rows = RowsByDevice();
  ASSERT_EQ(rows.size(), 4u) << output_.toStdString();
  EXPECT_EQ(Rows().size(), 4u);
  for (const QString& good : {good1, good2}) {
    const records::StationModule& m = rows[good];
    EXPECT_EQ(m.verdict, "pass") << m.detail.toStdString();
    EXPECT_EQ(m.before[1], 8);  // the factory's preamble length, before programming
    EXPECT_EQ(m.before[31], 0x12);
    EXPECT_EQ(m.after[1], 9);
    EXPECT_EQ(m.after[3], 5);
    EXPECT_EQ(m.after[6], 77);
    EXPECT_FALSE(m.after[2].has_value());
    EXPECT_EQ(m.profileSha256.size(), 64);
    EXPECT_GE(m.totalMs, 3000);  // three registers, a second's pause after each write
  }
  EXPECT_EQ(rows[silent].verdict, "fail");
  EXPECT_TRUE(rows[silent].detail.contains("no module answered"))
      << rows[silent].detail.toStdString();
  EXPECT_EQ(rows[stuck].verdict, "fail");
  EXPECT_TRUE(rows[stuck].detail.contains("register 3 reads 0, not 5"))
      << rows[stuck].detail.toStdString();
  EXPECT_EQ(rows[stuck].after[1], 9);
  EXPECT_EQ(IntegrityCheck(), "ok");
}

// A port's process that dies while it waits for a module counts as a failure of its own.
TEST_F(StationTest, APortProcessKilledWhileWaitingCountsAsFailedAndRecordsNothing) {
  const QString port = Sim({"silent"});
  StartStation({port}, {"--once"});
  ASSERT_TRUE(OutputShows("\"event\":\"waiting\"")) << output_.toStdString();
  const qint64 pid = PortProcess(port);
  ASSERT_GT(pid, 0);
  ::kill(static_cast<pid_t>(pid), SIGKILL);
  EXPECT_EQ(Finish(), 1) << output_.toStdString();
  EXPECT_EQ(Summary(), (std::vector<int>{0, 1, 0})) << output_.toStdString();
  EXPECT_TRUE(Rows().empty());
}

TEST_F(StationTest, ContinuousModeProgramsEachModulePutInOnceAndStopsWith130) {
  auto sim = std::make_unique<SimProcess>(QStringList{"--quiet", "swap-gap=4000"});
  const QString terminal = sim->Path();
  StartStation({terminal}, {});
  ASSERT_TRUE(OutputShows("\"verdict\":\"pass\"")) << output_.toStdString();
  // Left in place, the module is not programmed again.
  EXPECT_FALSE(OutputShows("\"event\":\"removed\"", 3000));
  EXPECT_EQ(output_.count("\"event\":\"module\""), 1);
  ::kill(static_cast<pid_t>(sim->Pid()), SIGUSR1);
  ASSERT_TRUE(OutputShows("\"event\":\"removed\"")) << output_.toStdString();
  ASSERT_TRUE(WaitUntil([&] { return Rows().size() == 2; }, kStationMs)) << output_.toStdString();
  EXPECT_FALSE(WaitUntil([&] { return Rows().size() > 2; }, 4000));
  ::kill(static_cast<pid_t>(station_.processId()), SIGTERM);
  EXPECT_EQ(Finish(), 130);

  const auto rows = Rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].verdict, "pass");
  EXPECT_EQ(rows[1].verdict, "pass");
  // A fresh module: its serial number differs, and it came with the factory's settings.
  EXPECT_NE(rows[0].before[4], rows[1].before[4]);
  EXPECT_EQ(rows[1].before[1], 8);
  EXPECT_GT(rows[1].started, rows[0].finished);
}

// The station, or the second port's process, stopped while that port programs. A port's process
// that crashes (killed) or hangs (stopped: it reports nothing, and the station ends it) fails
// alone; the other ports finish and are recorded. The station stopped by a signal it handles
// records each module in hand as interrupted, status 130; by SIGKILL, no row at all. Either way
// the database stays whole.
struct Stop {
  const char* name;
  bool port;  // the signal goes to the second port's process, else to the station
  int signal;
  int status;                         // -2: the station was killed
  std::vector<const char*> verdicts;  // of the three ports' rows
  const char* detail;                 // in the second port's row
  std::vector<int> summary;           // passed, failed, interrupted; none when killed
};

void PrintTo(const Stop& row, std::ostream* out) {
  *out << row.name;
}

class StationStopTest : public StationTest, public ::testing::WithParamInterface<Stop> {};

TEST_P(StationStopTest, LeavesWholeRowsOnlyAndAWholeDatabase) {
  const QStringList ports = {Sim({}), Sim({}), Sim({})};
  StartStation(ports, {"--once"});
  ASSERT_TRUE(OutputShows("\"event\":\"programming\",\"port\":\"" + ports[1].mid(5) + "\""))
      << output_.toStdString();
  const qint64 pid = GetParam().port ? PortProcess(ports[1]) : station_.processId();
  ASSERT_GT(pid, 0);
  ::kill(static_cast<pid_t>(pid), GetParam().signal);
  EXPECT_EQ(Finish(), GetParam().status) << output_.toStdString();
  EXPECT_EQ(Summary(), GetParam().summary) << output_.toStdString();
  EXPECT_EQ(IntegrityCheck(), "ok");
  auto rows = RowsByDevice();
  ASSERT_EQ(rows.size(), GetParam().verdicts.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const records::StationModule& m = rows[ports[static_cast<qsizetype>(i)]];
    EXPECT_EQ(m.verdict, GetParam().verdicts[i]) << i;
    EXPECT_EQ(m.before[1], 8) << i;  // what it had read before it stopped
    EXPECT_TRUE(m.finished.isValid()) << i;
  }
  if (!rows.empty()) {
    EXPECT_TRUE(rows[ports[1]].detail.contains(GetParam().detail))
        << rows[ports[1]].detail.toStdString();
  }
  // The ports' processes end with the station, giving their devices back.
  const auto alive = [&] {
    return PortProcess(ports[0]) + PortProcess(ports[1]) + PortProcess(ports[2]);
  };
  EXPECT_TRUE(WaitUntil([&] { return alive() == 0; }, 10000));
}

const std::vector<const char*> kSecondFailed{"pass", "fail", "pass"};
const std::vector<const char*> kAllInterrupted{"interrupted", "interrupted", "interrupted"};

INSTANTIATE_TEST_SUITE_P(
    Signals, StationStopTest,
    ::testing::Values(
        Stop{"PortKilled", true, SIGKILL, 1, kSecondFailed, "ended abnormally", {2, 1, 0}},
        Stop{"PortHung", true, SIGSTOP, 1, kSecondFailed, "reported nothing for 20 s", {2, 1, 0}},
        Stop{"Terminate", false, SIGTERM, 130, kAllInterrupted, "", {0, 0, 3}},
        Stop{"Interrupt", false, SIGINT, 130, kAllInterrupted, "", {0, 0, 3}},
        Stop{"Kill", false, SIGKILL, -2, {}, "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StationTest, RecordsListsTheSelectedRowsAsJsonAndCsv) {
  {
    records::RecordDatabase database;
    ASSERT_TRUE(database.open(Database())) << database.error().toStdString();
    records::StationRecords store(database);
    QString error;
    for (const auto& [port, verdict, day] :
         {std::tuple{"ttyUSB0", "pass", 1}, {"ttyUSB1", "fail", 2}, {"ttyUSB0", "pass", 3}}) {
      records::StationModule m;
      m.started = QDateTime(QDate(2026, 12, day), QTime(9, 0), Qt::UTC);
      m.finished = m.started.addSecs(5);
      m.port = port;
      m.device = QString("/dev/") + port;
      m.profile = "/p/site, v2.json";
      m.profileSha256 = "ab";
      m.verdict = verdict;
      ASSERT_TRUE(store.Add(m, error)) << error.toStdString();
    }
  }
  const auto run = [&](const QStringList& arguments) {
    QProcess cli;
    cli.start(TALVORA_CLI_EXECUTABLE, QStringList{"records", "--record", Database()} + arguments);
    EXPECT_TRUE(cli.waitForFinished(30000));
    return std::pair{cli.exitCode(), cli.readAllStandardOutput()};
  };
  const auto [status, json] = run({"--json", "--port", "ttyUSB0", "--since", "2026-12-02"});
  EXPECT_EQ(status, 0);
  const QJsonArray array = QJsonDocument::fromJson(json).array();
  ASSERT_EQ(array.size(), 1);
  for (const char* key : {"started", "finished", "port", "device", "profile", "profile_sha256",
                          "before", "after", "verdict", "detail"})
    EXPECT_TRUE(array[0].toObject().contains(key)) << key;
  EXPECT_EQ(array[0]["started"].toString(), "2026-12-03T09:00:00.000Z");

  const auto [csvStatus, csv] = run({"--csv", "--verdict", "pass"});
  EXPECT_EQ(csvStatus, 0);
  const QStringList lines = QString::fromUtf8(csv).split("\r\n", Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 3);
  EXPECT_TRUE(lines[0].startsWith("started,finished,host,port,device"));
  EXPECT_TRUE(lines[1].contains(",\"/p/site, v2.json\",")) << lines[1].toStdString();

  for (const QStringList& wrong : {QStringList{"--verdict", "maybe"},
                                   {"--since", "yesterday"},
                                   {"--csv", "--json"},
                                   {"--kind", "nothing"},
                                   {"--since", "2026-13-01"}})
    EXPECT_EQ(run(wrong).first, 2) << wrong.join(' ').toStdString();
}

}  // namespace

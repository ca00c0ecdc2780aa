// A link test kept by talvora-cli survives the program's sudden death: after kill -9 in the
// middle of a test, the records hold the test marked interrupted with the evaluations it had,
// each one whole, and the database takes the next test as before.

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "records/link_test_records.h"
#include "records/record_database.h"

namespace {

// Runs talvora-cli's link test on the simulated system, keeping it in `database`.
void StartLinkTest(QProcess& cli, const QString& database, const QString& seconds) {
  cli.setProgram(TALVORA_CLI_EXECUTABLE);
  cli.setArguments({"--port", "sim:host=0,remotes=5", "linktest", "--seconds", seconds, "--label",
                    "mast", "--record", database});
  cli.start();
  ASSERT_TRUE(cli.waitForStarted());
}

std::vector<records::KeptLinkTest> Kept(const QString& path) {
  records::RecordDatabase database;
  EXPECT_TRUE(database.open(path)) << database.error().toStdString();
  return records::LinkTestRecords(database).List(true);
}

TEST(LinkTestRecord, KillNineDuringATestLeavesItInterruptedWithWholeEvaluations) {
  QTemporaryDir folder;
  const QString path = folder.filePath("records.sqlite");
  QProcess cli;
  StartLinkTest(cli, path, "60");
  // Three evaluations printed: three seconds into the test.
  int evaluations = 0;
  while (evaluations < 3 && cli.waitForReadyRead(5000)) {
    while (cli.canReadLine())
      if (cli.readLine().contains(" s  sent ")) ++evaluations;
  }
  ASSERT_EQ(evaluations, 3);
  cli.kill();  // SIGKILL: no handler runs
  ASSERT_TRUE(cli.waitForFinished());
  EXPECT_EQ(cli.exitStatus(), QProcess::CrashExit);

  auto kept = Kept(path);
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].state, records::LinkTestState::Interrupted);
  EXPECT_EQ(kept[0].setting.label, "mast");
  // What was committed is whole: one packet a second, each evaluation after the last.
  ASSERT_GE(kept[0].evaluations.size(), 3u);
  for (std::size_t k = 0; k < kept[0].evaluations.size(); ++k) {
    EXPECT_EQ(kept[0].evaluations[k].sent, static_cast<int>(k + 1));
    EXPECT_EQ(kept[0].evaluations[k].received, static_cast<int>(k + 1));
    EXPECT_EQ(kept[0].evaluations[k].caption, "OK, Connection");
  }
  EXPECT_EQ(kept[0].totals.sent, static_cast<int>(kept[0].evaluations.size()));
  EXPECT_EQ(kept[0].totals.finalLevel, kept[0].evaluations.back().level);

  // The database goes on: the next test is kept, finished, and listed first.
  QProcess next;
  StartLinkTest(next, path, "2");
  ASSERT_TRUE(next.waitForFinished(20000));
  EXPECT_EQ(next.exitCode(), 0) << next.readAllStandardError().toStdString();
  kept = Kept(path);
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept[0].state, records::LinkTestState::Finished);
  // A two-second test evaluates once or twice, as the second packet falls on the end or not.
  EXPECT_GE(kept[0].evaluations.size(), 1u);
  EXPECT_EQ(static_cast<int>(kept[0].evaluations.size()), kept[0].totals.sent);
  EXPECT_EQ(kept[1].state, records::LinkTestState::Interrupted);
}

}  // namespace

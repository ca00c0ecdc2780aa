// Where talvora-sim writes its frame log: the real program, one exchange through its terminal.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "terminal_client.h"

namespace {

struct LogRow {
  const char* name;
  QStringList arguments;  // "%LOG%" stands for a file in a temporary folder
  bool onStderr;
  bool inFile;
};

void PrintTo(const LogRow& row, std::ostream* out) {
  *out << row.name;
}

class TalvoraSimLog : public ::testing::TestWithParam<LogRow> {};

TEST_P(TalvoraSimLog, GoesWhereTheArgumentsSay) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString logFile = dir.filePath(QStringLiteral("frames.log"));
  QStringList arguments = GetParam().arguments;
  arguments.replaceInStrings(QStringLiteral("%LOG%"), logFile);

  QProcess sim;
  sim.start(QStringLiteral(TALVORA_SIM_EXECUTABLE), arguments);
  ASSERT_TRUE(sim.waitForStarted(5000));
  ASSERT_TRUE(sim.waitForReadyRead(5000));
  const QString path = QString::fromLocal8Bit(sim.readLine()).trimmed();
  {
    toolstest::TerminalClient program(path.toStdString());
    ASSERT_TRUE(program.IsOpen());
    ASSERT_EQ(program.Write(std::string_view("$\0", 2)), 2U);
    ASSERT_EQ(program.ReadByte(2000), 0);
  }
  sim.terminate();
  ASSERT_TRUE(sim.waitForFinished(5000));

  const QString stderrText = QString::fromLocal8Bit(sim.readAllStandardError());
  EXPECT_EQ(stderrText.contains(QStringLiteral("program->host      24 00")), GetParam().onStderr)
      << stderrText.toStdString();
  if (!GetParam().onStderr) {
    EXPECT_TRUE(stderrText.isEmpty()) << stderrText.toStdString();
  }
  QFile file(logFile);
  const bool inFile = file.open(QIODevice::ReadOnly) && file.readAll().contains("host->program");
  EXPECT_EQ(inFile, GetParam().inFile);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TalvoraSimLog,
    ::testing::Values(LogRow{"Stderr", {}, true, false},
                      LogRow{"QuietWithTrace", {"--quiet", "trace"}, false, false},
                      LogRow{"TraceAndQuiet", {"trace", "--quiet"}, false, false},
                      LogRow{"FileWithTrace", {"--log", "%LOG%", "trace"}, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

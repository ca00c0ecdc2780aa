// The program as a screen reader reads it over the real AT-SPI bus: a D-Bus session and an
// Xvfb server of the test's own, the program started with the bridge always on, and a reader
// (pyatspi) that lists each window's objects, works the controls through their accessible
// actions, and prints the events a screen reader listens to.

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

namespace {

constexpr int kAtSpiPatienceMs = 120000;
constexpr int kSkipStatus = 77;

class AtSpi : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"dbus-run-session", "Xvfb"}) {
      if (QStandardPaths::findExecutable(tool).isEmpty()) GTEST_SKIP() << "no " << tool;
    }
    server_.start(
        "Xvfb", {"-displayfd", "1", "-nolisten", "tcp", "-noreset", "-screen", "0", "1024x768x24"});
    if (!server_.waitForStarted() || !server_.waitForReadyRead(kAtSpiPatienceMs)) {
      GTEST_SKIP() << "no Xvfb to show the windows on";
    }
    display_ = ":" + QString::fromLatin1(server_.readLine().trimmed());
  }
  void TearDown() override {
    server_.terminate();
    server_.waitForFinished();
  }

  // What the reader printed, one line each; skips the test when the bus cannot be had.
  QStringList Read() {
    QProcess reader;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", display_);
    environment.insert("XDG_CONFIG_HOME", settings_.path());
    environment.insert("XDG_DATA_HOME", settings_.path());
    environment.remove("DBUS_SESSION_BUS_ADDRESS");
    environment.remove("AT_SPI_BUS_ADDRESS");
    reader.setProcessEnvironment(environment);
    reader.start("dbus-run-session",
                 {"--", "/usr/bin/python3", TALVORA_ATSPI_READER, TALVORA_EXECUTABLE});
    if (!reader.waitForFinished(kAtSpiPatienceMs)) reader.kill();
    const QString said = QString::fromUtf8(reader.readAllStandardError());
    if (reader.exitCode() == kSkipStatus) {
      skipped_ = said.trimmed();
      return {};
    }
    EXPECT_EQ(reader.exitCode(), 0) << said.toStdString();
    return QString::fromUtf8(reader.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
  }

  QString skipped_;

 private:
  QProcess server_;
  QString display_;
  QTemporaryDir settings_;
};

TEST_F(AtSpi, AScreenReaderHearsWhichControlIsWhichAndTheResults) {
  const QStringList lines = Read();
  if (!skipped_.isEmpty()) GTEST_SKIP() << skipped_.toStdString();
  const QString kObjects[] = {
      "object\tframe\tintro\tChoose the serial port, then OK",
      "object\tradio button\tCOM1\tsim",
      "object\tpush button\tOK\tOpens the main window on the chosen port",
      "object\tdialog\tTALVORA\t",
      "object\tpage tab\tProgramming\t",
      "object\tcheck box\tSelect Register 00\t",
      "object\ttext\tRegister 00 value\t",
      "object\ttext\tRegister 00 name: Module Address\tF1 or Return explains its values",
      "object\ttext\tRegister 1f name: Firmware Release\t",
      "object\ttext\tStatus\t",
      "object\tpush button\tEEPROM Reading\tReads the selected registers",
      "object\timage\tLink lamp: good link\tLink quality 4 or 5",
      "object\tstatus bar\tLink quality level\t",
      "object\tpanel\tRadio Connection\t",
      "object\tlabel\tReceived Packets\t",
      "object\tlabel\tReceived Packets: empty\t",
      "object\ttext\tReceived data\t",
      "object\ttext\tDestination address\t",
  };
  for (const QString& object : kObjects)
    EXPECT_TRUE(lines.contains(object)) << object.toStdString();
  // The result of the reading reaches the bus as a change of the status line's description,
  // and the value box says in words what its colour says.
  const QString described = "event\tobject:property-change:accessible-description\t";
  EXPECT_TRUE(lines.contains(described + "Status\tOK, EEPROM CORRECTLY READ"))
      << lines.join('\n').toStdString();
  EXPECT_TRUE(lines.contains(described + "Register 00 value\tread"));
}

}  // namespace

// What each COM name stands for, and a settings file that is wrong: each problem said with its
// line, nothing of it echoed raw to a terminal, the file never rewritten.

#include "ports/port_map.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>

#include "files/file_system.h"
#include "ports/port_settings.h"
#include "settings/settings_file.h"
#include "support/full_disk.h"
#include "support/stub_detector.h"

namespace ports {
namespace {

using testing::HasSubstr;

const DetectedPort kAdapterA{"/dev/serial/by-id/usb-FTDI_A-if00-port0", "/dev/ttyUSB3",
                             "FTDI FT232R USB UART, serial A (0403:6001)"};
const DetectedPort kAdapterZ{"/dev/serial/by-id/usb-Z_CDC-if00", "/dev/ttyACM0", "Z CDC"};
const DetectedPort kUart2{"/dev/ttyS2", "/dev/ttyS2", "on-board serial port (16550A UART)"};
const DetectedPort kUart10{"/dev/ttyS10", "/dev/ttyS10", "on-board serial port (16550A UART)"};

// Each test has a settings folder of its own, its own detected devices and no TALVORA_COMn.
class PortMapTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit().constData(), 1);
    for (int n = 1; n <= 4; ++n)
      unsetenv(("TALVORA_COM" + std::to_string(n)).c_str());
    QDir().mkpath(config_.path() + "/talvora");
    previous_ = UseDetector(detector_);
  }
  void TearDown() override {
    files::UseFileSystem(nullptr);
    UseDetector(previous_);
  }
  static std::string Path() { return settings::SettingsFilePath().toStdString(); }
  static void Write(const QByteArray& text) {
    QFile file(settings::SettingsFilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
  static QByteArray Held() {
    QFile file(settings::SettingsFilePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
  }
  // "device [source]" for COM1 to COM4.
  std::vector<std::string> Mapped() {
    std::vector<std::string> mapped;
    for (int n = 1; n <= 4; ++n) {
      const auto mapping = MapPort("COM" + std::to_string(n));
      const char* source[] = {"env", "settings", "auto"};
      mapped.push_back(mapping->device + " [" + source[static_cast<int>(mapping->source)] + "]");
    }
    return mapped;
  }

  QTemporaryDir config_;
  std::shared_ptr<testsupport::StubDetector> detector_ =
      std::make_shared<testsupport::StubDetector>();
  std::shared_ptr<PortDetector> previous_;
};

TEST_F(PortMapTest, FirstMatchWinsAndDetectedDevicesFillTheNamesLeftInAStableOrder) {
  struct Row {
    const char* what;
    std::map<std::string, std::string> environment;
    const char* settings;
    std::vector<DetectedPort> detected;
    std::vector<std::string> expected;
  } rows[] = {
      {"nothing detected: the on-board names",
       {},
       nullptr,
       {},
       {"/dev/ttyS0 [auto]", "/dev/ttyS1 [auto]", "/dev/ttyS2 [auto]", "/dev/ttyS3 [auto]"}},
      {"stable names first, then nodes by number",
       {},
       nullptr,
       {kUart10, kAdapterZ, kUart2, kAdapterA},
       {kAdapterA.path + " [auto]", kAdapterZ.path + " [auto]", "/dev/ttyS2 [auto]",
        "/dev/ttyS10 [auto]"}},
      {"environment over settings over automatic; a device named is not filled in again",
       {{"TALVORA_COM2", "sim:host=5"}},
       "[ports]\nCOM1=/dev/ttyUSB3\nCOM2=/dev/ttyUSB9\nCOM3=sim:host=7,remotes=0+5\n",
       {kAdapterA, kAdapterZ},
       {"/dev/ttyUSB3 [settings]", "sim:host=5 [env]", "sim:host=7,remotes=0+5 [settings]",
        kAdapterZ.path + " [auto]"}},
      {"a malformed file is ignored whole",
       {},
       "[ports]\nCOM1 /dev/ttyUSB9\nCOM2=sim\n",
       {kAdapterZ},
       {kAdapterZ.path + " [auto]", "/dev/ttyS1 [auto]", "/dev/ttyS2 [auto]", "/dev/ttyS3 [auto]"}},
      {"a variable set but empty falls through to the settings file",
       {{"TALVORA_COM1", ""}},
       "[ports]\nCOM1=/dev/ttyUSB3\n",
       {},
       {"/dev/ttyUSB3 [settings]", "/dev/ttyS1 [auto]", "/dev/ttyS2 [auto]", "/dev/ttyS3 [auto]"}},
      {"names outside the ports section are not ports",
       {},
       "[other]\nCOM1=/dev/ttyUSB13\n",
       {},
       {"/dev/ttyS0 [auto]", "/dev/ttyS1 [auto]", "/dev/ttyS2 [auto]", "/dev/ttyS3 [auto]"}},
      {"a name with no device makes the file malformed",
       {},
       "[ports]\nCOM1=\nCOM2=sim\n",
       {},
       {"/dev/ttyS0 [auto]", "/dev/ttyS1 [auto]", "/dev/ttyS2 [auto]", "/dev/ttyS3 [auto]"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    for (const auto& [variable, value] : row.environment)
      setenv(variable.c_str(), value.c_str(), 1);
    QFile::remove(settings::SettingsFilePath());
    if (row.settings != nullptr) Write(row.settings);
    detector_->detected = row.detected;
    EXPECT_EQ(Mapped(), row.expected);
    for (const auto& [variable, value] : row.environment)
      unsetenv(variable.c_str());
  }
}

// Every problem of the file, each after "PATH:"; a choice made in the window is refused with
// the first of them, since rewriting the file would lose what its author meant.
TEST_F(PortMapTest, EachProblemIsSaidWithItsLineAndTheFileIsNeverRewritten) {
  struct Row {
    const char* what;
    QByteArray text;
    std::vector<std::string> problems;
  } rows[] = {
      {"two problems, after a comment",
       "[ports]\nCOM1=/dev/ttyUSB0\n\n; comment\nCOM5=/dev/ttyUSB1\n[other\n",
       {"5: 'COM5' is not a port name (COM1 to COM4)", "6: not a section header: [other"}},
      {"a section in the wrong case",
       "[Ports]\nCOM1=sim\n",
       {"1: [Ports] is not a section of this file: write [ports]"}},
      {"a name given twice",
       "[ports]\nCOM1=sim\n; the adapter\nCOM1=/dev/ttyUSB0\n",
       {"4: COM1 is given twice (first on line 2)"}},
      {"an empty device", "[ports]\nCOM2=sim\nCOM1=\n", {"3: COM1 names no device"}},
      {"a quoted empty device", "[ports]\nCOM2=\"\"\n", {"2: COM2 names no device"}},
      {"a quoted blank device", "[ports]\nCOM1=\"  \"\n", {"2: COM1 names no device"}},
      {"no equals sign",
       "[ports]\nCOM1 /dev/ttyUSB0\n",
       {"2: not a setting (name=value): COM1 /dev/ttyUSB0"}},
      {"no port name", "[ports]\nCOM0=sim\n", {"2: 'COM0' is not a port name (COM1 to COM4)"}},
      {"a terminal's escape sequence",
       "[ports]\n\x1b]0;owned\x07\n",
       {"2: not a setting (name=value): \\x1b]0;owned\\x07"}},
      {"bytes that are not text",
       QByteArray("[ports]\nCOM1=sim\xff\xfe\n"),
       {"2: not text: COM1=sim\\xff\\xfe"}},
      {"a NUL byte", QByteArray("[ports]\nCOM1=sim\0x\n", 18), {"2: not text: COM1=sim\\x00x"}},
      {"an unclosed quote",
       "[ports]\nCOM3=\"sim:host=5\n",
       {"2: COM3 names a device with a stray quote or a backslash: \"sim:host=5"}},
      {"a backslash",
       "[ports]\nCOM1=C:\\dev\n",
       {"2: COM1 names a device with a stray quote or a backslash: C:\\dev"}},
      {"control characters in a device",
       "[ports]\nCOM1=/dev/tty\x1b[2JUSB0\n",
       {"2: COM1 names a device with control characters: /dev/tty\\x1b[2JUSB0"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Write(row.text);
    const PortSettings read = ReadPortSettings();
    EXPECT_TRUE(read.devices.empty());
    std::vector<std::string> problems;
    for (const std::string& problem : row.problems)
      problems.push_back(Path() + ":" + problem);
    EXPECT_EQ(read.problems, problems);
    std::string problem;
    EXPECT_FALSE(SavePortSetting("COM3", "sim", problem));
    EXPECT_EQ(problem, problems.front() + "; correct the file before choosing here");
    EXPECT_EQ(Held(), row.text);
  }
}

TEST_F(PortMapTest, SomethingElseInThePlaceOfTheFileIsSaidAndLeftAlone) {
  struct Row {
    const char* what;
    std::function<void(const std::string&)> make;
    const char* problem;
  } rows[] = {
      {"a folder", [](const std::string& p) { ASSERT_EQ(::mkdir(p.c_str(), 0700), 0); },
       ": a folder stands where the settings file belongs"},
      // Read as a file, a FIFO nobody writes would hold the program for ever.
      {"a FIFO", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); },
       ": not a regular file"},
      {"a link to a device",
       [](const std::string& p) { ASSERT_EQ(::symlink("/dev/full", p.c_str()), 0); },
       ": not a regular file"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    row.make(Path());
    const PortSettings read = ReadPortSettings();
    ASSERT_EQ(read.problems.size(), 1u);
    EXPECT_EQ(read.problems.front(), Path() + row.problem);
    std::string problem;
    EXPECT_FALSE(SavePortSetting("COM1", "sim", problem));
    struct stat info {};
    EXPECT_EQ(::lstat(Path().c_str(), &info), 0);
    EXPECT_FALSE(S_ISREG(info.st_mode));
    QDir(settings::SettingsFilePath()).removeRecursively();
    ::unlink(Path().c_str());
  }
}

TEST_F(PortMapTest, AFullDiskKeepsTheOldFileAndSaysSo) {
  const QByteArray text = "[ports]\nCOM1=sim:host=5\n";
  Write(text);
  std::string problem;
  {
    const testsupport::FullDisk disk;
    EXPECT_FALSE(SavePortSetting("COM2", "sim", problem));
  }
  EXPECT_THAT(problem, HasSubstr(std::strerror(ENOSPC)));
  EXPECT_EQ(Held(), text);
  ASSERT_TRUE(SavePortSetting("COM2", "sim", problem)) << problem;
  EXPECT_EQ(ReadPortSettings().devices,
            (std::map<std::string, std::string>{{"COM1", "sim:host=5"}, {"COM2", "sim"}}));
}

TEST_F(PortMapTest, BlanksAroundTheEnvironmentsDeviceAreDroppedAsInTheFile) {
  Write("[ports]\nCOM2=  sim:host=3  \n");
  setenv("TALVORA_COM1", "  sim  ", 1);
  setenv("TALVORA_COM3", "   ", 1);
  EXPECT_EQ(MapPort("COM1")->device, "sim");
  EXPECT_EQ(MapPort("COM2")->device, "sim:host=3");
  EXPECT_EQ(MapPort("COM3")->source, Source::Automatic);
}

}  // namespace
}  // namespace ports

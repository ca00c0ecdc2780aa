// A settings file that is wrong: each problem said with the file and the line, nothing of it
// echoed raw to a terminal, the file never rewritten; and a file that cannot be written keeps
// what it held.

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

#include "files/file_system.h"
#include "ports/port_map.h"
#include "ports/port_settings.h"
#include "settings/settings_file.h"
#include "support/stub_detector.h"

namespace ports {
namespace {

using testing::HasSubstr;

class SettingsProblemsTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit().constData(), 1);
    for (int n = 1; n <= 4; ++n)
      unsetenv(("TALVORA_COM" + std::to_string(n)).c_str());
    QDir().mkpath(config_.path() + "/talvora");
    previous_ = UseDetector(std::make_shared<testsupport::StubDetector>());
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

  QTemporaryDir config_;
  std::shared_ptr<PortDetector> previous_;
};

TEST_F(SettingsProblemsTest, EachProblemIsSaidWithItsLineAndTheFileIsNeverRewritten) {
  struct Row {
    const char* what;
    QByteArray text;
    const char* problem;  // after "PATH:"
  } rows[] = {
      {"a section in the wrong case", "[Ports]\nCOM1=sim\n",
       "1: [Ports] is not a section of this file: write [ports]"},
      {"a name given twice", "[ports]\nCOM1=sim\n; the adapter\nCOM1=/dev/ttyUSB0\n",
       "4: COM1 is given twice (first on line 2)"},
      {"an empty device", "[ports]\nCOM2=sim\nCOM1=\n", "3: COM1 names no device"},
      {"a quoted empty device", "[ports]\nCOM1=\"  \"\n", "2: COM1 names no device"},
      {"a terminal's escape sequence", "[ports]\n\x1b]0;owned\x07\n",
       "2: not a setting (name=value): \\x1b]0;owned\\x07"},
      {"bytes that are not text", QByteArray("[ports]\nCOM1=sim\xff\xfe\n"),
       "2: not text: COM1=sim\\xff\\xfe"},
      {"a NUL byte", QByteArray("[ports]\nCOM1=sim\0x\n", 18), "2: not text: COM1=sim\\x00x"},
      {"control characters in a device", "[ports]\nCOM1=/dev/tty\x1b[2JUSB0\n",
       "2: COM1 names a device with control characters: /dev/tty\\x1b[2JUSB0"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Write(row.text);
    const PortSettings read = ReadPortSettings();
    EXPECT_TRUE(read.devices.empty());
    EXPECT_THAT(read.problems, testing::Contains(Path() + ":" + row.problem));
    std::string problem;
    EXPECT_FALSE(SavePortSetting("COM3", "sim", problem));
    EXPECT_THAT(problem, HasSubstr(row.problem));
    EXPECT_EQ(Held(), row.text);
  }
}

TEST_F(SettingsProblemsTest, SomethingElseInThePlaceOfTheFileIsSaidAndLeftAlone) {
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

TEST_F(SettingsProblemsTest, AFullDiskKeepsTheOldFileAndSaysSo) {
  const QByteArray text = "[ports]\nCOM1=sim:host=5\n";
  Write(text);
  struct FullDisk : files::FileSystem {
    ssize_t Write(int, const void*, std::size_t) override {
      errno = ENOSPC;
      return -1;
    }
  } disk;
  files::UseFileSystem(&disk);
  std::string problem;
  EXPECT_FALSE(SavePortSetting("COM2", "sim", problem));
  files::UseFileSystem(nullptr);
  EXPECT_THAT(problem, HasSubstr(std::strerror(ENOSPC)));
  EXPECT_EQ(Held(), text);
  ASSERT_TRUE(SavePortSetting("COM2", "sim", problem)) << problem;
  EXPECT_EQ(ReadPortSettings().devices,
            (std::map<std::string, std::string>{{"COM1", "sim:host=5"}, {"COM2", "sim"}}));
}

TEST_F(SettingsProblemsTest, BlanksAroundTheEnvironmentsDeviceAreDroppedAsInTheFile) {
  Write("[ports]\nCOM2=  sim:host=3  \n");
  setenv("TALVORA_COM1", "  sim  ", 1);
  setenv("TALVORA_COM3", "   ", 1);
  EXPECT_EQ(MapPort("COM1")->device, "sim");
  EXPECT_EQ(MapPort("COM2")->device, "sim:host=3");
  EXPECT_EQ(MapPort("COM3")->source, Source::Automatic);
}

}  // namespace
}  // namespace ports

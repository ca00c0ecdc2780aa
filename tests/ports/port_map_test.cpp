// What each COM name stands for: the environment, then the settings file, then the devices
// detected, then /dev/ttyS0 to /dev/ttyS3; and a malformed settings file.

#include "ports/port_map.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <map>
#include <memory>

#include "ports/port_settings.h"
#include "settings/settings_file.h"
#include "support/stub_detector.h"

namespace ports {
namespace {

using testing::ElementsAre;
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
    previous_ = UseDetector(detector_);
  }
  void TearDown() override { UseDetector(previous_); }

  void WriteSettings(const char* text) {
    QDir().mkpath(config_.path() + "/talvora");
    QFile file(settings::SettingsFilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
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
    if (row.settings != nullptr) WriteSettings(row.settings);
    detector_->detected = row.detected;
    EXPECT_EQ(Mapped(), row.expected);
    for (const auto& [variable, value] : row.environment)
      unsetenv(variable.c_str());
  }
}

TEST_F(PortMapTest, AMalformedFileIsReportedWithItsLineAndNeverRewritten) {
  const char* text = "[ports]\nCOM1=/dev/ttyUSB0\n\n; comment\nCOM5=/dev/ttyUSB1\n[other\n";
  WriteSettings(text);
  const PortSettings read = ReadPortSettings();
  EXPECT_TRUE(read.devices.empty());
  const std::string path = settings::SettingsFilePath().toStdString();
  EXPECT_THAT(read.problems, ElementsAre(path + ":5: 'COM5' is not a port name (COM1 to COM4)",
                                         path + ":6: not a section header: [other"));
  std::string problem;
  EXPECT_FALSE(SavePortSetting("COM1", "sim", problem));
  EXPECT_THAT(problem, HasSubstr(":5:"));
  QFile file(settings::SettingsFilePath());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll().toStdString(), text) << "a choice must not rewrite a broken file";
}

TEST_F(PortMapTest, EachMalformedLineIsReportedWithWhatIsWrong) {
  const std::pair<const char*, const char*> rows[] = {
      {"COM1=", "COM1 names no device"},
      {"COM2=\"\"", "COM2 names no device"},
      {"COM1 /dev/ttyUSB0", "not a setting (name=value): COM1 /dev/ttyUSB0"},
      {"COM0=sim", "'COM0' is not a port name (COM1 to COM4)"},
  };
  const std::string path = settings::SettingsFilePath().toStdString();
  for (const auto& [line, problem] : rows) {
    SCOPED_TRACE(line);
    WriteSettings((std::string("[ports]\n") + line + "\n").c_str());
    EXPECT_THAT(ReadPortSettings().problems, ElementsAre(path + ":2: " + problem));
  }
}

}  // namespace
}  // namespace ports

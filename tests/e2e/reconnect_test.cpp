// A device that goes away under the open main window and comes back: talvora-sim serves the
// port behind a symbolic link; one talvora-sim stops, another starts on the same link with a
// new pseudo-terminal, and the link comes back by itself.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

#include "platform/real_event_service.h"
#include "serial/traffic_log.h"
#include "sim_process.h"
#include "ui/cdemo.h"
#include "ui/design.h"
#include "ui/intro.h"
#include "ui/ui_test_support.h"

namespace {

// Reads register 0 on the Programming page; returns what the row shows.
std::string ReadRegisterZero(ui::CDemo& window) {
  const auto& page = window.Programming();
  if (!page.Check1[0]->isChecked()) uitest::Click(page.Check1[0]);
  uitest::Click(page.Command2);  // returns when the reading has ended
  return page.Text6[0]->text().toStdString();
}

TEST(Reconnect, AReadAfterTheDeviceCameBackIsAnswered) {
  platform::InstallEventService(std::make_unique<platform::RealEventService>());
  ui::RegisterFontSubstitutes();
  std::vector<int> ends;
  const ui::ProgramEnd previousEnd = ui::SetProgramEnd([&](int status) { ends.push_back(status); });
  // The device lost and back, as the traffic log records them.
  const QTemporaryDir folder;
  std::string error;
  ASSERT_TRUE(win32::traffic_log::Open((folder.path() + "/traffic.log").toStdString(), error));
  const auto logged = [&](const char* event) {
    QFile log(folder.path() + "/traffic.log");
    return log.open(QIODevice::ReadOnly) && log.readAll().count(event);
  };

  const QString link = folder.path() + "/radio";
  auto sim = std::make_unique<e2e::SimProcess>(QStringList{"--quiet", "--link", link, "host=7"});
  ASSERT_FALSE(sim->Path().isEmpty());
  setenv("TALVORA_COM1", link.toLocal8Bit().constData(), 1);

  ui::intro start;
  start.show();
  uitest::Click(start.Form().Option1[0]);
  const QPointer<QWidget> shown = uitest::RunModal(
      [&] { uitest::Click(start.Form().Command1); },
      [&](QWidget& shownWindow) {
        auto& window = static_cast<ui::CDemo&>(shownWindow);
        EXPECT_EQ(ReadRegisterZero(window), "7");

        sim.reset();  // the device goes away, and its link with it
        const double cpu = e2e::CpuSeconds();
        EXPECT_TRUE(e2e::WaitUntil([&] { return logged("device lost") == 1; }, 2000));
        e2e::WaitUntil([] { return false; }, 1500);
        EXPECT_LT(e2e::CpuSeconds() - cpu, 0.5) << "the program spins while the device is away";
        EXPECT_EQ(ReadRegisterZero(window), "NO") << "a read while away ends by its limit";

        sim = std::make_unique<e2e::SimProcess>(QStringList{"--quiet", "--link", link, "host=9"});
        ASSERT_TRUE(e2e::WaitUntil([&] { return logged("device back") == 1; }, 3000));
        EXPECT_EQ(logged("device lost"), 1);
        EXPECT_EQ(ReadRegisterZero(window), "9") << "the new device answers";
      },
      120000);
  EXPECT_NE(shown, nullptr);
  EXPECT_TRUE(ends.empty()) << "the program ended with an error";
  win32::traffic_log::Close();
  ui::SetProgramEnd(previousEnd);
}

}  // namespace

// The whole program in real time through a pseudo-terminal, with talvora-sim on the other
// side: the start-up window, a reading on the main window through the link and the tty back
// end while the device goes away and comes back, and talvora-cli.

#include <gmock/gmock.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "platform/real_event_service.h"
#include "serial/logs/traffic_log.h"
#include "sim_process.h"
#include "ui/cdemo.h"
#include "ui/intro.h"
#include "ui/kit/design.h"
#include "ui/ui_test_support.h"

namespace {

using uitest::Click;

constexpr int kScenarioPatienceMs = 60000;

class EndToEnd : public testing::Test {
 protected:
  void SetUp() override {
    platform::InstallEventService(std::make_unique<platform::RealEventService>());
    ui::RegisterFontSubstitutes();
    previousEnd_ = ui::SetProgramEnd([this](int status) { ends_.push_back(status); });
  }
  void TearDown() override { ui::SetProgramEnd(previousEnd_); }

  // Starts talvora-sim with `options`, maps COM1 to its terminal (or to the link it is given
  // with --link), picks COM1 in the start-up window and runs `scenario` in the main window,
  // which is then closed.
  void RunOnCom1(const QStringList& options, const std::function<void(ui::CDemo&)>& scenario) {
    StartSim(options);
    ASSERT_TRUE(sim_->Path().startsWith("/dev/pts/")) << sim_->Path().toStdString();
    const auto link = options.indexOf("--link");
    setenv("TALVORA_COM1", (link < 0 ? sim_->Path() : options[link + 1]).toLocal8Bit(), 1);
    ui::intro start;
    start.show();
    Click(start.Form().Option1[0]);
    const QPointer<QWidget> shown = uitest::RunModal(
        [&] { Click(start.Form().Command1); },
        [&](QWidget& window) { scenario(static_cast<ui::CDemo&>(window)); }, kScenarioPatienceMs);
    EXPECT_NE(shown, nullptr) << "the main window did not open";
    EXPECT_FALSE(start.MainWindowOpen());
    EXPECT_EQ(functions::serial, nullptr) << "closing the main window closed the port";
    EXPECT_TRUE(ends_.empty()) << "the program ended with an error";
  }

  e2e::SimProcess& Sim() { return *sim_; }
  void StartSim(const QStringList& options) { sim_ = std::make_unique<e2e::SimProcess>(options); }
  void StopSim() { sim_.reset(); }

 private:
  std::unique_ptr<e2e::SimProcess> sim_;
  std::vector<int> ends_;
  ui::ProgramEnd previousEnd_;
};

// talvora-cli as a script runs it: programs a register of the module behind talvora-sim and
// reads it back; then listens while the device goes away for good: the loss is said and the
// status is 1, not 0. The listening port is a link that goes with the device: the
// pseudo-terminal's own number may soon serve another.
TEST(CommandLineEndToEnd, ProgramsAndReadsBackThenListenSaysTheDeviceWasLostAndExits1) {
  const QTemporaryDir folder;
  const QString link = folder.path() + "/radio";
  e2e::SimProcess sim({"--quiet", "--link", link, "host=0"});
  ASSERT_TRUE(sim.Path().startsWith("/dev/pts/"));
  const auto run = [&](const QStringList& arguments) {
    QProcess cli;
    cli.start(TALVORA_CLI_EXECUTABLE, QStringList{"--port", sim.Path()} + arguments);
    EXPECT_TRUE(cli.waitForFinished(30000));
    return std::make_pair(cli.exitCode(), QString::fromLocal8Bit(cli.readAllStandardOutput()));
  };
  EXPECT_EQ(run({"write", "5=77"}), std::make_pair(0, QString("05 77 ok\n")));
  EXPECT_EQ(run({"read", "5"}), std::make_pair(0, QString("05 77\n")));

  QProcess listen;
  listen.start(TALVORA_CLI_EXECUTABLE, {"--port", link, "listen", "--seconds", "8"});
  // The first line says that Initialization was answered: listening has begun.
  ASSERT_TRUE(e2e::WaitUntil([&] { return listen.canReadLine(); }, 20000));
  sim.Stop();
  EXPECT_TRUE(listen.waitForFinished(30000));
  EXPECT_EQ(listen.exitCode(), 1);
  EXPECT_THAT(listen.readAllStandardError().toStdString(),
              testing::HasSubstr("the device was lost at"));
}

// Reads register 0 on the Programming page; returns what the row shows.
std::string ReadRegisterZero(ui::CDemo& window) {
  const auto& page = window.Programming();
  if (!page.Check1[0]->isChecked()) Click(page.Check1[0]);
  Click(page.Command2);  // returns when the reading has ended
  return page.Text6[0]->text().toStdString();
}

// The device goes away under the open main window and comes back: talvora-sim serves the port
// behind a symbolic link; it stops, another starts on the same link with a new terminal, and
// the port comes back by itself. The traffic log records the device lost and back.
TEST_F(EndToEnd, AReadAfterTheDeviceCameBackIsAnswered) {
  const QTemporaryDir folder;
  std::string error;
  ASSERT_TRUE(serial::traffic_log::Open((folder.path() + "/traffic.log").toStdString(), error));
  const auto logged = [&](const char* event) {
    QFile log(folder.path() + "/traffic.log");
    return log.open(QIODevice::ReadOnly) && log.readAll().count(event);
  };
  const QString link = folder.path() + "/radio";
  RunOnCom1({"--quiet", "--link", link, "trace", "host=7"}, [&](ui::CDemo& window) {
    EXPECT_EQ(ReadRegisterZero(window), "7");
    EXPECT_EQ(Sim().Log(), QStringList()) << "--quiet keeps talvora-sim quiet, even with trace";

    StopSim();  // the device goes away, and its link with it
    const double cpu = e2e::CpuSeconds();
    EXPECT_TRUE(e2e::WaitUntil([&] { return logged("device lost") == 1; }, 20000));
    e2e::WaitUntil([] { return false; }, 1500);
    EXPECT_LT(e2e::CpuSeconds() - cpu, 0.5) << "the program spins while the device is away";
    EXPECT_EQ(ReadRegisterZero(window), "NO") << "a read while away ends by its limit";

    StartSim({"--quiet", "--link", link, "host=9"});
    ASSERT_TRUE(e2e::WaitUntil([&] { return logged("device back") == 1; }, 20000));
    EXPECT_EQ(logged("device lost"), 1);
    EXPECT_EQ(ReadRegisterZero(window), "9") << "the new device answers";
  });
  serial::traffic_log::Close();
}

}  // namespace

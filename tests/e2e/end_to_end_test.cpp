// The whole program in real time through a pseudo-terminal, with talvora-sim on the other
// side: the start-up window, the main window and its pages, the link and the tty back end, and
// a device that goes away and comes back.
// Each scenario checks what reached the simulated system (its frame log) and what the window
// shows.

#include <gmock/gmock.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "operations/register_table.h"
#include "platform/real_event_service.h"
#include "serial/traffic_log.h"
#include "sim_process.h"
#include "ui/cdemo.h"
#include "ui/design.h"
#include "ui/intro.h"
#include "ui/ui_test_support.h"

namespace {

using testing::Contains;
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
  // which is then closed. With `openings` above one, the main window is closed and opened
  // again on the same port.
  void RunOnCom1(const QStringList& options, const std::function<void(ui::CDemo&)>& scenario,
                 int openings = 1) {
    StartSim(options);
    ASSERT_TRUE(sim_->Path().startsWith("/dev/pts/")) << sim_->Path().toStdString();
    const auto link = options.indexOf("--link");
    setenv("TALVORA_COM1", (link < 0 ? sim_->Path() : options[link + 1]).toLocal8Bit(), 1);
    ui::intro start;
    start.show();
    Click(start.Form().Option1[0]);
    for (int opening = 0; opening < openings; ++opening) {
      const QPointer<QWidget> shown = uitest::RunModal(
          [&] { Click(start.Form().Command1); },
          [&](QWidget& window) { scenario(static_cast<ui::CDemo&>(window)); }, kScenarioPatienceMs);
      EXPECT_NE(shown, nullptr) << "the main window did not open";
    }
    EXPECT_EQ(start.PortName(), "COM1");
    EXPECT_FALSE(start.MainWindowOpen());
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

TEST_F(EndToEnd, PicksThePortAndOpensTheMainWindowOnItAgainAndAgain) {
  RunOnCom1(
      {"--quiet", "host=7"},
      [](ui::CDemo& window) {
        EXPECT_EQ(window.windowTitle(), "TALVORA");
        EXPECT_EQ(window.SSTab1()->currentIndex(), 0);
        ASSERT_NE(functions::serial, nullptr);
        EXPECT_EQ(functions::serial->devicename(), "COM1");
        EXPECT_EQ(window.Programming().Text6[0]->text(), "255");
        // The module answers on every opening of the terminal.
        Click(window.Programming().Check1[0]);
        Click(window.Programming().Command2);
        EXPECT_EQ(window.Programming().Text6[0]->text(), "7");
      },
      2);
  EXPECT_EQ(functions::serial, nullptr) << "closing the main window closed the port";
}

TEST_F(EndToEnd, ReadsRegistersAndProgramsOneWithItsReadBack) {
  RunOnCom1({"host=0"}, [this](ui::CDemo& window) {
    const auto& page = window.Programming();
    for (int row = 0; row < 4; ++row)
      Click(page.Check1[row]);
    Click(page.Command2);  // returns when the run has ended
    EXPECT_EQ(page.Text7->toPlainText(), "OK, EEPROM CORRECTLY READ");
    // The host's factory settings: address 0, 8 preamble bytes, synchro 0x16, no parity.
    EXPECT_EQ(page.Text6[0]->text(), "0");
    EXPECT_EQ(page.Text6[1]->text(), "8");
    EXPECT_EQ(page.Text6[2]->text(), "22");
    EXPECT_EQ(page.Text6[3]->text(), "0");
    EXPECT_EQ(window.RegisterTable().ValueColour(2), uitest::kDarkBlue);
    const QStringList read = Sim().Frames("program->host");
    EXPECT_THAT(read, Contains("24 00"));
    EXPECT_THAT(read, Contains("24 03"));

    for (int row : {0, 2, 3})
      Click(page.Check1[row]);
    page.Text6[1]->setText("12");
    Click(page.Command4);
    EXPECT_EQ(page.Text7->toPlainText(), "OK, EEPROM PROGRAMMED");
    EXPECT_EQ(page.Text6[1]->text(), "12");
    EXPECT_EQ(window.RegisterTable().ValueColour(1), uitest::kGreen);
    const QStringList sent = Sim().Frames("program->host");
    const auto write = sent.indexOf("23 01 0C");
    ASSERT_GE(write, 0) << sent.join(" | ").toStdString();
    EXPECT_EQ(sent.lastIndexOf("24 01"), sent.size() - 1) << "the read-back comes last";
    EXPECT_THAT(Sim().Frames("host->program"), Contains("0C"));
  });
}

TEST_F(EndToEnd, RunsTheLinkTestForAFewSecondsAndStopsIt) {
  RunOnCom1({"host=0"}, [this](ui::CDemo& window) {
    const auto& page = window.RadioTesting();
    window.SSTab1()->setCurrentIndex(1);
    Click(page.Command3);
    EXPECT_FALSE(window.SSTab1()->isTabEnabled(0));
    EXPECT_TRUE(e2e::WaitUntil([&] { return page.Label3->text() == "5"; }, 10000));
    EXPECT_EQ(page.Label2->text(), "OK, Connection");
    EXPECT_TRUE(page.Picture1[1]->isVisible());
    e2e::WaitUntil([] { return false; }, 2500);
    Click(page.Command1);
    const int sent = page.Label4->text().toInt();
    EXPECT_GE(sent, 3);
    // The packet of a send tick right before TEST OFF may still be on its way back.
    EXPECT_GE(page.Label5->text().toInt(), sent - 1) << "every packet was answered";
    EXPECT_TRUE(page.Label6->text().startsWith(" 0 min ")) << page.Label6->text().toStdString();
    EXPECT_TRUE(window.SSTab1()->isTabEnabled(0));
    EXPECT_TRUE(
        e2e::WaitUntil([&] { return Sim().Frames("program->host").count("24 00") >= sent; }, 2000));
  });
}

TEST_F(EndToEnd, TalksToARemoteModuleAsMaster) {
  RunOnCom1({"host=0", "remotes=5"}, [this](ui::CDemo& window) {
    const auto& page = window.Terminal();
    window.SSTab1()->setCurrentIndex(2);
    Click(page.Command7);
    EXPECT_EQ(page.Label15->text(), "Master-Slave Connection");
    page.Text1->setPlainText("hello");
    page.Text2->setText("5");
    Click(page.Command5);
    EXPECT_TRUE(e2e::WaitUntil([&] { return page.TermText->toPlainText() == "hello"; }, 5000))
        << page.TermText->toPlainText().toStdString();
    EXPECT_EQ(page.Text3->text(), "5");
    EXPECT_THAT(Sim().Frames("program->host"), Contains("05 68 65 6C 6C 6F"));
    EXPECT_THAT(Sim().Frames("air->remote 5"), Contains("05 68 65 6C 6C 6F"));
    Click(page.Command6);
  });
}

// talvora-cli as a script runs it: programs a register of the module behind talvora-sim, then
// reads it back.
TEST(CommandLineEndToEnd, ProgramsARegisterAndReadsItBack) {
  e2e::SimProcess sim({"--quiet", "host=0"});
  ASSERT_TRUE(sim.Path().startsWith("/dev/pts/"));
  const auto run = [&](const QStringList& arguments) {
    QProcess cli;
    cli.start(TALVORA_CLI_EXECUTABLE, QStringList{"--port", sim.Path()} + arguments);
    EXPECT_TRUE(cli.waitForFinished(30000));
    return std::make_pair(cli.exitCode(), QString::fromLocal8Bit(cli.readAllStandardOutput()));
  };
  EXPECT_EQ(run({"write", "5=77"}), std::make_pair(0, QString("05 77 ok\n")));
  EXPECT_EQ(run({"read", "5"}), std::make_pair(0, QString("05 77\n")));
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
  ASSERT_TRUE(win32::traffic_log::Open((folder.path() + "/traffic.log").toStdString(), error));
  const auto logged = [&](const char* event) {
    QFile log(folder.path() + "/traffic.log");
    return log.open(QIODevice::ReadOnly) && log.readAll().count(event);
  };
  const QString link = folder.path() + "/radio";
  RunOnCom1({"--quiet", "--link", link, "host=7"}, [&](ui::CDemo& window) {
    EXPECT_EQ(ReadRegisterZero(window), "7");

    StopSim();  // the device goes away, and its link with it
    const double cpu = e2e::CpuSeconds();
    EXPECT_TRUE(e2e::WaitUntil([&] { return logged("device lost") == 1; }, 2000));
    e2e::WaitUntil([] { return false; }, 1500);
    EXPECT_LT(e2e::CpuSeconds() - cpu, 0.5) << "the program spins while the device is away";
    EXPECT_EQ(ReadRegisterZero(window), "NO") << "a read while away ends by its limit";

    StartSim({"--quiet", "--link", link, "host=9"});
    ASSERT_TRUE(e2e::WaitUntil([&] { return logged("device back") == 1; }, 3000));
    EXPECT_EQ(logged("device lost"), 1);
    EXPECT_EQ(ReadRegisterZero(window), "9") << "the new device answers";
  });
  win32::traffic_log::Close();
}

}  // namespace

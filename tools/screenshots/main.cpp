// talvora-screenshots: saves a picture of each page of the main window as an operator sees it
// after real work on the simulated radio system, of each help window and of the start-up
// window. Runs on the offscreen platform in virtual time, so it takes a second.
// Usage: talvora-screenshots [folder]   (default: the current folder)

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "link/functions.h"
#include "platform/virtual_event_service.h"
#include "sim/simulated_system.h"
#include "ui/cdemo.h"
#include "ui/help_windows.h"
#include "ui/intro.h"
#include "ui/kit/design.h"

namespace {

QDir folder;

void Save(QWidget& window, const char* name) {
  const QString path = folder.filePath(QString::fromLatin1(name) + ".png");
  if (!window.grab().save(path, "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    std::exit(1);
  }
  std::printf("%s\n", qPrintable(path));
}

// Opens a help window modally; the picture is taken once it shows, then it is closed.
void SaveHelp(ui::CDemo& window, operations::HelpTopic topic, const char* name) {
  QTimer::singleShot(0, [name] {
    QWidget* help = QApplication::activeModalWidget();
    if (help == nullptr) return;
    Save(*help, name);
    help->close();
  });
  window.Help().Open(topic);
}

void Programming(ui::CDemo& window, platform::VirtualEventService& clock) {
  const auto& page = window.Programming();
  for (int row : {0, 1, 2, 3, 31}) page.Check1[row]->setChecked(true);
  page.Command2->click();  // reads in virtual time
  clock.RunFor(100'000);
  window.SSTab1()->setCurrentIndex(0);
  Save(window, "programming");
}

void RadioTesting(ui::CDemo& window, platform::VirtualEventService& clock) {
  const auto& page = window.RadioTesting();
  window.SSTab1()->setCurrentIndex(1);
  page.Command3->click();
  clock.RunFor(8'200'000);
  Save(window, "radio_testing");
  page.Command1->click();
  Save(window, "radio_testing_stopped");
}

void Terminal(ui::CDemo& window, platform::VirtualEventService& clock) {
  const auto& page = window.Terminal();
  window.SSTab1()->setCurrentIndex(2);
  page.Command7->click();
  page.Text1->setPlainText("Hello, remote 5");
  page.Text2->setText("5");
  page.Command5->click();
  clock.RunFor(1'000'000);
  Save(window, "terminal");
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  folder = QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
  folder.mkpath(".");
  ui::RegisterFontSubstitutes();
  sim::RegisterSimulatedSystem();
  auto& clock = platform::UseVirtualTime();
  setenv("TALVORA_COM1", "sim:host=0,remotes=5", 1);

  ui::intro start;
  start.show();
  Save(start, "intro");

  ui::CDemo window([] { return std::string("COM1"); });
  window.Form_Load();
  window.show();
  Programming(window, clock);
  RadioTesting(window, clock);
  Terminal(window, clock);
  SaveHelp(window, operations::HelpTopic::RemoteAddress, "addr");
  SaveHelp(window, operations::HelpTopic::Delay, "delay");
  SaveHelp(window, operations::HelpTopic::Rs232, "rs232");
  window.close();
  functions::CloseSerial();
  return 0;
}

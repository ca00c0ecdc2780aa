#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "operations/main_window_services.h"
#include "operations/session_state.h"
#include "platform/windows.h"
#include "ui/pages/page_controls.h"

class QTabWidget;

namespace operations {
class PageModel;
class RegisterTable;
}  // namespace operations

namespace ui {

class HelpWindows;

// The main window: one tab control with the pages "&Programming", "&Radio Testing" and
// "&Terminal". Loading it puts the controls into their idle states, fills the register table
// and opens the chosen port; closing it unloads it and closes the port. Its controls are made
// afresh at every load after the first, so each opening starts from the design.
class CDemo final : public QWidget, public operations::MainWindowServices {
  Q_OBJECT

 public:
  // Where the load step takes the name of the port to open.
  using PortNameSource = std::function<std::string()>;

  explicit CDemo(PortNameSource portName, QWidget* parent = nullptr);
  ~CDemo() override;

  // Loads the window and shows it modally, centred on the screen; returns once it has closed.
  void ShowModal();
  // The load step. Raises the serial-port object's error when the port cannot be opened.
  void Form_Load();
  bool Loaded() const { return loaded_; }

  // The window's Close command; a close request is refused while it is withheld.
  void DisableClose() override;
  void EnableClose() override;
  void SetPageEnabled(int page, bool enabled) override;
  void WaitBegins() override;
  void WaitEnds() override;
  operations::Rgb WindowTextColour() const override;
  // Whether an operation runs: one withholds Close, waits, or keeps the register table's page.
  bool OperationRunning() const;

  platform::HWND hWnd() const { return hwnd_; }
  QTabWidget* SSTab1() const;
  const ProgrammingControls& Programming() const;
  const RadioTestingControls& RadioTesting() const;
  const TerminalControls& Terminal() const;
  operations::RegisterTable& RegisterTable();
  operations::SessionState& Session();
  // The pages' model: their operations and what they report.
  operations::PageModel& Model();
  HelpWindows& Help() { return *help_; }

 signals:
  void Unloaded();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  struct Controls;

  void BuildControls();
  void DropControls();
  void Form_Unload();
  // Shows the Close command as available only when no operation withholds it and no wait runs.
  void ShowCloseCommand();

  PortNameSource portName_;
  platform::HWND hwnd_ = 0;
  std::unique_ptr<HelpWindows> help_;
  std::unique_ptr<Controls> controls_;
  bool loaded_ = false;
  bool loadedBefore_ = false;
  bool closeWithheld_ = false;
  int runningWaits_ = 0;
};

}  // namespace ui

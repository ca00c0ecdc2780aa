#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <string>

#include "ui/cdemo.h"

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace ui {

class PortChoice;

// The start-up window: the operator picks the serial port, COM1 to COM4, and "OK" opens the
// main window modally on it. It stays open behind the main window and cannot be closed while
// the main window is open; closing it ends the program.
class intro final : public QWidget {
 public:
  struct Controls {
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 4> Option1{};  // "COM1" to "COM4"
    QPushButton* Command1 = nullptr;         // "OK"
  };

  explicit intro(QWidget* parent = nullptr);
  ~intro() override;

  // The device name the main window opens; empty until the first "OK" with a port selected.
  const std::string& PortName() const { return portName_; }
  void PortName(const std::string& vNewValue) { portName_ = vNewValue; }

  // "OK": records the choice and shows the main window; returns once it has been closed.
  void Command1_Click();

  const Controls& Form() const { return controls_; }
  // The main window, made at the first "OK".
  CDemo* MainWindow() const { return main_; }
  bool MainWindowOpen() const { return mainOpen_; }
  // The tooltips and context menus of the port options.
  PortChoice* Ports() const { return ports_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  Controls controls_;
  std::string portName_;
  QPointer<CDemo> main_;
  PortChoice* ports_ = nullptr;
  bool mainOpen_ = false;
};

}  // namespace ui

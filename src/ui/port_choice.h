#pragma once

#include <QObject>
#include <array>
#include <string>

class QEvent;
class QMenu;
class QRadioButton;
class QWidget;

namespace ports {
class PortWatcher;
}

namespace ui {

// What the start-up window's port options say and offer beyond their design. Each option's
// tooltip names the device it opens, what that is and where the mapping came from, and follows
// devices as they come and go. A right-click opens a menu of the detected devices, the
// simulated radio system, another device and the automatic choice; the choice is saved in the
// settings file and takes effect at the next "OK". The menu never selects the option. The
// tooltips fill in once the window has been painted, so that detection never delays it.
class PortChoice final : public QObject {
 public:
  static constexpr int kPortCount = 4;

  PortChoice(const std::array<QRadioButton*, kPortCount>& options, QObject* parent);

  void RefreshTooltips();
  bool eventFilter(QObject* watched, QEvent* event) override;
  // The context menu of option `index` as it opens now; `parent` owns it.
  QMenu* MenuFor(int index, QWidget* parent);

 private:
  void ShowMenu(int index, const QPoint& at);
  // Asks for a device path, starting from the current mapping `current`.
  void AskForDevice(int index, const std::string& current);
  void Choose(int index, const std::string& device);

  std::array<QRadioButton*, kPortCount> options_;
  ports::PortWatcher* watcher_;
};

}  // namespace ui

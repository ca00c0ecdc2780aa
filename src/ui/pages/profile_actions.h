#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QGroupBox;
class QPoint;
class QWidget;

namespace operations {
class RegisterTable;
}

namespace ui {

// "Save Values…" and "Load Values…" of the register table: a right-click on the "EEPROM Values"
// frame (or Shift+F10 and the Menu key anywhere in it), or Ctrl+S and Ctrl+O on the main window,
// while no operation runs. A standard file dialog picks the profile, starting in the folder last
// used (kept in the settings file) or else the documents folder.
class ProfileActions : public QObject {
 public:
  // `idle` says whether no operation runs; `plainColour` is the window's text colour.
  ProfileActions(QWidget* window, QGroupBox* frame, operations::RegisterTable& table,
                 std::function<bool()> idle, std::function<unsigned()> plainColour);

  void Save();
  void Load();

 private:
  void ShowMenu(QWidget* frame, const QPoint& at);
  // The file the operator picks, or nothing.
  QString ChooseFile(bool saving);
  void RememberFolder(const QString& folder, bool saving);
  void Tell(const QString& caption, const QString& message);

  QWidget* window_;
  operations::RegisterTable& table_;
  std::function<bool()> idle_;
  std::function<unsigned()> plainColour_;
};

}  // namespace ui

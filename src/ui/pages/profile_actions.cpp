#include "ui/pages/profile_actions.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QMenu>
#include <QMessageBox>
#include <QShortcut>
#include <QStandardPaths>
#include <tuple>

#include "operations/register_table.h"
#include "ports/port_settings.h"
#include "settings/settings_file.h"
#include "ui/fatal_error.h"

namespace ui {
namespace {

constexpr const char* kFolderKey = "profiles/lastFolder";
constexpr const char* kFilter = "Register profiles (*.json);;All files (*)";
constexpr const char* kSaveCaption = "Save Values";
constexpr const char* kLoadCaption = "Load Values";
constexpr const char* kSuggestedName = "registers.json";

// The selected rows that were not saved, each with why.
QString LeftOutText(const std::vector<operations::RegisterTable::LeftOut>& leftOut) {
  if (leftOut.empty()) return {};
  QString text = "\n\nNot saved:";
  for (const auto& row : leftOut) {
    text += QString("\n%1 %2: %3")
                .arg(operations::RegisterTable::SelectorCaption(row.n),
                     operations::RegisterTable::RegisterName(row.n), row.reason);
  }
  return text;
}

}  // namespace

ProfileActions::ProfileActions(QWidget* window, QGroupBox* frame, operations::RegisterTable& table,
                               std::function<bool()> idle, std::function<unsigned()> plainColour)
    : QObject(window),
      window_(window),
      table_(table),
      idle_(std::move(idle)),
      plainColour_(std::move(plainColour)) {
  frame->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(frame, &QWidget::customContextMenuRequested, this,
          [this, frame](const QPoint& at) { ShowMenu(frame, frame->mapToGlobal(at)); });
  // From the keyboard, wherever the focus is in the register table: beside the focused control.
  for (const QKeySequence& keys :
       {QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)}) {
    auto* shortcut = new QShortcut(keys, frame, this, [this, frame] {
      const QWidget* focus = frame->focusWidget() != nullptr ? frame->focusWidget() : frame;
      ShowMenu(frame, focus->mapToGlobal(QPoint(0, focus->height())));
    });
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
  }
  for (const auto& [keys, action] : {std::pair{QKeySequence::Save, &ProfileActions::Save},
                                     {QKeySequence::Open, &ProfileActions::Load}}) {
    auto* shortcut = new QShortcut(keys, window, this, [this, action = action] {
      if (idle_()) Guarded([this, action] { (this->*action)(); });
    });
    shortcut->setContext(Qt::WindowShortcut);
  }
}

void ProfileActions::ShowMenu(QWidget* frame, const QPoint& at) {
  QMenu menu(frame);
  menu.setObjectName("ProfileMenu");
  for (const auto& [text, keys, action] :
       {std::tuple{"&Save Values…", QKeySequence(QKeySequence::Save), &ProfileActions::Save},
        {"&Load Values…", QKeySequence(QKeySequence::Open), &ProfileActions::Load}}) {
    QAction* item = menu.addAction(
        text, this, [this, action = action] { Guarded([this, action] { (this->*action)(); }); });
    // Shown only: the window's own shortcuts do the work.
    item->setShortcut(keys);
    item->setShortcutVisibleInContextMenu(true);
    item->setEnabled(idle_());
  }
  menu.exec(at);
}

void ProfileActions::Save() {
  std::vector<operations::RegisterTable::LeftOut> leftOut;
  const operations::RegisterProfile profile = table_.SelectedValues(&leftOut);
  if (profile.empty()) {
    Tell(kSaveCaption,
         "Select the registers to save: rows whose boxes hold a value from 0 to 255." +
             LeftOutText(leftOut));
    return;
  }
  const QString path = ChooseFile(true);
  if (path.isEmpty()) return;
  QString error;
  if (!operations::SaveProfile(path, profile, error)) {
    Tell(kSaveCaption, error);
  } else if (!leftOut.empty()) {
    Tell(kSaveCaption,
         QString("Saved %1 registers to %2.").arg(profile.size()).arg(path) + LeftOutText(leftOut));
  }
}

void ProfileActions::Load() {
  const QString path = ChooseFile(false);
  if (path.isEmpty()) return;
  QString error;
  const auto profile = operations::LoadProfile(path, error);
  if (!profile) {
    Tell(kLoadCaption, error);  // nothing in the table has changed
    return;
  }
  table_.ShowValues(*profile, plainColour_());
}

QString ProfileActions::ChooseFile(bool saving) {
  auto settings = settings::OpenSettingsFile();
  // The folder last used, else the documents folder: never the folder the program started in.
  QString folder = settings->value(kFolderKey).toString();
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
    folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(folder).isDir()) folder = QDir::homePath();
  }
  QFileDialog dialog(window_, saving ? kSaveCaption : kLoadCaption, folder, kFilter);
  dialog.setObjectName("ProfileDialog");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setDefaultSuffix("json");
  if (saving) dialog.selectFile(kSuggestedName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  QString path = dialog.selectedFiles().front();
  const QString chosen = QFileInfo(path).absolutePath();
  if (chosen != settings->value(kFolderKey).toString()) RememberFolder(chosen, saving);
  return path;
}

// The folder goes into the settings file only when the file is well formed: rewriting a
// malformed one would lose what its author wrote.
void ProfileActions::RememberFolder(const QString& folder, bool saving) {
  std::string problem;
  const ports::PortSettings current = ports::ReadPortSettings();
  if (!current.problems.empty()) {
    problem = current.problems.front();
  } else {
    settings::ChangeSettingsFile([&](QSettings& file) { file.setValue(kFolderKey, folder); },
                                 problem);
  }
  if (!problem.empty()) {
    Tell(saving ? kSaveCaption : kLoadCaption,
         "The folder is not remembered for next time: " + QString::fromStdString(problem));
  }
}

void ProfileActions::Tell(const QString& caption, const QString& message) {
  QMessageBox box(QMessageBox::Warning, caption, message, QMessageBox::Ok, window_);
  box.setObjectName("ProfileMessage");
  box.exec();
}

}  // namespace ui

// Register profiles in the main window, and the same files read by talvora-cli.

#include <gmock/gmock.h>

#include <QFileDialog>
#include <QGroupBox>
#include <QMenu>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include "commands.h"
#include "operations/register_profile.h"
#include "operations/register_table.h"
#include "radio_window.h"
#include "settings/settings_file.h"

namespace {

using operations::RegisterProfile;

// Closes every message box of the profile actions that opens while it lives, keeping its text.
class MessageCatcher {
 public:
  MessageCatcher() {
    poll_.callOnTimeout([this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || box->objectName() != "ProfileMessage" || !box->isVisible()) return;
      texts << box->text();
      box->close();
    });
    poll_.start(1);
  }
  QStringList texts;

 private:
  QTimer poll_;
};

class ProfilePage : public uitest::EepromPageTest {
 protected:
  void SetUp() override {
    EepromPageTest::SetUp();
    ASSERT_TRUE(folder_.isValid());
  }
  QString File(const char* name) const { return folder_.filePath(name); }

  // Presses a shortcut of the main window; the file dialog it opens picks `path`. Returns
  // whether the dialog opened.
  bool Shortcut(QKeySequence::StandardKey key, const QString& path) {
    bool opened = false;
    uitest::RunModal([&] { Press(key); },
                     [&](QWidget& dialog) {
                       opened = true;
                       Pick(dialog, path);
                     });
    return opened;
  }
  void Press(QKeySequence::StandardKey key) {
    Activate();
    QTest::keySequence(&Window(), QKeySequence(key));
  }
  static void Pick(QWidget& dialog, const QString& path) {
    auto* files = qobject_cast<QFileDialog*>(&dialog);
    ASSERT_NE(files, nullptr) << dialog.metaObject()->className();
    files->selectFile(path);
    static_cast<QDialog*>(files)->accept();
  }
  RegisterProfile Saved(const QString& path) {
    QString error;
    return operations::LoadProfile(path, error).value_or(RegisterProfile{{-1, -1}});
  }

 private:
  QTemporaryDir folder_;
};

TEST_F(ProfilePage, TheFrameMenuSavesTheSelectedValuesAndRemembersTheFolder) {
  Load("host=0");
  Select({0, 1, 2, 31});
  uitest::Click(Reading());
  Page().Text6[1]->setText("12");
  Page().Text6[2]->setText("300");  // no value a register can hold: not saved
  MessageCatcher messages;
  uitest::ContextMenu menu;
  uitest::RunModal(
      [&] {
        menu = uitest::ChooseFromContextMenu(Page().Frame2, "&Save Values…", {40, 40});
      },
      [&](QWidget& dialog) { Pick(dialog, File("saved.json")); });
  EXPECT_EQ(menu.entries, (QStringList{"&Save Values…", "&Load Values…"}));

  EXPECT_EQ(Saved(File("saved.json")), (RegisterProfile{{0, 0}, {1, 12}, {31, 18}}));
  EXPECT_EQ(messages.texts.size(), 1);
  EXPECT_TRUE(messages.texts.value(0).endsWith(
      "Not saved:\n02 Synchro Character: \"300\" is not a value from 0 to 255"))
      << messages.texts.value(0).toStdString();
  EXPECT_EQ(settings::OpenSettingsFile()->value("profiles/lastFolder").toString(),
            QFileInfo(File("saved.json")).absolutePath());
}

// From the keyboard the menu opens wherever the focus is in the register table, and shows the
// shortcuts; the dialog starts in the documents folder the first time and suggests a name.
TEST_F(ProfilePage, TheKeyboardOpensTheMenuAnywhereInTheTableAndTheDialogStartsInDocuments) {
  Load("host=0");
  const struct {
    const char* name;
    QWidget* focus;
    QKeySequence keys;
  } rows[] = {{"value box, Shift+F10", Page().Text6[5], QKeySequence(Qt::SHIFT | Qt::Key_F10)},
              {"value box, Menu key", Page().Text6[20], QKeySequence(Qt::Key_Menu)},
              {"check box, Shift+F10", Page().Check1[3], QKeySequence(Qt::SHIFT | Qt::Key_F10)}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Activate();
    row.focus->setFocus();
    QStringList shown;
    QTimer::singleShot(0, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (menu == nullptr) return;
      for (const QAction* action : menu->actions()) {
        shown << action->text() + "\t" + action->shortcut().toString() +
                     (action->isShortcutVisibleInContextMenu() ? "" : " (hidden)");
      }
      menu->close();
    });
    QTest::keySequence(row.focus, row.keys);
    EXPECT_EQ(shown, (QStringList{"&Save Values…\tCtrl+S", "&Load Values…\tCtrl+O"}));
  }

  Select({0});
  Page().Text6[0]->setText("5");
  QString folder;
  QString suggested;
  uitest::RunModal([&] { Press(QKeySequence::Save); },
                   [&](QWidget& dialog) {
                     auto* files = qobject_cast<QFileDialog*>(&dialog);
                     ASSERT_NE(files, nullptr);
                     folder = files->directory().absolutePath();
                     suggested = QFileInfo(files->selectedFiles().value(0)).fileName();
                     files->reject();
                   });
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  EXPECT_EQ(folder, QFileInfo(documents).isDir() ? documents : QDir::homePath());
  EXPECT_NE(folder, QDir::currentPath());
  EXPECT_EQ(suggested, "registers.json");
}

// A row that never answered shows "NO", which must never be saved as 0: a module loaded from
// such a file would become a master.
TEST_F(ProfilePage, RowsThatNeverAnsweredAreNotSavedAndTheWindowSaysWhy) {
  Load("silent");
  Select({0, 1});
  uitest::Click(Reading());
  ASSERT_EQ(Value(0), "NO");
  QString said;
  uitest::RunModal([&] { Press(QKeySequence::Save); },
                   [&](QWidget& opened) {
                     auto* message = qobject_cast<QMessageBox*>(&opened);
                     ASSERT_NE(message, nullptr) << "no file dialog: there is nothing to save";
                     said = message->text();
                   });
  EXPECT_TRUE(
      said.endsWith("Not saved:\n00 Module Address: it never answered\n"
                    "01 Synchro Prehamble Delay: it never answered"))
      << said.toStdString();
}

TEST_F(ProfilePage, OnlyBoxesHoldingAValueAreSavedTheSecondRequestsMarkerIncluded) {
  Load("host=0");
  Select({0, 1, 2, 3, 31});
  const char* texts[] = {"0", "NO", "", ". 7", "abc"};
  const int rows[] = {0, 1, 2, 3, 31};
  for (int i = 0; i < 5; ++i)
    Page().Text6[rows[i]]->setText(texts[i]);
  MessageCatcher messages;
  EXPECT_TRUE(Shortcut(QKeySequence::Save, File("mixed.json")));
  EXPECT_EQ(Saved(File("mixed.json")), (RegisterProfile{{0, 0}, {3, 7}}));
  ASSERT_EQ(messages.texts.size(), 1);
  EXPECT_THAT(messages.texts[0].toStdString(),
              testing::EndsWith("01 Synchro Prehamble Delay: it never answered\n"
                                "02 " +
                                operations::RegisterTable::RegisterName(2).toStdString() +
                                ": its box is empty\n1f " +
                                operations::RegisterTable::RegisterName(31).toStdString() +
                                ": \"abc\" is not a value from 0 to 255"));
}

// The folder is remembered in the settings file only when that file is well formed; the
// window says so, and the profile is saved all the same.
TEST_F(ProfilePage, AMalformedSettingsFileIsNotRewrittenToRememberTheFolder) {
  const QByteArray malformed = "; the bench\n[ports]\nCOM1 = \"sim\"\nCOM9=/dev/ttyUSB0\n";
  QDir().mkpath(QFileInfo(settings::SettingsFilePath()).absolutePath());
  {
    QFile file(settings::SettingsFilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(malformed);
  }
  Load("host=0");
  Select({0});
  Page().Text6[0]->setText("5");
  MessageCatcher messages;
  EXPECT_TRUE(Shortcut(QKeySequence::Save, File("kept.json")));
  EXPECT_EQ(Saved(File("kept.json")), (RegisterProfile{{0, 5}}));
  ASSERT_EQ(messages.texts.size(), 1);
  EXPECT_THAT(messages.texts[0].toStdString(),
              testing::HasSubstr("The folder is not remembered for next time: "));
  EXPECT_THAT(messages.texts[0].toStdString(), testing::HasSubstr(":4: 'COM9' is not a port name"));
  QFile file(settings::SettingsFilePath());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), malformed);
  file.remove();  // the settings folder is the whole test program's
}

// The window saves, talvora-cli programs another module from the file; talvora-cli saves, the
// window loads it.
TEST_F(ProfilePage, TheWindowAndTheCommandLineReadEachOthersProfiles) {
  Load("host=0");
  Select({0, 1});
  Page().Text6[0]->setText("5");
  Page().Text6[1]->setText("12");
  EXPECT_TRUE(Shortcut(QKeySequence::Save, File("window.json")));
  Window().close();
  functions::CloseSerial();

  platform::UseVirtualTime();
  sim::RegisterSimulatedSystem();
  cli::Options options;
  options.port = "sim";
  options.command = "load";
  options.arguments = {File("window.json")};
  testing::internal::CaptureStdout();
  EXPECT_EQ(cli::RunCommand(options), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "00 5 ok\n01 12 ok\n");

  options.command = "save";
  options.arguments = {File("cli.json"), "2-3"};
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_EQ(cli::RunCommand(options), 0);
  testing::internal::GetCapturedStdout();
  testing::internal::GetCapturedStderr();

  Window().Form_Load();
  Window().show();
  EXPECT_TRUE(Shortcut(QKeySequence::Open, File("cli.json")));
  EXPECT_EQ(Value(2), "22");
  EXPECT_EQ(Value(3), "0");
  EXPECT_TRUE(Page().Check1[2]->isChecked() && Page().Check1[3]->isChecked());
}

}  // namespace

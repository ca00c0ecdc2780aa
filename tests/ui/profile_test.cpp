// Register profiles in the main window: Save Values and Load Values from the "EEPROM Values"
// frame's menu and the shortcuts, a profile the window saves loaded by talvora-cli and the
// other way round, a bad file refused with nothing changed.

#include <QContextMenuEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include "commands.h"
#include "operations/register_profile.h"
#include "operations/register_table.h"
#include "radio_window.h"
#include "settings/settings_file.h"

namespace {

using operations::RegisterProfile;

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
    uitest::RunModal(
        [&] {
          Window().activateWindow();
          EXPECT_TRUE(QTest::qWaitForWindowActive(&Window()));
          QTest::keySequence(&Window(), QKeySequence(key));
        },
        [&](QWidget& dialog) {
          opened = true;
          Pick(dialog, path);
        });
    return opened;
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
  // A right-click opens the menu; "Save Values…" opens the dialog.
  QTimer::singleShot(0, [this] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->actions().at(0)->text(), "Save Values…");
    EXPECT_EQ(menu->actions().at(1)->text(), "Load Values…");
    QTimer::singleShot(0, [this] { Pick(*QApplication::activeModalWidget(), File("saved.json")); });
    menu->actions().at(0)->trigger();
    menu->close();
  });
  const QPoint at(40, 40);
  QContextMenuEvent rightClick(QContextMenuEvent::Mouse, at, Page().Frame2->mapToGlobal(at));
  QApplication::sendEvent(Page().Frame2, &rightClick);

  EXPECT_EQ(Saved(File("saved.json")), (RegisterProfile{{0, 0}, {1, 12}, {31, 18}}));
  EXPECT_EQ(settings::OpenSettingsFile()->value("profiles/lastFolder").toString(),
            QFileInfo(File("saved.json")).absolutePath());
}

TEST_F(ProfilePage, LoadFillsAndSelectsExactlyTheFileRowsAndWritesNothing) {
  const RegisterProfile profile{{1, 9}, {3, 17}};
  QString error;
  ASSERT_TRUE(operations::SaveProfile(File("field.json"), profile, error)) << error.toStdString();
  Load("host=0");
  Select({0, 3});
  Page().Text6[3]->setText("NO");
  Window().RegisterTable().ValueColour(3, qRgb(255, 0, 0));
  const auto sentBefore = Sent().size();
  EXPECT_TRUE(Shortcut(QKeySequence::Open, File("field.json")));

  EXPECT_EQ(Value(1), "9");
  EXPECT_EQ(Value(3), "17");
  EXPECT_EQ(Value(0), "255");
  for (int row = 0; row < 32; ++row)
    EXPECT_EQ(Page().Check1[row]->isChecked(), row == 1 || row == 3) << row;
  EXPECT_EQ(Colour(3), uitest::SystemTextColour());
  EXPECT_EQ(Sent().size(), sentBefore) << "nothing goes to the module until EEPROM Writing";
}

TEST_F(ProfilePage, ABadFileIsRefusedWithItsReasonAndNothingChanges) {
  QFile bad(File("bad.json"));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write(R"({"talvora": "registers", "version": 1, "registers": {"1": 9, "40": 1}})");
  bad.close();
  Load("host=0");
  Select({0});
  QString told;
  QTimer watch;  // the warning comes once the file dialog has closed
  watch.callOnTimeout([&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      told = box->text();
      box->close();
    }
  });
  watch.start(5);
  EXPECT_TRUE(Shortcut(QKeySequence::Open, File("bad.json")));
  EXPECT_TRUE(told.contains("register \"40\" does not exist")) << told.toStdString();
  EXPECT_EQ(Value(1), "255");
  EXPECT_TRUE(Page().Check1[0]->isChecked());
  EXPECT_FALSE(Page().Check1[1]->isChecked());
}

TEST_F(ProfilePage, NoShortcutWhileAnOperationRuns) {
  Load("host=0");
  Window().SSTab1()->setCurrentIndex(operations::kRadioTestingPage);
  uitest::Click(Window().RadioTesting().Command3);  // TEST ON
  QWidget* opened = nullptr;
  QTimer::singleShot(50, [&] {
    opened = QApplication::activeModalWidget();
    if (opened != nullptr) opened->close();
  });
  Window().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
  QTest::keySequence(&Window(), QKeySequence(QKeySequence::Save));
  QTest::qWait(100);
  EXPECT_EQ(opened, nullptr);
  uitest::Click(Window().RadioTesting().Command1);
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

// The register table as the operator works it with the mouse: value boxes, name boxes and the
// module choice on the loaded main window.

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "operations/register_table.h"
#include "ui/cdemo.h"
#include "ui/click_events.h"
#include "ui_test_support.h"

namespace {

class RegisterTableGestures : public uitest::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    window_ = std::make_unique<ui::CDemo>([] { return std::string("COM1"); });
    window_->Form_Load();
    window_->show();
  }
  void TearDown() override {
    window_.reset();
    WindowTest::TearDown();
  }

  ui::CDemo& Window() { return *window_; }
  const operations::ProgrammingControls& Table() { return Window().Programming(); }
  int SelectedCount() {
    int count = 0;
    for (QCheckBox* selector : Table().Check1)
      count += selector->isChecked() ? 1 : 0;
    return count;
  }

 private:
  std::unique_ptr<ui::CDemo> window_;
};

TEST_F(RegisterTableGestures, ClickingAValueBoxSelectsItsRowAndTurnsItsTextBlack) {
  Window().RegisterTable().ValueColour(10, operations::kFailedColour);
  uitest::Click(Table().Text6[10]);
  EXPECT_TRUE(Table().Check1[10]->isChecked());
  EXPECT_EQ(Table().Check1[10]->text(), QStringLiteral("0a"));
  EXPECT_EQ(uitest::TextColour(Table().Text6[10]), qRgb(0, 0, 0));
  EXPECT_EQ(Table().Text6[10]->text(), QStringLiteral("255"));
  EXPECT_EQ(SelectedCount(), 1);

  uitest::Click(Table().Text6[10]);
  EXPECT_TRUE(Table().Check1[10]->isChecked());

  // The same through the window system.
  uitest::ClickThroughWindow(Table().Text6[20]);
  EXPECT_TRUE(Table().Check1[20]->isChecked());
}

TEST_F(RegisterTableGestures, DoubleClickingAValueBoxEmptiesItAndSelectsItsRow) {
  Window().RegisterTable().ValueColour(21, operations::kReadColour);
  uitest::DoubleClick(Table().Text6[21]);
  EXPECT_TRUE(Table().Text6[21]->text().isEmpty());
  EXPECT_TRUE(Table().Check1[21]->isChecked());
  EXPECT_EQ(uitest::TextColour(Table().Text6[21]), qRgb(0, 0, 0));
  EXPECT_EQ(SelectedCount(), 1);
}

TEST_F(RegisterTableGestures, APressReleasedOutsideTheBoxIsNoClick) {
  QLineEdit* box = Table().Text6[7];
  QTest::mousePress(box, Qt::LeftButton);
  QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(box->width() + 40, box->height() / 2));
  EXPECT_FALSE(Table().Check1[7]->isChecked());
}

TEST_F(RegisterTableGestures, TheModuleChoiceFollowsTheOptionButtons) {
  uitest::Click(Table().Option2);
  EXPECT_TRUE(Table().Option2->isChecked());
  EXPECT_FALSE(Table().Option1->isChecked());
  EXPECT_EQ(Window().Session().ModuleKind, 2);
  uitest::Click(Table().Option1);
  EXPECT_TRUE(Table().Option1->isChecked());
  EXPECT_FALSE(Table().Option2->isChecked());
  EXPECT_EQ(Window().Session().ModuleKind, 1);
}

TEST_F(RegisterTableGestures, NameClicksOpenTheirHelpWindowModally) {
  struct Help {
    int row;
    const char* name;
    const char* caption;
  };
  const Help helps[] = {
      {0, "addr", "Remote Address"}, {1, "delay", "Delay"}, {3, "rs232", "RS 232 Characteristics"}};
  for (const Help& expected : helps) {
    const int row = expected.row;
    SCOPED_TRACE(expected.name);
    bool blocked = false;
    const QPointer<QWidget> help =
        uitest::RunModal([&] { uitest::Click(Table().Text8[row]); },
                         [&](QWidget& shown) {
                           blocked = QApplication::activeModalWidget() == &shown &&
                                     shown.windowModality() == Qt::ApplicationModal;
                           // Clicks on the main window do not get through while it is up.
                           uitest::ClickThroughWindow(Table().Text6[row + 8]);
                         });
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->objectName(), QString::fromLatin1(expected.name));
    EXPECT_EQ(help->windowTitle(), QString::fromLatin1(expected.caption));
    EXPECT_TRUE(blocked);
    EXPECT_FALSE(Table().Check1[row + 8]->isChecked());
  }
}

TEST_F(RegisterTableGestures, OtherNameClicksOpenNothing) {
  for (int row = 0; row < operations::kRegisterCount; ++row) {
    if (row == 0 || row == 1 || row == 3) continue;
    const QPointer<QWidget> opened = uitest::RunModal([&] { uitest::Click(Table().Text8[row]); });
    EXPECT_EQ(opened, nullptr) << "row " << row;
  }
  EXPECT_EQ(SelectedCount(), 0);
}

// A click and a double-click as the window system delivers them to a control.
TEST(ClickEvents, CountClicksAndDoubleClicksOfEachGesture) {
  struct Gesture {
    const char* name;
    std::function<void(QWidget*)> perform;
    int clicks;
    int doubleClicks;
  };
  const Gesture gestures[] = {
      {"click", [](QWidget* w) { uitest::Click(w); }, 1, 0},
      {"double-click", [](QWidget* w) { uitest::DoubleClick(w); }, 1, 1},
      {"right click", [](QWidget* w) { QTest::mouseClick(w, Qt::RightButton); }, 0, 0},
      {"release outside",
       [](QWidget* w) {
         QTest::mousePress(w, Qt::LeftButton);
         QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(-10, -10));
       },
       0, 0},
  };
  for (const Gesture& gesture : gestures) {
    QWidget parent;
    auto* box = new QLineEdit(&parent);
    box->resize(60, 20);
    auto* clicks = new ui::ClickEvents(&parent);
    int clickCount = 0;
    int doubleCount = 0;
    clicks->OnClick(box, [&] { ++clickCount; });
    clicks->OnDoubleClick(box, [&] {
      // The click of the same gesture has come first.
      EXPECT_EQ(clickCount, 1);
      ++doubleCount;
    });
    parent.show();
    gesture.perform(box);
    EXPECT_EQ(clickCount, gesture.clicks) << gesture.name;
    EXPECT_EQ(doubleCount, gesture.doubleClicks) << gesture.name;
  }
}

}  // namespace

// The main window's life cycle: its designed state, the load step, the Close command, the
// enabling of pages, loading again after a close, and the terminal's display windows.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "link/functions.h"
#include "operations/register_table.h"
#include "platform/interval_timer.h"
#include "platform/windows.h"
#include "ui/cdemo.h"
#include "ui/controls.h"
#include "ui/design.h"
#include "ui_test_support.h"

namespace {

using uitest::Find;

class MainWindow : public uitest::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    window_ = std::make_unique<ui::CDemo>([] { return std::string("COM1"); });
  }
  void TearDown() override {
    window_.reset();
    WindowTest::TearDown();
  }

  ui::CDemo& Window() { return *window_; }

  void ClickTab(int page) {
    QTabBar* strip = Window().SSTab1()->tabBar();
    QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(page).center());
  }

 private:
  std::unique_ptr<ui::CDemo> window_;
};

TEST_F(MainWindow, AsDesignedBeforeItIsLoaded) {
  const auto& radio = Window().RadioTesting();
  const auto& terminal = Window().Terminal();
  const auto& programming = Window().Programming();
  EXPECT_TRUE(radio.Timer1->Enabled());
  EXPECT_EQ(radio.Timer1->Interval(), 500u);
  for (QLabel* lamp : radio.Picture1)
    EXPECT_FALSE(lamp->isHidden()) << lamp->objectName().toStdString();
  for (QWidget* hidden : std::initializer_list<QWidget*>{terminal.Text2, terminal.Text3,
                                                         terminal.Label14, terminal.Label13}) {
    EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
  }
  for (auto* button : Window().findChildren<QPushButton*>()) {
    EXPECT_TRUE(button->isEnabled()) << button->objectName().toStdString();
  }
  for (auto* box : Window().findChildren<QLineEdit*>()) {
    EXPECT_TRUE(box->text().isEmpty()) << box->objectName().toStdString();
  }
  for (auto* box : Window().findChildren<QPlainTextEdit*>()) {
    EXPECT_TRUE(box->toPlainText().isEmpty()) << box->objectName().toStdString();
  }
  for (int row = 0; row < operations::kRegisterCount; ++row) {
    EXPECT_TRUE(programming.Text8[row]->isReadOnly());
    EXPECT_FALSE(programming.Text6[row]->isReadOnly());
    EXPECT_EQ(programming.Text8[row]->width(), 200);
  }
  EXPECT_TRUE(terminal.Label15->text().isEmpty());
  EXPECT_TRUE(OpenedLines().empty());
}

TEST_F(MainWindow, IsAFixedWindowWithoutMinimizeOrMaximizeBox) {
  EXPECT_EQ(Window().windowTitle(), QStringLiteral("TALVORA"));
  EXPECT_EQ(Window().minimumSize(), QSize(632, 457));
  EXPECT_EQ(Window().maximumSize(), QSize(632, 457));
  const Qt::WindowFlags flags = Window().windowFlags();
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  QTabWidget* tabs = Window().SSTab1();
  ASSERT_EQ(tabs->count(), 3);
  EXPECT_EQ(tabs->tabText(0), QStringLiteral("&Programming"));
  EXPECT_EQ(tabs->tabText(1), QStringLiteral("&Radio Testing"));
  EXPECT_EQ(tabs->tabText(2), QStringLiteral("&Terminal"));
  Window().show();
  // Three tabs in one row, 420 twips high.
  EXPECT_EQ(tabs->tabBar()->tabRect(0).height(), 28);
  EXPECT_EQ(tabs->tabBar()->tabRect(2).right(), tabs->tabBar()->tabRect(0).width() * 3 - 1);
}

TEST_F(MainWindow, LoadingPutsEveryControlIntoItsIdleStateAndOpensThePort) {
  // State that the load step must overwrite.
  Window().Session().SendPhase = false;
  Window().Session().ModuleKind = 2;
  Window().SSTab1()->setCurrentIndex(2);
  Window().Programming().Option2->setChecked(true);

  Window().Form_Load();

  const auto& programming = Window().Programming();
  const auto& radio = Window().RadioTesting();
  const auto& terminal = Window().Terminal();
  EXPECT_EQ(Window().SSTab1()->currentIndex(), 0);
  EXPECT_TRUE(programming.Option1->isChecked());
  EXPECT_FALSE(programming.Option2->isChecked());
  EXPECT_EQ(Window().Session().ModuleKind, 0);
  EXPECT_FALSE(radio.Command1->isEnabled());
  EXPECT_TRUE(radio.Command3->isEnabled());
  EXPECT_FALSE(terminal.Command5->isEnabled());
  EXPECT_FALSE(terminal.Command6->isEnabled());
  EXPECT_TRUE(terminal.Command7->isEnabled());
  EXPECT_TRUE(programming.Command2->isEnabled());
  EXPECT_TRUE(programming.Command4->isEnabled());
  for (QWidget* hidden : std::initializer_list<QWidget*>{terminal.Text2, terminal.Text3,
                                                         terminal.Label14, terminal.Label13}) {
    EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
  }
  for (QLabel* lamp : radio.Picture1)
    EXPECT_TRUE(lamp->isHidden()) << lamp->objectName().toStdString();
  EXPECT_FALSE(terminal.Label15->isHidden());
  EXPECT_FALSE(radio.Timer1->Enabled());
  EXPECT_TRUE(Window().Session().SendPhase);
  EXPECT_EQ(programming.Text6[17]->text(), QStringLiteral("255"));
  EXPECT_EQ(programming.Text8[3]->text(), QStringLiteral("RS 232 Features Setting"));
  for (int page = 0; page < 3; ++page)
    EXPECT_TRUE(Window().SSTab1()->isTabEnabled(page));
  EXPECT_TRUE(platform::IsCloseCommandEnabled(Window().hWnd()));

  ASSERT_NE(functions::serial, nullptr);
  EXPECT_EQ(functions::serial->devicename(), "COM1");
  EXPECT_NE(functions::lngTimerID, 0);
  EXPECT_EQ(OpenedLines(), std::vector<std::string>{"COM1"});
  EXPECT_TRUE(Window().Loaded());
}

TEST_F(MainWindow, CloseIsRefusedWhileTheCloseCommandIsWithheld) {
  Window().Form_Load();
  Window().show();

  Window().DisableClose();
  EXPECT_FALSE(platform::IsCloseCommandEnabled(Window().hWnd()));
  EXPECT_FALSE(Window().close());
  EXPECT_TRUE(Window().isVisible());
  EXPECT_TRUE(Window().Loaded());
  EXPECT_NE(functions::serial, nullptr);

  Window().EnableClose();
  EXPECT_TRUE(platform::IsCloseCommandEnabled(Window().hWnd()));
  EXPECT_TRUE(Window().close());
  EXPECT_FALSE(Window().isVisible());
  EXPECT_FALSE(Window().Loaded());
  // Unloading closed the port and stopped the poll timer.
  EXPECT_EQ(functions::serial, nullptr);
  EXPECT_EQ(functions::lngTimerID, 0);
}

TEST_F(MainWindow, ADisabledPageCannotBeSelectedUntilEnabledAgain) {
  Window().Form_Load();
  Window().show();
  QTabWidget* tabs = Window().SSTab1();

  Window().SetPageEnabled(1, false);
  Window().SetPageEnabled(2, false);
  ClickTab(1);
  ClickTab(2);
  EXPECT_EQ(tabs->currentIndex(), 0);
  EXPECT_FALSE(tabs->widget(1)->isEnabled());

  Window().SetPageEnabled(2, true);
  ClickTab(2);
  EXPECT_EQ(tabs->currentIndex(), 2);
  ClickTab(1);
  EXPECT_EQ(tabs->currentIndex(), 2);
  Window().SetPageEnabled(1, true);
  ClickTab(1);
  EXPECT_EQ(tabs->currentIndex(), 1);
}

TEST_F(MainWindow, AccessKeysSelectEnabledPagesOnly) {
  Window().Form_Load();
  Window().show();
  Window().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
  QTabWidget* tabs = Window().SSTab1();
  QTest::keyClick(&Window(), Qt::Key_T, Qt::AltModifier);
  EXPECT_EQ(tabs->currentIndex(), 2);
  Window().SetPageEnabled(0, false);
  QTest::keyClick(&Window(), Qt::Key_P, Qt::AltModifier);
  EXPECT_EQ(tabs->currentIndex(), 2);
  QTest::keyClick(&Window(), Qt::Key_R, Qt::AltModifier);
  EXPECT_EQ(tabs->currentIndex(), 1);
}

TEST_F(MainWindow, LoadingAgainAfterACloseStartsFromTheDesign) {
  Window().Form_Load();
  Window().show();
  const auto& before = Window().Programming();
  before.Check1[3]->setChecked(true);
  before.Text6[3]->setText(QStringLiteral("12"));
  before.Text7->setPlainText(QStringLiteral("EEPROM Reading"));
  Window().Session().TerminalRole = 1;
  const platform::HWND oldTermText = Window().Terminal().TermTextWindow;
  ASSERT_TRUE(Window().close());

  Window().Form_Load();
  const auto& after = Window().Programming();
  EXPECT_FALSE(after.Check1[3]->isChecked());
  EXPECT_EQ(after.Text6[3]->text(), QStringLiteral("255"));
  EXPECT_TRUE(after.Text7->toPlainText().isEmpty());
  EXPECT_EQ(Window().findChildren<QLineEdit*>(QStringLiteral("Text6(3)")).size(), 1);
  // The window's own variables live as long as the window.
  EXPECT_EQ(Window().Session().TerminalRole, 1);
  // The old display box is no window any more.
  EXPECT_EQ(platform::SetWindowTextA(oldTermText, "x"), 0);
  EXPECT_EQ(OpenedLines(), (std::vector<std::string>{"COM1", "COM1"}));
}

TEST_F(MainWindow, TheTerminalDisplayBoxesAreWindowsThatShowBytesAsCharacters) {
  Window().Form_Load();
  const auto& terminal = Window().Terminal();
  ASSERT_NE(terminal.TermTextWindow, 0);
  ASSERT_NE(terminal.Text3Window, 0);
  EXPECT_NE(terminal.TermTextWindow, terminal.Text3Window);
  EXPECT_EQ(Window().WindowHandleOf(terminal.TermText), terminal.TermTextWindow);
  EXPECT_EQ(Window().WindowHandleOf(terminal.Text3), terminal.Text3Window);
  EXPECT_EQ(Window().WindowHandleOf(terminal.Text1), 0);

  EXPECT_EQ(platform::SetWindowTextA(terminal.TermTextWindow, "\x05hi\xe9\xff"), 1);
  const QString expected = QString(QChar(5)) + QStringLiteral("hi") + QChar(0xe9) + QChar(0xff);
  EXPECT_EQ(terminal.TermText->toPlainText(), expected);
  platform::SetWindowTextA(terminal.Text3Window, "5");
  EXPECT_EQ(terminal.Text3->text(), QStringLiteral("5"));
  platform::SetWindowTextA(terminal.TermTextWindow, "");
  EXPECT_TRUE(terminal.TermText->toPlainText().isEmpty());
}

// Caption, face, size and colours of each control, as designed.
struct Look {
  const char* name;
  const char* caption;  // null: no caption to check
  const char* family;
  int pixelSize;
  QRgb background = 0;  // 0: the style's own
};

QString CaptionOf(const QWidget* control) {
  if (const auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text();
  if (const auto* label = qobject_cast<const QLabel*>(control)) return label->text();
  if (const auto* frame = qobject_cast<const QGroupBox*>(control)) return frame->title();
  return {};
}

QRgb GroundOf(const QWidget* control) {
  if (qobject_cast<const QLabel*>(control) != nullptr) {
    return control->autoFillBackground() ? control->palette().color(QPalette::Window).rgb() : 0;
  }
  return uitest::BackgroundColour(control);
}

TEST_F(MainWindow, ControlsHaveTheirDesignedCaptionsFacesAndColours) {
  const QRgb yellow = qRgb(255, 255, 128), paleYellow = qRgb(255, 255, 192);
  const QRgb pink = qRgb(255, 192, 192), peach = qRgb(255, 224, 192);
  const QRgb lightGreen = qRgb(128, 255, 128), lightCyan = qRgb(128, 255, 255);
  const Look looks[] = {
      {"Frame2", "EEPROM Values", "Tahoma", 15},
      {"Check1(0)", "00", "Tahoma", 11},
      {"Check1(31)", "1f", "Tahoma", 11},
      {"Text6(0)", nullptr, "Tahoma", 11, yellow},
      {"Text6(3)", nullptr, "Tahoma", 11, yellow},
      {"Text6(4)", nullptr, "Tahoma", 11, paleYellow},
      {"Text6(30)", nullptr, "Tahoma", 11, paleYellow},
      {"Text6(31)", nullptr, "Tahoma", 11, yellow},
      {"Text8(0)", nullptr, "Tahoma", 11, pink},
      {"Text8(4)", nullptr, "Tahoma", 11, peach},
      {"Text8(30)", nullptr, "Tahoma", 11, peach},
      {"Text8(31)", nullptr, "Tahoma", 11, pink},
      {"Option1", "Host Module ", "Tahoma", 15},
      {"Option2", "Remote Module ", "Tahoma", 15},
      {"Command2", "EEPROM Reading", "Tahoma", 12},
      {"Command4", "EEPROM Writing", "Tahoma", 12},
      {"Text7", nullptr, "Arial Rounded MT Bold", 14, qRgb(192, 255, 255)},
      {"Frame1", "Testing", "Tahoma", 15},
      {"Command3", "TEST ON", "Tahoma", 11},
      {"Command1", "TEST OFF", "Tahoma", 11},
      {"Frame3", "Radio Connection", "Tahoma", 11},
      {"Label7", "0-1: no", "Tahoma", 9},
      {"Label8", "2-3: difficult", "Tahoma", 9},
      {"Label9", "4-5: good", "Tahoma", 9},
      {"Label3", "", "Tahoma", 32, lightGreen},
      {"Label2", "", "Tahoma", 18, lightGreen},
      {"Frame4", "Statistics", "Tahoma", 11},
      {"Label5", "", "Tahoma", 14, paleYellow},
      {"Label4", "", "Tahoma", 14, paleYellow},
      {"Label6", "", "Tahoma", 14, paleYellow},
      {"Label11", "Received Packets", "Tahoma", 9},
      {"Label10", "Sent Packets", "Tahoma", 9},
      {"Label12", "Testing Time", "Tahoma", 9},
      {"Frame5", "Terminal", "Tahoma", 15},
      {"Command7", "Initialization", "Tahoma", 16},
      {"Command6", "Stop", "Tahoma", 16},
      {"Label15", "", "Arial Rounded MT Bold", 18},
      {"Command5", "Send Data", "Tahoma", 16},
      {"Text1", nullptr, "Arial Rounded MT Bold", 14, lightCyan},
      {"Label14", "to", "Tahoma", 16},
      {"Text2", nullptr, "Arial Rounded MT Bold", 14, yellow},
      {"Label1", "Received Data", "Tahoma", 16},
      {"TermText", nullptr, "Arial Rounded MT Bold", 14, lightCyan},
      {"Label13", "from", "Tahoma", 16},
      {"Text3", nullptr, "Arial Rounded MT Bold", 14, yellow},
  };
  for (const Look& look : looks) {
    SCOPED_TRACE(look.name);
    auto* control = Find<QWidget>(&Window(), QString::fromLatin1(look.name));
    if (control == nullptr) continue;
    if (look.caption != nullptr) {
      EXPECT_EQ(CaptionOf(control), QString::fromLatin1(look.caption));
    }
    EXPECT_EQ(control->font().family(), QString::fromLatin1(look.family));
    EXPECT_EQ(control->font().pixelSize(), look.pixelSize);
    EXPECT_TRUE(control->font().bold());
    if (look.background != 0) {
      EXPECT_EQ(GroundOf(control), look.background);
    }
  }
  // The frames' captions carry colours of their own.
  const std::pair<const char*, QRgb> captions[] = {
      {"Frame2", qRgb(192, 0, 192)}, {"Frame1", qRgb(128, 0, 128)}, {"Frame5", qRgb(192, 0, 0)}};
  for (const auto& [name, colour] : captions) {
    auto* frame = Find<ui::Frame>(&Window(), QString::fromLatin1(name));
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->CaptionColour(), colour) << name;
  }
  EXPECT_FALSE(Find<ui::Frame>(&Window(), QStringLiteral("Frame3"))->CaptionColour());
}

TEST_F(MainWindow, TheDesignFacesResolveToInstalledSubstitutes) {
  // Substitutes no wider than the design's faces keep every caption inside its control.
  const std::pair<const char*, const char*> faces[] = {{"Tahoma", "Liberation Sans"},
                                                       {"MS Sans Serif", "Liberation Sans"},
                                                       {"Arial Rounded MT Bold", "Comfortaa"}};
  for (const auto& [design, installed] : faces) {
    const QFontInfo info(ui::DesignFont(design, 9));
    EXPECT_EQ(info.family(), QString::fromLatin1(installed)) << design;
    EXPECT_TRUE(info.bold()) << design;
  }
}

}  // namespace

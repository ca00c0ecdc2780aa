// The register table as the operator works it with the mouse.

#include <tuple>

#include "operations/register_table.h"
#include "radio_window.h"

namespace {

class RegisterTableGestures : public uitest::RadioWindowTest {
 protected:
  void SetUp() override {
    RadioWindowTest::SetUp();
    LoadOnScript();
  }
  const ui::ProgrammingControls& Table() { return Window().Programming(); }
};

// Gestures as the window system delivers them to the window.
TEST_F(RegisterTableGestures, ClicksOnAValueSelectItsRowAndTurnItsTextBlack) {
  // Each row: the gesture, with which button, whether it selects, and the text left.
  const std::tuple<QTest::MouseAction, Qt::MouseButton, bool, const char*> gestures[] = {
      {QTest::MouseClick, Qt::LeftButton, true, "255"},
      {QTest::MouseDClick, Qt::LeftButton, true, ""},
      {QTest::MouseClick, Qt::MiddleButton, false, "255"},
      {QTest::MousePress, Qt::LeftButton, false, "255"}};
  int row = 10;
  for (const auto& [action, button, selects, text] : gestures) {
    SCOPED_TRACE(++row);
    QLineEdit* box = Table().Text6[row];
    Window().RegisterTable().ValueColour(row, uitest::kRed);
    const QPoint at = box->mapTo(&Window(), box->rect().center());
    QTest::mouseEvent(action, Window().windowHandle(), button, {}, at);
    // A press is released outside the box: no click.
    if (action == QTest::MousePress) {
      QTest::mouseRelease(Window().windowHandle(), Qt::LeftButton, {}, at + QPoint(60, 0));
    }
    EXPECT_EQ(Table().Check1[row]->isChecked(), selects);
    EXPECT_EQ(box->text(), QString::fromLatin1(text));
    EXPECT_EQ(uitest::TextColour(box), selects ? uitest::kBlack : uitest::kRed);
  }
  uitest::Click(Table().Text6[11]);
  EXPECT_TRUE(Table().Check1[11]->isChecked()) << "a second click leaves the row selected";
}

struct Help {
  int row;  // the register whose name opens it
  const char *name, *caption;
  QRect window;  // its frame's place and its client size
  QRect box;     // in the window
  const char* text;
};

const Help kHelps[] = {
    // Its client area at (2, 16) is designed inside a frame in the screen's corner.
    {0, "addr", "Remote Address", QRect(0, 0, 525, 80), QRect(8, 0, 513, 73),
     "Remote module address (between 1 and 255).\nValue 0 means the system MASTER module"},
    {1, "delay", "Delay", QRect(1, 1, 521, 79), QRect(5, 8, 505, 65),
     "This value sets the number of synchronism prehamble bytes to be transmitted.\n"
     "This value ranges between 1 and 255 byte"},
    {3, "rs232", "RS 232 Characteristics", QRect(0, 0, 544, 104), QRect(8, 8, 521, 89),
     "RS232 Protocol:\n0= no parity\n1=odd parity\n2=not used\n3=even parity"},
};

// Each opening shows the window as designed, even after it was moved and spoilt the last time.
TEST_F(RegisterTableGestures, NameClicksOpenTheirHelpWindowModallyWithItsText) {
  for (int opening = 0; opening < 2; ++opening) {
    for (const Help& help : kHelps) {
      SCOPED_TRACE(help.name);
      const QPointer<QWidget> shown = uitest::RunModal(
          [&] { uitest::Click(Table().Text8[help.row]); },
          [&](QWidget& window) {
            auto* box = window.findChild<QPlainTextEdit*>();
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->geometry(), help.box);
            EXPECT_EQ(box->toPlainText(), QString::fromLatin1(help.text));
            QTest::keyClicks(box, QStringLiteral("xy"));
            EXPECT_EQ(box->toPlainText(), QString::fromLatin1(help.text)) << "read-only";
            EXPECT_EQ(window.pos(), help.window.topLeft());
            window.move(200, 150);
            box->setPlainText(QStringLiteral("spoilt"));
          });
      ASSERT_NE(shown, nullptr);
      EXPECT_EQ(shown->objectName(), QString::fromLatin1(help.name));
      EXPECT_EQ(shown->windowTitle(), QString::fromLatin1(help.caption));
      EXPECT_EQ(shown->size(), help.window.size());
    }
  }
  for (int row = 0; row < 32; ++row) {
    if (row == 0 || row == 1 || row == 3) continue;
    EXPECT_EQ(uitest::RunModal([&] { uitest::Click(Table().Text8[row]); }), nullptr) << row;
  }
}

}  // namespace

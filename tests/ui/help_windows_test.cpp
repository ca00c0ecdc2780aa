// The help windows as designed: border, caption, size, place, the exact text, read-only.

#include "ui/help_windows.h"

#include <QPlainTextEdit>
#include <QTest>

#include "ui/cdemo.h"
#include "ui_test_support.h"

namespace {

using operations::HelpTopic;

struct HelpDesign {
  HelpTopic topic;
  const char* name;
  const char* caption;
  QSize client;  // pixels
  const char* boxName;
  QRect box;              // pixels, in the window
  const char* text;       // exactly as set, lines joined with CR LF
  QPoint place;           // where the window puts itself
  bool placesClientArea;  // the place is that of the client area rather than the frame
};

const HelpDesign kDesigns[] = {
    {HelpTopic::Rs232,
     "rs232",
     "RS 232 Characteristics",
     {544, 104},
     "rs232",
     {8, 8, 521, 89},
     "RS232 Protocol:\r\n0= no parity\r\n1=odd parity\r\n2=not used\r\n3=even parity",
     {0, 0},
     false},
    {HelpTopic::Delay,
     "delay",
     "Delay",
     {521, 79},
     "delay",
     {5, 8, 505, 65},
     "This value sets the number of synchronism prehamble bytes to be transmitted.\r\n"
     "This value ranges between 1 and 255 byte",
     {1, 1},
     false},
    {HelpTopic::RemoteAddress,
     "addr",
     "Remote Address",
     {525, 80},
     "Text1",
     {8, 0, 513, 73},
     "Remote module address (between 1 and 255).\r\nValue 0 means the system MASTER module",
     {2, 16},
     true},
};

class HelpWindows : public uitest::WindowTest {};

TEST_F(HelpWindows, EachOpensAsDesignedWithItsText) {
  ui::CDemo owner([] { return std::string("COM1"); });
  for (const HelpDesign& design : kDesigns) {
    SCOPED_TRACE(design.name);
    QString shownText;
    QString typedText;
    const QPointer<QWidget> help = uitest::RunModal(
        [&] { owner.Help().Open(design.topic); },
        [&](QWidget& window) {
          auto* box = uitest::Find<QPlainTextEdit>(&window, QString::fromLatin1(design.boxName));
          ASSERT_NE(box, nullptr);
          EXPECT_EQ(box->geometry(), design.box);
          EXPECT_TRUE(box->isReadOnly());
          EXPECT_EQ(box->font().family(), QStringLiteral("Arial Rounded MT Bold"));
          EXPECT_EQ(box->font().pixelSize(), 10);
          EXPECT_TRUE(box->font().bold());
          shownText = box->toPlainText();
          QTest::keyClicks(box, QStringLiteral("xy"));
          typedText = box->toPlainText();
          const QPoint place = design.placesClientArea ? window.geometry().topLeft() : window.pos();
          EXPECT_EQ(place, design.place);
          EXPECT_TRUE(window.isModal());
        });
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->objectName(), QString::fromLatin1(design.name));
    EXPECT_EQ(help->windowTitle(), QString::fromLatin1(design.caption));
    EXPECT_EQ(help->size(), design.client);
    EXPECT_EQ(help->minimumSize(), design.client);
    EXPECT_EQ(help->maximumSize(), design.client);
    const Qt::WindowFlags flags = help->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);

    const auto* window = owner.Help().Window(design.topic);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Text(), QString::fromLatin1(design.text));
    // The box shows the lines one under the other; the operator cannot change them.
    EXPECT_EQ(shownText, QString::fromLatin1(design.text).replace(QStringLiteral("\r\n"), "\n"));
    EXPECT_EQ(typedText, shownText);
  }
}

TEST_F(HelpWindows, ReopeningLoadsTheWindowAgain) {
  ui::CDemo owner([] { return std::string("COM1"); });
  std::vector<QPointer<QWidget>> opened;
  for (int opening = 0; opening < 2; ++opening) {
    SCOPED_TRACE(opening);
    opened.push_back(
        uitest::RunModal([&] { owner.Help().Open(HelpTopic::Rs232); },
                         [&](QWidget& window) {
                           QPlainTextEdit* box = owner.Help().Window(HelpTopic::Rs232)->TextBox();
                           EXPECT_EQ(window.pos(), QPoint(0, 0));
                           EXPECT_EQ(box->toPlainText(),
                                     QStringLiteral("RS232 Protocol:\n0= no parity\n1=odd parity\n"
                                                    "2=not used\n3=even parity"));
                           // Moved and spoilt while open: the next opening puts both right.
                           window.move(200, 150);
                           box->setPlainText(QStringLiteral("spoilt"));
                         }));
  }
  // Made on first use and kept.
  ASSERT_NE(opened[0], nullptr);
  EXPECT_EQ(opened[0], opened[1]);
}

}  // namespace

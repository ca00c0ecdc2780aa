// The "&Terminal" page against the simulated radio system.

#include "radio_window.h"

namespace {

using Lines = std::vector<std::string>;
using Texts = std::pair<QString, QString>;

class TerminalPage : public uitest::RadioWindowTest {
 protected:
  // Loads the window with the radio system of `options` and clicks Initialization.
  void Load(const std::string& options, std::optional<double> timeOfDay = std::nullopt) {
    RadioWindowTest::Load(options, timeOfDay);
    Window().SSTab1()->setCurrentIndex(operations::kTerminalPage);
    uitest::Click(Page().Command7);
  }

  const ui::TerminalControls& Page() { return Window().Terminal(); }
  // Clicks Send Data with this message and destination; returns what went on the line.
  Lines Send(const QString& message, const QString& destination) {
    Page().Text1->setPlainText(message);
    Page().Text2->setText(destination);
    const std::size_t before = LineFrames().size();
    uitest::Click(Page().Command5);
    RunMs(300);
    const Lines all = LineFrames();
    return Lines(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
  }
  // Which of the address boxes and their labels are shown: "to", "from" and both labels.
  std::vector<bool> AddressBoxesShown() {
    return {Page().Text2->isVisible(), Page().Text3->isVisible(), Page().Label14->isVisible(),
            Page().Label13->isVisible()};
  }
  // A block arriving from the air, and the time the page takes to show it.
  void Receive(const std::string& block) {
    Arrive(block);
    RunMs(200);
  }
  // What the page shows of the last block received: "from" box and received data.
  Texts Received() { return {Page().Text3->text(), Page().TermText->toPlainText()}; }
};

struct RoleCase {
  const char* options;
  double timeOfDay;     // seconds since midnight when the window is loaded
  uitest::Micros wait;  // how long Initialization takes at least
  const char* caption;
  bool master;
  QString received;  // the block 0x05 "hi" as the received data box then shows it
  friend void PrintTo(const RoleCase& row, std::ostream* out) { *out << row.options; }
};

class TerminalRole : public TerminalPage, public testing::WithParamInterface<RoleCase> {};

TEST_P(TerminalRole, InitializationAsksTheModuleItsAddressAndSetsUpThePage) {
  const RoleCase& row = GetParam();
  Load(row.options, row.timeOfDay);
  EXPECT_GE(Time().NowMicros(), row.wait);
  EXPECT_EQ(LineFrames().front(), ">> 24 00 [RTS]");
  EXPECT_EQ(Page().Label15->text().toStdString(), row.caption);
  EXPECT_EQ(AddressBoxesShown(), std::vector<bool>(4, row.master));
  EXPECT_FALSE(Page().Command7->isEnabled());
  EXPECT_TRUE(Page().Command5->isEnabled());
  EXPECT_EQ(PagesEnabled(), (std::vector<bool>{false, false, true}));
  EXPECT_TRUE(CloseAvailable());

  Receive("\x05hi");
  EXPECT_EQ(Received(), Texts(row.master ? "5" : "", row.received));
}

INSTANTIATE_TEST_SUITE_P(
    Roles, TerminalRole,
    testing::Values(
        RoleCase{"host=0", 36000, 20'000, "Master-Slave Connection", true, "hi"},
        RoleCase{"host=7", 36000, 20'000, "Slave  7 - Master Connection", false, "\x05hi"},
        RoleCase{"host=255", 36000, 20'000, "Slave  255 - Master Connection", false, "\x05hi"},
        // No answer, and a wait across midnight that still ends after its limit.
        RoleCase{"silent", 86399.8, 700'000, "", false, ""}));

struct SendCase {
  const char* options;
  const char* destination;
  const char* message;
  Lines written;
  bool refused = false;  // the destination is no address: it is selected for correction
  friend void PrintTo(const SendCase& row, std::ostream* out) {
    *out << row.options << " to '" << row.destination << "': '" << row.message << "'";
  }
};

class TerminalSend : public TerminalPage, public testing::WithParamInterface<SendCase> {};

TEST_P(TerminalSend, WritesTheMessagePlainAfterItsDestinationOrSelectsABadDestination) {
  const SendCase& row = GetParam();
  Load(row.options);
  Receive("\x03xy");
  const Texts before = Received();

  EXPECT_EQ(Send(row.message, row.destination), row.written);
  // A message sent empties the boxes of the last block received.
  EXPECT_EQ(Received(), row.written.empty() ? before : Texts());
  EXPECT_EQ(Page().Text1->toPlainText(), row.message);
  EXPECT_TRUE(CloseAvailable());
  EXPECT_EQ(Window().focusWidget() == Page().Text2, row.refused);
  EXPECT_EQ(Page().Text2->selectedText(), row.refused ? row.destination : "");
}

INSTANTIATE_TEST_SUITE_P(Messages, TerminalSend,
                         testing::Values(SendCase{"host=0", " 12 ", "AB", {">> 0C 41 42"}},
                                         SendCase{"host=0", "255", "AB", {">> FF 41 42"}},
                                         SendCase{"host=7", "", "AB", {">> 41 42"}},
                                         SendCase{"host=0", "12", "", {}},
                                         SendCase{"host=0", "", "AB", {}, true},
                                         SendCase{"host=0", "256", "AB", {}, true},
                                         SendCase{"host=0", "-1", "AB", {}, true},
                                         SendCase{"host=0", "1.5", "AB", {}, true},
                                         SendCase{"host=0", "1 2", "AB", {}, true},
                                         SendCase{"host=0", "0x0C", "AB", {}, true}));

// Return, or the keypad's Enter, as the operator presses it: to whatever has the focus.
struct EnterKey {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  friend void PrintTo(const EnterKey& row, std::ostream* out) {
    *out << (row.key == Qt::Key_Enter ? "keypad Enter" : "Return");
  }
};
const EnterKey kReturn{Qt::Key_Return, Qt::NoModifier};
const EnterKey kKeypadEnter{Qt::Key_Enter, Qt::KeypadModifier};

class TerminalKeys : public TerminalPage {
 protected:
  void Press(const EnterKey& enter) {
    QTest::keyClick(Window().focusWidget(), enter.key, enter.modifiers);
  }
  void Type(const char* text) { QTest::keyClicks(Window().focusWidget(), text); }
  // Whether a text caret is drawn where the message box's cursor stands.
  bool CaretInMessage() {
    const QImage image = Page().Text1->viewport()->grab().toImage();
    const QRect caret = Page().Text1->cursorRect().adjusted(-1, 0, 1, 0) & image.rect();
    for (int y = caret.top(); y <= caret.bottom(); ++y) {
      for (int x = caret.left(); x <= caret.right(); ++x)
        if (qGray(image.pixel(x, y)) < 96) return true;
    }
    return false;
  }
  // The master's keyboard path from the message box on: a line of message, Enter, the
  // destination, Enter, and Enter on the focused Send Data.
  void SendByKeyboard(const EnterKey& enter) {
    Page().Text1->setFocus();
    Type("hi");
    EXPECT_TRUE(CaretInMessage()) << "the message box shows its caret while it has the focus";
    Press(enter);
    EXPECT_EQ(Page().Text1->toPlainText(), QStringLiteral("hi\n")) << "the key still reaches it";
    ASSERT_EQ(Window().focusWidget(), Page().Text2);
    EXPECT_FALSE(CaretInMessage()) << "no caret stays behind in the message box";
    Type("5");
    Press(enter);
    ASSERT_EQ(Window().focusWidget(), Page().Command5);
    Press(enter);
    RunMs(200);
  }
};

class TerminalEnter : public TerminalKeys,
                      public testing::WithParamInterface<std::tuple<bool, EnterKey>> {};

TEST_P(TerminalEnter, AMasterSendsByKeyboardAloneAndASlaveStaysInTheMessage) {
  const auto& [master, enter] = GetParam();
  Load(master ? "host=0" : "host=7");
  Activate();
  if (master) {
    SendByKeyboard(enter);
    EXPECT_EQ(LineFrames().back(), ">> 05 68 69 0D 0A");
    return;
  }
  Page().Text1->setFocus();
  Type("hi");
  Press(enter);
  EXPECT_EQ(Page().Text1->toPlainText(), QStringLiteral("hi\n"));
  EXPECT_EQ(Window().focusWidget(), Page().Text1);
}

INSTANTIATE_TEST_SUITE_P(RoleAndKey, TerminalEnter,
                         testing::Combine(testing::Bool(), testing::Values(kReturn, kKeypadEnter)));

// A master whose module no longer answers keeps its role, and the boxes that go with it: the
// keyboard path still sends to the destination typed.
TEST_F(TerminalKeys, AMasterThatGetsNoAnswerKeepsItsDestinationBox) {
  int initializations = 0;
  LoadOnScript([&](const auto& frame, auto& sink) {
    if (frame.bytes == std::string("$\0", 2) && ++initializations == 1)
      sink.SendToProgram(std::string(1, '\0'), frame.end + 2 * uitest::kMs);
  });
  Window().SSTab1()->setCurrentIndex(operations::kTerminalPage);
  Activate();
  uitest::Click(Page().Command7);
  uitest::Click(Page().Command6);
  uitest::Click(Page().Command7);  // no answer this time
  EXPECT_EQ(initializations, 2);
  // Each wait is timed from after its frame was handed over: the key-up lead does not count.
  for (const double lead : WaitLeads())
    EXPECT_LE(lead, 0.0025);
  EXPECT_EQ(AddressBoxesShown(), std::vector<bool>(4, true));
  EXPECT_FALSE(Page().Label15->isVisible()) << "no connection to announce";
  SendByKeyboard(kReturn);
  EXPECT_EQ(LineFrames().back(), ">> 05 68 69 0D 0A");
}

TEST_F(TerminalPage, AMasterTalksToARemoteAndSeesItsEcho) {
  Load("host=0,remotes=5");
  // A line break goes out as CR LF, and comes back shown as one.
  EXPECT_EQ(Send("a\nb", "5"), (Lines{">> 05 61 0D 0A 62", "<< 05 61 0D 0A 62"}));
  EXPECT_EQ(Radio().Log().Where(sim::Route::AirToRemote).at(0).remote, std::uint8_t{5});
  EXPECT_EQ(Received(), Texts("5", "a\nb"));
}

TEST_F(TerminalPage, StopEmptiesAndHidesThePageButReceivedBlocksStillShow) {
  Load("host=0");
  Page().Text1->setPlainText("AB");
  Page().Text2->setText("5");
  Receive("\x05hi");

  uitest::Click(Page().Command6);
  EXPECT_EQ(PagesEnabled(), std::vector<bool>(3, true));
  EXPECT_EQ(AddressBoxesShown(), std::vector<bool>(4, false));
  EXPECT_FALSE(Page().Label15->isVisible());
  EXPECT_EQ(Texts(Page().Text1->toPlainText(), Page().Text2->text()), Texts());
  EXPECT_EQ(Received(), Texts());
  EXPECT_TRUE(Page().Command7->isEnabled());
  EXPECT_FALSE(Page().Command5->isEnabled());

  // The serial-port object keeps writing into the page's boxes.
  Receive("\x09yo");
  EXPECT_EQ(Received(), Texts("9", "yo"));
}

// Stop during the Initialization wait gives the pages back, so a second operation can start
// inside the first one's wait: another Initialization, or an EEPROM reading. When the inner
// one has ended, the outer wait still runs: the window must not close under it.
class NestedWait : public TerminalPage, public testing::WithParamInterface<bool> {};

TEST_P(NestedWait, TheWindowClosesOnlyOnceTheOuterWaitHasEnded) {
  const bool readEeprom = GetParam();
  std::optional<bool> closedInside;
  After(100, [&] { uitest::Click(Page().Command6); });
  After(150, [&] {
    if (readEeprom) {
      Window().SSTab1()->setCurrentIndex(operations::kProgrammingPage);
      uitest::Click(Window().Programming().Check1[13]);
      uitest::Click(Window().Programming().Command2);
    } else {
      uitest::Click(Page().Command7);
    }
    closedInside = Window().close();  // the inner operation is over, the outer wait is not
  });
  Load("host=0,host-delay=300");
  RunMs(3000);

  EXPECT_EQ(closedInside, std::optional<bool>(false));
  EXPECT_TRUE(Window().close());
  EXPECT_EQ(functions::serial, nullptr);
}

INSTANTIATE_TEST_SUITE_P(InitializationOrEepromReading, NestedWait, testing::Bool(),
                         [](const auto& info) {
                           return std::string(info.param ? "EepromReading" : "Initialization");
                         });

}  // namespace

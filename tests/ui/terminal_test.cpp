// The "&Terminal" page against the simulated radio system: Initialization as master or slave
// or without an answer, Send Data on the line, the Enter keys, Stop, received blocks in the
// page's boxes, and the Close command during the Initialization wait.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <ostream>

#include "operations/terminal_controls.h"
#include "platform/event_service.h"
#include "platform/windows.h"
#include "radio_window.h"

namespace {

using Lines = std::vector<std::string>;

class TerminalPage : public uitest::RadioWindowTest {
 protected:
  void Load(const std::string& options, std::optional<double> timeOfDay = std::nullopt) {
    RadioWindowTest::Load(options, timeOfDay);
    Window().SSTab1()->setCurrentIndex(operations::kTerminalPage);
  }

  const operations::TerminalControls& Page() { return Window().Terminal(); }
  void Initialize() { uitest::Click(Page().Command7); }
  void SendData() { uitest::Click(Page().Command5); }
  // The frames on the line after the first `skip`.
  Lines FramesAfter(std::size_t skip) {
    const Lines all = LineFrames();
    return Lines(all.begin() + static_cast<std::ptrdiff_t>(std::min(skip, all.size())), all.end());
  }
  bool CloseAvailable() { return platform::IsCloseCommandEnabled(Window().hWnd()); }
  std::vector<bool> PagesEnabled() {
    return {Window().SSTab1()->isTabEnabled(0), Window().SSTab1()->isTabEnabled(1),
            Window().SSTab1()->isTabEnabled(2)};
  }
  // Which of the address boxes and their labels are shown: "to", "from" and both labels.
  std::vector<bool> AddressBoxesShown() {
    return {Page().Text2->isVisible(), Page().Text3->isVisible(), Page().Label14->isVisible(),
            Page().Label13->isVisible()};
  }
  // The window active with the focus in the message box, so that keys go where an operator's
  // would.
  void FocusMessageBox() {
    Window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    Page().Text1->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), Page().Text1);
  }
  void Type(const QString& keys) { QTest::keyClicks(QApplication::focusWidget(), keys); }
  void Press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
};

QString Latin1(const std::string& bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

struct RoleCase {
  const char* options;
  const char* answer;  // the address byte on the line
  const char* caption;
  bool addressBoxes;
  int role;
  // The block 0x05 "hi" as the page then shows it: "from" box and received data.
  const char* from;
  std::string received;
};

void PrintTo(const RoleCase& row, std::ostream* out) {
  *out << row.options;
}

class TerminalRole : public TerminalPage, public testing::WithParamInterface<RoleCase> {};

TEST_P(TerminalRole, InitializationAsksTheModuleItsAddressAndSetsUpThePage) {
  const RoleCase& row = GetParam();
  Load(row.options);
  Initialize();
  EXPECT_EQ(LineFrames(), (Lines{">> 24 00 [RTS]", std::string("<< ") + row.answer}));
  EXPECT_TRUE(Page().Label15->isVisible());
  EXPECT_EQ(Page().Label15->text().toStdString(), row.caption);
  EXPECT_EQ(AddressBoxesShown(), std::vector<bool>(4, row.addressBoxes));
  EXPECT_EQ(Window().Session().TerminalRole, row.role);
  EXPECT_FALSE(Page().Command7->isEnabled());
  EXPECT_TRUE(Page().Command5->isEnabled());
  EXPECT_TRUE(Page().Command6->isEnabled());
  EXPECT_EQ(PagesEnabled(), (std::vector<bool>{false, false, true}));
  EXPECT_TRUE(CloseAvailable());
  EXPECT_TRUE(Boxes().Boxes().empty());

  Arrive("\x05hi");
  RunMs(200);
  EXPECT_EQ(Page().Text3->text().toStdString(), row.from);
  EXPECT_EQ(Page().TermText->toPlainText(), Latin1(row.received));
}

INSTANTIATE_TEST_SUITE_P(
    Roles, TerminalRole,
    testing::Values(
        RoleCase{"host=0", "00", "Master-Slave Connection", true, 1, "5", "hi"},
        RoleCase{"host=7", "07", "Slave  7 - Master Connection", false, 0, "", "\x05hi"},
        RoleCase{"host=255", "FF", "Slave  255 - Master Connection", false, 0, "", "\x05hi"}));

// Seconds since midnight at which Initialization starts.
class TerminalSilent : public TerminalPage, public testing::WithParamInterface<double> {};

TEST_P(TerminalSilent, WithoutAnAnswerOnlyTheButtonsAndPagesChangeUntilStop) {
  Load("silent", GetParam());
  const platform::Micros before = Time().NowMicros();
  Initialize();
  EXPECT_GE(Time().NowMicros() - before, 700'000);
  EXPECT_LT(Time().NowMicros() - before, 2'000'000) << "the wait ends at its limit";
  EXPECT_EQ(LineFrames(), Lines{">> 24 00 [RTS]"});
  EXPECT_TRUE(Page().Label15->text().isEmpty());
  EXPECT_EQ(AddressBoxesShown(), std::vector<bool>(4, false));
  EXPECT_EQ(Window().Session().TerminalRole, 0);
  EXPECT_TRUE(Window().Session().LocalModuleAddress.empty());
  EXPECT_TRUE(Page().Command5->isEnabled());
  EXPECT_TRUE(Page().Command6->isEnabled());
  EXPECT_EQ(PagesEnabled(), (std::vector<bool>{false, false, true}));
  EXPECT_TRUE(CloseAvailable());
  EXPECT_TRUE(Boxes().Boxes().empty());
  RunMs(5000);
  EXPECT_FALSE(Page().Command7->isEnabled());

  uitest::Click(Page().Command6);
  EXPECT_TRUE(Page().Command7->isEnabled());
  EXPECT_EQ(PagesEnabled(), (std::vector<bool>{true, true, true}));
}

// A wait that runs across midnight still ends after its limit.
INSTANTIATE_TEST_SUITE_P(TimesOfDay, TerminalSilent, testing::Values(36000.0, 86399.8));

struct SendCase {
  const char* options;
  const char* destination;
  const char* message;
  Lines written;
};

void PrintTo(const SendCase& row, std::ostream* out) {
  *out << row.options << " to '" << row.destination << "': '"
       << QString::fromLatin1(row.message).replace("\n", "\\n").toStdString() << "'";
}

class TerminalSend : public TerminalPage, public testing::WithParamInterface<SendCase> {};

TEST_P(TerminalSend, WritesTheMessagePlainAfterTheDestinationOnAMaster) {
  const SendCase& row = GetParam();
  Load(row.options);
  Initialize();
  Page().Text2->setText(row.destination);
  Page().Text1->setPlainText(row.message);
  Arrive("\x03xy");
  RunMs(200);
  const QString fromBefore = Page().Text3->text();
  const QString receivedBefore = Page().TermText->toPlainText();
  ASSERT_FALSE(receivedBefore.isEmpty());
  const std::size_t before = LineFrames().size();

  SendData();
  RunMs(200);
  EXPECT_EQ(FramesAfter(before), row.written);
  EXPECT_EQ(Page().Text1->toPlainText(), QString::fromLatin1(row.message));
  if (row.written.empty()) {
    EXPECT_EQ(Page().Text3->text(), fromBefore);
    EXPECT_EQ(Page().TermText->toPlainText(), receivedBefore);
  } else {
    EXPECT_TRUE(Page().Text3->text().isEmpty());
    EXPECT_TRUE(Page().TermText->toPlainText().isEmpty());
  }
  EXPECT_TRUE(CloseAvailable());
  EXPECT_TRUE(Page().Command6->isEnabled());
  EXPECT_EQ(PagesEnabled(), (std::vector<bool>{false, false, true}));
  EXPECT_TRUE(Boxes().Boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Messages, TerminalSend,
                         testing::Values(SendCase{"host=0", " 12 ", "AB", {">> 0C 41 42"}},
                                         SendCase{"host=0", "0", "AB", {">> 00 41 42"}},
                                         SendCase{"host=0", "255", "AB", {">> FF 41 42"}},
                                         SendCase{"host=7", "", "AB", {">> 41 42"}},
                                         // A line break goes out as CR LF.
                                         SendCase{"host=7", "", "A\nB", {">> 41 0D 0A 42"}},
                                         SendCase{"host=0", "12", "", {}},
                                         SendCase{"host=7", "", "", {}}));

class TerminalBadDestination : public TerminalPage,
                               public testing::WithParamInterface<const char*> {};

TEST_P(TerminalBadDestination, SendsNothingAndSelectsTheDestinationForCorrection) {
  Load("host=0");
  Initialize();
  Page().Text1->setPlainText("AB");
  Page().Text2->setText(GetParam());
  Page().Text1->setFocus();
  const std::size_t before = LineFrames().size();

  SendData();
  RunMs(200);
  EXPECT_EQ(FramesAfter(before), Lines{});
  EXPECT_EQ(Window().focusWidget(), Page().Text2);
  EXPECT_EQ(Page().Text2->selectedText(), Page().Text2->text());
  EXPECT_EQ(Page().Text2->hasSelectedText(), !Page().Text2->text().isEmpty());
  EXPECT_TRUE(Boxes().Boxes().empty());
  EXPECT_TRUE(CloseAvailable());
}

INSTANTIATE_TEST_SUITE_P(Destinations, TerminalBadDestination,
                         testing::Values("", "  ", "x", "256", "-1", "1.5", "1 2", "0x0C"));

struct EnterCase {
  const char* options;
  bool master;
};

void PrintTo(const EnterCase& row, std::ostream* out) {
  *out << row.options;
}

class TerminalEnter : public TerminalPage, public testing::WithParamInterface<EnterCase> {};

TEST_P(TerminalEnter, EnterInTheMessageMovesOnToTheDestinationOnAMasterOnly) {
  Load(GetParam().options);
  Initialize();
  ASSERT_NO_FATAL_FAILURE(FocusMessageBox());
  Type("hi");
  Press(Qt::Key_Return);
  // The key still reaches the message box.
  EXPECT_EQ(Page().Text1->toPlainText(), QStringLiteral("hi\n"));
  if (!GetParam().master) {
    EXPECT_EQ(QApplication::focusWidget(), Page().Text1);
    return;
  }
  ASSERT_EQ(QApplication::focusWidget(), Page().Text2);
  Type("5");
  Press(Qt::Key_Return);
  EXPECT_EQ(Page().Text2->text(), QStringLiteral("5"));
  ASSERT_EQ(QApplication::focusWidget(), Page().Command5);
  // The focused Send Data button takes the space bar: the message goes to module 5.
  const std::size_t before = LineFrames().size();
  Press(Qt::Key_Space);
  RunMs(200);
  EXPECT_EQ(FramesAfter(before), Lines{">> 05 68 69 0D 0A"});
}

INSTANTIATE_TEST_SUITE_P(Roles, TerminalEnter,
                         testing::Values(EnterCase{"host=0", true}, EnterCase{"host=7", false}));

TEST_F(TerminalPage, AMasterTalksToARemoteAndSeesItsEcho) {
  Load("host=0,remotes=5");
  Initialize();
  Page().Text1->setPlainText("hello");
  Page().Text2->setText("5");
  std::size_t before = LineFrames().size();
  SendData();
  RunMs(300);
  EXPECT_EQ(FramesAfter(before), (Lines{">> 05 68 65 6C 6C 6F", "<< 05 68 65 6C 6C 6F"}));
  const auto heard = Radio().Log().Where(sim::Route::AirToRemote);
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].remote, std::uint8_t{5});
  EXPECT_EQ(Page().Text3->text(), QStringLiteral("5"));
  EXPECT_EQ(Page().TermText->toPlainText(), QStringLiteral("hello"));

  // Nobody answers to address 6: the boxes stay empty.
  Page().Text2->setText("6");
  before = LineFrames().size();
  SendData();
  RunMs(300);
  EXPECT_EQ(FramesAfter(before), Lines{">> 06 68 65 6C 6C 6F"});
  EXPECT_TRUE(Page().Text3->text().isEmpty());
  EXPECT_TRUE(Page().TermText->toPlainText().isEmpty());
}

TEST_F(TerminalPage, AnEchoedLineBreakShowsAsOne) {
  Load("host=0,remotes=5");
  Initialize();
  Page().Text1->setPlainText("a\nb");
  Page().Text2->setText("5");
  SendData();
  RunMs(300);
  EXPECT_EQ(LineFrames().back(), "<< 05 61 0D 0A 62");
  EXPECT_EQ(Page().TermText->toPlainText(), QStringLiteral("a\nb"));
}

TEST_F(TerminalPage, StopEmptiesAndHidesThePageButReceivedBlocksStillShow) {
  Load("host=0");
  Initialize();
  Page().Text1->setPlainText("AB");
  Page().Text2->setText("5");
  Arrive("\x05hi");
  RunMs(200);
  ASSERT_EQ(Page().Text3->text(), QStringLiteral("5"));
  const std::size_t before = LineFrames().size();

  uitest::Click(Page().Command6);
  RunMs(200);
  EXPECT_EQ(FramesAfter(before), Lines{});
  EXPECT_EQ(PagesEnabled(), (std::vector<bool>{true, true, true}));
  EXPECT_EQ(AddressBoxesShown(), std::vector<bool>(4, false));
  EXPECT_FALSE(Page().Label15->isVisible());
  for (const QString& text : {Page().Text1->toPlainText(), Page().Text2->text(),
                              Page().Text3->text(), Page().TermText->toPlainText()}) {
    EXPECT_TRUE(text.isEmpty()) << text.toStdString();
  }
  EXPECT_TRUE(Page().Command7->isEnabled());
  EXPECT_FALSE(Page().Command5->isEnabled());
  EXPECT_TRUE(Page().Command6->isEnabled());
  EXPECT_TRUE(CloseAvailable());
  EXPECT_EQ(Window().Session().TerminalRole, 1);

  // The serial-port object keeps writing into the page's boxes.
  Arrive("\x09yo");
  RunMs(200);
  EXPECT_EQ(Page().TermText->toPlainText(), QStringLiteral("yo"));
  EXPECT_EQ(Page().Text3->text(), QStringLiteral("9"));
}

// What the operator does while Initialization waits for the module's answer.
struct WaitCase {
  const char* name;
  QPushButton* operations::TerminalControls::*button;  // clicked during the wait, if any
};

void PrintTo(const WaitCase& row, std::ostream* out) {
  *out << row.name;
}

class TerminalWait : public TerminalPage, public testing::WithParamInterface<WaitCase> {};

TEST_P(TerminalWait, TheWindowCannotBeClosedWhileInitializationWaits) {
  Load("silent");
  Page().Text1->setPlainText("AB");
  bool ran = false, closed = false, closeOffered = true;
  std::uintptr_t timer = 0;
  timer = platform::Events().StartTimer(300, [&] {
    platform::Events().StopTimer(timer);
    ran = true;
    if (GetParam().button != nullptr) uitest::Click(Page().*GetParam().button);
    closeOffered = CloseAvailable();
    closed = Window().close();
  });
  Initialize();
  ASSERT_TRUE(ran) << "the wait did not yield";
  EXPECT_FALSE(closeOffered);
  EXPECT_FALSE(closed);
  EXPECT_TRUE(Window().Loaded());
  EXPECT_NE(functions::serial, nullptr);
  // Once the wait is over the window may close.
  EXPECT_TRUE(CloseAvailable());
  EXPECT_TRUE(Window().close());
  EXPECT_FALSE(Window().Loaded());
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, TerminalWait,
    testing::Values(WaitCase{"Nothing", nullptr},
                    WaitCase{"Stop", &operations::TerminalControls::Command6},
                    WaitCase{"SendData", &operations::TerminalControls::Command5}),
    [](const testing::TestParamInfo<WaitCase>& info) { return std::string(info.param.name); });

}  // namespace

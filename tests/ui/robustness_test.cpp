// What real lines do to the program: storms of line errors, and messages longer than one write.

#include <algorithm>

#include "radio_window.h"

namespace {

using uitest::Micros;

using Robustness = uitest::RadioWindowTest;

TEST_F(Robustness, AStormOfLineErrorsLeavesAtMostOneWaitingBoxOfEachKind) {
  LoadOnScript();
  // The operator takes half a second over each box and presses OK; all six errors come every
  // millisecond for two seconds.
  std::vector<Micros> shownAt;
  Boxes().WhileOpen([&](const testsupport::MessageBoxRecorder::Box&) {
    shownAt.push_back(Time().NowMicros());
    RunMs(500);
  });
  const Micros start = Time().NowMicros();
  const Micros end = start + 2'000'000;
  for (Micros at = start + 100'000; at < end; at += 1'000)
    Line().InjectLineError(0x1F | 0x100, at);
  Line().SendToProgram("still alive", start + 1'000'000);
  RunMs(10000);

  const auto texts = Boxes().Texts();
  ASSERT_GT(texts.size(), 6u) << "errors that came after the first went unseen";
  EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + 6),
            (std::vector<std::string>{"Receive Queue Full Error", "Receive Overrun Error",
                                      "Receive Parity Error", "Frame Error", "Break Detected",
                                      "Transmit Queue Full"}));
  EXPECT_EQ(Boxes().MostOpenAtOnce(), 1);
  EXPECT_EQ(Boxes().Boxes()[0].caption, "Errore");
  EXPECT_EQ(Boxes().Boxes()[0].style, 17u) << "OK and Cancel, the stop sign";
  // Once the last errors have been found (a tick or two after the storm), what is still to be
  // shown is what waited then: one box of each kind at most.
  const auto shownLater = std::count_if(shownAt.begin(), shownAt.end(),
                                        [&](Micros at) { return at > end + 1'000'000; });
  EXPECT_LE(shownLater, 6) << "a kind of error waited more than once";
  EXPECT_EQ(functions::TakeReply(), "still alive") << "reading went on through the storm";
}

TEST_F(Robustness, CancelSilencesLineErrorBoxesUntilThePortIsOpenedAgain) {
  Boxes().Press(platform::IDCANCEL);
  testing::internal::CaptureStderr();
  Load("error=frame+parity+overrun+break+rxover+txfull@500/1");
  RunMs(2000);
  const std::string written = testing::internal::GetCapturedStderr();

  EXPECT_EQ(Boxes().Texts(), std::vector<std::string>{"Receive Queue Full Error"});
  EXPECT_NE(written.find(": COM1 (sim:error="), std::string::npos) << written;
  EXPECT_NE(written.find("): line error at "), std::string::npos) << written;
  EXPECT_NE(written.find(" s: Frame Error"), std::string::npos) << written;
  EXPECT_TRUE(Window().close()) << "the operator is not locked in";

  Window().Form_Load();  // opening the port again brings the boxes back
  testing::internal::CaptureStderr();
  RunMs(1000);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(Boxes().Texts().size(), 2u);
}

// Errors that came while the first box was open wait for it; OK shows them next, Cancel
// drops them with the box.
TEST_F(Robustness, CancelAlsoDropsTheBoxesAlreadyWaiting) {
  const struct Row {
    std::int32_t button;
    std::size_t boxes;
  } rows[] = {{platform::IDOK, 3}, {platform::IDCANCEL, 1}};
  LoadOnScript();
  Boxes().WhileOpen([&](const testsupport::MessageBoxRecorder::Box&) { RunMs(300); });
  for (const Row& row : rows) {
    SCOPED_TRACE(row.button);
    Boxes().Press(row.button);
    const std::size_t before = Boxes().Texts().size();
    const Micros start = Time().NowMicros();
    Line().InjectLineError(win32::CE_FRAME, start + 100'000);
    Line().InjectLineError(win32::CE_RXPARITY, start + 200'000);
    Line().InjectLineError(win32::CE_BREAK, start + 250'000);
    testing::internal::CaptureStderr();
    RunMs(2000);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(Boxes().Texts().size() - before, row.boxes);
  }
}

// What stays queued behind a write goes out in front of the next command: a message must fit
// one write (1024 bytes) with its address byte, so that a later reading cannot write the EEPROM.
TEST_F(Robustness, TheMessageBoxTakesNoMoreThanOneWriteCarries) {
  Load("host=0");
  const auto& terminal = Window().Terminal();
  Window().SSTab1()->setCurrentIndex(operations::kTerminalPage);
  uitest::Click(terminal.Command7);  // a master: its messages carry the address byte
  terminal.Text1->setFocus();
  terminal.Text1->insertPlainText(QString(1022, 'A'));
  QTest::keyClicks(terminal.Text1, "A#");
  terminal.Text1->insertPlainText("BC");
  EXPECT_EQ(terminal.Text1->toPlainText(), QString(1023, 'A')) << "typing and pasting refused";

  // A line break is CR LF, two bytes; it goes whole or not at all.
  const std::pair<QString, QString> pasted[] = {
      {QString(1020, 'A') + "\nBCD", QString(1020, 'A') + "\nB"},
      {QString(1021, 'A') + "\nBCD", QString(1021, 'A') + "\n"},  // cut on the break: full
      {QString(1022, 'A') + "\nB", QString(1022, 'A')},
  };
  for (const auto& [text, kept] : pasted) {
    terminal.Text1->setPlainText(text);
    EXPECT_EQ(terminal.Text1->toPlainText(), kept) << kept.size();
  }
  terminal.Text1->setPlainText(QString(1020, 'A') + "\nBCD");

  terminal.Text2->setText("1");
  uitest::Click(terminal.Command5);
  RunMs(3000);  // out, over the air, and the remote's echo back
  EXPECT_EQ(Sent().back().bytes.size(), 1024u) << "the message went out whole in one write";
  uitest::Click(terminal.Command6);
  Window().SSTab1()->setCurrentIndex(operations::kProgrammingPage);
  uitest::Click(Window().Programming().Check1[13]);
  uitest::Click(Window().Programming().Command2);
  EXPECT_EQ(testsupport::Hex(Sent().back().bytes), "24 0D");
  EXPECT_EQ(Radio().Host().EepromRegisters()[13], 0xFF) << "the reading wrote nothing";
}

}  // namespace

// The two EEPROM buttons of the "&Programming" page on the loaded main window: what the
// operator sees, the frames on the line with their keying and pauses, and the waits' limits.

#include <stdexcept>

#include "operations/register_table.h"
#include "radio_window.h"

namespace {

using uitest::kClockGrain;
using uitest::kMs;
using uitest::Micros;
using EepromPage = uitest::EepromPageTest;
using Lines = std::vector<std::string>;

constexpr Micros kWritePause = 1000 * kMs;
constexpr Micros kReplyLimit = 700 * kMs;

// Registers 0 and 31 read, then register 0 programmed with 255, on the host module with keyed
// frames or on the remote module with the same frames plain.
class ReadingThenProgramming : public EepromPage, public testing::WithParamInterface<bool> {};

TEST_P(ReadingThenProgramming, ShowsValuesInDarkBlueThenWrites255PausesReadsItBackTurnsGreen) {
  const bool remote = GetParam();
  const std::string key = remote ? "" : " [RTS]";
  Load("host=7,remotes=9");
  if (remote) uitest::Click(Page().Option2);
  for (QLineEdit* box : Page().Text6)
    box->setText("-");
  Select({0, 31});

  Run(Reading());

  for (int row = 0; row < 32; ++row) {
    const QString read = row == 0 ? (remote ? "9" : "7") : row == 31 ? "18" : "";
    EXPECT_EQ(Value(row), read.isEmpty() ? "-" : read) << row;
    EXPECT_EQ(Colour(row), read.isEmpty() ? uitest::SystemTextColour() : uitest::kDarkBlue) << row;
  }
  EXPECT_EQ(Status(), "OK, EEPROM CORRECTLY READ");

  Select({31});  // deselected again
  Page().Text6[0]->setText("255");
  Run(Writing());

  EXPECT_EQ(LineFrames(), (Lines{">> 24 00" + key, remote ? "<< 09" : "<< 07", ">> 24 1F" + key,
                                 "<< 12", ">> 23 00 FF" + key, ">> 24 00" + key, "<< FF"}));
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 4u);
  EXPECT_GE(sent[3].start - sent[2].start, kWritePause - kClockGrain);
  if (!remote) {  // RTS raised at least 20 ms before a "$" frame, 10 ms before a "#" frame
    for (const auto& frame : sent)
      EXPECT_GE(RtsLead(frame.start), (frame.bytes[0] == '#' ? 10 : 20) * kMs);
  }
  EXPECT_EQ((remote ? Radio().Remotes().at(0) : Radio().Host()).EepromRegisters()[0], 0xFF);
  EXPECT_EQ((remote ? Radio().Host() : Radio().Remotes().at(0)).EepromRegisters()[0],
            remote ? 7 : 9)
      << "only the module addressed took it";
  EXPECT_EQ(Colour(0), uitest::kGreen);
  for (int row = 1; row < 32; ++row)
    EXPECT_EQ(Colour(row), uitest::SystemTextColour()) << row;
  EXPECT_EQ(Status(), "OK, EEPROM PROGRAMMED");
}

INSTANTIATE_TEST_SUITE_P(HostAndRemote, ReadingThenProgramming, testing::Bool());

TEST_F(EepromPage, AValueOnlyOnTheSecondRequestIsMarkedAndFailsTheRun) {
  int requestsOf5 = 0;
  LoadOnScript([&](const auto& frame, auto& sink) {
    if (frame.bytes == "$\x04") sink.SendToProgram("A", frame.end + 2 * kMs);
    // Register 5 answers its second request only, as that wait reaches its limit.
    if (frame.bytes == "$\x05" && ++requestsOf5 == 2) AnswerAtTheLimit("B");
  });
  Select({4, 5});
  // In register 5's first wait, the reply flag goes up with no text to take: no answer. Nor
  // does register 4's value show before the run has read them all.
  After(300, [this] {
    functions::ReplyArrivedFlag = true;
    EXPECT_EQ(Value(4), "255");
  });

  Run(Reading());

  EXPECT_EQ(LineFrames(), (Lines{">> 24 04 [RTS]", "<< 41", ">> 24 05 [RTS]", ">> 24 05 [RTS]"}));
  EXPECT_EQ(Value(5), ". 66");
  EXPECT_EQ(Colour(5), uitest::kDarkBlue);
  EXPECT_EQ(Status(), "EEPROM READING ERROR");
  // Each wait's clock was read before its command went out, so the key-up lead counts.
  for (const double lead : WaitLeads())
    EXPECT_GE(lead, 0.018);
}

TEST_F(EepromPage, WithNoRowSelectedBothButtonsOnlyResetTheColours) {
  Load("host=7");
  for (QPushButton* button : {Reading(), Writing()}) {
    Window().RegisterTable().ValueColour(3, uitest::kDarkBlue);
    Page().Text6[9]->setText("12");

    Run(button);

    EXPECT_EQ(Status(), "NO REGISTER SELECT");
    for (int row = 0; row < 32; ++row)
      EXPECT_EQ(Colour(row), uitest::kReset) << row;
    EXPECT_EQ(Value(9), "12");
    EXPECT_TRUE(LineFrames().empty());
  }
}

TEST_F(EepromPage, RejectedValuesTurnRedAreResetAndDeselectedAndNothingIsWritten) {
  Load("host=7");
  Page().Text6[2]->setText("7");
  Select({2});
  for (const auto& [text, shown] :
       {std::pair{"256", "0"}, std::pair{"-1", "0"}, std::pair{"1000", "000"}}) {
    Page().Text6[5]->setText(text);
    Select({5});

    Run(Writing());

    EXPECT_EQ(Value(5), shown) << text;
    EXPECT_EQ(Colour(5), uitest::kRed) << text;
    EXPECT_FALSE(Page().Check1[5]->isChecked()) << text;
    EXPECT_EQ(Status(), "Out of Range Programming Values");
    // The row that passed the check is left as it was, and not written either.
    EXPECT_TRUE(LineFrames().empty());
    EXPECT_TRUE(Page().Check1[2]->isChecked());
    EXPECT_EQ(Colour(2), uitest::kReset);
  }
}

TEST_F(EepromPage, AFailedReadBackIsRedAndTheConfirmedRowsAreNotMarked) {
  LoadOnScript([&](const auto& frame, auto& sink) {
    if (frame.bytes == "$\x01") sink.SendToProgram("\x0B", frame.end + 2 * kMs);  // not 10
    if (frame.bytes == "$\x02") sink.SendToProgram("\x14", frame.end + 2 * kMs);
    if (frame.bytes == "$\x03") {  // a wrong byte first, the written one as the wait ends
      sink.SendToProgram("\x1F", frame.end + 2 * kMs);
      AnswerAtTheLimit("\x1E");
    }
  });
  for (int row = 1; row <= 3; ++row)
    Page().Text6[row]->setText(QString::number(10 * row));
  Select({1, 2, 3});

  Run(Writing());

  EXPECT_EQ(LineFrames(),
            (Lines{">> 23 01 0A [RTS]", ">> 23 02 14 [RTS]", ">> 23 03 1E [RTS]", ">> 24 01 [RTS]",
                   "<< 0B", ">> 24 02 [RTS]", "<< 14", ">> 24 03 [RTS]", "<< 1F"}));
  EXPECT_EQ(Colour(1), uitest::kRed);
  EXPECT_EQ(Colour(2), uitest::kReset);
  EXPECT_EQ(Colour(3), uitest::kReset);
  EXPECT_EQ(Status(), "PROGRAMMING ERROR");
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 6u);
  // A differing reply does not end the wait: register 1 is given its whole 0.7 s.
  EXPECT_GE(sent[4].start - sent[3].start, kReplyLimit - kClockGrain);
  // The pause after a write is counted from after the send; a read-back wait from before it.
  const auto leads = WaitLeads();
  for (std::size_t i = 0; i < leads.size(); ++i)
    EXPECT_TRUE(i < 3 ? leads[i] <= 0.0025 : leads[i] >= 0.018)
        << "frame " << i << ": " << leads[i];
}

// When the button is clicked (seconds since midnight), which button, and the waits' limits
// added up.
class SilentModule : public EepromPage,
                     public testing::WithParamInterface<std::tuple<double, bool, Micros>> {};

TEST_P(SilentModule, FailsTheRowAfterEachWaitsLimitEvenAcrossMidnightAndRefusesClicksMeanwhile) {
  const auto [start, writing, least] = GetParam();
  Load("silent", start);
  Page().Text6[4]->setText("4");
  Select({4});
  After(500, [&] {
    EXPECT_FALSE(CloseAvailable());
    EXPECT_EQ(PagesEnabled(), (std::vector<bool>{true, false, false}));
    EXPECT_TRUE(Reading()->isEnabled() && Writing()->isEnabled());
    uitest::Click(Reading());
    uitest::Click(Writing());
    EXPECT_EQ(Status(), writing ? "EEPROM PROGRAMMING" : "EEPROM Reading");
  });
  // A wait that never ended would hold the test for good: cut it off as a raised error.
  const auto cutOff = After(30000, [] { throw std::runtime_error("the wait did not end"); });

  Run(writing ? Writing() : Reading());
  Time().StopTimer(cutOff);

  EXPECT_GE(Time().NowMicros(), least);  // the clock started with the window
  EXPECT_EQ(LineFrames().size(), 2u) << "a click during the run started another";
  EXPECT_EQ(Value(4), writing ? "4" : "NO");
  EXPECT_EQ(Colour(4), uitest::kRed);
  EXPECT_EQ(Status(), writing ? "PROGRAMMING ERROR" : "EEPROM READING ERROR");
}

INSTANTIATE_TEST_SUITE_P(
    Waits, SilentModule,
    testing::Values(std::tuple{86399.9, false, 2 * (kReplyLimit - kClockGrain)},  // both reads
                    std::tuple{86399.5, true, kWritePause + kReplyLimit - 2 * kClockGrain},
                    std::tuple{86398.8, true, kWritePause + kReplyLimit - 2 * kClockGrain}));

}  // namespace

// "EEPROM Writing" on the loaded main window: the check of the value texts, the write frames
// with their pause, the read-back and what the operator sees of its outcome; and the waits of
// both EEPROM buttons across midnight.

#include <gmock/gmock.h>

#include <QLineEdit>
#include <stdexcept>

#include "eeprom_page.h"
#include "operations/register_table.h"

namespace {

using eepromtest::kClockGrain;
using eepromtest::kMs;
using eepromtest::kSecond;
using eepromtest::Micros;
using testing::ElementsAreArray;
using testsupport::ScriptedPeer;

constexpr Micros kWritePause = kSecond;
constexpr Micros kReplyLimit = 700 * kMs;
constexpr Micros kHashLead = 10 * kMs;
constexpr Micros kDollarLead = 20 * kMs;

using EepromWriting = eepromtest::EepromPageTest;

struct ModuleCase {
  const char* name;
  bool remote;
  std::vector<std::string> lines;
};
void PrintTo(const ModuleCase& c, std::ostream* os) {
  *os << c.name;
}

class ProgrammingRegister0 : public EepromWriting,
                             public testing::WithParamInterface<ModuleCase> {};

TEST_P(ProgrammingRegister0, Writes255PausesReadsItBackAndTurnsGreen) {
  const ModuleCase& c = GetParam();
  OpenOnRadioSystem("host=7,remotes=9");
  if (c.remote) ChooseRemoteModule();
  Select({0});  // the box still shows its "255"

  Run(WritingButton());

  EXPECT_THAT(Lines(), ElementsAreArray(c.lines));
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_GE(sent[1].start - sent[0].start,
            kWritePause - kClockGrain + (c.remote ? 0 : kDollarLead));
  if (!c.remote) {
    EXPECT_GE(RtsLeadBefore(sent[0].start), kHashLead);
    EXPECT_GE(RtsLeadBefore(sent[1].start), kDollarLead);
  }
  const auto& programmed = c.remote ? Radio().Remotes().at(0) : Radio().Host();
  const auto& untouched = c.remote ? Radio().Host() : Radio().Remotes().at(0);
  EXPECT_EQ(programmed.EepromRegisters()[0], 0xFF);
  EXPECT_EQ(untouched.EepromRegisters()[0], c.remote ? 7 : 9);

  EXPECT_EQ(Value(0), "255");
  EXPECT_EQ(Colour(0), operations::kConfirmedColour);
  for (int row = 1; row < operations::kRegisterCount; ++row)
    EXPECT_EQ(Colour(row), operations::SystemWindowTextColour()) << row;
  EXPECT_EQ(Status(), "OK, EEPROM PROGRAMMED");
  ASSERT_FALSE(Glimpses().empty());
  for (const auto& glimpse : Glimpses())
    EXPECT_EQ(glimpse.status, "EEPROM PROGRAMMING");
}

INSTANTIATE_TEST_SUITE_P(
    , ProgrammingRegister0,
    testing::Values(
        ModuleCase{"HostKeyed", false, {">> 23 00 FF [RTS]", ">> 24 00 [RTS]", "<< FF"}},
        ModuleCase{"RemotePlain", true, {">> 23 00 FF", ">> 24 00", "<< FF"}}),
    eepromtest::ByName());

struct Rejected {
  const char* text;
  const char* shown;
};

void PrintTo(const Rejected& r, std::ostream* os) {
  *os << '"' << r.text << '"';
}

class RejectedValue : public EepromWriting, public testing::WithParamInterface<Rejected> {};

TEST_P(RejectedValue, TurnsRedIsResetAndDeselectedAndNothingIsWritten) {
  OpenOnRadioSystem("host=7");
  Page().Text6[2]->setText("7");
  Page().Text6[5]->setText(GetParam().text);
  Page().Text6[9]->setText("9");
  Select({2, 5, 9});

  Run(WritingButton());

  EXPECT_EQ(Value(5), GetParam().shown);
  EXPECT_EQ(Colour(5), operations::kFailedColour);
  EXPECT_FALSE(Selected(5));
  EXPECT_EQ(Status(), "Out of Range Programming Values");
  // The rows that passed the check are left as they were, and not written either.
  EXPECT_TRUE(Lines().empty());
  EXPECT_EQ(Radio().Host().EepromRegisters()[2], 0x16);
  for (const int row : {2, 9}) {
    EXPECT_TRUE(Selected(row));
    EXPECT_EQ(Colour(row), operations::kResetColour);
  }
  EXPECT_EQ(Value(2), "7");
  EXPECT_EQ(Colour(10), operations::kResetColour);
}

INSTANTIATE_TEST_SUITE_P(, RejectedValue,
                         testing::Values(Rejected{"256", "0"}, Rejected{"-1", "0"},
                                         Rejected{"1e3", "0"}, Rejected{"1000", "000"},
                                         Rejected{". 12", "000"}, Rejected{" 12 ", "000"}));

TEST_F(EepromWriting, ValueTextsAreReadAsNumbersAndRoundedHalfToEven) {
  struct Accepted {
    int row;
    const char* text;
    int written;
  };
  const Accepted accepted[] = {{1, "", 0},       {2, "abc", 0},    {3, "2.5", 2},  {4, "3.5", 4},
                               {5, "&HF", 15},   {6, ". 5", 0},    {7, "0.5", 0},  {8, "1.5", 2},
                               {9, " 7 ", 7},    {10, "1E2", 100}, {11, "&O7", 7}, {12, "2 5", 25},
                               {13, "255", 255}, {14, "9x", 9},    {15, "-0", 0}};
  OpenOnRadioSystem("host=7");
  std::vector<int> rows;
  for (const Accepted& a : accepted) {
    Page().Text6[a.row]->setText(a.text);
    rows.push_back(a.row);
  }
  Select(rows);

  Run(WritingButton());

  std::vector<testsupport::Frame> writes;
  for (const auto& frame : Sent()) {
    if (frame.bytes.front() == '#') writes.push_back(frame);
  }
  ASSERT_EQ(writes.size(), std::size(accepted));
  for (std::size_t i = 0; i < writes.size(); ++i) {
    const Accepted& a = accepted[i];
    SCOPED_TRACE(testing::Message() << "row " << a.row << " \"" << a.text << '"');
    EXPECT_EQ(writes[i].bytes,
              std::string({'#', static_cast<char>(a.row), static_cast<char>(a.written)}));
    if (i > 0) {
      EXPECT_GE(writes[i].start - writes[i - 1].start, kWritePause - kClockGrain);
    }
    EXPECT_EQ(Radio().Host().EepromRegisters()[a.row], a.written);
    EXPECT_EQ(Value(a.row), QString::number(a.written));
    EXPECT_EQ(Colour(a.row), operations::kConfirmedColour);
  }
  EXPECT_EQ(Status(), "OK, EEPROM PROGRAMMED");
}

TEST_F(EepromWriting, AFailedReadBackIsRedAndTheConfirmedRowsAreNotMarked) {
  std::vector<float> startTimes;
  OpenOnScript([&](const ScriptedPeer::Received& frame, win32::PeerSink& sink) {
    startTimes.push_back(Window().Session().StartTime);
    if (frame.bytes == "$\x01") sink.SendToProgram("\x0B", frame.end + 2 * kMs);  // not 10
    if (frame.bytes == "$\x02") sink.SendToProgram("\x14", frame.end + 2 * kMs);
    if (frame.bytes == "$\x03") {  // a wrong byte first, the written one later
      sink.SendToProgram("\x1F", frame.end + 2 * kMs);
      sink.SendToProgram("\x1E", frame.end + 300 * kMs);
    }
  });
  Page().Text6[1]->setText("10");
  Page().Text6[2]->setText("20");
  Page().Text6[3]->setText("30");
  Select({1, 2, 3});

  Run(WritingButton());

  EXPECT_THAT(Lines(),
              ElementsAreArray({">> 23 01 0A [RTS]", ">> 23 02 14 [RTS]", ">> 23 03 1E [RTS]",
                                ">> 24 01 [RTS]", "<< 0B", ">> 24 02 [RTS]", "<< 14",
                                ">> 24 03 [RTS]", "<< 1F", "<< 1E"}));
  EXPECT_EQ(Value(1), "10");
  EXPECT_EQ(Colour(1), operations::kFailedColour);
  EXPECT_EQ(Value(2), "20");
  EXPECT_EQ(Colour(2), operations::kResetColour);
  EXPECT_EQ(Value(3), "30");
  EXPECT_EQ(Colour(3), operations::kResetColour);
  EXPECT_EQ(Colour(0), operations::SystemWindowTextColour());
  EXPECT_EQ(Status(), "PROGRAMMING ERROR");

  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 6u);
  // A differing reply does not end the wait: register 1 is given its whole 0.7 s.
  EXPECT_GE(sent[4].start - sent[3].start, kReplyLimit - kClockGrain);
  // The pause after a write is counted from after the send; a read-back wait from before it.
  ASSERT_EQ(startTimes.size(), sent.size());
  for (std::size_t i = 0; i < sent.size(); ++i) {
    const double sentAt = SecondsAt(sent[i].start);
    if (i < 3) {
      EXPECT_GE(startTimes[i], sentAt - 0.0025) << "write " << i;
    } else {
      EXPECT_GE(sentAt - startTimes[i], 0.018) << "read-back " << i;
    }
  }
}

struct MidnightCase {
  const char* name;
  double start;  // seconds since midnight when the button is clicked
  bool writing;
  Micros least;  // the waits' limits, added up
  const char* verdict;
};
void PrintTo(const MidnightCase& c, std::ostream* os) {
  *os << c.name;
}

class AcrossMidnight : public EepromWriting, public testing::WithParamInterface<MidnightCase> {};

TEST_P(AcrossMidnight, AWaitStillEndsAfterItsLimit) {
  const MidnightCase& c = GetParam();
  StartClockAt(c.start);
  OpenOnRadioSystem("silent");
  Page().Text6[4]->setText("4");
  Select({4});
  // A wait that never ended would hold the test for good: cut it off as a raised error.
  After(30 * kSecond, [] { throw std::runtime_error("the wait did not end"); });

  const Micros took = Run(c.writing ? WritingButton() : ReadingButton());

  EXPECT_TRUE(Ends().empty()) << "the run was cut off";
  EXPECT_GE(took, c.least);
  EXPECT_EQ(Status(), c.verdict);
  EXPECT_EQ(Colour(4), operations::kFailedColour);
}

INSTANTIATE_TEST_SUITE_P(
    , AcrossMidnight,
    testing::Values(MidnightCase{"FirstReadingWait", 86399.9, false,
                                 2 * (kReplyLimit - kClockGrain), "EEPROM READING ERROR"},
                    MidnightCase{"PauseAfterAWrite", 86399.5, true,
                                 kWritePause + kReplyLimit - 2 * kClockGrain, "PROGRAMMING ERROR"},
                    MidnightCase{"ReadBackWait", 86398.8, true,
                                 kWritePause + kReplyLimit - 2 * kClockGrain, "PROGRAMMING ERROR"}),
    eepromtest::ByName());

}  // namespace

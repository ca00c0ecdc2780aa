// "EEPROM Reading" on the loaded main window: the values and colours it shows, the status, the
// read frames and their keying, the second chance for registers that did not answer; and, for
// both EEPROM buttons, a click with no row selected, a reply at the very limit of a wait, and a
// click while a run is under way.

#include <gmock/gmock.h>

#include <QLineEdit>
#include <QRadioButton>

#include "eeprom_page.h"
#include "link/functions.h"
#include "operations/register_table.h"
#include "platform/event_service.h"
#include "serial/module_link.h"

namespace {

using eepromtest::kClockGrain;
using eepromtest::kMs;
using eepromtest::Micros;
using testing::ElementsAreArray;
using testsupport::ScriptedPeer;

constexpr Micros kReplyLimit = 700 * kMs;
constexpr Micros kDollarLead = 20 * kMs;

class EepromReading : public eepromtest::EepromPageTest {
 protected:
  // A mark in every value box, so that whatever a run shows stands out from what was there.
  void MarkEveryValue() {
    for (QLineEdit* box : Page().Text6)
      box->setText("-");
  }
  // Records the wait clock's start of the wait that is under way whenever a frame comes in.
  ScriptedPeer::Script Recording(ScriptedPeer::Script script) {
    return [this, script](const ScriptedPeer::Received& frame, win32::PeerSink& sink) {
      startTimes_.push_back(Window().Session().StartTime);
      script(frame, sink);
    };
  }
  // Each wait's clock was read before its command went out, so the key-up lead counts.
  void ExpectClockReadBeforeEachSend() {
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), startTimes_.size());
    for (std::size_t i = 0; i < sent.size(); ++i) {
      EXPECT_GE(SecondsAt(sent[i].start) - startTimes_[i], 0.018) << "frame " << i;
    }
  }

 private:
  std::vector<float> startTimes_;
};

struct ReadCase {
  const char* name;
  bool remote;
  std::vector<int> rows;
  std::vector<QString> shown;
  std::vector<std::string> lines;
};
void PrintTo(const ReadCase& c, std::ostream* os) {
  *os << c.name;
}

class ReadingTheRadioSystem : public EepromReading, public testing::WithParamInterface<ReadCase> {};

TEST_P(ReadingTheRadioSystem, ShowsTheValuesTogetherInDarkBlue) {
  const ReadCase& c = GetParam();
  OpenOnRadioSystem("host=7,remotes=9");
  // The run takes the module choice from the option buttons as it finds them.
  if (c.remote) Page().Option2->setChecked(true);
  EXPECT_EQ(Page().Option1->isChecked(), !c.remote);
  MarkEveryValue();
  Select(c.rows);

  Run(ReadingButton());

  EXPECT_THAT(Lines(), ElementsAreArray(c.lines));
  for (const auto& frame : Sent()) {
    if (frame.rts) {
      EXPECT_GE(RtsLeadBefore(frame.start), kDollarLead);
    }
  }
  std::size_t next = 0;
  for (int row = 0; row < operations::kRegisterCount; ++row) {
    SCOPED_TRACE(testing::Message() << "row " << row);
    if (next < c.rows.size() && c.rows[next] == row) {
      EXPECT_EQ(Value(row), c.shown[next]);
      EXPECT_EQ(Colour(row), operations::kReadColour);
      ++next;
    } else {
      EXPECT_EQ(Value(row), "-");
      EXPECT_EQ(Colour(row), operations::SystemWindowTextColour());
    }
  }
  EXPECT_EQ(Status(), "OK, EEPROM CORRECTLY READ");
  EXPECT_EQ(Window().Session().ModuleKind, c.remote ? 2 : 1);
  // Nothing shows before the run has read everything.
  ASSERT_FALSE(Glimpses().empty());
  for (const auto& glimpse : Glimpses()) {
    EXPECT_EQ(glimpse.status, "EEPROM Reading");
    EXPECT_EQ(glimpse.values.count(QStringLiteral("-")), operations::kRegisterCount);
  }
}

INSTANTIATE_TEST_SUITE_P(
    , ReadingTheRadioSystem,
    testing::Values(ReadCase{"HostRegisters0And3",
                             false,
                             {0, 3},
                             {"7", "0"},
                             {">> 24 00 [RTS]", "<< 07", ">> 24 03 [RTS]", "<< 00"}},
                    ReadCase{"RemoteRegisters0And3",
                             true,
                             {0, 3},
                             {"9", "0"},
                             {">> 24 00", "<< 09", ">> 24 03", "<< 00"}},
                    ReadCase{"ErasedAndFirmwareRegisters",
                             false,
                             {30, 31},
                             {"255", "18"},
                             {">> 24 1E [RTS]", "<< FF", ">> 24 1F [RTS]", "<< 12"}}),
    eepromtest::ByName());

TEST_F(EepromReading, AValueOnlyOnTheSecondRequestIsMarkedAndFailsTheRun) {
  int requestsOf5 = 0;
  OpenOnScript(Recording([&](const ScriptedPeer::Received& frame, win32::PeerSink& sink) {
    if (frame.bytes == "$\x04") sink.SendToProgram("A", frame.end + 2 * kMs);
    // Register 5 answers its second request only, well after that wait's first poll cycle.
    if (frame.bytes == "$\x05" && ++requestsOf5 == 2) {
      sink.SendToProgram("B", frame.end + 200 * kMs);
    }
  }));
  MarkEveryValue();
  Select({4, 5});

  Run(ReadingButton());

  EXPECT_THAT(Lines(), ElementsAreArray({">> 24 04 [RTS]", "<< 41", ">> 24 05 [RTS]",
                                         ">> 24 05 [RTS]", "<< 42"}));
  EXPECT_EQ(Value(4), "65");
  EXPECT_EQ(Value(5), ". 66");
  EXPECT_EQ(Colour(4), operations::kReadColour);
  EXPECT_EQ(Colour(5), operations::kReadColour);
  EXPECT_EQ(Status(), "EEPROM READING ERROR");
  ExpectClockReadBeforeEachSend();
}

TEST_F(EepromReading, ASilentModuleShowsNoInRedAfterTwoFullWaitsPerRow) {
  OpenOnRadioSystem("silent");
  MarkEveryValue();
  Select({0, 7, 31});

  const Micros took = Run(ReadingButton());

  EXPECT_THAT(Lines(), ElementsAreArray({">> 24 00 [RTS]", ">> 24 07 [RTS]", ">> 24 1F [RTS]",
                                         ">> 24 00 [RTS]", ">> 24 07 [RTS]", ">> 24 1F [RTS]"}));
  const auto sent = Sent();
  for (std::size_t i = 1; i < sent.size(); ++i)
    EXPECT_GE(sent[i].start - sent[i - 1].start, kReplyLimit - kClockGrain) << "wait " << i;
  EXPECT_GE(took, 6 * (kReplyLimit - kClockGrain));
  for (const int row : {0, 7, 31}) {
    EXPECT_EQ(Value(row), "NO") << row;
    EXPECT_EQ(Colour(row), operations::kFailedColour) << row;
  }
  EXPECT_EQ(Status(), "EEPROM READING ERROR");
}

TEST_F(EepromReading, ADeliveryWithoutTextIsNoReply) {
  OpenOnScript(Recording([](const ScriptedPeer::Received& frame, win32::PeerSink& sink) {
    if (frame.bytes == "$\x02") sink.SendToProgram("BC", frame.end + 300 * kMs);
  }));
  Select({2});
  // The reply flag goes up with nothing to take, before the module's answer comes.
  After(100 * kMs, [] { functions::ReplyArrivedFlag = true; });

  Run(ReadingButton());

  EXPECT_THAT(Lines(), ElementsAreArray({">> 24 02 [RTS]", "<< 42 43"}));
  EXPECT_EQ(Value(2), "66");  // the first character of the reply
  EXPECT_EQ(Colour(2), operations::kReadColour);
  EXPECT_EQ(Status(), "OK, EEPROM CORRECTLY READ");
  ExpectClockReadBeforeEachSend();
}

// Both EEPROM buttons, clicked with no row selected: only the colours are reset.
TEST_F(EepromReading, WithNoRowSelectedBothButtonsOnlyResetTheColours) {
  OpenOnRadioSystem("host=7");
  for (QPushButton* button : {ReadingButton(), WritingButton()}) {
    SCOPED_TRACE(button->objectName().toStdString());
    Window().RegisterTable().ValueColour(3, operations::kReadColour);
    Window().RegisterTable().ValueColour(9, operations::kConfirmedColour);
    Page().Text6[9]->setText("12");

    Run(button);

    EXPECT_EQ(Status(), "NO REGISTER SELECT");
    for (int row = 0; row < operations::kRegisterCount; ++row) {
      EXPECT_EQ(Colour(row), operations::kResetColour) << row;
      EXPECT_EQ(Value(row), row == 9 ? "12" : "255") << row;
    }
    EXPECT_TRUE(Lines().empty());
  }
}

struct LimitCase {
  const char* name;
  bool writing;
  std::vector<std::string> lines;
  QRgb colour;
  const char* verdict;
};
void PrintTo(const LimitCase& c, std::ostream* os) {
  *os << c.name;
}

class ReplyAtTheLimit : public EepromReading, public testing::WithParamInterface<LimitCase> {};

TEST_P(ReplyAtTheLimit, CountsInTheCycleThatReachesIt) {
  const LimitCase& c = GetParam();
  bool readSent = false;
  OpenOnScript([&](const ScriptedPeer::Received& frame, win32::PeerSink&) {
    if (frame.bytes.front() == '$') readSent = true;
  });
  Page().Text6[6]->setText("42");
  Select({6});
  // The reply is handed over inside the very poll tick at which the read's 0.7 s are up.
  std::function<void()> atTheLimit = [&] {
    if (!readSent || platform::Timer() - Window().Session().StartTime < 0.7f) {
      After(0, atTheLimit);
      return;
    }
    functions::serial->Comminput("*");
  };
  After(0, atTheLimit);

  Run(c.writing ? WritingButton() : ReadingButton());

  EXPECT_THAT(Lines(), ElementsAreArray(c.lines));
  EXPECT_EQ(Value(6), "42");
  EXPECT_EQ(Colour(6), c.colour);
  EXPECT_EQ(Status(), c.verdict);
}

INSTANTIATE_TEST_SUITE_P(, ReplyAtTheLimit,
                         testing::Values(LimitCase{"Reading",
                                                   false,
                                                   {">> 24 06 [RTS]"},
                                                   operations::kReadColour,
                                                   "OK, EEPROM CORRECTLY READ"},
                                         LimitCase{"ReadBack",
                                                   true,
                                                   {">> 23 06 2A [RTS]", ">> 24 06 [RTS]"},
                                                   operations::kConfirmedColour,
                                                   "OK, EEPROM PROGRAMMED"}),
                         eepromtest::ByName());

struct BusyCase {
  const char* name;
  const char* options;
  bool writing;
  const char* during;  // the status while the run is under way
  std::vector<std::string> lines;
  const char* verdict;
};
void PrintTo(const BusyCase& c, std::ostream* os) {
  *os << c.name;
}

class ClickDuringARun : public EepromReading, public testing::WithParamInterface<BusyCase> {};

TEST_P(ClickDuringARun, IsRefusedAndTheRunGoesOnUndisturbed) {
  const BusyCase& c = GetParam();
  OpenOnRadioSystem(c.options);
  Page().Text6[1]->setText("5");
  Select({1});
  QString statusAfterClicks;
  After(500 * kMs, [&] {
    uitest::Click(ReadingButton());
    uitest::Click(WritingButton());
    statusAfterClicks = Status();
  });

  Run(c.writing ? WritingButton() : ReadingButton());

  EXPECT_EQ(statusAfterClicks, c.during);
  EXPECT_THAT(Lines(), ElementsAreArray(c.lines));
  EXPECT_EQ(Status(), c.verdict);
  for (const auto& glimpse : Glimpses())
    EXPECT_EQ(glimpse.status, c.during);
}

INSTANTIATE_TEST_SUITE_P(, ClickDuringARun,
                         testing::Values(BusyCase{"Reading",
                                                  "silent",
                                                  false,
                                                  "EEPROM Reading",
                                                  {">> 24 01 [RTS]", ">> 24 01 [RTS]"},
                                                  "EEPROM READING ERROR"},
                                         BusyCase{"Writing",
                                                  "host=7",
                                                  true,
                                                  "EEPROM PROGRAMMING",
                                                  {">> 23 01 05 [RTS]", ">> 24 01 [RTS]", "<< 05"},
                                                  "OK, EEPROM PROGRAMMED"}),
                         eepromtest::ByName());

}  // namespace

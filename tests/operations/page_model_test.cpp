// The page model without a window: plain views, virtual time, a scripted module on the line.
// Each operation's outcomes are checked as they come, and the captions against them.

#include "operations/page_model.h"

#include <gmock/gmock.h>

#include <map>
#include <memory>
#include <vector>

#include "link/functions.h"
#include "operations/link_quality.h"
#include "operations/plain_control.h"
#include "platform/event_service.h"
#include "support/virtual_port.h"

namespace {

using operations::WriteState;

// Remembers which pages are enabled and whether Close is withheld.
class RecordingWindow final : public operations::MainWindowServices {
 public:
  void DisableClose() override { closeWithheld = true; }
  void EnableClose() override { closeWithheld = false; }
  void SetPageEnabled(int page, bool enabled) override { pageEnabled[page] = enabled; }
  void WaitBegins() override {}
  void WaitEnds() override {}
  operations::Rgb WindowTextColour() const override { return operations::MakeRgb(0, 0, 0); }

  bool closeWithheld = false;
  std::map<int, bool> pageEnabled{{operations::kProgrammingPage, true},
                                  {operations::kRadioTestingPage, true},
                                  {operations::kTerminalPage, true}};
};

// Keeps every outcome in the order it came.
class Recorder final : public operations::OutcomeListener {
 public:
  void Requested(int n, bool retry) override { requests.emplace_back(n, retry); }
  void Read(const operations::RegisterReading& r) override { readings.push_back(r); }
  void ReadingEnded(operations::ReadVerdict v) override { readVerdicts.push_back(v); }
  void Programmed(const operations::RegisterProgramming& p) override { programmings.push_back(p); }
  void ProgrammingEnded(operations::WriteVerdict v) override { writeVerdicts.push_back(v); }
  void Evaluated(const operations::LinkEvaluation& e) override { evaluations.push_back(e); }
  void LinkTestStopped(const operations::LinkTotals& t) override { totals.push_back(t); }
  void Initialized(const operations::InitializationOutcome& o) override {
    initializations.push_back(o);
  }
  void Received(const operations::ReceivedBlock& block) override { blocks.push_back(block); }

  std::vector<std::pair<int, bool>> requests;
  std::vector<operations::RegisterReading> readings;
  std::vector<operations::ReadVerdict> readVerdicts;
  std::vector<operations::RegisterProgramming> programmings;
  std::vector<operations::WriteVerdict> writeVerdicts;
  std::vector<operations::LinkEvaluation> evaluations;
  std::vector<operations::LinkTotals> totals;
  std::vector<operations::InitializationOutcome> initializations;
  std::vector<operations::ReceivedBlock> blocks;
};

using Frame = testsupport::ScriptedPeer::Received;

// A frame the program sent: its first byte and the register it names, if any.
char Command(const Frame& frame) {
  return frame.bytes.empty() ? '\0' : frame.bytes[0];
}
int Register(const Frame& frame) {
  return frame.bytes.size() > 1 ? static_cast<unsigned char>(frame.bytes[1]) : -1;
}
// The module answers `frame` with one byte, 2 ms after it.
void AnswerByte(serial::PeerSink& sink, const Frame& frame, int byte) {
  sink.SendToProgram(std::string(1, static_cast<char>(byte)), frame.end + 2 * testsupport::kMs);
}

class PageModelTest : public testsupport::VirtualPortTest {
 protected:
  void SetUp() override {
    VirtualPortTest::SetUp();
    operations::PageViews views;
    operations::ForEachControl(views, [this](operations::ControlView*& view, const char*, int) {
      controls_.push_back(std::make_unique<operations::PlainControl>());
      view = controls_.back().get();
    });
    model_ = std::make_unique<operations::PageModel>(views, window_);
    model_->Reports().Add(&recorder_);
    model_->Load();
  }
  void TearDown() override {
    functions::CloseSerial();
    model_.reset();
    VirtualPortTest::TearDown();
  }

  void Open() { functions::OpenSerial("COM1"); }
  void Select(const std::vector<int>& registers) {
    for (const int n : registers)
      model_->Table().Selected(n, true);
  }
  const operations::PageViews& Views() const { return model_->Views(); }

  RecordingWindow window_;
  Recorder recorder_;
  std::vector<std::unique_ptr<operations::PlainControl>> controls_;
  std::unique_ptr<operations::PageModel> model_;
};

// Register 0 answers at once, register 1 only when asked again, register 2 never.
TEST_F(PageModelTest, ReadingReportsEachRegisterWithItsRetryAndMissAndTheVerdictItShows) {
  std::map<int, int> asked;
  SetScript([&](const Frame& frame, serial::PeerSink& sink) {
    if (Command(frame) != '$') return;
    const int n = Register(frame);
    ++asked[n];
    if (n == 0 || (n == 1 && asked[n] == 2)) AnswerByte(sink, frame, 40 + n);
  });
  Open();
  Select({0, 1, 2});
  model_->Reader().Command2_Click();

  EXPECT_EQ(recorder_.requests, (std::vector<std::pair<int, bool>>{
                                    {0, false}, {1, false}, {2, false}, {1, true}, {2, true}}));
  EXPECT_EQ(recorder_.readings, (std::vector<operations::RegisterReading>{
                                    {0, 40, false}, {1, 41, true}, {2, std::nullopt, true}}));
  ASSERT_EQ(recorder_.readVerdicts.size(), 1u);
  EXPECT_EQ(recorder_.readVerdicts[0], operations::ReadVerdict::SomeUnanswered);
  // The page shows the same run.
  EXPECT_EQ(Views().programming.Text7->Text(), operations::StatusText(recorder_.readVerdicts[0]));
  EXPECT_EQ(model_->Table().Value(0), "40");
  EXPECT_EQ(model_->Table().Value(1), ". 41");
  EXPECT_EQ(model_->Table().Value(2), "NO");
  // Whatever happened, the other pages and Close come back.
  EXPECT_FALSE(window_.closeWithheld);
  EXPECT_TRUE(window_.pageEnabled[operations::kRadioTestingPage]);
  EXPECT_TRUE(window_.pageEnabled[operations::kTerminalPage]);
}

// The module takes every write but reads register 4 back one higher.
TEST_F(PageModelTest, ProgrammingReportsEachWriteAndEachReadBackAndTheFailure) {
  std::map<int, int> eeprom;
  SetScript([&](const Frame& frame, serial::PeerSink& sink) {
    const int n = Register(frame);
    if (Command(frame) == '#' && frame.bytes.size() == 3)
      eeprom[n] = static_cast<unsigned char>(frame.bytes[2]);
    if (Command(frame) == '$' && eeprom.count(n) != 0)
      AnswerByte(sink, frame, n == 4 ? eeprom[n] + 1 : eeprom[n]);
  });
  Open();
  Select({3, 4});
  model_->Table().Value(3, "17");
  model_->Table().Value(4, "20");
  model_->Writer().Command4_Click();

  EXPECT_EQ(recorder_.programmings,
            (std::vector<operations::RegisterProgramming>{{3, 17, WriteState::Sent},
                                                          {4, 20, WriteState::Sent},
                                                          {3, 17, WriteState::Confirmed},
                                                          {4, 20, WriteState::NotConfirmed}}));
  EXPECT_EQ(eeprom, (std::map<int, int>{{3, 17}, {4, 20}}));
  ASSERT_EQ(recorder_.writeVerdicts.size(), 1u);
  EXPECT_EQ(recorder_.writeVerdicts[0], operations::WriteVerdict::NotConfirmed);
  EXPECT_EQ(Views().programming.Text7->Text(), "PROGRAMMING ERROR");
  EXPECT_EQ(model_->Table().ValueColour(4), operations::kFailedColour);
  EXPECT_FALSE(window_.closeWithheld);
  EXPECT_TRUE(window_.pageEnabled[operations::kRadioTestingPage]);
}

TEST_F(PageModelTest, NothingSelectedAndOutOfRangeEndWithTheirVerdictAndNothingSent) {
  std::vector<std::string> frames;
  SetScript([&](const Frame& frame, serial::PeerSink&) { frames.push_back(frame.bytes); });
  Open();
  model_->Reader().Command2_Click();
  model_->Writer().Command4_Click();
  Select({1});
  model_->Table().Value(1, "256");
  model_->Writer().Command4_Click();
  Clock().RunFor(500 * testsupport::kMs);

  EXPECT_EQ(recorder_.readVerdicts,
            (std::vector<operations::ReadVerdict>{operations::ReadVerdict::NothingSelected}));
  EXPECT_EQ(recorder_.writeVerdicts,
            (std::vector<operations::WriteVerdict>{operations::WriteVerdict::NothingSelected,
                                                   operations::WriteVerdict::OutOfRange}));
  EXPECT_EQ(Views().programming.Text7->Text(), "Out of Range Programming Values");
  EXPECT_TRUE(recorder_.programmings.empty());
  EXPECT_TRUE(frames.empty());
}

// The remote answers the first two test packets and then falls silent.
TEST_F(PageModelTest, LinkTestReportsEachEvaluationAsShownAndTheTotals) {
  int packets = 0;
  SetScript([&](const Frame& frame, serial::PeerSink& sink) {
    if (Command(frame) == '$' && ++packets <= 2)
      sink.SendToProgram("A", frame.end + 30 * testsupport::kMs);
  });
  Open();
  model_->LinkTest().Command3_Click();
  EXPECT_FALSE(window_.pageEnabled[operations::kProgrammingPage]);
  Clock().RunFor(3200 * testsupport::kMs);
  model_->LinkTest().Command1_Click();

  const std::vector<std::tuple<double, int, int, int>> expected = {
      {1.0, 1, 1, 5}, {2.0, 2, 2, 5}, {3.0, 3, 2, 4}};
  ASSERT_EQ(recorder_.evaluations.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto& [seconds, sent, received, level] = expected[i];
    const operations::LinkEvaluation& evaluation = recorder_.evaluations[i];
    EXPECT_NEAR(evaluation.seconds, seconds, 1e-3) << i;
    EXPECT_EQ(evaluation.sent, sent) << i;
    EXPECT_EQ(evaluation.received, received) << i;
    EXPECT_EQ(evaluation.level, level) << i;
    EXPECT_EQ(evaluation.caption, operations::QualityCaption(level)) << i;
  }
  ASSERT_EQ(recorder_.totals.size(), 1u);
  EXPECT_EQ(recorder_.totals[0].sent, 3);
  EXPECT_EQ(recorder_.totals[0].received, 2);
  EXPECT_EQ(recorder_.totals[0].level, 4);
  EXPECT_EQ(recorder_.totals[0].duration, Views().radioTesting.Label6->Text());
  EXPECT_TRUE(window_.pageEnabled[operations::kProgrammingPage]);
  EXPECT_TRUE(window_.pageEnabled[operations::kTerminalPage]);
}

struct Answer {
  int address;  // -1: the module stays silent
  bool answered;
  bool master;
  const char* caption;
};

class Initialization : public PageModelTest, public testing::WithParamInterface<Answer> {};

TEST_P(Initialization, ReportsTheAddressAndRoleOrTheTimeOutAsTheCaptionShows) {
  const Answer answer = GetParam();
  SetScript([&](const Frame& frame, serial::PeerSink& sink) {
    if (Command(frame) == '$' && answer.address >= 0) AnswerByte(sink, frame, answer.address);
  });
  Open();
  model_->Terminal().Command7_Click();

  ASSERT_EQ(recorder_.initializations.size(), 1u);
  const operations::InitializationOutcome& outcome = recorder_.initializations[0];
  EXPECT_EQ(outcome.answered, answer.answered);
  EXPECT_EQ(outcome.master, answer.master);
  EXPECT_EQ(outcome.connection.toStdString(), answer.caption);
  if (answer.answered) {
    EXPECT_EQ(outcome.address, answer.address);
  }
  EXPECT_EQ(Views().terminal.Label15->Text(), outcome.connection);
  EXPECT_EQ(Views().terminal.Text2->Visible(), answer.master);
  EXPECT_EQ(model_->Session().TerminalRole,
            answer.master ? operations::kMasterRole : operations::kSlaveRole);
  // The other pages stay withheld until Stop.
  EXPECT_FALSE(window_.pageEnabled[operations::kProgrammingPage]);
  model_->Terminal().Command6_Click();
  EXPECT_TRUE(window_.pageEnabled[operations::kProgrammingPage]);
  EXPECT_TRUE(window_.pageEnabled[operations::kRadioTestingPage]);
}

INSTANTIATE_TEST_SUITE_P(Roles, Initialization,
                         testing::Values(Answer{0, true, true, "Master-Slave Connection"},
                                         Answer{5, true, false, "Slave  5 - Master Connection"},
                                         Answer{-1, false, false, ""}));

// A master hears a block from module 7, and one that begins with a zero byte (shows nothing).
TEST_F(PageModelTest, ReceivedBlocksCarryTheSenderOnAMaster) {
  SetScript([&](const Frame& frame, serial::PeerSink& sink) {
    if (frame.bytes == std::string("$\0", 2)) {
      AnswerByte(sink, frame, 0);
      sink.SendToProgram("\x07hello", frame.end + 500 * testsupport::kMs);
      sink.SendToProgram(std::string("\0quiet", 6), frame.end + 900 * testsupport::kMs);
    }
  });
  Open();
  model_->Terminal().Command7_Click();
  Clock().RunFor(1500 * testsupport::kMs);

  ASSERT_EQ(recorder_.blocks.size(), 1u);
  EXPECT_EQ(recorder_.blocks[0].from, 7);
  EXPECT_EQ(recorder_.blocks[0].bytes, "hello");
  EXPECT_EQ(Views().terminal.Text3->Text(), "");  // the zero block emptied both boxes
}

}  // namespace

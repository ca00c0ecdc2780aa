// The link test of the "&Radio Testing" page against the simulated radio system: the level,
// verdict and lamp after each evaluation, the counters and testing time shown by TEST OFF, and
// what the operator may use while a test runs.

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <algorithm>
#include <limits>
#include <ostream>
#include <set>

#include "operations/radio_testing_controls.h"
#include "platform/interval_timer.h"
#include "platform/windows.h"
#include "radio_window.h"

namespace {

using operations::kGreenLamp;
using operations::kGreyLamp;
using operations::kRedLamp;

class LinkTestPage : public uitest::RadioWindowTest {
 protected:
  void Load(const std::string& options, std::optional<double> timeOfDay = std::nullopt) {
    RadioWindowTest::Load(options, timeOfDay);
    Window().SSTab1()->setCurrentIndex(operations::kRadioTestingPage);
  }

  const operations::RadioTestingControls& Page() { return Window().RadioTesting(); }
  void TestOn() { uitest::Click(Page().Command3); }
  void TestOff() { uitest::Click(Page().Command1); }

  // Level, verdict and the lamps to be seen: "3 Difficult Connection [grey]".
  std::string Shown() {
    static const char* const kNames[] = {"grey", "green", "red"};
    std::string lamps;
    for (int i = 0; i < 3; ++i) {
      if (!Page().Picture1[i]->isVisible()) continue;
      lamps += (lamps.empty() ? "" : " ") + std::string(kNames[i]);
    }
    return Page().Label3->text().toStdString() + " " + Page().Label2->text().toStdString() + " [" +
           lamps + "]";
  }

  // Right after TEST ON: moves to a quarter past the tick, so that every later whole second
  // of the run lies just after an evaluation tick (the first test begins with a send tick).
  void SettleBetweenTicks() { RunMs(250); }
  // What the next `count` evaluation ticks show, one each second.
  std::vector<std::string> Evaluations(int count) {
    std::vector<std::string> shown;
    for (int i = 0; i < count; ++i) {
      RunMs(1000);
      shown.push_back(Shown());
    }
    return shown;
  }

  // "sent received time" as TEST OFF shows them.
  std::string Statistics() {
    return Page().Label4->text().toStdString() + " " + Page().Label5->text().toStdString() + " " +
           Page().Label6->text().toStdString();
  }
  int PacketsWritten() {
    const auto frames = LineFrames();
    return static_cast<int>(std::count(frames.begin(), frames.end(), ">> 24 00"));
  }
  bool CloseAvailable() { return platform::IsCloseCommandEnabled(Window().hWnd()); }
  std::vector<bool> PagesEnabled() {
    return {Window().SSTab1()->isTabEnabled(0), Window().SSTab1()->isTabEnabled(1),
            Window().SSTab1()->isTabEnabled(2)};
  }
};

TEST_F(LinkTestPage, AnsweredLinkClimbsToFiveAndStaysThenFallsALevelASecondOnceSilent) {
  Load("host=0,remotes=1");
  TestOn();
  SettleBetweenTicks();
  EXPECT_EQ(Evaluations(6), std::vector<std::string>(6, "5 OK, Connection [green]"));

  Radio().Remotes().clear();  // the far end goes off the air
  EXPECT_EQ(Evaluations(7),
            (std::vector<std::string>{"4 OK, Connection [green]", "3 Difficult Connection [grey]",
                                      "2 Difficult Connection [grey]", "1 No Connection [red]",
                                      "0 No Connection [red]", "0 No Connection [red]",
                                      "0 No Connection [red]"}));
  TestOff();
  EXPECT_EQ(Statistics(), "13 6  0 min 13 sec");
  EXPECT_EQ(PacketsWritten(), 13);
}

TEST_F(LinkTestPage, OnlyItsOwnPageAndTestOffCanBeUsedWhileATestRuns) {
  Load("host=0,remotes=1");
  TestOn();
  EXPECT_FALSE(CloseAvailable());
  EXPECT_FALSE(Window().close());
  EXPECT_EQ(PagesEnabled(), (std::vector<bool>{false, true, false}));
  EXPECT_FALSE(Page().Command3->isEnabled());
  EXPECT_TRUE(Page().Command1->isEnabled());
  EXPECT_TRUE(Page().Timer1->Enabled());
  // TEST ON sends nothing and leaves the verdict alone until the first evaluation.
  RunMs(400);
  EXPECT_EQ(PacketsWritten(), 0);
  EXPECT_EQ(Shown(), "  []");

  RunMs(2850);
  EXPECT_EQ(Shown(), "5 OK, Connection [green]");
  TestOff();
  EXPECT_TRUE(CloseAvailable());
  EXPECT_EQ(PagesEnabled(), (std::vector<bool>{true, true, true}));
  EXPECT_TRUE(Page().Command3->isEnabled());
  EXPECT_FALSE(Page().Command1->isEnabled());
  EXPECT_FALSE(Page().Timer1->Enabled());
  EXPECT_EQ(Shown(), "  [red]");
  EXPECT_EQ(Statistics(), "3 3  0 min 3 sec");
  // Every packet went out plain and was answered by the remote's address.
  EXPECT_EQ(LineFrames(), (std::vector<std::string>{">> 24 00", "<< 01", ">> 24 00", "<< 01",
                                                    ">> 24 00", "<< 01"}));
  RunMs(3000);
  EXPECT_EQ(PacketsWritten(), 3) << "the test timer stopped";
  EXPECT_TRUE(Window().close());
}

TEST_F(LinkTestPage, TestOffBeforeTheFirstTickCountsNothingEvenWithDataAlreadyIn) {
  Load("host=0,remotes=1");
  Arrive("\x01");
  RunMs(200);
  ASSERT_TRUE(functions::ReplyArrived());
  TestOn();
  TestOff();
  EXPECT_EQ(Statistics(), "0 0  0 min 0 sec");
  EXPECT_EQ(PacketsWritten(), 0);
}

struct StopCase {
  const char* options;
  int stopAfterMs;
  const char* statistics;  // sent, received, testing time
};

void PrintTo(const StopCase& row, std::ostream* out) {
  *out << row.options << " stopped at " << row.stopAfterMs << " ms";
}

class LinkTestStop : public LinkTestPage, public testing::WithParamInterface<StopCase> {};

TEST_P(LinkTestStop, CountsTheLastAnswerOnceButNeverMoreThanWasSent) {
  Load(GetParam().options);
  TestOn();
  RunMs(GetParam().stopAfterMs);
  TestOff();
  EXPECT_EQ(Statistics(), GetParam().statistics);
}

INSTANTIATE_TEST_SUITE_P(
    Stops, LinkTestStop,
    testing::Values(
        // Just after an evaluation the last answer's flag is still up: capped to what was sent.
        StopCase{"host=0,remotes=1", 3250, "3 3  0 min 3 sec"},
        // Just after a send tick the answer already in counts though it was not evaluated.
        StopCase{"host=0,remotes=1", 2750, "3 3  0 min 2 sec"},
        StopCase{"host=0,remotes=none", 2750, "3 0  0 min 2 sec"}));

TEST_F(LinkTestPage, ASecondTestTakesUpTheAlternationWhereTheFirstStopped) {
  Load("host=0,remotes=1");
  TestOn();
  RunMs(750);  // one send tick
  TestOff();
  EXPECT_EQ(Statistics(), "1 1  0 min 0 sec");

  TestOn();
  EXPECT_EQ(Statistics(), "  ") << "TEST ON clears the statistics";
  RunMs(750);  // the first tick now evaluates the packet of the first test
  EXPECT_EQ(Shown(), "5 OK, Connection [green]");
  EXPECT_EQ(PacketsWritten(), 1);
  RunMs(500);
  EXPECT_EQ(PacketsWritten(), 2);
  TestOff();
  EXPECT_EQ(Statistics(), "1 1  0 min 1 sec");
}

TEST_F(LinkTestPage, CountersGoOnPastSixteenBits) {
  Load("host=0,remotes=1");
  TestOn();
  // As after nine hours of testing.
  Window().Session().SentPackets = 32767;
  Window().Session().ReceivedPackets = 32767;
  RunMs(1250);
  TestOff();
  EXPECT_EQ(Page().Label4->text(), QStringLiteral("32768"));
  EXPECT_EQ(Page().Label5->text(), QStringLiteral("32768"));
}

struct DurationCase {
  double timeOfDay;  // when the test starts, seconds since midnight
  int runMs;
  const char* caption;
};

void PrintTo(const DurationCase& row, std::ostream* out) {
  *out << "from " << row.timeOfDay << " s for " << row.runMs << " ms";
}

class LinkTestDuration : public LinkTestPage, public testing::WithParamInterface<DurationCase> {};

TEST_P(LinkTestDuration, ShowsTheTrueTestingTime) {
  Load("host=0,remotes=1", GetParam().timeOfDay);
  TestOn();
  RunMs(GetParam().runMs);
  TestOff();
  EXPECT_EQ(Page().Label6->text().toStdString(), GetParam().caption);
}

INSTANTIATE_TEST_SUITE_P(Durations, LinkTestDuration,
                         testing::Values(DurationCase{36000.0, 3605250, " 60 min 5 sec"},
                                         // across midnight
                                         DurationCase{86370.0, 95250, " 1 min 35 sec"}));

TEST_F(LinkTestPage, PacketLossOnTheAirMovesTheLevelPacketByPacket) {
  Load("host=0,remotes=1,loss=0.3,seed=11");
  constexpr int kPackets = 30;
  TestOn();
  SettleBetweenTicks();
  std::vector<std::string> levels;
  for (int i = 0; i < kPackets; ++i) {
    RunMs(1000);
    levels.push_back(Page().Label3->text().toStdString());
  }
  TestOff();

  // Which packets the air lost, on the way out or on the way back, by the radio system's log.
  const auto sent = Radio().Log().Where(sim::Route::HostToAir);
  const auto lost = Radio().Log().Where(sim::Route::LostOnAir);
  ASSERT_EQ(sent.size(), static_cast<std::size_t>(kPackets));
  std::vector<std::string> expected;
  std::set<int> visited;
  int level = 4;
  int answered = 0;
  bool lastAnswered = false;
  for (std::size_t i = 0; i < sent.size(); ++i) {
    EXPECT_EQ(sent[i].bytes, std::string("$\0", 2));
    const platform::Micros next =
        i + 1 < sent.size() ? sent[i + 1].at : std::numeric_limits<platform::Micros>::max();
    lastAnswered = std::none_of(lost.begin(), lost.end(), [&](const sim::FrameRecord& r) {
      return r.at >= sent[i].at && r.at < next;
    });
    answered += lastAnswered ? 1 : 0;
    level = std::clamp(level + (lastAnswered ? 1 : -1), 0, 5);
    visited.insert(level);
    expected.push_back(std::to_string(level));
  }
  EXPECT_EQ(levels, expected);
  // The seed must give a path worth checking: losses and answers, levels up and down.
  EXPECT_GE(visited.size(), 3u);
  EXPECT_GT(answered, 0);
  EXPECT_LT(answered, kPackets);
  // Stopped right after an evaluation: a last answer is counted once more.
  const int received = std::min(answered + (lastAnswered ? 1 : 0), kPackets);
  EXPECT_EQ(Page().Label5->text().toStdString(), std::to_string(received));
  EXPECT_EQ(Page().Label4->text().toStdString(), std::to_string(kPackets));
}

}  // namespace

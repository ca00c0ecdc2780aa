// The link test of the "&Radio Testing" page against the simulated radio system.

#include "radio_window.h"

namespace {

using Shown = std::vector<std::string>;

class LinkTestPage : public uitest::RadioWindowTest {
 protected:
  void Load(const std::string& options, std::optional<double> timeOfDay = std::nullopt) {
    RadioWindowTest::Load(options, timeOfDay);
    Window().SSTab1()->setCurrentIndex(operations::kRadioTestingPage);
  }

  const ui::RadioTestingControls& Page() { return Window().RadioTesting(); }
  void TestOn() { uitest::Click(Page().Command3); }
  void TestOff() { uitest::Click(Page().Command1); }

  // Level, verdict and the lamps to be seen: "3 Difficult Connection [grey]".
  std::string Level() {
    static const char* const kLamps[] = {"grey", "green", "red"};
    std::string shown = (Page().Label3->text() + " " + Page().Label2->text() + " [").toStdString();
    for (int i = 0; i < 3; ++i)
      if (Page().Picture1[i]->isVisible()) shown += kLamps[i];
    return shown + "]";
  }
  // What the next `count` evaluation ticks show, one each second.
  Shown Evaluations(int count) {
    Shown shown;
    for (int i = 0; i < count; ++i) {
      RunMs(1000);
      shown.push_back(Level());
    }
    return shown;
  }
  // "sent received time" as TEST OFF shows them.
  std::string Statistics() {
    return (Page().Label4->text() + " " + Page().Label5->text() + " " + Page().Label6->text())
        .toStdString();
  }
};

TEST_F(LinkTestPage, AnsweredLinkClimbsToFiveThenFallsALevelASecondOnceSilent) {
  Load("host=0,remotes=1");
  TestOn();
  // Only its own page and TEST OFF can be used while a test runs.
  EXPECT_FALSE(Window().close());
  EXPECT_EQ(PagesEnabled(), (std::vector<bool>{false, true, false}));
  EXPECT_FALSE(Page().Command3->isEnabled());
  EXPECT_TRUE(Page().Command1->isEnabled());
  RunMs(250);  // from here every whole second lies just after an evaluation tick
  // TEST ON sends nothing and leaves the verdict alone until the first evaluation.
  EXPECT_TRUE(LineFrames().empty());
  EXPECT_EQ(Level(), "  []");
  EXPECT_EQ(Evaluations(3), Shown(3, "5 OK, Connection [green]"));
  // A packet goes out plain and is answered by the remote's address.
  EXPECT_EQ(LineFrames().at(0) + ", " + LineFrames().at(1), ">> 24 00, << 01");

  Radio().Remotes().clear();  // the far end goes off the air
  EXPECT_EQ(Evaluations(7),
            (Shown{"4 OK, Connection [green]", "3 Difficult Connection [grey]",
                   "2 Difficult Connection [grey]", "1 No Connection [red]",
                   "0 No Connection [red]", "0 No Connection [red]", "0 No Connection [red]"}));
  TestOff();
  EXPECT_EQ(Statistics(), "10 3  0 min 10 sec");
  EXPECT_EQ(PagesEnabled(), std::vector<bool>(3, true));
  EXPECT_TRUE(Page().Command3->isEnabled());
  EXPECT_FALSE(Page().Command1->isEnabled());
  RunMs(3000);
  EXPECT_EQ(Radio().Log().Where(sim::Route::HostToAir).size(), 10u) << "the test timer stopped";
  EXPECT_TRUE(Window().close());
}

TEST_F(LinkTestPage, TestOffBeforeTheFirstTickCountsNothingAndTheAlternationGoesOnAcrossTests) {
  Load("host=0,remotes=1");
  Arrive("\x01");  // data already in
  RunMs(200);
  ASSERT_TRUE(functions::ReplyArrived());
  TestOn();
  TestOff();
  EXPECT_EQ(Statistics(), "0 0  0 min 0 sec");

  TestOn();
  RunMs(750);  // one send tick: its answer is in, though not evaluated
  TestOff();
  EXPECT_EQ(Statistics(), "1 1  0 min 0 sec");
  TestOn();
  EXPECT_EQ(Statistics(), "  ") << "TEST ON clears the statistics";
  RunMs(750);  // the first tick now evaluates the packet of the previous test
  EXPECT_EQ(Level(), "5 OK, Connection [green]");
  EXPECT_EQ(Radio().Log().Where(sim::Route::HostToAir).size(), 1u);
  RunMs(500);
  EXPECT_EQ(Radio().Log().Where(sim::Route::HostToAir).size(), 2u);
  TestOff();
  EXPECT_EQ(Statistics(), "1 1  0 min 1 sec");
  EXPECT_EQ(Level(), "  [red]") << "TEST OFF clears the verdict and shows the red lamp alone";
}

// With this seed the air answers packets 4, 6, 10, 11, 13, 14, 16, 17, 19, 22, 25 and 26 of
// thirty: each answer raises the level by one, each loss lowers it, from 4 and within 0 to 5.
TEST_F(LinkTestPage, PacketLossOnTheAirMovesTheLevelPacketByPacket) {
  Load("host=0,remotes=1,loss=0.3,seed=11");
  TestOn();
  RunMs(250);
  std::string levels;
  for (const std::string& shown : Evaluations(30))
    levels += shown.front();
  TestOff();
  EXPECT_EQ(levels, "321212100121232343432321232100");
  EXPECT_EQ(Statistics(), "30 12  0 min 30 sec");
}

}  // namespace

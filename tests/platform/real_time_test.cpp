// The real event service: timers that are gone once stopped, and naps that sleep. (Ticks that
// go on while a tick's callback runs a modal loop: the real-loop link test.) The termination
// signals watcher gives the signals back as it found them.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <csignal>
#include <memory>

#include "platform/real_event_service.h"
#include "platform/termination_signals.h"

namespace {

// Stops a timer just before the first queued call is delivered: the tick that the timer queued
// when it fell due.
class StopBeforeQueuedTick : public QObject {
 public:
  StopBeforeQueuedTick(platform::RealEventService& service, std::uintptr_t id)
      : service_(service), id_(id) {
    QCoreApplication::instance()->installEventFilter(this);
  }
  ~StopBeforeQueuedTick() override { QCoreApplication::instance()->removeEventFilter(this); }
  bool Stopped() const { return stopped_; }

  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::MetaCall && !stopped_) stopped_ = service_.StopTimer(id_);
    return false;
  }

 private:
  platform::RealEventService& service_;
  std::uintptr_t id_;
  bool stopped_ = false;
};

class RealTimeTest : public testing::Test {
 protected:
  void SetUp() override {
    service_ = &static_cast<platform::RealEventService&>(
        platform::InstallEventService(std::make_unique<platform::RealEventService>()));
  }
  platform::RealEventService* service_ = nullptr;
};

TEST_F(RealTimeTest, AStoppedTimerIsFreedAtOnceAndATickItHadQueuedNeverRuns) {
  int ticks = 0;
  auto held = std::make_shared<int>(0);  // stands for what a callback holds
  const std::weak_ptr<int> heldByCallback = held;
  const auto id = service_->StartTimer(5, [&ticks, held] { ++ticks; });
  held.reset();
  {
    StopBeforeQueuedTick stopper(*service_, id);
    QEventLoop loop;
    QTimer::singleShot(100, &loop, &QEventLoop::quit);
    loop.exec();
    ASSERT_TRUE(stopper.Stopped()) << "the timer never queued a tick";
  }
  EXPECT_EQ(ticks, 0) << "a tick queued before the timer stopped ran after it";
  EXPECT_TRUE(heldByCallback.expired()) << "the stopped timer is still alive";
}

TEST_F(RealTimeTest, ANapSleepsAtLeastItsLengthAndDispatchesNothing) {
  int ticks = 0;
  const auto id = service_->StartTimer(1, [&] { ++ticks; });
  const platform::Micros start = service_->NowMicros();
  for (int nap = 0; nap < 20; ++nap)
    service_->Nap(250);
  EXPECT_GE(service_->NowMicros() - start, 20 * 250);
  EXPECT_EQ(ticks, 0) << "a timer ran during a nap";
  service_->StopTimer(id);
}

extern "C" void IgnoreSignalForTest(int /*signal*/) {}

TEST(TerminationSignalsTest, TheHandlersFoundAreRestoredWhenTheWatcherEnds) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    struct sigaction own {};
    own.sa_handler = IgnoreSignalForTest;
    sigemptyset(&own.sa_mask);
    struct sigaction before {};
    ASSERT_EQ(sigaction(signal, &own, &before), 0);
    struct sigaction during {};
    {
      platform::TerminationSignals watcher([](int) {});
      ASSERT_EQ(sigaction(signal, nullptr, &during), 0);
    }
    struct sigaction after {};
    ASSERT_EQ(sigaction(signal, &before, &after), 0);
    EXPECT_NE(during.sa_handler, &IgnoreSignalForTest) << "the watcher took the signal";
    EXPECT_EQ(after.sa_handler, &IgnoreSignalForTest);
  }
}

}  // namespace

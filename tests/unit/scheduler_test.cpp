// The timer semantics on the virtual clock.

#include "link/virtual_scheduler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rbx14 {
namespace {

struct Trace {
  std::vector<std::pair<std::int64_t, std::string>> ticks;
};

std::unique_ptr<TickTimer> Traced(VirtualScheduler& s, Trace& trace, const std::string& name,
                                  int interval) {
  auto t = s.createTimer(name, interval);
  t->setOnTick([&s, &trace, name] { trace.ticks.emplace_back(s.nowMs(), name); });
  return t;
}

TEST(VirtualScheduler, DisabledTimersNeverTick) {
  VirtualScheduler s;
  Trace trace;
  auto t = Traced(s, trace, "a", 100);
  s.advance(1000);
  EXPECT_TRUE(trace.ticks.empty());
  EXPECT_EQ(s.nowMs(), 1000);
}

TEST(VirtualScheduler, TicksRepeatAtTheInterval) {
  VirtualScheduler s;
  Trace trace;
  auto t = Traced(s, trace, "a", 100);
  t->setEnabled(true);
  s.advance(99);
  EXPECT_TRUE(trace.ticks.empty());
  s.advance(1);
  s.advance(250);
  ASSERT_EQ(trace.ticks.size(), 3u);
  EXPECT_EQ(trace.ticks[0].first, 100);
  EXPECT_EQ(trace.ticks[2].first, 300);
}

TEST(VirtualScheduler, SettingTheIntervalRestartsTheCountdown) {
  VirtualScheduler s;
  Trace trace;
  auto t = Traced(s, trace, "a", 100);
  t->setEnabled(true);
  s.advance(90);
  t->setInterval(100);  // the same value still restarts
  s.advance(90);
  EXPECT_TRUE(trace.ticks.empty());
  s.advance(10);
  ASSERT_EQ(trace.ticks.size(), 1u);
  EXPECT_EQ(trace.ticks[0].first, 190);
}

TEST(VirtualScheduler, EnablingARunningTimerDoesNotRestartIt) {
  VirtualScheduler s;
  Trace trace;
  auto t = Traced(s, trace, "a", 100);
  t->setEnabled(true);
  s.advance(60);
  t->setEnabled(true);
  s.advance(40);
  ASSERT_EQ(trace.ticks.size(), 1u);
  EXPECT_EQ(trace.ticks[0].first, 100);

  // Off and on again is a fresh countdown.
  s.advance(50);
  t->setEnabled(false);
  t->setEnabled(true);
  s.advance(99);
  EXPECT_EQ(trace.ticks.size(), 1u);
  s.advance(1);
  EXPECT_EQ(trace.ticks.size(), 2u);
  EXPECT_EQ(trace.ticks[1].first, 250);
}

TEST(VirtualScheduler, ZeroIntervalNeverTicks) {
  VirtualScheduler s;
  Trace trace;
  auto t = Traced(s, trace, "a", 0);
  t->setEnabled(true);
  s.advance(10000);
  EXPECT_TRUE(trace.ticks.empty());
  t->setInterval(10);
  s.advance(10);
  EXPECT_EQ(trace.ticks.size(), 1u);
}

TEST(VirtualScheduler, TicksComeInOrderOfDueTimeThenArming) {
  VirtualScheduler s;
  Trace trace;
  auto slow = Traced(s, trace, "slow", 150);
  auto fast = Traced(s, trace, "fast", 50);
  auto same = Traced(s, trace, "same", 150);
  slow->setEnabled(true);
  fast->setEnabled(true);
  same->setEnabled(true);
  s.advance(150);
  std::vector<std::string> order;
  for (const auto& tick : trace.ticks) order.push_back(tick.second);
  EXPECT_EQ(order, (std::vector<std::string>{"fast", "fast", "slow", "same", "fast"}));
}

TEST(VirtualScheduler, AHandlerMayRetuneTimersDuringItsTick) {
  VirtualScheduler s;
  std::vector<std::int64_t> ticks;
  auto job = s.createTimer("job", 200);
  job->setOnTick([&] {
    ticks.push_back(s.nowMs());
    job->setInterval(10);  // as an answer shortens the next block's wait
  });
  job->setEnabled(true);
  s.advance(230);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{200, 210, 220, 230}));
}

TEST(VirtualScheduler, AdvanceUntilStopsWhenDoneOrAtTheLimit) {
  VirtualScheduler s;
  int count = 0;
  auto t = s.createTimer("t", 10);
  t->setOnTick([&] { ++count; });
  t->setEnabled(true);
  EXPECT_TRUE(s.advanceUntil([&] { return count == 3; }, 1000));
  EXPECT_EQ(s.nowMs(), 30);
  EXPECT_FALSE(s.advanceUntil([] { return false; }, 100));
  EXPECT_EQ(s.nowMs(), 130);
}

TEST(VirtualScheduler, TickSoonComesNowThenTheCountdownGoesOn) {
  VirtualScheduler s;
  Trace trace;
  auto t = Traced(s, trace, "a", 100);
  t->setEnabled(true);
  s.advance(30);
  t->tickSoon();
  s.advance(0);
  ASSERT_EQ(trace.ticks.size(), 1u);
  EXPECT_EQ(trace.ticks[0].first, 30);
  s.advance(100);
  ASSERT_EQ(trace.ticks.size(), 2u);
  EXPECT_EQ(trace.ticks[1].first, 130) << "the countdown starts again from the early tick";

  // Taken back by a new interval or by disabling; a stopped timer ignores it.
  t->tickSoon();
  t->setInterval(50);
  s.advance(49);
  EXPECT_EQ(trace.ticks.size(), 2u);
  t->setEnabled(false);
  t->tickSoon();
  s.advance(500);
  EXPECT_EQ(trace.ticks.size(), 2u);
}

TEST(VirtualScheduler, DestroyedTimersAreForgotten) {
  VirtualScheduler s;
  int count = 0;
  {
    auto t = s.createTimer("t", 10);
    t->setOnTick([&] { ++count; });
    t->setEnabled(true);
  }
  s.advance(100);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(s.nextDue(), -1);
}

}  // namespace
}  // namespace rbx14

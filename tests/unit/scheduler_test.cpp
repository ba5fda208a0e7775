// The timer semantics on the virtual clock.

#include "link/virtual_scheduler.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rbx14 {
namespace {

// Each tick with its time and the timer's name.
using Trace = std::vector<std::pair<std::int64_t, std::string>>;

std::unique_ptr<TickTimer> Traced(VirtualScheduler& s, Trace& trace, const std::string& name,
                                  int interval) {
  auto t = s.createTimer(name, interval);
  t->setOnTick([&s, &trace, name] { trace.emplace_back(s.nowMs(), name); });
  return t;
}

// One timer driven by a script: "on" and "off" enable it, "soon" asks for
// an early tick, "iN" sets the interval, "+N" advances the clock N ms. The
// row's ticks are every tick of the run, at its time.
struct ScriptRow {
  const char* name;
  int interval;
  const char* script;
  std::vector<std::int64_t> ticks;
};
std::ostream& operator<<(std::ostream& os, const ScriptRow& row) { return os << row.name; }

class TimerScript : public ::testing::TestWithParam<ScriptRow> {};

TEST_P(TimerScript, TicksExactlyWhenDue) {
  VirtualScheduler s;
  Trace trace;
  auto t = Traced(s, trace, "a", GetParam().interval);
  for (const QString& step : QString::fromLatin1(GetParam().script).split(u' ')) {
    if (step == u"on") t->setEnabled(true);
    else if (step == u"off") t->setEnabled(false);
    else if (step == u"soon") t->tickSoon();
    else if (step.startsWith(u'i')) t->setInterval(step.mid(1).toInt());
    else if (step.startsWith(u'+')) s.advance(step.mid(1).toInt());
    else FAIL() << "bad step " << step.toStdString();
  }
  std::vector<std::int64_t> at;
  for (const auto& tick : trace) at.push_back(tick.first);
  EXPECT_EQ(at, GetParam().ticks);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TimerScript,
    ::testing::Values(
        ScriptRow{"disabled_never_ticks", 100, "+1000", {}},
        ScriptRow{"repeats_at_the_interval", 100, "on +99 +1 +250", {100, 200, 300}},
        // Setting the interval restarts the countdown, even to the same value.
        ScriptRow{"interval_restarts", 100, "on +90 i100 +90 +10", {190}},
        // Enabling a running timer does not restart it; off and on again does.
        ScriptRow{"enable_while_running", 100, "on +60 on +40 +50 off on +99 +1", {100, 250}},
        ScriptRow{"zero_interval_never_ticks", 0, "on +10000 i10 +10", {10010}},
        // An early tick comes now and the countdown starts again from it; a
        // new interval or disabling takes it back; a stopped timer ignores it.
        ScriptRow{"tick_soon", 100, "on +30 soon +0 +100 soon i50 +49 off soon +500", {30, 130}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VirtualScheduler, TicksComeInOrderOfDueTimeThenArming) {
  VirtualScheduler s;
  Trace trace;
  auto slow = Traced(s, trace, "slow", 150);
  auto fast = Traced(s, trace, "fast", 50);
  auto same = Traced(s, trace, "same", 150);
  for (TickTimer* t : {slow.get(), fast.get(), same.get()}) t->setEnabled(true);
  s.advance(150);
  std::vector<std::string> order;
  for (const auto& tick : trace) order.push_back(tick.second);
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

TEST(VirtualScheduler, AdvanceUntilStopsWhenDoneOrAtTheLimitAndDestroyedTimersAreForgotten) {
  VirtualScheduler s;
  int count = 0;
  {
    auto t = s.createTimer("t", 10);
    t->setOnTick([&] { ++count; });
    t->setEnabled(true);
    EXPECT_TRUE(s.advanceUntil([&] { return count == 3; }, 1000));
    EXPECT_EQ(s.nowMs(), 30);
    EXPECT_FALSE(s.advanceUntil([] { return false; }, 100));
    EXPECT_EQ(s.nowMs(), 130);
  }
  s.advance(100);
  EXPECT_EQ(count, 13);
  EXPECT_EQ(s.nextDue(), -1);
}

}  // namespace
}  // namespace rbx14

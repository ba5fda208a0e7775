// The Qt timers keep the same semantics as the virtual clock for what the
// fast link relies on: an early tick comes on the next pass of the event
// loop, and a new interval or disabling takes it back.

#include "link/qt_scheduler.h"
#include "support/qt_test_main.h"  // main() of the end-to-end tests

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

namespace rbx14 {
namespace {

TEST(QtScheduler, TickSoonComesOnTheNextPassAndCanBeTakenBack) {
  QtScheduler scheduler;
  auto timer = scheduler.createTimer("t", 10000);
  int ticks = 0;
  timer->setOnTick([&] { ++ticks; });
  timer->setEnabled(true);
  timer->tickSoon();
  QElapsedTimer wait;
  wait.start();
  while (ticks == 0 && wait.elapsed() < 5000) QCoreApplication::processEvents();
  EXPECT_EQ(ticks, 1);
  // The countdown runs again at the full interval: nothing more for now.
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(ticks, 1);

  timer->tickSoon();
  timer->setInterval(10000);
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(ticks, 1) << "a new interval takes the early tick back";
  timer->tickSoon();
  timer->setEnabled(false);
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(ticks, 1) << "so does disabling";
}

}  // namespace
}  // namespace rbx14

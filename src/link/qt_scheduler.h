#pragma once
// Timers on the Qt event loop (QTimer), for the real program.

#include "base/timer.h"

#include <QElapsedTimer>

namespace rbx14 {

class QtScheduler final : public Scheduler {
 public:
  QtScheduler();
  std::unique_ptr<TickTimer> createTimer(std::string name, int intervalMs) override;
  std::int64_t nowMs() const override { return clock_.elapsed(); }
  std::int64_t nowUs() const override { return clock_.nsecsElapsed() / 1000; }

 private:
  QElapsedTimer clock_;
};

}  // namespace rbx14

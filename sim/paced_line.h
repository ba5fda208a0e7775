#pragma once
// Hands bytes over when their time on the line has come, on the scheduler's
// clock: a byte due at 28.6 ms is there at the first tick at or after it.
// With the virtual clock, tests see the exact line timing.

#include "base/timer.h"
#include "sim/simulated_device.h"

#include <QByteArray>

#include <deque>
#include <functional>
#include <memory>

namespace rbx14::sim {

class PacedLine {
 public:
  // deliver gets the bytes that have become due, in order.
  PacedLine(Scheduler& scheduler, std::function<void(const QByteArray&)> deliver);

  void schedule(const TimedBytes& bytes);
  void clear();

  std::int64_t nowUs() const { return scheduler_.nowMs() * 1000; }

 private:
  void release();
  void arm();

  Scheduler& scheduler_;
  std::function<void(const QByteArray&)> deliver_;
  std::unique_ptr<TickTimer> timer_;
  std::deque<TimedByte> queue_;
};

}  // namespace rbx14::sim

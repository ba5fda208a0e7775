#pragma once
// A scheduler on a virtual clock: time moves only when a test advances it,
// and due ticks fire in order of their due time (ties in the order the timers
// were armed). A minute of the program's life runs in microseconds.

#include "base/timer.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace rbx14 {

class VirtualTimer;

class VirtualScheduler final : public Scheduler {
 public:
  VirtualScheduler() = default;
  ~VirtualScheduler() override;
  VirtualScheduler(const VirtualScheduler&) = delete;
  VirtualScheduler& operator=(const VirtualScheduler&) = delete;

  std::unique_ptr<TickTimer> createTimer(std::string name, int intervalMs) override;
  std::int64_t nowMs() const override { return now_; }
  std::int64_t nowUs() const override { return now_ * 1000; }

  // Moves the clock forward by ms, firing every tick that falls due.
  void advance(std::int64_t ms);

  // Advances in small steps until done() holds or maxMs have passed.
  // Returns whether done() held.
  bool advanceUntil(const std::function<bool()>& done, std::int64_t maxMs,
                    std::int64_t stepMs = 1);

  // Due time of the next tick, or -1 when no timer runs.
  std::int64_t nextDue() const;

  // Number of ticks fired so far (all timers), for tests that count work.
  std::uint64_t ticksFired() const { return ticksFired_; }

 private:
  friend class VirtualTimer;
  void arm(VirtualTimer& t);
  void armNow(VirtualTimer& t);
  void forget(VirtualTimer* t);
  VirtualTimer* earliestDue(std::int64_t limit) const;

  std::int64_t now_ = 0;
  std::uint64_t armCounter_ = 0;
  std::uint64_t ticksFired_ = 0;
  std::vector<VirtualTimer*> timers_;
};

}  // namespace rbx14

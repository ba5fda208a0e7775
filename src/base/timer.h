#pragma once
// The timer semantics the program relies on, behind an interface so that
// tests run the whole program on a virtual clock:
// - the interval is in milliseconds; 0 (or less) means the timer never ticks;
// - setting the interval restarts the countdown of a running timer, even to
//   the same value;
// - enabling a running timer does not restart it; enabling a stopped timer
//   starts a fresh countdown;
// - a tick runs to completion before the next tick or event.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace rbx14 {

class TickTimer {
 public:
  virtual ~TickTimer() = default;

  virtual void setInterval(int ms) = 0;
  virtual int interval() const = 0;
  virtual void setEnabled(bool enabled) = 0;
  virtual bool enabled() const = 0;
  // A running timer ticks once as soon as the handler that asks for it (and
  // whatever is already waiting) is done, instead of after its interval; the
  // countdown starts again from that tick. Setting the interval or disabling
  // the timer before then takes the early tick back. The fast link uses it
  // to take the next step of a job without waiting a whole millisecond.
  virtual void tickSoon() = 0;

  // The handler run on every tick.
  void setOnTick(std::function<void()> handler) { onTick_ = std::move(handler); }

  const std::string& name() const { return name_; }

 protected:
  explicit TickTimer(std::string name) : name_(std::move(name)) {}
  void fire() {
    if (onTick_) onTick_();
  }

 private:
  std::string name_;
  std::function<void()> onTick_;
};

// Makes timers and tells the time. One scheduler serves one program run.
class Scheduler {
 public:
  virtual ~Scheduler() = default;
  // A new, disabled timer with the given design interval.
  virtual std::unique_ptr<TickTimer> createTimer(std::string name, int intervalMs) = 0;
  // Milliseconds since the scheduler was made.
  virtual std::int64_t nowMs() const = 0;
  // Microseconds since the scheduler was made, for frame times finer than
  // the timers' millisecond (a character at 57600 baud takes 0.19 ms).
  virtual std::int64_t nowUs() const { return nowMs() * 1000; }
};

}  // namespace rbx14

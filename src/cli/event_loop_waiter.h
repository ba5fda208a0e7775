#pragma once
// Waiting on the Qt event loop: timers, the serial port and the simulated
// line keep running while the batch waits for the core to reach a state.

#include "cli/batch_runner.h"

namespace rbx14 {

class EventLoopWaiter final : public Waiter {
 public:
  bool waitUntil(const std::function<bool()>& done, int timeoutMs) override;
};

}  // namespace rbx14

#pragma once
// The link's timing in one place. The standard timing polls the receive
// buffer (every 50 ms in RTU, 100 ms in ASCII) and lets 10 ms pass from an
// answer to the next block. The fast link handles bytes when they arrive
// and sends the next request as soon as the answer is handled and the line
// has been silent for 3.5 character times (RTU) or at once (ASCII). The
// frames, their order, the repeats after a second, the time-out after five
// seconds and the state window's budget are the same in both.

#include "link/serial_port.h"

#include <cstdint>

namespace rbx14 {

class LinkTiming {
 public:
  bool fast() const { return fast_; }
  void setFast(bool fast) { fast_ = fast; }

  // The wait before the next step of a job: the standard `standardMs`, or a
  // millisecond on the fast link (the send path keeps the line's silence).
  int nextStepMs(int standardMs) const { return fast_ ? 1 : standardMs; }

  // The silence an RTU master keeps between frames: 3.5 characters, and a
  // fixed 1.75 ms above 19200 baud.
  static std::int64_t SilenceUs(const PortSettings& line);

  // How long a frame must still wait so that the line has been silent long
  // enough since the last byte arrived (0: send now).
  std::int64_t waitBeforeSendUs(std::int64_t nowUs, bool rtu, const PortSettings& line) const;

  // The receive path notes when bytes arrived.
  void noteArrival(std::int64_t nowUs) { lastArrivalUs_ = nowUs; }
  std::int64_t lastArrivalUs() const { return lastArrivalUs_; }

 private:
  bool fast_ = false;
  std::int64_t lastArrivalUs_ = -1;
};

}  // namespace rbx14

#pragma once
// Passes everything to another port and notes what went over the line:
// every frame written and every chunk the program took, with the time, so a
// test sees the line without depending on what the program makes of it.

#include "support/forwarding_port.h"
#include "base/timer.h"

#include <vector>

namespace rbx14::test {

class TappedPort final : public ForwardingPort {
 public:
  TappedPort(SerialPort& inner, const Scheduler& clock) : ForwardingPort(inner), clock_(clock) {}
  int output(const QByteArray& frame) override {
    written.push_back(frame);
    sent.push_back({clock_.nowUs(), frame});
    return inner_.output(frame);
  }
  QByteArray input() override {
    QByteArray got = inner_.input();
    if (!got.isEmpty()) taken.push_back({clock_.nowUs(), got});
    return got;
  }

  struct Event {
    std::int64_t us;
    QByteArray bytes;
  };
  std::vector<QByteArray> written;  // the frames alone, in order
  std::vector<Event> sent;
  std::vector<Event> taken;

 private:
  const Scheduler& clock_;
};

}  // namespace rbx14::test

#pragma once
// Passes everything to another port and notes what went over the line:
// every frame written and every chunk the program took, with the time, so a
// test sees the line without depending on what the program makes of it.

#include "link/serial_port.h"
#include "base/timer.h"

#include <vector>

namespace rbx14::test {

class TappedPort final : public SerialPort {
 public:
  TappedPort(SerialPort& inner, const Scheduler& clock) : inner_(inner), clock_(clock) {
    inner_.setOnBytesArrived([this] { notifyBytesArrived(); });
  }
  int commPort() const override { return inner_.commPort(); }
  int setCommPort(int port) override { return inner_.setCommPort(port); }
  QString settings() const override { return inner_.settings(); }
  int setSettings(const QString& s) override { return inner_.setSettings(s); }
  bool portOpen() const override { return inner_.portOpen(); }
  int setPortOpen(bool open) override { return inner_.setPortOpen(open); }
  void setInputMode(InputMode mode) override { inner_.setInputMode(mode); }
  int output(const QByteArray& frame) override {
    written.push_back(frame);
    sent.push_back({clock_.nowUs(), frame});
    return inner_.output(frame);
  }
  int inBufferCount() override { return inner_.inBufferCount(); }
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
  SerialPort& inner_;
  const Scheduler& clock_;
};

}  // namespace rbx14::test

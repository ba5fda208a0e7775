#pragma once
// A port that passes everything to another one; a test's port overrides only
// what it adds (a record of the line, an adapter pulled out, a deaf device).

#include "link/serial_port.h"

namespace rbx14::test {

class ForwardingPort : public SerialPort {
 public:
  explicit ForwardingPort(SerialPort& inner) : inner_(inner) {
    inner_.setOnBytesArrived([this] { notifyBytesArrived(); });
  }
  int commPort() const override { return inner_.commPort(); }
  int setCommPort(int port) override { return inner_.setCommPort(port); }
  QString settings() const override { return inner_.settings(); }
  int setSettings(const QString& s) override { return inner_.setSettings(s); }
  bool portOpen() const override { return inner_.portOpen(); }
  int setPortOpen(bool open) override { return inner_.setPortOpen(open); }
  void setInputMode(InputMode mode) override { inner_.setInputMode(mode); }
  int output(const QByteArray& frame) override { return inner_.output(frame); }
  int inBufferCount() override { return inner_.inBufferCount(); }
  QByteArray input() override { return inner_.input(); }

 protected:
  SerialPort& inner_;
};

}  // namespace rbx14::test

#include "support/fake_serial_port.h"

namespace rbx14::test {

int FakeSerialPort::setCommPort(int port) {
  if (open_) return port_error::kNotWhileOpen;
  commPort_ = port;
  return port_error::kNone;
}

int FakeSerialPort::setSettings(const QString& settings) {
  if (!ParsePortSettings(settings)) return port_error::kInvalidPropertyValue;
  settings_ = settings;
  return port_error::kNone;
}

int FakeSerialPort::setPortOpen(bool open) {
  if (open && commPort_ > highestPort) return port_error::kInvalidPortNumber;
  if (open && openError != 0) return openError;
  open_ = open;
  if (!open) rx_.clear();
  return port_error::kNone;
}

int FakeSerialPort::output(const QByteArray& frame) {
  if (!open_) return port_error::kPortNotOpen;
  written.push_back(frame);
  if (onOutput) onOutput(frame);
  return port_error::kNone;
}

QByteArray FakeSerialPort::input() {
  QByteArray out;
  out.swap(rx_);
  return out;
}

void FakeSerialPort::receive(const QByteArray& bytes) {
  rx_ += bytes;
  notifyBytesArrived();
}

}  // namespace rbx14::test

#pragma once
// One port for the link that is really two: the hardware backend (QSerialPort)
// and the built-in device, chosen by port number as the routing says. The
// link sees one port with one number, settings string and input mode; a
// change of number hands those to the backend that serves the new number.

#include "link/port_routing.h"
#include "link/serial_port.h"

namespace rbx14 {

class RoutingSerialPort final : public SerialPort {
 public:
  RoutingSerialPort(PortRouting routing, SerialPort& hardware, SerialPort& builtIn);

  int commPort() const override { return commPort_; }
  int setCommPort(int port) override;
  QString settings() const override { return current_->settings(); }
  int setSettings(const QString& settings) override;
  bool portOpen() const override { return current_->portOpen(); }
  int setPortOpen(bool open) override { return current_->setPortOpen(open); }
  void setInputMode(InputMode mode) override;
  int output(const QByteArray& frame) override { return current_->output(frame); }
  int inBufferCount() override { return current_->inBufferCount(); }
  QByteArray input() override { return current_->input(); }
  QStringList portsBeyondCom40() const override { return routing_.namesBeyondCom40(); }
  QString failureDetail(bool english) const override { return current_->failureDetail(english); }
  bool onNetwork() const override { return current_->onNetwork(); }

  bool onBuiltInDevice() const { return current_ == &builtIn_; }

 private:
  SerialPort& backendFor(int port) { return routing_.isBuiltIn(port) ? builtIn_ : hardware_; }

  PortRouting routing_;
  SerialPort& hardware_;
  SerialPort& builtIn_;
  SerialPort* current_;
  int commPort_ = 1;
  QString settings_;
  InputMode inputMode_ = InputMode::Text;
};

}  // namespace rbx14

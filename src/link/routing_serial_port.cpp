#include "link/routing_serial_port.h"

namespace rbx14 {

RoutingSerialPort::RoutingSerialPort(PortRouting routing, SerialPort& hardware, SerialPort& builtIn)
    : routing_(std::move(routing)), hardware_(hardware), builtIn_(builtIn) {
  current_ = &backendFor(commPort_);
  hardware_.setOnBytesArrived([this] { if (current_ == &hardware_) notifyBytesArrived(); });
  builtIn_.setOnBytesArrived([this] { if (current_ == &builtIn_) notifyBytesArrived(); });
  hardware_.setOnFailure([this](int error) { if (current_ == &hardware_) notifyFailure(error); });
  builtIn_.setOnFailure([this](int error) { if (current_ == &builtIn_) notifyFailure(error); });
}

int RoutingSerialPort::setCommPort(int port) {
  if (current_->portOpen()) return port_error::kNotWhileOpen;
  if (port < 1) return port_error::kInvalidPortNumber;
  SerialPort& next = backendFor(port);
  if (&next != current_) {
    current_ = &next;
    current_->setInputMode(inputMode_);
    if (!settings_.isEmpty()) {
      if (const int err = current_->setSettings(settings_); err != port_error::kNone) return err;
    }
  }
  commPort_ = port;
  return current_->setCommPort(port);
}

int RoutingSerialPort::setSettings(const QString& settings) {
  const int err = current_->setSettings(settings);
  if (err == port_error::kNone) settings_ = settings;
  return err;
}

void RoutingSerialPort::setInputMode(InputMode mode) {
  inputMode_ = mode;
  current_->setInputMode(mode);
}

}  // namespace rbx14

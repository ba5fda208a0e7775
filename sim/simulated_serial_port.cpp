#include "sim/simulated_serial_port.h"

#include <algorithm>
#include <utility>

namespace rbx14::sim {
namespace {

LineMode ModeOf(const PortSettings& line) {
  return line.dataBits == 7 ? LineMode::Ascii : LineMode::Rtu;
}

}  // namespace

SimulatedSerialPort::SimulatedSerialPort(Scheduler& scheduler, LineDevice& device)
    : device_(device),
      toProgram_(scheduler, [this](const QByteArray& bytes) {
        if (!open_) return;
        rx_.append(bytes);
        notifyBytesArrived();
      }) {}

void SimulatedSerialPort::setDeviceLine(const PortSettings& line) {
  deviceLine_ = line;
  configureDevice();
}

void SimulatedSerialPort::configureDevice() {
  const PortSettings line = deviceLine_.value_or(parsed_);
  device_.setLine(line);
  device_.setMode(ModeOf(line));
}

bool SimulatedSerialPort::deviceUnderstands() const {
  // Another baud rate or character format garbles every byte.
  return !deviceLine_ || *deviceLine_ == parsed_;
}

int SimulatedSerialPort::setCommPort(int port) {
  if (open_) return port_error::kNotWhileOpen;
  if (port < 1) return port_error::kInvalidPortNumber;
  commPort_ = port;
  return port_error::kNone;
}

int SimulatedSerialPort::setSettings(const QString& settings) {
  const auto parsed = ParsePortSettings(settings);
  if (!parsed) return port_error::kInvalidPropertyValue;
  settings_ = settings;
  parsed_ = *parsed;
  configureDevice();
  return port_error::kNone;
}

int SimulatedSerialPort::setPortOpen(bool open) {
  if (open == open_) return port_error::kNone;
  open_ = open;
  rx_.clear();
  toProgram_.clear();
  device_.resetLine();
  configureDevice();
  return port_error::kNone;
}

int SimulatedSerialPort::output(const QByteArray& frame) {
  if (!open_) return port_error::kPortNotOpen;
  // The frame goes out byte after byte, after anything still being sent.
  const double characterUs = CharacterTimeUs(parsed_);
  const std::int64_t startUs = std::max(toProgram_.nowUs(), lineFreeUs_);
  for (qsizetype k = 0; k < frame.size(); ++k) {
    const auto endUs = startUs + static_cast<std::int64_t>(characterUs * static_cast<double>(k + 1) + 0.5);
    lineFreeUs_ = endUs;
    if (!deviceUnderstands()) continue;
    toProgram_.schedule(device_.receive(static_cast<std::uint8_t>(frame[k]), endUs));
  }
  return port_error::kNone;
}

QByteArray SimulatedSerialPort::input() {
  return std::exchange(rx_, {});
}

}  // namespace rbx14::sim

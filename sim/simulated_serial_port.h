#pragma once
// The simulated device behind the serial-port interface, in the same
// process: what the program writes reaches the device at the line's pace,
// and the device's answer becomes readable byte by byte as its line time
// passes on the scheduler's clock. Opening and closing behave like a port
// (error numbers, never an exception).
//
// By default the device follows the port: its character time comes from the
// settings string and its mode from the data bits (7: ASCII, 8: RTU), as the
// program couples them. A device with a line of its own understands nothing
// sent with other settings.

#include "link/serial_port.h"
#include "base/timer.h"
#include "sim/paced_line.h"
#include "sim/simulated_device.h"

#include <optional>

namespace rbx14::sim {

class SimulatedSerialPort final : public SerialPort {
 public:
  SimulatedSerialPort(Scheduler& scheduler, LineDevice& device);

  // Fixes the device's own line settings (and its mode from the data bits).
  void setDeviceLine(const PortSettings& line);

  int commPort() const override { return commPort_; }
  int setCommPort(int port) override;
  QString settings() const override { return settings_; }
  int setSettings(const QString& settings) override;
  bool portOpen() const override { return open_; }
  int setPortOpen(bool open) override;
  void setInputMode(InputMode mode) override { inputMode_ = mode; }
  int output(const QByteArray& frame) override;
  int inBufferCount() override { return static_cast<int>(rx_.size()); }
  QByteArray input() override;

  InputMode inputMode() const { return inputMode_; }

 private:
  void configureDevice();
  bool deviceUnderstands() const;

  LineDevice& device_;
  PacedLine toProgram_;
  int commPort_ = 1;
  QString settings_ = QStringLiteral("9600,N,8,1");
  PortSettings parsed_{9600, 'N', 8, 1};
  std::optional<PortSettings> deviceLine_;
  bool open_ = false;
  InputMode inputMode_ = InputMode::Text;
  QByteArray rx_;
  std::int64_t lineFreeUs_ = 0;
};

}  // namespace rbx14::sim

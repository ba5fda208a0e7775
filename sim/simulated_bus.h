#pragma once
// Several simulated devices on one line, each with its own address and
// image: every device hears every byte, and only the one addressed answers,
// as on an RS485 bus.

#include "sim/simulated_device.h"

#include <memory>
#include <vector>

namespace rbx14::sim {

class SimulatedBus final : public LineDevice {
 public:
  // One device per address, each with the common settings otherwise.
  SimulatedBus(const DeviceSettings& common, const std::vector<int>& addresses);

  // The device with this address, or nullptr.
  SimulatedDevice* device(int address);
  const std::vector<std::unique_ptr<SimulatedDevice>>& devices() const { return devices_; }

  void setLine(const PortSettings& line) override;
  void setMode(LineMode mode) override;
  TimedBytes receive(std::uint8_t byte, std::int64_t endUs) override;
  void resetLine() override;
  double characterTimeUs() const override;

 private:
  std::vector<std::unique_ptr<SimulatedDevice>> devices_;
};

}  // namespace rbx14::sim

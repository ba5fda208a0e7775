#include "sim/simulated_bus.h"

namespace rbx14::sim {

SimulatedBus::SimulatedBus(const DeviceSettings& common, const std::vector<int>& addresses) {
  for (int address : addresses) {
    DeviceSettings settings = common;
    settings.address = address;
    devices_.push_back(std::make_unique<SimulatedDevice>(settings));
  }
}

SimulatedDevice* SimulatedBus::device(int address) {
  for (auto& d : devices_) {
    if (d->settings().address == address) return d.get();
  }
  return nullptr;
}

void SimulatedBus::setLine(const PortSettings& line) {
  for (auto& d : devices_) d->setLine(line);
}

void SimulatedBus::setMode(LineMode mode) {
  for (auto& d : devices_) d->setMode(mode);
}

TimedBytes SimulatedBus::receive(std::uint8_t byte, std::int64_t endUs) {
  TimedBytes out;
  for (auto& d : devices_) {
    const TimedBytes answer = d->receive(byte, endUs);
    out.insert(out.end(), answer.begin(), answer.end());
  }
  return out;
}

void SimulatedBus::resetLine() {
  for (auto& d : devices_) d->resetLine();
}

double SimulatedBus::characterTimeUs() const {
  return devices_.empty() ? 0.0 : devices_.front()->characterTimeUs();
}

}  // namespace rbx14::sim

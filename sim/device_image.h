#pragma once
// The device's memory as a master reaches it: holding registers and coils,
// with the access rules of the register map. Starts with the factory values.

#include "sim/register_map.h"

#include <QByteArray>

#include <array>
#include <cstdint>
#include <vector>

namespace rbx14::sim {

// The room around the device as the live model keeps it between two reads:
// its temperature and the controller's output, and when they were last
// brought up to date.
struct RoomState {
  bool started = false;
  std::int64_t lastMs = 0;
  double temperature = 0;  // °C
  double output = 0;       // control output, -100 (full cooling) .. 100 (full heating) %
};

class DeviceImage {
 public:
  DeviceImage();

  // The whole register and coil space, without access rules: for the live
  // model and for tests that look at or prepare the image.
  std::uint16_t reg(std::uint16_t address) const;
  void setReg(std::uint16_t address, std::uint16_t value);
  bool coil(std::uint16_t address) const;
  void setCoil(std::uint16_t address, bool on);

  // A text block as 20 bytes (register k: high byte, then low byte).
  QByteArray textBytes(std::uint16_t firstRegister) const;
  void setTextBytes(std::uint16_t firstRegister, const QByteArray& bytes);

  // With the access rules: false when any address is outside the areas or
  // the area refuses the operation.
  bool readRegisters(int first, int quantity, std::vector<std::uint16_t>& out) const;
  bool writeRegisters(int first, const std::vector<std::uint16_t>& values);
  bool readCoils(int first, int quantity, std::vector<bool>& out) const;
  bool writeCoils(int first, const std::vector<bool>& values);

  // The live model's room.
  RoomState room;

 private:
  void loadFactoryValues();

  std::array<std::uint16_t, kRegisterSpace> registers_{};
  std::array<bool, kCoilSpace> coils_{};
};

}  // namespace rbx14::sim

#pragma once
// Where the device keeps what: its register areas (read with function 03,
// written with 10) and its coil areas (01 and 0F), with what each area lets a
// master do. A request must fall entirely into areas that allow it, or the
// device answers "illegal data address".

#include "base/device_registers.h"

#include <array>
#include <cstdint>

namespace rbx14::sim {

enum class Access : std::uint8_t {
  ReadWrite,
  ReadOnly,
  // Written one register per request, as the device takes its external
  // values; a block write there is refused.
  WriteSingle,
  ReadWriteSingle,
};

struct Area {
  const char* name;
  std::uint16_t first;
  std::uint16_t count;
  Access access;
};

// Holding registers 0x0000..0x04FF are one address space.
inline constexpr std::uint16_t kRegisterSpace = 0x0500;

inline constexpr std::uint16_t kConfigFirst = device::kConfigFirst;
inline constexpr std::uint16_t kConfigCount = device::kConfigCount;
inline constexpr std::uint16_t kOutputFirst = device::kOutputFirst;
inline constexpr std::uint16_t kOutputCount = device::kOutputCount;
inline constexpr std::uint16_t kInputFirst = device::kInputFirst;
inline constexpr std::uint16_t kInputCount = device::kInputCount;
inline constexpr std::uint16_t kTextFirst = device::kTextFirst;
inline constexpr std::uint16_t kTextBlocks = device::kTextBlocks;
inline constexpr std::uint16_t kUnitFirst = device::kUnitFirst;
inline constexpr std::uint16_t kUnitBlocks = device::kUnitBlocks;
inline constexpr std::uint16_t kBlockRegisters = device::kBlockRegisters;
inline constexpr std::uint16_t kBusDelayRegister = device::kBusDelayRegister;
inline constexpr std::uint16_t kMinResponseTimeRegister = device::kMinResponseTimeRegister;

inline constexpr std::array<Area, 7> kRegisterAreas{{
    {"configuration", kConfigFirst, kConfigCount, Access::ReadWrite},
    {"output registers", kOutputFirst, kOutputCount, Access::ReadOnly},
    // The clock and date registers are written but never read back.
    {"clock and date", kInputFirst, 7, Access::WriteSingle},
    {"external values", kInputFirst + 7, kInputCount - 7, Access::ReadWriteSingle},
    // The external-value read takes 22 registers from 0x0207, four more than
    // there are; the device answers them as zero.
    {"reserved after the external values", kInputFirst + kInputCount, 4, Access::ReadOnly},
    {"display texts", kTextFirst, kTextBlocks * kBlockRegisters, Access::ReadWrite},
    {"unit texts", kUnitFirst, kUnitBlocks * kBlockRegisters, Access::ReadWrite},
}};

inline constexpr std::uint16_t kConfigCoilFirst = 0x0000;
inline constexpr std::uint16_t kConfigCoilCount = 32;
inline constexpr std::uint16_t kInputCoilFirst = 0x0100;
inline constexpr std::uint16_t kInputCoilCount = 16;
inline constexpr std::uint16_t kCoilSpace = 0x0110;

inline constexpr std::array<Area, 2> kCoilAreas{{
    {"configuration bits", kConfigCoilFirst, kConfigCoilCount, Access::ReadWrite},
    {"input bits", kInputCoilFirst, kInputCoilCount, Access::ReadWrite},
}};

enum class Operation : std::uint8_t { Read, Write };

constexpr bool Allows(Access access, Operation op, int quantity) {
  switch (access) {
    case Access::ReadWrite: return true;
    case Access::ReadOnly: return op == Operation::Read;
    case Access::WriteSingle: return op == Operation::Write && quantity == 1;
    case Access::ReadWriteSingle: return op == Operation::Read || quantity == 1;
  }
  return false;
}

// Whether every address of [first, first + quantity) lies in an area of
// `areas` that allows the operation.
template <std::size_t N>
constexpr bool Covered(const std::array<Area, N>& areas, int first, int quantity, Operation op) {
  if (quantity < 1) return false;
  for (int address = first; address < first + quantity; ++address) {
    bool found = false;
    for (const Area& area : areas) {
      if (address >= area.first && address < area.first + area.count) {
        found = Allows(area.access, op, quantity);
        break;
      }
    }
    if (!found) return false;
  }
  return true;
}

}  // namespace rbx14::sim

#pragma once
// The values a new device leaves the factory with: a heating/cooling variant
// with three fan stages, every configuration value inside its range.

#include <array>
#include <cstdint>

namespace rbx14::sim {

struct RegisterValue {
  std::uint16_t address;
  std::uint16_t value;
};

// Configuration registers 0..60 in order.
extern const std::array<std::int16_t, 61> kFactoryConfig;

// Display texts (at most 14 characters) and unit texts (at most 4 bytes),
// in the device's single-byte code page (Latin-1).
extern const std::array<const char*, 22> kFactoryTexts;
extern const std::array<const char*, 18> kFactoryUnits;

// External values the device holds until the tool writes others.
extern const std::array<RegisterValue, 11> kFactoryInputs;

// Coils that are set; all others are clear.
extern const std::array<std::uint16_t, 12> kFactoryCoilsSet;

}  // namespace rbx14::sim

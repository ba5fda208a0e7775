#pragma once
// The device's live state in its output registers, computed from the
// configuration, what the tool has written and the clock: keys pressed now
// and then, a room temperature that drifts, setpoints that follow the base
// and the offsets written, the fan stage, occupancy, digital inputs and the
// controller state. Deterministic: the same image at the same time gives the
// same registers.

#include "sim/device_image.h"

#include <cstdint>

namespace rbx14::sim {

// Writes output registers 0x0100..0x0110 for the time nowMs.
void UpdateOutputs(DeviceImage& image, std::int64_t nowMs);

// The room temperature in tenths of a degree at nowMs (without an external
// temperature supplied).
int DriftingRoomTemperature(std::int64_t nowMs);

}  // namespace rbx14::sim

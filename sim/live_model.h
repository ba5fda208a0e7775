#pragma once
// The device's live state in its output registers, computed from the
// configuration, what the tool has written and the clock: keys pressed now
// and then, setpoints that follow the base and the offsets written, the fan
// stage, occupancy, digital inputs and the controller state. With a
// controller at work the room temperature moves towards the effective
// setpoint: a proportional controller drives heating or cooling, the room
// loses heat to its surroundings, and the automatic fan stage follows the
// control output. Without one it drifts around 21.5 °C. Deterministic: the
// same image read at the same times gives the same registers.

#include "sim/device_image.h"

#include <cstdint>

namespace rbx14::sim {

// Writes output registers 0x0100..0x0110 for the time nowMs, bringing the
// image's room up to nowMs first.
void UpdateOutputs(DeviceImage& image, std::int64_t nowMs);

// The room temperature in tenths of a degree at nowMs (without an external
// temperature supplied).
int DriftingRoomTemperature(std::int64_t nowMs);

}  // namespace rbx14::sim
